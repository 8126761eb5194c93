#include "transfer/Placement.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <random>
#include <utility>

#include "platform/Attributes.h"

namespace farsend {

namespace {

// A hidden file older than this, and locked by nobody, was left by a copy
// of the program that died.
constexpr std::int64_t kLeftoverAgeSec = 10 * 60;

constexpr const char* kTempPrefix = ".farsend98-";
constexpr const char* kTempSuffix = ".part";
constexpr std::size_t kTempDigits = 8;

// The answers by which a file system says it does not do what was asked
// (rather than that this file or name is at fault).
bool notOffered(int e) { return e == EINVAL || e == ENOSYS || e == EOPNOTSUPP || e == EPERM; }

std::int64_t nowSec() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

bool fatNameAllowed(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20) return false;
        for (const char refused : {':', '?', '*', '"', '<', '>', '|', '\\'})
            if (c == refused) return false;
    }
    return true;
}

bool refusesColons(IFileSystem& fs, FolderHandle folder) {
    const std::string probe = temporaryName() + ":";
    const auto made = fs.createExclusive(folder, probe, 0600);
    if (made) {
        (void)fs.close(*made);
        (void)fs.removeAt(folder, probe);
        return false;
    }
    // Refused for its name (each daemon says so in its own words), not for
    // want of room or rights.
    const int e = made.error().number;
    return e == EINVAL || e == EPERM || e == ENOENT || e == EILSEQ;
}

std::string temporaryName() {
    static std::mt19937_64 random{std::random_device{}()};
    char digits[kTempDigits + 1];
    std::snprintf(digits, sizeof digits, "%08llx", static_cast<unsigned long long>(random() & 0xffffffffULL));
    return kTempPrefix + std::string(digits) + kTempSuffix;
}

bool isTemporaryName(const std::string& name) {
    const std::string prefix = kTempPrefix, suffix = kTempSuffix;
    if (name.size() != prefix.size() + kTempDigits + suffix.size()) return false;
    if (name.compare(0, prefix.size(), prefix) != 0 || name.compare(name.size() - suffix.size(), suffix.size(), suffix))
        return false;
    for (std::size_t i = prefix.size(); i < prefix.size() + kTempDigits; ++i)
        if (std::string_view("0123456789abcdef").find(name[i]) == std::string_view::npos) return false;
    return true;
}

bool sameFile(const FileInfo& a, const FileInfo& b) { return a.device == b.device && a.inode == b.inode; }

// ---- the destination folder ----

TargetFolder::TargetFolder(IFileSystem& fs, FolderHandle handle, VolumeRules& rules, bool fresh)
    : fs_(fs), handle_(handle), rules_(rules), fresh_(fresh) {}

TargetFolder::~TargetFolder() { (void)fs_.close(handle_); }

void TargetFolder::sweepLeftovers() {
    if (swept_ || fresh_) return;
    swept_ = true;
    const auto names = fs_.namesAt(handle_);
    if (!names) return;
    for (const std::string& name : *names) {
        if (!isTemporaryName(name)) continue;
        FileInfo info;
        const auto file = fs_.openReadAt(handle_, name, info, false);
        if (!file) continue;
        if (fs_.lock(*file) && info.mtimeSec < nowSec() - kLeftoverAgeSec) (void)fs_.removeAt(handle_, name);
        (void)fs_.close(*file);
    }
}

// ---- one file ----

Placement::Placement(IFileSystem& fs, std::string source, std::shared_ptr<TargetFolder> target, bool sourceGoes)
    : fs_(fs), source_(std::move(source)), target_(std::move(target)), sourceGoes_(sourceGoes) {}

Placement::~Placement() {
    if (named_.empty()) discard();
    if (in_ >= 0) (void)fs_.close(in_);
}

Status Placement::openSource() {
    // Within a folder held open only the last name is looked up.
    const auto in =
        sourceFolder_ >= 0 ? fs_.openReadAt(sourceFolder_, sourceName_, facts_, true) : fs_.openRead(source_, facts_);
    if (!in) return in.error();
    in_ = *in;
    return {};
}

Status Placement::nameFits(const std::string& name) const {
    if (!target_->rules().facts.fatNames || fatNameAllowed(name)) return {};
    return Error{EINVAL, source_ +
                             " has a name the destination drive does not allow (no : * ? \" < > | \\ and no "
                             "dot or blank at the end); it was skipped."};
}

Status Placement::sizeFits() const {
    if (facts_.length <= target_->rules().facts.largestFile) return {};
    return Error::fromErrno(EFBIG);
}

