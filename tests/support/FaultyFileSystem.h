#pragma once
// A file system that forwards to another one and fails chosen calls by
// path, for the rules above the file-system layer (the selection, the
// search, the chooser). Faults under the layer, at the system calls, come
// from SystemCallFaults.

#include <cerrno>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace farsend::test {

enum class Op { Stat, List, MakeDir, RemoveDir, DeleteFile, OpenRead, CurrentDir };

class FaultyFileSystem final : public IFileSystem {
public:
    explicit FaultyFileSystem(IFileSystem& inner = realFileSystem()) : inner_(inner) {}

    // Makes calls of op on a path containing pathPart fail with errnoValue,
    // after skip matching calls have gone through; times < 0 fails for ever.
    void failOn(Op op, std::string pathPart, int errnoValue, int skip = 0, int times = -1) {
        faults_.push_back({op, std::move(pathPart), errnoValue, skip, times});
    }
    // Runs hook before every call (op, path), e.g. to change the disk mid-walk.
    void onCall(std::function<void(Op, const std::string&)> hook) { hook_ = std::move(hook); }
    void clearFaults() { faults_.clear(); }
    // How often op was called on a path containing pathPart.
    int calls(Op op, const std::string& pathPart = {}) const;

    Result<FileInfo> stat(const std::string& p) override {
        return pass(Op::Stat, p, [&] { return inner_.stat(p); });
    }
    Result<std::vector<std::string>> list(const std::string& p, std::uint8_t mask) override {
        return pass(Op::List, p, [&] { return inner_.list(p, mask); });
    }
    Status makeDir(const std::string& p) override {
        return pass(Op::MakeDir, p, [&] { return inner_.makeDir(p); });
    }
    Status removeDir(const std::string& p) override {
        return pass(Op::RemoveDir, p, [&] { return inner_.removeDir(p); });
    }
    Status deleteFile(const std::string& p) override {
        return pass(Op::DeleteFile, p, [&] { return inner_.deleteFile(p); });
    }
    Result<FileHandle> openRead(const std::string& p, FileInfo& info) override {
        return pass(Op::OpenRead, p, [&] { return inner_.openRead(p, info); });
    }
    Result<std::string> currentDir() override {
        return pass(Op::CurrentDir, {}, [&] { return inner_.currentDir(); });
    }

    Result<FileInfo> describe(FileHandle h) override { return inner_.describe(h); }
    Result<std::size_t> read(FileHandle h, void* b, std::size_t n) override { return inner_.read(h, b, n); }
    Status write(FileHandle h, const void* b, std::size_t n) override { return inner_.write(h, b, n); }
    Result<std::int64_t> copyRange(FileHandle in, FileHandle out, std::int64_t n) override {
        return inner_.copyRange(in, out, n);
    }
    Status close(FileHandle h) override { return inner_.close(h); }
    Result<FolderHandle> openFolder(const std::string& p) override { return inner_.openFolder(p); }
    Result<FolderHandle> openFolderAt(FolderHandle f, const std::string& n) override {
        return inner_.openFolderAt(f, n);
    }
    Result<FileInfo> statAt(FolderHandle f, const std::string& n) override { return inner_.statAt(f, n); }
    Status makeDirAt(FolderHandle f, const std::string& n) override { return inner_.makeDirAt(f, n); }
    Result<NewFile> createNew(FolderHandle f, std::uint32_t mode) override { return inner_.createNew(f, mode); }
    Status nameNew(FolderHandle f, NewFile& file, const std::string& n, bool replace) override {
        return inner_.nameNew(f, file, n, replace);
    }
    void discardNew(FolderHandle f, NewFile& file) override { inner_.discardNew(f, file); }

private:
    struct Fault {
        Op op;
        std::string pathPart;
        int errnoValue;
        int skip;
        int times;
    };
    // The injected error for this call, if any; the call is counted.
    const Fault* check(Op op, const std::string& path);
    template <class Call>
    auto pass(Op op, const std::string& path, Call call) -> decltype(call()) {
        if (const Fault* f = check(op, path)) return Error::fromErrno(f->errnoValue);
        return call();
    }

    IFileSystem& inner_;
    std::vector<Fault> faults_;
    std::vector<std::pair<Op, std::string>> log_;
    std::function<void(Op, const std::string&)> hook_;
};

}  // namespace farsend::test
