#include "support/FaultyFileSystem.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace farsend::test {

void FaultyFileSystem::failOn(Op op, std::string pathPart, int errnoValue, int skip, int times) {
    faults_.push_back({op, std::move(pathPart), errnoValue, skip, times});
}

void FaultyFileSystem::diskFullAfter(std::string pathPart, std::int64_t byteLimit) {
    fullPart_ = std::move(pathPart);
    fullLimit_ = byteLimit;
}

void FaultyFileSystem::clearFaults() {
    faults_.clear();
    fullLimit_ = -1;
}

int FaultyFileSystem::calls(Op op, const std::string& pathPart) const {
    int n = 0;
    for (const auto& [o, p] : log_)
        if (o == op && p.find(pathPart) != std::string::npos) ++n;
    return n;
}

std::optional<Error> FaultyFileSystem::check(Op op, const std::string& path) {
    if (hook_) hook_(op, path);
    log_.emplace_back(op, path);
    for (Fault& f : faults_) {
        if (f.op != op || path.find(f.pathPart) == std::string::npos || f.times == 0) continue;
        if (f.skip > 0) {
            --f.skip;
            continue;
        }
        if (f.times > 0) --f.times;
        return Error::fromErrno(f.errnoValue);
    }
    return std::nullopt;
}

Result<FileInfo> FaultyFileSystem::stat(const std::string& path) {
    if (auto e = check(Op::Stat, path)) return *e;
    return inner_.stat(path);
}

Result<std::vector<std::string>> FaultyFileSystem::list(const std::string& folderAndPattern, std::uint8_t mask) {
    if (auto e = check(Op::List, folderAndPattern)) return *e;
    return inner_.list(folderAndPattern, mask);
}

Status FaultyFileSystem::makeDir(const std::string& path) {
    if (auto e = check(Op::MakeDir, path)) return *e;
    return inner_.makeDir(path);
}

Status FaultyFileSystem::removeDir(const std::string& path) {
    if (auto e = check(Op::RemoveDir, path)) return *e;
    return inner_.removeDir(path);
}

Status FaultyFileSystem::deleteFile(const std::string& path) {
    if (auto e = check(Op::DeleteFile, path)) return *e;
    return inner_.deleteFile(path);
}

Result<FileHandle> FaultyFileSystem::openRead(const std::string& path) {
    if (auto e = check(Op::OpenRead, path)) return *e;
    auto h = inner_.openRead(path);
    if (h) paths_[*h] = path;
    return h;
}

Result<FileHandle> FaultyFileSystem::openWrite(const std::string& path, std::uint32_t sourceMode) {
    if (auto e = check(Op::OpenWrite, path)) return *e;
    auto h = inner_.openWrite(path, sourceMode);
    if (h) {
        paths_[*h] = path;
        written_[*h] = 0;
    }
    return h;
}

Result<std::size_t> FaultyFileSystem::read(FileHandle handle, void* buffer, std::size_t size) {
    if (auto e = check(Op::Read, paths_[handle])) return *e;
    return inner_.read(handle, buffer, size);
}

Status FaultyFileSystem::write(FileHandle handle, const void* buffer, std::size_t size) {
    const std::string& path = paths_[handle];
    if (auto e = check(Op::Write, path)) return *e;
    if (fullLimit_ >= 0 && path.find(fullPart_) != std::string::npos) {
        std::int64_t& done = written_[handle];
        const std::int64_t room = std::max<std::int64_t>(0, fullLimit_ - done);
        if (static_cast<std::int64_t>(size) > room) {
            if (room > 0) {
                (void)inner_.write(handle, buffer, static_cast<std::size_t>(room));
                done += room;
            }
            return Error::fromErrno(ENOSPC);
        }
        done += static_cast<std::int64_t>(size);
    }
    return inner_.write(handle, buffer, size);
}

// Goes through read and write, so every injected fault applies to it too.
// With nothing armed that reads or writes could trip (no fault, no disk
// limit, no hook), the inner file system moves the bytes its own way, as
// the program does (in the kernel, holes kept); the log counts one read and
// one write.
Result<std::int64_t> FaultyFileSystem::copyRange(FileHandle in, FileHandle out, std::int64_t count) {
    const bool watched = hook_ || fullLimit_ >= 0 || std::any_of(faults_.begin(), faults_.end(), [](const Fault& f) {
                             return (f.op == Op::Read || f.op == Op::Write) && f.times != 0;
                         });
    if (!watched) {
        log_.emplace_back(Op::Read, paths_[in]);
        log_.emplace_back(Op::Write, paths_[out]);
        return inner_.copyRange(in, out, count);
    }
    std::vector<char> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 1 << 20)));
    std::int64_t done = 0;
    while (done < count) {
        const auto want = static_cast<std::size_t>(std::min<std::int64_t>(count - done, static_cast<std::int64_t>(buffer.size())));
        auto got = read(in, buffer.data(), want);
        if (!got) return got.error();
        if (*got == 0) break;
        if (auto st = write(out, buffer.data(), *got); !st) return st.error();
        done += static_cast<std::int64_t>(*got);
    }
    return done;
}

Status FaultyFileSystem::setLength(FileHandle handle, std::int64_t length) {
    if (auto e = check(Op::SetLength, paths_[handle])) return *e;
    return inner_.setLength(handle, length);
}

Status FaultyFileSystem::close(FileHandle handle) {
    const std::string path = paths_[handle];
    paths_.erase(handle);
    written_.erase(handle);
    if (auto e = check(Op::Close, path)) {
        (void)inner_.close(handle);
        return *e;
    }
    return inner_.close(handle);
}

Result<std::string> FaultyFileSystem::currentDir() {
    if (auto e = check(Op::CurrentDir, {})) return *e;
    return inner_.currentDir();
}

}  // namespace farsend::test
