// The POSIX file system. Every POSIX call of the program lives in platform/.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/SystemCalls.h"

namespace farsend {

Error Error::fromErrno(int errnoValue) {
    char buffer[256] = {};
    // GNU strerror_r may return a static string instead of filling buffer.
    const char* text = strerror_r(errnoValue, buffer, sizeof buffer);
    return Error{errnoValue, text != nullptr ? text : buffer};
}

namespace sys {

namespace {

const Calls kReal{
    [](int d, const char* p, int f, mode_t m) { return ::openat(d, p, f, m); },
    ::close,
    ::read,
    ::write,
    [](int in, off_t* io, int out, off_t* oo, size_t n, unsigned f) {
        return ::copy_file_range(in, io, out, oo, n, f);
    },
    ::fstatat,
    ::linkat,
    ::renameat2,
    ::unlinkat,
    ::mkdirat,
    ::lseek,
    ::ftruncate,
    ::fchmod,
    ::flock,
    ::syncfs,
    ::fstatfs,
};

}  // namespace

Calls& calls() {
    static Calls table = kReal;
    return table;
}

const Calls& realCalls() { return kReal; }

}  // namespace sys

namespace {

Error lastError() { return Error::fromErrno(errno); }

sys::Calls& os() { return sys::calls(); }

int lstatOf(const std::string& path, struct stat* facts) {
    return os().fstatat(AT_FDCWD, path.c_str(), facts, AT_SYMLINK_NOFOLLOW);
}
int fstatOf(int fd, struct stat* facts) { return os().fstatat(fd, "", facts, AT_EMPTY_PATH); }

// Returns the kind of the entry that st (from lstat) describes, following a
// symbolic link once to classify it.
EntryKind kindOf(int dirfd, const std::string& path, const struct stat& lst, struct stat* target) {
    if (S_ISLNK(lst.st_mode)) {
        if (os().fstatat(dirfd, path.c_str(), target, 0) != 0) return EntryKind::DanglingLink;
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
    if (lstatOf(path, &lst) != 0) return a;  // vanished: let the caller's stat say so
    return static_cast<std::uint8_t>(
        a | (attributesOf(name, kindOf(AT_FDCWD, path, lst, &st), S_IWUSR) & (attr::Directory | attr::System)));
}

// Closes fd and gives back e, for the failure paths that let a handle go.
Error closing(int fd, Error e) {
    (void)os().close(fd);
    return e;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};
using Listing = std::unique_ptr<DIR, DirCloser>;

// Opens path in dirfd for listing, on a handle of its own (closing the
// listing must not close dirfd).
Result<Listing> openListing(int dirfd, const char* path) {
    const int fd = os().openat(dirfd, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd < 0) return lastError();
    Listing dir(::fdopendir(fd));
    if (!dir) return closing(fd, lastError());
    return dir;
}

// Calls visit for every entry of a listing but "." and ".."; a visit that
// fails ends the listing with its error.
template <class Visit>
Status eachEntry(DIR* dir, Visit visit) {
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(dir);
        if (e == nullptr) return errno != 0 ? Status(lastError()) : Status();
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'))) continue;
        if (Status st = visit(*e); !st) return st;
    }
}

// The folder a call works in: a handle, or the current directory for a path.
int dirOf(FolderHandle folder) { return folder == kAtCurrentDir ? AT_FDCWD : folder; }

// Magic numbers of statfs that tell a file system without asking further.
constexpr unsigned long kMsdosMagic = 0x4d44;
constexpr unsigned long kExfatMagic = 0x2011BAB0;
constexpr unsigned long kFuseMagic = 0x65735546;

// The type the system's mount table gives the file system on device, empty
// when it lists none. FUSE file systems show as "fuse.<name>" or
// "fuseblk" there.
std::string mountedType(dev_t device) {
    std::ifstream table("/proc/self/mountinfo");
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string id, parent, numbers, field;
        fields >> id >> parent >> numbers;
        if (numbers != wanted) continue;
        while (fields >> field && field != "-") {
        }
        std::string type, source;
        fields >> type >> source;
        // A FUSE file system that names no type of its own is known by the
        // program that serves it, the mount's source.
        if ((type == "fuse" || type == "fuseblk") && !source.empty()) type += "." + GetFileName(source);
        return type;
    }
    return {};
}

// Whether a file system of this type keeps to FAT's rules for names.
bool fatFamily(std::string_view type) {
    for (std::string_view prefix : {"fuseblk.", "fuse."})
        if (type.substr(0, prefix.size()) == prefix) type.remove_prefix(prefix.size());
    return type == "msdos" || type.find("fat") != std::string_view::npos;
}

// The file systems whose in-kernel copy refuses these two files, or that
// have none: plain reads and writes do it.
bool kernelCopyRefused(int e) { return e == EXDEV || e == ENOSYS || e == EOPNOTSUPP || e == EINVAL || e == EPERM; }

class PosixFileSystem final : public IFileSystem {
public:
    Result<std::vector<KindedName>> listKinds(const std::string& folder) override;  // below the class

