#pragma once
// One file's way into the destination, and the rules that keep the user's
// data whole on that way, in the order they apply:
//
//  1. The source is held open from the start: the bytes copied are those of
//     the file that was opened, whatever is put at its path meanwhile, and
//     only a regular file is read (a pipe or a device could block or never
//     end).
//  2. The destination folder is held open too, so the copy lands in the
//     folder chosen when the transfer began even if that path is moved or
//     replaced by a link.
//  3. Before any byte is written the destination says whether it can take
//     the file at all: a name its file system refuses, a file longer than
//     it can hold.
//  4. The copy is written where nobody sees it (no name at all, or a hidden
//     temporary name) and is never more readable than its source.
//  5. It gets its name only when it is whole, and only where nothing stands
//     at that name, unless the user said to replace what is there; a link
//     at the name is replaced itself, never written through. A copy that
//     fails leaves nothing behind, and a failed replace keeps the old file.
//  6. A source is removed (Move) only once its copy is on the destination's
//     device, when the path still names the file that was copied, unchanged
//     and read to its end, and its copy stands at its name (see Removals).
//
// Within one file system a Move renames instead of copying: the same file
// arrives, with its times, owner and permission bits, and needs no space.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace farsend {

// The ways a finished copy can get its name, best first. The first file in
// a destination file system finds out which one it offers (each refusal
// moves to the next way), and the rest of the transfer keeps to it.
enum class NamingWay {
    // Written with no name at all, then linked in where nothing stands: a
    // killed program leaves nothing behind.
    UnnamedFile,
    // Written under a hidden name, renamed where nothing stands.
    ExclusiveRename,
    // Hidden name, a second name made where nothing stands, the hidden one
    // removed.
    HardLink,
    // Hidden name, renamed after a check that nothing stands at the name.
    // This is all that some file systems offer (FAT and exFAT through FUSE,
    // many network and phone mounts). It cannot promise what the others
    // do: an entry put at the name in the instant between the check and the
    // rename is replaced. Everything else holds.
    CheckedRename,
};

// What one destination file system offers, found out once and kept for the
// rest of the transfer.
struct VolumeRules {
    std::uint64_t device = 0;
    VolumeFacts facts;
    NamingWay way = NamingWay::UnnamedFile;
};

// A folder of the destination held open, with the rules of its file system.
class TargetFolder {
public:
    // fresh: made by this transfer, so nothing stands in it but what the
    // transfer puts there (exclusive naming still catches anyone else).
    TargetFolder(IFileSystem& fs, FolderHandle handle, VolumeRules& rules, bool fresh);
    ~TargetFolder();
    TargetFolder(const TargetFolder&) = delete;
    TargetFolder& operator=(const TargetFolder&) = delete;

    FolderHandle handle() const { return handle_; }
    VolumeRules& rules() const { return rules_; }
    bool fresh() const { return fresh_; }

    // Removes what a killed copy of the program left here under a hidden
    // name, once per folder. A file being written by a running copy is
    // locked by it and stays, as does one written lately (another machine
    // may be writing it to a shared disk).
    void sweepLeftovers();

private:
    IFileSystem& fs_;
    FolderHandle handle_;
    VolumeRules& rules_;
    bool fresh_;
    bool swept_ = false;
};

// Whether name can be given on a file system with FAT's rules for names.
bool fatNameAllowed(const std::string& name);

// Whether the file system holding folder refuses a name with a colon, as
// the FAT family does: asked once of a FUSE file system whose type does not
// tell (exFAT served as "fuseblk", say), by making and removing such a file.
bool refusesColons(IFileSystem& fs, FolderHandle folder);

// The hidden name a copy is written under where it cannot be unnamed.
std::string temporaryName();
// Whether name is one that temporaryName gives.
bool isTemporaryName(const std::string& name);

