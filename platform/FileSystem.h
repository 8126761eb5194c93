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
    bool link = false;  // the entry itself is a symbolic link
};

using FileHandle = int;
using FolderHandle = int;

// A file being written that has no name yet.
struct NewFile {
    FileHandle handle = -1;  // -1 once closed
    std::string tempName;    // its hidden name, empty while it has none
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
    virtual Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t count) = 0;
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
    // Creates the folder name inside folder.
    virtual Status makeDirAt(FolderHandle folder, const std::string& name) = 0;
    // Creates a file in folder that nobody sees until nameNew gives it a
    // name: unnamed where the file system allows it (a killed program then
    // leaves nothing behind), else under a hidden temporary name. Its mode
    // is 0666 less the umask plus the execute bits of sourceMode.
    virtual Result<NewFile> createNew(FolderHandle folder, std::uint32_t sourceMode) = 0;
    // Closes a new file (a failing close fails the naming) and gives it its
    // name: only where nothing of that name exists (EEXIST otherwise), or,
    // with replace, in place of what is there (a link is replaced, never
    // written through; a read-only file is refused with EACCES, as deleting
    // it is). When it fails, the old entry stays as it was and the new file
    // at most has its hidden name, to be named again or discarded.
    virtual Status nameNew(FolderHandle folder, NewFile& file, const std::string& name, bool replace) = 0;
    // Lets go of a new file that is not to be named, leaving no trace.
    virtual void discardNew(FolderHandle folder, NewFile& file) = 0;

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