    Result<FileInfo> stat(const std::string& path) override {
        if (path.empty()) return Error::fromErrno(ENOENT);
        return statIn(AT_FDCWD, path);
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
            struct stat lst {};
            if (pattern.empty() || pattern == "." || pattern == ".." || lstatOf(folder + pattern, &lst) != 0) {
                if (!pattern.empty() && pattern != "." && pattern != ".." && errno != ENOENT) return lastError();
                struct stat st {};
                if (os().fstatat(AT_FDCWD, openPath.c_str(), &st, 0) != 0) return lastError();
                if (!S_ISDIR(st.st_mode)) return Error::fromErrno(ENOTDIR);
                return names;
            }
            struct stat st {};
            const EntryKind kind = kindOf(AT_FDCWD, folder + pattern, lst, &st);
            const std::uint8_t a = attributesOf(pattern, kind, S_IWUSR);
            if ((a & excluding & ~mask) == 0) names.push_back(pattern);
            return names;
        }

        auto dir = openListing(AT_FDCWD, openPath.c_str());
        if (!dir) return dir.error();
        const Status listed = eachEntry(dir.value().get(), [&](const dirent& e) {
            if (wildcardMatch(pattern, e.d_name) && (listingBits(folder, e) & excluding & ~mask) == 0)
                names.emplace_back(e.d_name);
            return Status();
        });
        if (!listed) return listed.error();
        return names;
    }

    Status makeDir(const std::string& path) override { return makeDirAt(AT_FDCWD, path, 0777); }

    Status removeDir(const std::string& path) override {
        if (os().unlinkat(AT_FDCWD, path.c_str(), AT_REMOVEDIR) != 0) return lastError();
        return {};
    }

    Status deleteFile(const std::string& path) override {
        struct stat lst {};
        if (lstatOf(path, &lst) != 0) return lastError();
        if (S_ISDIR(lst.st_mode)) return Error::fromErrno(EISDIR);
        if (readOnlyFile(lst)) return Error::fromErrno(EACCES);
        if (os().unlinkat(AT_FDCWD, path.c_str(), 0) != 0) return lastError();
        return {};
    }

    Result<FileHandle> openRead(const std::string& path, FileInfo& info) override {
        return readable(AT_FDCWD, path, 0, info);
    }

    Result<FileHandle> openReadAt(FolderHandle folder, const std::string& name, FileInfo& info,
                                  bool followLink) override {
        return readable(folder, name, followLink ? 0 : O_NOFOLLOW, info);
    }

    Result<FileInfo> describe(FileHandle handle) override {
        struct stat st {};
        if (fstatOf(handle, &st) != 0) return lastError();
        return infoOf({}, S_ISREG(st.st_mode) ? EntryKind::Regular : EntryKind::Special, st);
    }

