#pragma once
// The file-system layer. Everything the program asks of the disk goes through
// IFileSystem, so tests can wrap the real one and make any call fail.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Attributes.h"
#include "platform/Result.h"

namespace farsend {

enum class EntryKind {
    Regular,        // a plain file (also reached through a symbolic link)
    Directory,      // a real directory
    DirectoryLink,  // a symbolic link to a directory: never entered
    DanglingLink,   // a symbolic link whose target is missing
    Special,        // FIFO, socket or device: never opened
};

struct FileInfo {
    std::uint8_t attributes = 0;  // attr:: bits, mapped from the POSIX facts
    EntryKind kind = EntryKind::Regular;
    std::int64_t length = 0;    // bytes; 0 for anything but a regular file
    std::int64_t mtimeSec = 0;  // last write, seconds since the epoch
    std::int32_t mtimeNsec = 0;
    std::uint32_t mode = 0;    // permission bits (07777)
    std::uint64_t device = 0;  // device and inode identify the file itself
    std::uint64_t inode = 0;
    std::int64_t allocated = 0;  // bytes the file takes on its device
    bool link = false;           // the entry itself is a symbolic link
};

using FileHandle = int;
using FolderHandle = int;
// Stands for the process's current directory where a folder is asked for,
// so that a path can be given in its place.
inline constexpr FolderHandle kAtCurrentDir = -2;

// How the bytes of a file go, kept by the caller from one file to the next.
struct CopyHints {
    bool holes = false;      // the input may have holes: keep them holes
    bool kernelCopy = true;  // cleared when the kernel refuses to copy between these two
};

// What the file system holding a folder allows, as far as it can be told
// without writing to it.
struct VolumeFacts {
    std::string type;  // as the system names it: "ext4", "vfat", "fuse.sshfs"...
    // The FAT family's names: none of : ? * " < > | \ or a control
    // character, and no dot or blank at the end.
    bool fatNames = false;
    std::int64_t largestFile = INT64_MAX;  // bytes
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;

    // Facts about path (following a final symbolic link to a file); fails with
    // ENOENT when nothing is there. An empty path fails the same way.
    virtual Result<FileInfo> stat(const std::string& path) = 0;

    // Names in a folder that match a pattern, given as folder + "/" + pattern.
    // "*" and "?" match any run / any one character without regard to case,
    // "*.*" matches every name; a pattern without wildcards names one entry
    // exactly as the file system compares names. An entry whose attributes
    // carry Hidden, System, VolumeLabel or Directory is listed only when mask
    // holds that bit; ReadOnly and Archive never exclude. "." and ".." are
    // never listed. The listing is read to its end before this returns, in
    // the order the file system keeps it. Fails when the folder cannot be
    // read; no match is an empty list.
    virtual Result<std::vector<std::string>> list(const std::string& folderAndPattern, std::uint8_t mask) = 0;

    // Creates one folder; its parent must exist.
    virtual Status makeDir(const std::string& path) = 0;
    // Removes an empty folder (never a recursive delete).
    virtual Status removeDir(const std::string& path) = 0;
    // Deletes a file; a read-only file (owner write bit clear) is refused
    // with EACCES, as the original platform refused it.
    virtual Status deleteFile(const std::string& path) = 0;

    // ---- reading a source ----
    // Opens a regular file for reading and tells in info what stat would
    // tell of path. Anything that is not a regular file fails without
    // blocking (a FIFO is never waited on).
    virtual Result<FileHandle> openRead(const std::string& path, FileInfo& info) = 0;
    // The same for the entry name in folder; a link there is followed only
    // with followLink.
    virtual Result<FileHandle> openReadAt(FolderHandle folder, const std::string& name, FileInfo& info,
                                          bool followLink) = 0;
    // The facts of an open file as they are now.
    virtual Result<FileInfo> describe(FileHandle handle) = 0;
    // Reads up to size bytes at the current position; 0 at end of file.
    virtual Result<std::size_t> read(FileHandle handle, void* buffer, std::size_t size) = 0;
    // Writes all size bytes at the current position.
    virtual Status write(FileHandle handle, const void* buffer, std::size_t size) = 0;
    // Moves up to count bytes from in to out at their current positions,
    // inside the kernel where it can, keeping the input's holes; returns the
    // bytes moved (0 at the end of the input, or where the input's file
    // system cannot tell its length: read on to find its end).
    // hints.kernelCopy is cleared where the kernel refuses; the bytes then
    // go through the program.
    virtual Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t count, CopyHints& hints) = 0;
    // Lets go of a file or a folder.
    virtual Status close(FileHandle handle) = 0;