// The byte copy, given the source, the new file and the source's length;
// returns the bytes copied.
using ByteCopy = std::function<Result<std::int64_t>(FileHandle in, FileHandle out, std::int64_t length)>;

// What a Move needs to remove a source once its copy is on the device.
struct CopiedSource {
    std::string path;
    FileInfo facts;              // the source when its copy began
    std::int64_t bytesRead = 0;  // what the copy read of it
    std::shared_ptr<TargetFolder> folder;
    std::string name;  // of the copy in folder
    FileInfo written;  // the copy itself
};

// Returns whether two facts describe the same file (device and inode).
bool sameFile(const FileInfo& a, const FileInfo& b);

// Step 6, once the copy is on the destination's device.
enum class SourceRemoval { Removed, Changed, CopyMissing, Refused };
// Removes a copied source if it is still the file that was copied, at its
// path, unchanged (length and time), read to its end, and its copy stands
// at its name; otherwise it stays. refusal receives why the system refused.
SourceRemoval removeCopiedSource(IFileSystem& fs, const CopiedSource& copied, Error& refusal);

// Moves a folder whole within one file system: renamed to name in target,
// only where nothing stands (EEXIST or ENOTEMPTY otherwise; EXDEV between
// file systems, EINVAL into its own subfolder).
Status renameFolder(IFileSystem& fs, const std::string& source, TargetFolder& target, const std::string& name);

// One file's placement: the source, the copy and its name, held together.
class Placement {
public:
    // sourceGoes: a Move, whose source is removed once its copy is whole
    // (the copy's identity is kept to find it again then).
    Placement(IFileSystem& fs, std::string source, std::shared_ptr<TargetFolder> target, bool sourceGoes);
    ~Placement();
    Placement(const Placement&) = delete;
    Placement& operator=(const Placement&) = delete;

    // The source is name in a folder held open (path names the same file).
    void sourceIn(FolderHandle folder, std::string name) {
        sourceFolder_ = folder;
        sourceName_ = std::move(name);
    }

    // Step 1: holds the source open. Only a regular file.
    Status openSource();
    const FileInfo& sourceFacts() const { return facts_; }

    // Step 3: whether the destination can take this file at all: its name
    // (before anything else), its length (once the source is open). Each
    // fails with the text to tell the user.
    Status nameFits(const std::string& name) const;
    Status sizeFits() const;

    // Step 4: writes the copy where nobody sees it, with copy moving the
    // bytes; it is whole when this succeeds. Done once: a copy that could not
    // be named (the name was taken) keeps it for the next name tried.
    Status write(const ByteCopy& copy);
    bool written() const { return whole_; }

    // Step 5: gives the copy its name. Without replace only where nothing
    // stands (EEXIST otherwise: the copy is kept, to be named again or let
    // go); with replace in place of what stands there (a read-only file is
    // refused with EACCES, as deleting it would be).
    Status name(const std::string& name, bool replace);

    // For Move within one file system: renames the source itself to name,
    // on the same terms as step 5. EXDEV between file systems: copy then.
    Status renameSource(const std::string& name, bool replace);

    // What removing the source needs, once the copy has its name.
    CopiedSource copied() const;

private:
    Status createNew();
    Status nameHidden(const std::string& name, bool replace);
    Status refuseReadOnly(const std::string& name) const;
    bool offeredHere(const Status& refusal, NamingWay next);
    void discard();

    IFileSystem& fs_;
    std::string source_;
    std::shared_ptr<TargetFolder> target_;
    const bool sourceGoes_;
    FolderHandle sourceFolder_ = -1;
    std::string sourceName_;
    FileHandle in_ = -1;
    FileInfo facts_;
    FileHandle out_ = -1;  // the new file while it is open
    std::string hidden_;   // its hidden name while it has one
    bool whole_ = false;
    std::int64_t bytes_ = 0;
    FileInfo writtenFacts_;
    std::string named_;  // the name it got
};

}  // namespace farsend