    Result<std::size_t> read(FileHandle handle, void* buffer, std::size_t size) override {
        auto* out = static_cast<char*>(buffer);
        std::size_t done = 0;
        while (done < size) {
            const ssize_t n = os().read(handle, out + done, size - done);
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
            const ssize_t n = os().write(handle, in + done, size - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return lastError();
            }
            done += static_cast<std::size_t>(n);
        }
        return {};
    }

    Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t count, CopyHints& hints) override {
        // A hole of the input (a stretch of a sparse file that holds no
        // data) is passed over rather than written as zeros, so it stays a
        // hole. Small pieces are copied as they are: the look costs more
        // than it could save.
        if (hints.holes && count >= kHoleLook) return copySparse(in, out, count, hints);
        return copyBytes(in, out, count, hints);
    }

    Status close(FileHandle handle) override {
        if (os().close(handle) != 0) return lastError();
        return {};
    }

    Result<FolderHandle> openFolder(const std::string& path) override { return folderIn(AT_FDCWD, path, 0); }

    Result<FolderHandle> openFolderAt(FolderHandle parent, const std::string& name) override {
        return folderIn(parent, name, O_NOFOLLOW);
    }

    Result<FileInfo> statAt(FolderHandle folder, const std::string& name) override {
        if (name.empty()) return Error::fromErrno(ENOENT);
        return statIn(folder, name);
    }

    Status makeDirAt(FolderHandle folder, const std::string& name, std::uint32_t mode) override {
        if (os().mkdirat(folder, name.c_str(), static_cast<mode_t>(mode & 0777)) != 0) return lastError();
        return {};
    }

    Result<VolumeFacts> describeVolume(FolderHandle folder) override {
        struct statfs facts {};
        struct stat st {};
        if (os().fstatfs(folder, &facts) != 0 || fstatOf(folder, &st) != 0) return lastError();
        VolumeFacts volume;
        volume.type = mountedType(st.st_dev);
        const auto magic = static_cast<unsigned long>(facts.f_type);
        if (magic == kMsdosMagic || magic == kExfatMagic) {
            volume.fatNames = true;
            if (volume.type.empty()) volume.type = magic == kMsdosMagic ? "vfat" : "exfat";
        } else if (magic == kFuseMagic) {
            volume.fatNames = fatFamily(volume.type);
        }
        // FAT keeps a file's length in 32 bits; exFAT does not.
        if (volume.fatNames && volume.type.find("exfat") == std::string::npos) volume.largestFile = 0xffffffffLL;
        return volume;
    }

    Result<FileHandle> createUnnamed(FolderHandle folder, std::uint32_t mode) override {
        const int fd = os().openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, static_cast<mode_t>(mode & 0777));
        if (fd >= 0) return FileHandle{fd};
        // Older kernels and many file systems say so in other words.
        if (errno == EISDIR || errno == EINVAL || errno == ENOENT) return Error::fromErrno(EOPNOTSUPP);
        return lastError();
    }

    Result<FileHandle> createExclusive(FolderHandle folder, const std::string& name, std::uint32_t mode) override {
        const int fd =
            os().openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                        static_cast<mode_t>(mode & 0777));
        if (fd < 0) return lastError();
        return FileHandle{fd};
    }

    Status nameUnnamed(FileHandle file, FolderHandle folder, const std::string& name) override {
        if (linkUnnamed(file, folder, name) != 0) return lastError();
        return {};
    }

    Status link(FolderHandle fromFolder, const std::string& from, FolderHandle toFolder,
                const std::string& to) override {
        if (os().linkat(dirOf(fromFolder), from.c_str(), toFolder, to.c_str(), 0) != 0) return lastError();
        return {};
    }

    Status rename(FolderHandle fromFolder, const std::string& from, FolderHandle toFolder, const std::string& to,
                  bool replace) override {
        if (os().renameat2(dirOf(fromFolder), from.c_str(), toFolder, to.c_str(), replace ? 0 : RENAME_NOREPLACE) != 0)
            return lastError();
        return {};
    }

    Status removeAt(FolderHandle folder, const std::string& name) override {
        if (os().unlinkat(dirOf(folder), name.c_str(), 0) != 0) return lastError();
        return {};
    }

    Result<std::vector<std::string>> namesAt(FolderHandle folder) override {
        auto dir = openListing(folder, ".");
        if (!dir) return dir.error();
        std::vector<std::string> names;
        const Status listed = eachEntry(dir.value().get(), [&](const dirent& e) {
            names.emplace_back(e.d_name);
            return Status();
        });
        if (!listed) return listed.error();
        return names;
    }

    Status setMode(FileHandle handle, std::uint32_t mode) override {
        if (os().fchmod(handle, static_cast<mode_t>(mode & 07777)) != 0) return lastError();
        return {};
    }

    Status lock(FileHandle handle) override {
        if (os().flock(handle, LOCK_EX | LOCK_NB) != 0) return lastError();
        return {};
    }

    Status flushVolume(FolderHandle folder) override {
        if (os().syncfs(folder) != 0) return lastError();
        return {};
    }

    std::uint32_t creationMask() override {
        // Read where the kernel shows it, so that the mask is never changed,
        // not even for an instant.
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind("Umask:", 0) == 0) return static_cast<std::uint32_t>(std::stoul(line.substr(6), nullptr, 8));
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return static_cast<std::uint32_t>(mask);
    }

    Result<std::string> currentDir() override {
        std::string buffer(PATH_MAX, '\0');
        if (::getcwd(buffer.data(), buffer.size()) == nullptr) return lastError();
        buffer.resize(std::strlen(buffer.c_str()));
        return buffer;
    }

