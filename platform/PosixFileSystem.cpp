// The POSIX file system. Every POSIX call of the program lives in platform/.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace farsend {

Error Error::fromErrno(int errnoValue) {
    char buffer[256] = {};
    // GNU strerror_r may return a static string instead of filling buffer.
    const char* text = strerror_r(errnoValue, buffer, sizeof buffer);
    return Error{errnoValue, text != nullptr ? text : buffer};
}

namespace {

Error lastError() { return Error::fromErrno(errno); }

// Returns the kind of the entry that st (from lstat) describes, following a
// symbolic link once to classify it.
EntryKind kindOf(const std::string& path, const struct stat& lst, struct stat* target) {
    if (S_ISLNK(lst.st_mode)) {
        if (::stat(path.c_str(), target) != 0) return EntryKind::DanglingLink;
        if (S_ISDIR(target->st_mode)) return EntryKind::DirectoryLink;
        if (S_ISREG(target->st_mode)) return EntryKind::Regular;
        return EntryKind::Special;
    }
    *target = lst;
    if (S_ISDIR(lst.st_mode)) return EntryKind::Directory;
    if (S_ISREG(lst.st_mode)) return EntryKind::Regular;
    return EntryKind::Special;
}

// Returns the attribute bits for an entry named name of the given kind and
// mode: 16 for folders (a link to one too), 4 for anything neither a plain
// file nor a real folder, 2 for dot-names, 1 when the owner may not write.
std::uint8_t attributesOf(std::string_view name, EntryKind kind, mode_t mode) {
    std::uint8_t a = 0;
    switch (kind) {
        case EntryKind::Directory:
            a |= attr::Directory;
            break;
        case EntryKind::DirectoryLink:
            a |= attr::Directory | attr::System;
            break;
        case EntryKind::Regular:
            break;
        case EntryKind::DanglingLink:
        case EntryKind::Special:
            a |= attr::System;
            break;
    }
    if (!name.empty() && name[0] == '.') a |= attr::Hidden;
    if ((mode & S_IWUSR) == 0) a |= attr::ReadOnly;
    return a;
}

// Returns the attribute bits that decide whether a listing yields the entry
// (hidden, system, directory), from the directory entry's type where the
// file system gives one, else from lstat/stat.
std::uint8_t listingBits(const std::string& folder, const dirent& e) {
    const char* name = e.d_name;
    std::uint8_t a = name[0] == '.' ? attr::Hidden : 0;
    switch (e.d_type) {
        case DT_REG:
            return a;
        case DT_DIR:
            return static_cast<std::uint8_t>(a | attr::Directory);
        case DT_FIFO:
        case DT_SOCK:
        case DT_CHR:
        case DT_BLK:
            return static_cast<std::uint8_t>(a | attr::System);
        default:
            break;  // a link, or a file system that leaves the type open
    }
    const std::string path = folder + name;
    struct stat lst {};
    struct stat st {};
    if (::lstat(path.c_str(), &lst) != 0) return a;  // vanished: let the caller's stat say so
    return static_cast<std::uint8_t>(
        a | (attributesOf(name, kindOf(path, lst, &st), S_IWUSR) & (attr::Directory | attr::System)));
}

// Clears O_NONBLOCK once the file is known to be a regular one. F_SETFL
// sets all of the status flags that it can change, and the open asked for
// none of them but O_NONBLOCK: no F_GETFL needed.
void blocking(int fd) { (void)::fcntl(fd, F_SETFL, 0); }

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

class PosixFileSystem final : public IFileSystem {
public:
    Result<FileInfo> stat(const std::string& path) override {
        if (path.empty()) return Error::fromErrno(ENOENT);
        struct stat lst {};
        if (::lstat(path.c_str(), &lst) != 0) return lastError();
        struct stat st {};
        const EntryKind kind = kindOf(path, lst, &st);
        return infoOf(path, kind, kind == EntryKind::DanglingLink ? lst : st);
    }