Status Placement::createNew() {
    // Never more readable than the source: its bits, less the creation mask
    // (the system applies it), and no set-user-ID, set-group-ID or sticky.
    const std::uint32_t mode = facts_.mode & 0777;
    const FolderHandle folder = target_->handle();
    VolumeRules& rules = target_->rules();
    if (rules.way == NamingWay::UnnamedFile) {
        const auto file = fs_.createUnnamed(folder, mode);
        if (file) {
            out_ = *file;
            return {};
        }
        if (file.error().number != EOPNOTSUPP) return file.error();
        rules.way = NamingWay::ExclusiveRename;
    }
    target_->sweepLeftovers();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = temporaryName();
        const auto file = fs_.createExclusive(folder, name, mode);
        if (file) {
            out_ = *file;
            hidden_ = std::move(name);
            // Held until the copy is whole, so that no other copy of the
            // program takes it for a leftover meanwhile.
            (void)fs_.lock(out_);
            return {};
        }
        if (file.error().number != EEXIST) return file.error();
    }
    return Error::fromErrno(EEXIST);
}

Status Placement::write(const ByteCopy& copy) {
    if (whole_) return {};
    if (Status st = createNew(); !st) return st;
    const auto bytes = copy(in_, out_, facts_.length);
    if (!bytes) {
        discard();
        return bytes.error();
    }
    bytes_ = *bytes;
    if (sourceGoes_) {
        // To find the copy again at its name before the source goes.
        const auto facts = fs_.describe(out_);
        if (!facts) {
            discard();
            return facts.error();
        }
        writtenFacts_ = *facts;
    }
    if (!hidden_.empty()) {
        // A write the file system could only report now (a full quota, a
        // network disk) means the copy is not whole after all.
        if (Status closed = fs_.close(std::exchange(out_, -1)); !closed) {
            discard();
            return closed;
        }
    }
    whole_ = true;
    return {};
}

Status Placement::refuseReadOnly(const std::string& name) const {
    const auto there = fs_.statAt(target_->handle(), name);
    if (there && !there->link && (there->attributes & attr::ReadOnly) != 0) return Error::fromErrno(EACCES);
    return {};
}

Status Placement::name(const std::string& name, bool replace) {
    const FolderHandle folder = target_->handle();
    if (replace) {
        if (Status st = refuseReadOnly(name); !st) return st;
    }
    if (out_ >= 0 && hidden_.empty()) {
        if (!replace) {
            // An unnamed file takes its name at once: a new link is exclusive.
            if (Status st = fs_.nameUnnamed(out_, folder, name); !st) return st;
            if (Status closed = fs_.close(std::exchange(out_, -1)); !closed) {
                (void)fs_.removeAt(folder, name);
                return closed;
            }
            named_ = name;
            return {};
        }
        // Replacing: a hidden name first, since a name is all that remains
        // of the file once it is closed, and the old entry goes only when
        // the new one is whole.
        for (int attempt = 0; hidden_.empty(); ++attempt) {
            std::string temp = temporaryName();
            const Status st = fs_.nameUnnamed(out_, folder, temp);
            if (st)
                hidden_ = std::move(temp);
            else if (st.error().number != EEXIST || attempt == 100)
                return st;
        }
        if (Status closed = fs_.close(std::exchange(out_, -1)); !closed) {
            discard();
            whole_ = false;
            return closed;
        }
    }
    const Status st = nameHidden(name, replace);
    if (st) {
        hidden_.clear();
        named_ = name;
    }
    return st;
}

// Whether a refusal says that the file system lacks what the current way
// needs, rather than that this name is at fault: the same step from one
// hidden name to another tells. If so, the volume moves on to the next way.
bool Placement::offeredHere(const Status& refusal, NamingWay next) {
    if (!notOffered(refusal.error().number)) return true;
    const FolderHandle folder = target_->handle();
    std::string other = temporaryName();
    VolumeRules& rules = target_->rules();
    if (rules.way == NamingWay::HardLink) {
        if (!fs_.link(folder, hidden_, folder, other)) {
            rules.way = next;
            return false;
        }
        (void)fs_.removeAt(folder, other);
        return true;
    }
    if (!fs_.rename(folder, hidden_, folder, other, false)) {
        rules.way = next;
        return false;
    }
    hidden_ = std::move(other);
    return true;
}

