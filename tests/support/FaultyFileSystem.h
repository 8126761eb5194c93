#pragma once
// A file system that forwards to another one and fails chosen calls, so
// tests can provoke what root would never see: disk full at byte N, read
// errors, refused creates, a vanished file, an unavailable device.

#include <cerrno>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace farsend::test {

enum class Op { Stat, List, MakeDir, RemoveDir, DeleteFile, OpenRead, OpenWrite, Read, Write, SetLength, Close, CurrentDir };

class FaultyFileSystem final : public IFileSystem {
public:
    explicit FaultyFileSystem(IFileSystem& inner = realFileSystem()) : inner_(inner) {}

    // Makes calls of op on a path containing pathPart fail with errnoValue,
    // after skip matching calls have gone through; times < 0 fails for ever.
    // For Read and Write the path is the one the handle was opened with.
    void failOn(Op op, std::string pathPart, int errnoValue, int skip = 0, int times = -1);
    // Writes to files whose path contains pathPart fail with ENOSPC once
    // byteLimit bytes have been written to them (a partial write is made).
    void diskFullAfter(std::string pathPart, std::int64_t byteLimit);
    // Runs hook before every call (op, path), e.g. to change the disk mid-walk.
    void onCall(std::function<void(Op, const std::string&)> hook) { hook_ = std::move(hook); }
    void clearFaults();

    // How often op was called on a path containing pathPart.
    int calls(Op op, const std::string& pathPart = {}) const;
    // Handles still open.
    int openHandles() const { return static_cast<int>(paths_.size()); }

    Result<FileInfo> stat(const std::string& path) override;
    Result<std::vector<std::string>> list(const std::string& folderAndPattern, std::uint8_t mask) override;
    Status makeDir(const std::string& path) override;
    Status removeDir(const std::string& path) override;
    Status deleteFile(const std::string& path) override;
    Result<FileHandle> openRead(const std::string& path) override;
    Result<FileHandle> openWrite(const std::string& path, std::uint32_t sourceMode) override;
    Result<std::size_t> read(FileHandle handle, void* buffer, std::size_t size) override;
    Status write(FileHandle handle, const void* buffer, std::size_t size) override;
    Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t count) override;
    Status setLength(FileHandle handle, std::int64_t length) override;
    Status close(FileHandle handle) override;
    Result<std::string> currentDir() override;

private:
    struct Fault {
        Op op;
        std::string pathPart;
        int errnoValue;
        int skip;
        int times;
    };
    // Returns the error to inject for this call, if any, and counts it.
    std::optional<Error> check(Op op, const std::string& path);

    IFileSystem& inner_;
    std::vector<Fault> faults_;
    std::map<std::pair<int, std::string>, int> calls_;
    std::vector<std::pair<Op, std::string>> log_;
    std::map<FileHandle, std::string> paths_;
    std::map<FileHandle, std::int64_t> written_;
    std::string fullPart_;
    std::int64_t fullLimit_ = -1;
    std::function<void(Op, const std::string&)> hook_;
};

}  // namespace farsend::test