    Result<std::vector<std::string>> list(const std::string& folderAndPattern, std::uint8_t mask) override {
        std::string folder = GetDirPath(folderAndPattern);
        const std::string pattern = GetFileName(folderAndPattern);
        const std::string openPath = folder.empty() ? std::string(".") : folder;
        if (folder.empty()) folder = "./";
        constexpr std::uint8_t excluding = attr::Hidden | attr::System | attr::VolumeLabel | attr::Directory;
        std::vector<std::string> names;

        if (!hasWildcards(pattern)) {
            // One named entry: the file system's own name comparison decides.
            if (pattern.empty() || pattern == "." || pattern == "..") {
                struct stat st {};
                if (::stat(openPath.c_str(), &st) != 0) return lastError();
                if (!S_ISDIR(st.st_mode)) return Error::fromErrno(ENOTDIR);
                return names;
            }
            struct stat lst {};
            if (::lstat((folder + pattern).c_str(), &lst) != 0) {
                if (errno == ENOENT) {
                    struct stat st {};
                    if (::stat(openPath.c_str(), &st) != 0) return lastError();
                    if (!S_ISDIR(st.st_mode)) return Error::fromErrno(ENOTDIR);
                    return names;
                }
                return lastError();
            }
            struct stat st {};
            const EntryKind kind = kindOf(folder + pattern, lst, &st);
            const std::uint8_t a = attributesOf(pattern, kind, S_IWUSR);
            if ((a & excluding & ~mask) == 0) names.push_back(pattern);
            return names;
        }

        std::unique_ptr<DIR, DirCloser> dir(::opendir(openPath.c_str()));
        if (!dir) return lastError();
        for (;;) {
            errno = 0;
            const dirent* e = ::readdir(dir.get());
            if (e == nullptr) {
                if (errno != 0) return lastError();
                break;
            }
            const char* n = e->d_name;
            if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
            if (!wildcardMatch(pattern, n)) continue;
            if ((listingBits(folder, *e) & excluding & ~mask) != 0) continue;
            names.emplace_back(n);
        }
        return names;
    }

    Status makeDir(const std::string& path) override {
        if (::mkdir(path.c_str(), 0777) != 0) return lastError();
        return {};
    }

    Status removeDir(const std::string& path) override {
        if (::rmdir(path.c_str()) != 0) return lastError();
        return {};
    }

    Status deleteFile(const std::string& path) override {
        struct stat lst {};
        if (::lstat(path.c_str(), &lst) != 0) return lastError();
        if (S_ISDIR(lst.st_mode)) return Error::fromErrno(EISDIR);
        if (!S_ISLNK(lst.st_mode) && (lst.st_mode & S_IWUSR) == 0) return Error::fromErrno(EACCES);
        if (::unlink(path.c_str()) != 0) return lastError();
        return {};
    }

    Result<FileHandle> openRead(const std::string& path) override {
        FileInfo ignored;
        return openReadWithInfo(path, ignored);
    }

    Result<FileHandle> openReadWithInfo(const std::string& path, FileInfo& info) override {
        // O_NONBLOCK keeps a FIFO from waiting for a writer; the fstat check
        // then refuses anything that is not a regular file.
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) return lastError();
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            const Error e = lastError();
            ::close(fd);
            return e;
        }
        if (!S_ISREG(st.st_mode)) {
            ::close(fd);
            return Error::fromErrno(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        }
        blocking(fd);
        // The file opened is the one a stat of path follows a link to.
        info = infoOf(path, EntryKind::Regular, st);
        return FileHandle{fd};
    }

