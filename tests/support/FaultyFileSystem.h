#pragma once
// A file system that forwards to another one and fails chosen calls by
// path, for the rules above the file-system layer (the selection, the
// search, the chooser). Faults under the layer, at the system calls, come
// in the transfer tests, through the table in platform/SystemCalls.h.

#include <tuple>

#include "platform/FileSystem.h"

namespace farsend::test {

enum class Op { Stat, List, MakeDir };

class FaultyFileSystem final : public IFileSystem {
public:
    // Makes calls of op on a path containing pathPart fail with errnoValue.
    void failOn(Op op, std::string pathPart, int errnoValue) {
        faults_.emplace_back(op, std::move(pathPart), errnoValue);
    }
    void clearFaults() { faults_.clear(); }
    // How often op was called on a path containing pathPart.
    int calls(Op op, const std::string& pathPart = {}) const {
        int n = 0;
        for (const auto& [o, p] : log_) n += o == op && p.find(pathPart) != std::string::npos;
        return n;
    }

    Result<FileInfo> stat(const std::string& p) override {
        return pass(Op::Stat, p, [&] { return fs_.stat(p); });
    }
    Result<std::vector<std::string>> list(const std::string& p, std::uint8_t mask) override {
        return pass(Op::List, p, [&] { return fs_.list(p, mask); });
    }
    Status makeDir(const std::string& p) override {
        return pass(Op::MakeDir, p, [&] { return fs_.makeDir(p); });
    }

    Status removeDir(const std::string& p) override { return fs_.removeDir(p); }
    Status deleteFile(const std::string& p) override { return fs_.deleteFile(p); }
    Result<FileHandle> openRead(const std::string& p, FileInfo& info) override { return fs_.openRead(p, info); }
    Result<std::string> currentDir() override { return fs_.currentDir(); }
    Result<FileInfo> describe(FileHandle h) override { return fs_.describe(h); }
    Result<std::size_t> read(FileHandle h, void* b, std::size_t n) override { return fs_.read(h, b, n); }
    Status write(FileHandle h, const void* b, std::size_t n) override { return fs_.write(h, b, n); }
    Result<std::int64_t> copyRange(FileHandle i, FileHandle o, std::int64_t n, CopyHints& hints) override {
        return fs_.copyRange(i, o, n, hints);
    }
    Status close(FileHandle h) override { return fs_.close(h); }
    Result<FolderHandle> openFolder(const std::string& p) override { return fs_.openFolder(p); }
    Result<FolderHandle> openFolderAt(FolderHandle f, const std::string& n) override { return fs_.openFolderAt(f, n); }
    Result<FileInfo> statAt(FolderHandle f, const std::string& n) override { return fs_.statAt(f, n); }
    Status makeDirAt(FolderHandle f, const std::string& n, std::uint32_t mode) override {
        return fs_.makeDirAt(f, n, mode);
    }
    Result<FileHandle> openReadAt(FolderHandle f, const std::string& n, FileInfo& info, bool follow) override {
        return fs_.openReadAt(f, n, info, follow);
    }
    Result<VolumeFacts> describeVolume(FolderHandle f) override { return fs_.describeVolume(f); }
    Result<FileHandle> createUnnamed(FolderHandle f, std::uint32_t mode) override { return fs_.createUnnamed(f, mode); }
    Result<FileHandle> createExclusive(FolderHandle f, const std::string& n, std::uint32_t mode) override {
        return fs_.createExclusive(f, n, mode);
    }
    Status nameUnnamed(FileHandle h, FolderHandle f, const std::string& n) override { return fs_.nameUnnamed(h, f, n); }
    Status link(FolderHandle ff, const std::string& from, FolderHandle tf, const std::string& to) override {
        return fs_.link(ff, from, tf, to);
    }
    Status rename(FolderHandle ff, const std::string& from, FolderHandle tf, const std::string& to,
                  bool replace) override {
        return fs_.rename(ff, from, tf, to, replace);
    }
    Status removeAt(FolderHandle f, const std::string& n) override { return fs_.removeAt(f, n); }
    Result<std::vector<std::string>> namesAt(FolderHandle f) override { return fs_.namesAt(f); }
    Status setMode(FileHandle h, std::uint32_t mode) override { return fs_.setMode(h, mode); }
    Status lock(FileHandle h) override { return fs_.lock(h); }
    Status flushVolume(FolderHandle f) override { return fs_.flushVolume(f); }
    std::uint32_t creationMask() override { return fs_.creationMask(); }
    // Faults of List fail this listing too.
    Result<std::vector<KindedName>> listKinds(const std::string& p) override {
        return pass(Op::List, p, [&] { return fs_.listKinds(p); });
    }

private:
    template <class Call>
    auto pass(Op op, const std::string& path, Call call) -> decltype(call()) {
        log_.emplace_back(op, path);
        for (const auto& [o, part, errnoValue] : faults_)
            if (o == op && path.find(part) != std::string::npos) return Error::fromErrno(errnoValue);
        return call();
    }

    IFileSystem& fs_ = realFileSystem();
    std::vector<std::tuple<Op, std::string, int>> faults_;  // fails op on paths holding the text
    std::vector<std::pair<Op, std::string>> log_;
};

}  // namespace farsend::test
