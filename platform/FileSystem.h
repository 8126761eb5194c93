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
};

using FileHandle = int;

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

    // Opens a regular file for reading. Anything that is not a regular file
    // fails without blocking (a FIFO is never waited on).
    virtual Result<FileHandle> openRead(const std::string& path) = 0;
    // Opens a file for writing from its first byte, creating it when absent
    // with mode 0666 less the umask plus the execute bits of sourceMode. An
    // existing file keeps its content until written over or cut.
    virtual Result<FileHandle> openWrite(const std::string& path, std::uint32_t sourceMode) = 0;
    // Opens a regular file for reading as openRead does, and tells in info
    // what stat would tell of path. The default asks stat, then openRead.
    virtual Result<FileHandle> openReadWithInfo(const std::string& path, FileInfo& info) {
        auto facts = stat(path);
        if (!facts) return facts.error();
        auto handle = openRead(path);
        if (handle) info = *facts;
        return handle;
    }
    // Creates a file for writing as openWrite does, but only where nothing
    // of that name exists (not even a link); fails with EEXIST otherwise.
    // The default asks stat, then openWrite, which is not quite the same:
    // it follows a dangling link.
    virtual Result<FileHandle> createNew(const std::string& path, std::uint32_t sourceMode) {
        if (stat(path)) return Error::fromErrno(EEXIST);
        return openWrite(path, sourceMode);
    }
    // Reads up to size bytes at the current position; 0 at end of file.
    virtual Result<std::size_t> read(FileHandle handle, void* buffer, std::size_t size) = 0;
    // Writes all size bytes at the current position.
    virtual Status write(FileHandle handle, const void* buffer, std::size_t size) = 0;
    // Moves up to count bytes from in to out at their current positions,
    // inside the kernel where it can; returns the bytes moved (0 at end of
    // the input).
    virtual Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t count) = 0;
    virtual Status setLength(FileHandle handle, std::int64_t length) = 0;
    virtual Status close(FileHandle handle) = 0;

    // The process's current directory.
    virtual Result<std::string> currentDir() = 0;
};

// The real file system of this platform.
IFileSystem& realFileSystem();

}  // namespace farsend