    Result<FileHandle> createNew(const std::string& path, std::uint32_t sourceMode) override {
        // With O_EXCL nothing existing is opened, a pipe no more than a
        // link: what is created is a regular file.
        const mode_t mode = static_cast<mode_t>(0666 | (sourceMode & 0111));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd < 0) return lastError();
        return FileHandle{fd};
    }

    Result<FileHandle> openWrite(const std::string& path, std::uint32_t sourceMode) override {
        const mode_t mode = static_cast<mode_t>(0666 | (sourceMode & 0111));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, mode);
        if (fd < 0) return lastError();
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            const Error e = lastError();
            ::close(fd);
            return e;
        }
        if (!S_ISREG(st.st_mode)) {
            ::close(fd);
            return Error::fromErrno(EINVAL);
        }
        blocking(fd);
        return FileHandle{fd};
    }

    Result<std::size_t> read(FileHandle handle, void* buffer, std::size_t size) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::read(handle, out + done, size - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return lastError();
            }
            if (n == 0) break;
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    Status write(FileHandle handle, const void* buffer, std::size_t size) override {
        const auto* in = static_cast<const char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = ::write(handle, in + done, size - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return lastError();
            }
            done += static_cast<std::size_t>(n);
        }
        return {};
    }

    Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t count) override {
        // A hole of the input (a stretch of a sparse file that holds no
        // data) is passed over rather than written as zeros, so it stays a
        // hole. Small pieces are copied as they are: the look costs more
        // than it could save.
        if (count >= kHoleLook) {
            struct stat st {};
            if (::fstat(in, &st) == 0 && S_ISREG(st.st_mode) && st.st_blocks * 512 < st.st_size)
                return copySparse(in, out, count);
        }
        return copyBytes(in, out, count);
    }

    Status setLength(FileHandle handle, std::int64_t length) override {
        if (::ftruncate(handle, static_cast<off_t>(length)) != 0) return lastError();
        return {};
    }

    Status close(FileHandle handle) override {
        if (::close(handle) != 0) return lastError();
        return {};
    }

    Result<std::string> currentDir() override {
        std::string buffer(PATH_MAX, '\0');
        if (::getcwd(buffer.data(), buffer.size()) == nullptr) return lastError();
        buffer.resize(std::strlen(buffer.c_str()));
        return buffer;
    }