Status Placement::nameHidden(const std::string& name, bool replace) {
    const FolderHandle folder = target_->handle();
    if (replace) return fs_.rename(folder, hidden_, folder, name, true);
    for (;;) {
        switch (target_->rules().way) {
            case NamingWay::UnnamedFile:
            case NamingWay::ExclusiveRename: {
                const Status st = fs_.rename(folder, hidden_, folder, name, false);
                if (st || offeredHere(st, NamingWay::HardLink)) return st;
                break;
            }
            case NamingWay::HardLink: {
                const Status st = fs_.link(folder, hidden_, folder, name);
                if (st) {
                    (void)fs_.removeAt(folder, hidden_);
                    return st;
                }
                if (offeredHere(st, NamingWay::CheckedRename)) return st;
                break;
            }
            case NamingWay::CheckedRename: {
                const auto there = fs_.statAt(folder, name);
                if (there) return Error::fromErrno(EEXIST);
                if (there.error().number != ENOENT) return there.error();
                return fs_.rename(folder, hidden_, folder, name, true);
            }
        }
    }
}

Status Placement::renameSource(const std::string& name, bool replace) {
    const FolderHandle folder = target_->handle();
    VolumeRules& rules = target_->rules();
    if (replace) {
        if (Status st = refuseReadOnly(name); !st) return st;
        return fs_.rename(kAtCurrentDir, source_, folder, name, true);
    }
    Status st;
    if (rules.way == NamingWay::UnnamedFile || rules.way == NamingWay::ExclusiveRename) {
        st = fs_.rename(kAtCurrentDir, source_, folder, name, false);
        if (st || !notOffered(st.error().number)) return st;
        rules.way = NamingWay::HardLink;
    }
    if (rules.way == NamingWay::HardLink) {
        st = fs_.link(kAtCurrentDir, source_, folder, name);
        if (st) {
            // Two names of one file now; the old one goes. Should it stay,
            // the file is in both places and nothing is lost.
            (void)fs_.removeAt(kAtCurrentDir, source_);
            return st;
        }
        if (!notOffered(st.error().number)) return st;
        rules.way = NamingWay::CheckedRename;
    }
    const auto there = fs_.statAt(folder, name);
    if (there) return Error::fromErrno(EEXIST);
    if (there.error().number != ENOENT) return there.error();
    return fs_.rename(kAtCurrentDir, source_, folder, name, true);
}

Status renameFolder(IFileSystem& fs, const std::string& source, TargetFolder& target, const std::string& name) {
    VolumeRules& rules = target.rules();
    if (rules.way == NamingWay::UnnamedFile || rules.way == NamingWay::ExclusiveRename) {
        const Status st = fs.rename(kAtCurrentDir, source, target.handle(), name, false);
        if (st || !notOffered(st.error().number)) return st;
        rules.way = NamingWay::HardLink;
    }
    // Folders have no second names: a check is all that is left (a plain
    // rename replaces at most an empty folder put there meanwhile).
    if (const auto there = fs.statAt(target.handle(), name); there || there.error().number != ENOENT)
        return there ? Error::fromErrno(EEXIST) : there.error();
    return fs.rename(kAtCurrentDir, source, target.handle(), name, true);
}

SourceRemoval removeCopiedSource(IFileSystem& fs, const CopiedSource& copied, Error& refusal) {
    // Still the file whose bytes were copied, at its path, unchanged since
    // the copy began and read to its end: only then may it go.
    const FileInfo& was = copied.facts;
    const auto now = fs.stat(copied.path);
    if (!now || !sameFile(*now, was) || now->length != was.length || now->mtimeSec != was.mtimeSec ||
        now->mtimeNsec != was.mtimeNsec || copied.bytesRead != was.length)
        return SourceRemoval::Changed;
    // And its copy stands at its name in the destination.
    const auto there = fs.statAt(copied.folder->handle(), copied.name);
    if (!there || there->link || !sameFile(*there, copied.written)) return SourceRemoval::CopyMissing;
    const Status removed = fs.deleteFile(copied.path);
    if (removed) return SourceRemoval::Removed;
    refusal = removed.error();
    return SourceRemoval::Refused;
}

CopiedSource Placement::copied() const { return {source_, facts_, bytes_, target_, named_, writtenFacts_}; }

void Placement::discard() {
    if (out_ >= 0) (void)fs_.close(std::exchange(out_, -1));
    if (!hidden_.empty()) (void)fs_.removeAt(target_->handle(), hidden_);
    hidden_.clear();
    whole_ = false;
}

}  // namespace farsend
