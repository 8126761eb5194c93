#pragma once
// The system calls under the POSIX file system, reached through one table.
// The program never changes it; a test replaces an entry to make the system
// answer otherwise (an in-kernel copy refused, a close that fails late, a
// file appearing at a name mid-copy) while the real file-system code runs.

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>

namespace farsend::sys {

struct Calls {
    int (*openat)(int dirfd, const char* path, int flags, mode_t mode);
    int (*close)(int fd);
    ssize_t (*read)(int fd, void* buffer, size_t size);
    ssize_t (*write)(int fd, const void* buffer, size_t size);
    ssize_t (*copyFileRange)(int in, off_t* inOffset, int out, off_t* outOffset, size_t size, unsigned flags);
    int (*fstatat)(int dirfd, const char* path, struct stat* facts, int flags);
    int (*linkat)(int fromDir, const char* from, int toDir, const char* to, int flags);
    int (*renameat2)(int fromDir, const char* from, int toDir, const char* to, unsigned flags);
    int (*unlinkat)(int dirfd, const char* path, int flags);
    int (*mkdirat)(int dirfd, const char* path, mode_t mode);
    off_t (*lseek)(int fd, off_t offset, int whence);
    int (*ftruncate)(int fd, off_t length);
    int (*fchmod)(int fd, mode_t mode);
    int (*flock)(int fd, int operation);
    int (*syncfs)(int fd);
    int (*fstatfs)(int fd, struct statfs* facts);
};

// The table in use; a copy of it restores the real calls.
Calls& calls();
const Calls& realCalls();

}  // namespace farsend::sys