private:
    static FileInfo infoOf(const std::string& path, EntryKind kind, const struct stat& facts) {
        FileInfo info;
        info.kind = kind;
        info.attributes = attributesOf(lastName(path), info.kind, facts.st_mode);
        info.length = info.kind == EntryKind::Regular ? static_cast<std::int64_t>(facts.st_size) : 0;
        info.mtimeSec = static_cast<std::int64_t>(facts.st_mtim.tv_sec);
        info.mtimeNsec = static_cast<std::int32_t>(facts.st_mtim.tv_nsec);
        info.mode = static_cast<std::uint32_t>(facts.st_mode & 07777);
        info.device = static_cast<std::uint64_t>(facts.st_dev);
        info.inode = static_cast<std::uint64_t>(facts.st_ino);
        return info;
    }

    static constexpr std::int64_t kHoleLook = 64 * 1024;

    // Moves up to count bytes from in to out at their current positions;
    // returns the bytes moved, fewer only at the end of the input.
    Result<std::int64_t> copyBytes(FileHandle in, FileHandle out, std::int64_t count) {
        std::int64_t done = 0;
        bool kernelCopy = true;
        while (done < count) {
            const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - done, 1 << 30));
            if (kernelCopy) {
                const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, want, 0);
                if (n > 0) {
                    done += n;
                    continue;
                }
                if (n == 0) break;
                if (errno == EINTR) continue;
                if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL) return lastError();
                kernelCopy = false;  // not between these files: plain reads and writes
            }
            static thread_local std::unique_ptr<char[]> buffer(new char[1 << 20]);
            const std::size_t chunk = std::min<std::size_t>(want, 1 << 20);
            auto got = read(in, buffer.get(), chunk);
            if (!got) return got.error();
            if (*got == 0) break;
            if (auto st = write(out, buffer.get(), *got); !st) return st.error();
            done += static_cast<std::int64_t>(*got);
        }
        return done;
    }

    // copyRange for an input that has holes.
    Result<std::int64_t> copySparse(FileHandle in, FileHandle out, std::int64_t count) {
        off_t pos = ::lseek(in, 0, SEEK_CUR);
        off_t outPos = ::lseek(out, 0, SEEK_CUR);
        struct stat outFacts {};
        if (pos < 0 || outPos < 0 || ::fstat(out, &outFacts) != 0) return copyBytes(in, out, count);
        std::int64_t outLength = outFacts.st_size;
        std::int64_t done = 0;
        while (done < count) {
            off_t data = ::lseek(in, pos, SEEK_DATA);
            if (data < 0) {
                // No data from here on: a hole up to the end (as it is now:
                // a file cut meanwhile ends where it ends), or the end.
                struct stat now {};
                if (errno != ENXIO || ::fstat(in, &now) != 0) return moreBytes(in, out, count, done);
                data = std::max<off_t>(pos, now.st_size);
            }
            if (data > pos) {
                const std::int64_t skip = std::min<std::int64_t>(data - pos, count - done);
                if (auto st = zeroRange(out, outPos, skip, outLength); !st) return st.error();
                pos += skip;
                outPos += skip;
                done += skip;
                if (::lseek(in, pos, SEEK_SET) < 0 || ::lseek(out, outPos, SEEK_SET) < 0) return lastError();
                continue;
            }
            // Data up to the next hole (or the end).
            const off_t hole = ::lseek(in, pos, SEEK_HOLE);
            if (hole < 0 || ::lseek(in, pos, SEEK_SET) < 0) return moreBytes(in, out, count, done);
            const std::int64_t want = std::min<std::int64_t>(std::max<off_t>(hole - pos, 1), count - done);
            const auto moved = copyBytes(in, out, want);
            if (!moved) return moved.error();
            done += *moved;
            if (*moved < want) break;  // the end of the input
            pos += static_cast<off_t>(*moved);
            outPos += static_cast<off_t>(*moved);
            outLength = std::max<std::int64_t>(outLength, outPos);
        }
        return done;
    }

    // Copies the rest of count plainly after done bytes went another way.
    Result<std::int64_t> moreBytes(FileHandle in, FileHandle out, std::int64_t count, std::int64_t done) {
        const auto moved = copyBytes(in, out, count - done);
        if (!moved) return moved.error();
        return done + *moved;
    }

    // Makes length bytes of out from offset read as zeros without writing
    // them where it can: past the end nothing is there to clear, and the
    // file is only made long enough; below it, what the file held there
    // (a replaced file's content) is punched out, or else written over.
    Status zeroRange(FileHandle out, std::int64_t offset, std::int64_t length, std::int64_t& outLength) {
        const std::int64_t end = offset + length;
        const std::int64_t held = std::min(end, outLength) - offset;
        if (held > 0 && ::fallocate(out, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, static_cast<off_t>(offset),
                                    static_cast<off_t>(held)) != 0) {
            static const std::unique_ptr<char[]> zeros(new char[1 << 20]());
            for (std::int64_t at = offset; at < offset + held;) {
                const auto n = static_cast<std::size_t>(std::min<std::int64_t>(offset + held - at, 1 << 20));
                const ssize_t w = ::pwrite(out, zeros.get(), n, static_cast<off_t>(at));
                if (w < 0) {
                    if (errno == EINTR) continue;
                    return lastError();
                }
                at += w;
            }
        }
        if (end > outLength) {
            if (::ftruncate(out, static_cast<off_t>(end)) != 0) return lastError();
            outLength = end;
        }
        return {};
    }

    // The last name of path, trailing separators ignored; "/" for the root.
    static std::string_view lastName(std::string_view path) {
        while (path.size() > 1 && path.back() == kSep) path.remove_suffix(1);
        const auto last = path.rfind(kSep);
        return last == std::string_view::npos || path.size() == 1 ? path : path.substr(last + 1);
    }
};

}  // namespace

IFileSystem& realFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace farsend