    // ---- writing into a folder held open ----
    // Every write of a transfer goes into the folders it opened when it
    // began, whatever is put at their paths later.
    // Opens the folder at path (a link to a folder is followed).
    virtual Result<FolderHandle> openFolder(const std::string& path) = 0;
    // Opens the folder name inside parent; a link there is refused.
    virtual Result<FolderHandle> openFolderAt(FolderHandle parent, const std::string& name) = 0;
    // Facts about the entry name in folder itself: a link is described
    // (link is set), never taken for what it points to.
    virtual Result<FileInfo> statAt(FolderHandle folder, const std::string& name) = 0;
    // Creates the folder name inside folder with the permission bits mode,
    // less the process's creation mask.
    virtual Status makeDirAt(FolderHandle folder, const std::string& name, std::uint32_t mode) = 0;
    // Facts about the file system that holds folder.
    virtual Result<VolumeFacts> describeVolume(FolderHandle folder) = 0;
    // Creates a file in folder that has no name at all (nobody sees it, and
    // nothing remains of it when the program dies); EOPNOTSUPP where the
    // file system has no such files. Its permission bits are mode less the
    // process's creation mask.
    virtual Result<FileHandle> createUnnamed(FolderHandle folder, std::uint32_t mode) = 0;
    // Creates the file name in folder, only where nothing of that name is
    // (EEXIST otherwise; a link there is not followed).
    virtual Result<FileHandle> createExclusive(FolderHandle folder, const std::string& name, std::uint32_t mode) = 0;
    // Gives an unnamed file the name name in folder, only where nothing of
    // that name is (EEXIST otherwise).
    virtual Status nameUnnamed(FileHandle file, FolderHandle folder, const std::string& name) = 0;
    // A second name for an entry (fromFolder may be kAtCurrentDir with a
    // path), only where nothing of that name is (EEXIST); EPERM or
    // EOPNOTSUPP where the file system has no hard links.
    virtual Status link(FolderHandle fromFolder, const std::string& from, FolderHandle toFolder,
                        const std::string& to) = 0;
    // Renames from in one folder to to in another (fromFolder may be
    // kAtCurrentDir with a path). Without replace only where nothing of that
    // name is (EEXIST); EINVAL, ENOSYS or EOPNOTSUPP where the file system
    // cannot rename exclusively. With replace, an entry at to goes (a link
    // itself, never what it points to). EXDEV between file systems.
    virtual Status rename(FolderHandle fromFolder, const std::string& from, FolderHandle toFolder,
                          const std::string& to, bool replace) = 0;
    // Removes the file (or link) name in folder (or at a path, with
    // kAtCurrentDir).
    virtual Status removeAt(FolderHandle folder, const std::string& name) = 0;
    // The names in folder, "." and ".." left out, in the file system's order.
    virtual Result<std::vector<std::string>> namesAt(FolderHandle folder) = 0;
    // Sets the permission bits of an open file or folder.
    virtual Status setMode(FileHandle handle, std::uint32_t mode) = 0;
    // Takes an exclusive lock on an open file without waiting (EWOULDBLOCK
    // while another holds one); it goes when the file is closed.
    virtual Status lock(FileHandle handle) = 0;
    // Writes what is written to the file system that holds folder (or
    // file) to its device, and waits until it is there.
    virtual Status flushVolume(FolderHandle folder) = 0;
    // The process's file creation mask (umask).
    virtual std::uint32_t creationMask() = 0;

    // The process's current directory.
    virtual Result<std::string> currentDir() = 0;

    // ---- a folder's names with their kinds, in one reading ----
    struct KindedName {
        std::string name;
        EntryKind kind = EntryKind::Regular;
    };
    // Every entry of folder ("." and ".." left out) with its kind, in the
    // order the file system keeps them, the folder read once. The kind comes
    // from the directory entry where the file system gives it; only a link,
    // or an entry whose type the file system leaves open, is looked at
    // (a link to a folder is DirectoryLink, never Directory). An entry that
    // is gone by then is left out. Fails when the folder cannot be read, to
    // its end.
    virtual Result<std::vector<KindedName>> listKinds(const std::string& folder) = 0;
};

// The real file system of this platform.
IFileSystem& realFileSystem();

}  // namespace farsend