private:
    // Opens a regular file for reading. O_NONBLOCK keeps a FIFO from
    // waiting for a writer; the fstat check then refuses anything that is
    // not a regular file. On a regular file the flag changes nothing, so it
    // stays set: one call less a file.
    static Result<FileHandle> readable(int dirfd, const std::string& path, int flags, FileInfo& info) {
        const int fd = os().openat(dirfd, path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | flags, 0);
        if (fd < 0) return lastError();
        struct stat st {};
        if (fstatOf(fd, &st) != 0) return closing(fd, lastError());
        if (!S_ISREG(st.st_mode)) return closing(fd, Error::fromErrno(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
        // The file opened is the one a stat of path follows a link to.
        info = infoOf(lastName(path), EntryKind::Regular, st);
        return FileHandle{fd};
    }

    // Gives the unnamed file behind fd the name name in folder; 0 or -1
    // with errno. Naming an open file directly is allowed to its opener on
    // recent kernels; elsewhere its /proc entry serves.
    static int linkUnnamed(int fd, FolderHandle folder, const std::string& name) {
        static bool direct = true;
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (direct) {
            if (os().linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
            if (errno != EPERM && errno != ENOENT && errno != EINVAL) return -1;
            // Refused for want of a privilege, or for what is at the name's
            // folder (gone, say): only the other way tells which.
            if (os().linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) != 0) return -1;
            direct = false;
            return 0;
        }
        return os().linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW);
    }

    static bool readOnlyFile(const struct stat& lst) { return !S_ISLNK(lst.st_mode) && (lst.st_mode & S_IWUSR) == 0; }

    // Facts about path relative to dirfd, a final link followed to tell
    // what it is, and marked as a link.
    static Result<FileInfo> statIn(int dirfd, const std::string& path) {
        struct stat lst {};
        if (os().fstatat(dirfd, path.c_str(), &lst, AT_SYMLINK_NOFOLLOW) != 0) return lastError();
        struct stat st {};
        const EntryKind kind = kindOf(dirfd, path, lst, &st);
        FileInfo info = infoOf(lastName(path), kind, kind == EntryKind::DanglingLink ? lst : st);
        info.link = S_ISLNK(lst.st_mode);
        return info;
    }

    static Result<FolderHandle> folderIn(int dirfd, const std::string& path, int flags) {
        const int fd = os().openat(dirfd, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | flags, 0);
        if (fd < 0) return lastError();
        return FolderHandle{fd};
    }

    static FileInfo infoOf(std::string_view name, EntryKind kind, const struct stat& facts) {
        FileInfo info;
        info.kind = kind;
        info.attributes = attributesOf(name, info.kind, facts.st_mode);
        info.length = info.kind == EntryKind::Regular ? static_cast<std::int64_t>(facts.st_size) : 0;
        info.mtimeSec = static_cast<std::int64_t>(facts.st_mtim.tv_sec);
        info.mtimeNsec = static_cast<std::int32_t>(facts.st_mtim.tv_nsec);
        info.mode = static_cast<std::uint32_t>(facts.st_mode & 07777);
        info.device = static_cast<std::uint64_t>(facts.st_dev);
        info.inode = static_cast<std::uint64_t>(facts.st_ino);
        info.allocated = static_cast<std::int64_t>(facts.st_blocks) * 512;
        return info;
    }

    static constexpr std::int64_t kHoleLook = 64 * 1024;

    // Moves up to count bytes from in to out at their current positions;
    // returns the bytes moved, fewer only at the end of the input.
    Result<std::int64_t> copyBytes(FileHandle in, FileHandle out, std::int64_t count, CopyHints& hints) {
        std::int64_t done = 0;
        while (done < count) {
            const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - done, 1 << 30));
            if (hints.kernelCopy) {
                const ssize_t n = os().copyFileRange(in, nullptr, out, nullptr, want, 0);
                if (n > 0) {
                    done += n;
                    continue;
                }
                if (n == 0) break;
                if (errno == EINTR) continue;
                if (!kernelCopyRefused(errno)) return lastError();
                hints.kernelCopy = false;
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

    // copyRange for an input that has holes. The output is a new file: a
    // hole is made by going past it, and the file made long enough where
    // the input ends in one.
    Result<std::int64_t> copySparse(FileHandle in, FileHandle out, std::int64_t count, CopyHints& hints) {
        off_t pos = os().lseek(in, 0, SEEK_CUR);
        off_t outPos = os().lseek(out, 0, SEEK_CUR);
        if (pos < 0 || outPos < 0) return copyBytes(in, out, count, hints);
        std::int64_t done = 0;
        while (done < count) {
            off_t data = os().lseek(in, pos, SEEK_DATA);
            if (data < 0) {
                // No data from here on: a hole up to the end (as it is now:
                // a file cut meanwhile ends where it ends), or the end.
                struct stat now {};
                if (errno != ENXIO || fstatOf(in, &now) != 0) return moreBytes(in, out, count, done, hints);
                data = std::max<off_t>(pos, now.st_size);
            }
            if (data > pos) {
                const std::int64_t skip = std::min<std::int64_t>(data - pos, count - done);
                pos += skip;
                outPos += skip;
                done += skip;
                struct stat outFacts {};
                if (fstatOf(out, &outFacts) != 0) return lastError();
                if (outFacts.st_size < outPos && os().ftruncate(out, outPos) != 0) return lastError();
                if (os().lseek(in, pos, SEEK_SET) < 0 || os().lseek(out, outPos, SEEK_SET) < 0) return lastError();
                continue;
            }
            // Data up to the next hole (or the end).
            const off_t hole = os().lseek(in, pos, SEEK_HOLE);
            if (hole < 0 || os().lseek(in, pos, SEEK_SET) < 0) return moreBytes(in, out, count, done, hints);
            const std::int64_t want = std::min<std::int64_t>(std::max<off_t>(hole - pos, 1), count - done);
            const auto moved = copyBytes(in, out, want, hints);
            if (!moved) return moved.error();
            done += *moved;
            if (*moved < want) break;  // the end of the input
            pos += static_cast<off_t>(*moved);
            outPos += static_cast<off_t>(*moved);
        }
        return done;
    }

    // Copies the rest of count plainly after done bytes went another way.
    Result<std::int64_t> moreBytes(FileHandle in, FileHandle out, std::int64_t count, std::int64_t done,
                                   CopyHints& hints) {
        const auto moved = copyBytes(in, out, count - done, hints);
        if (!moved) return moved.error();
        return done + *moved;
    }

    // The last name of path, trailing separators ignored; "/" for the root.
    static std::string_view lastName(std::string_view path) {
        while (path.size() > 1 && path.back() == kSep) path.remove_suffix(1);
        const auto last = path.rfind(kSep);
        return last == std::string_view::npos || path.size() == 1 ? path : path.substr(last + 1);
    }
};

// ---- a folder's names with their kinds ----

// Sets kind to what a directory entry's type tells and returns true, or
// returns false where only a look at the entry can tell (a link, or a type
// the file system leaves open).
bool kindOfType(unsigned char type, EntryKind& kind) {
    switch (type) {
        case DT_REG:
            kind = EntryKind::Regular;
            return true;
        case DT_DIR:
            kind = EntryKind::Directory;
            return true;
        case DT_FIFO:
        case DT_SOCK:
        case DT_CHR:
        case DT_BLK:
            kind = EntryKind::Special;
            return true;
        default:
            return false;
    }
}

Result<std::vector<IFileSystem::KindedName>> PosixFileSystem::listKinds(const std::string& folder) {
    auto dir = openListing(AT_FDCWD, folder.empty() ? "." : folder.c_str());
    if (!dir) return dir.error();
    const int dirfd = ::dirfd(dir.value().get());
    std::vector<KindedName> entries;
    const Status listed = eachEntry(dir.value().get(), [&](const dirent& e) {
        EntryKind kind = EntryKind::Regular;
        if (!kindOfType(e.d_type, kind)) {
            struct stat lst {};
            struct stat st {};
            if (os().fstatat(dirfd, e.d_name, &lst, AT_SYMLINK_NOFOLLOW) != 0)
                return errno == ENOENT ? Status() : Status(lastError());  // gone since the listing: passed over
            kind = kindOf(dirfd, e.d_name, lst, &st);
        }
        entries.push_back({e.d_name, kind});
        return Status();
    });
    if (!listed) return listed.error();
    return entries;
}

}  // namespace

IFileSystem& realFileSystem() {
    static PosixFileSystem fs;
    return fs;
}

}  // namespace farsend
