#include "search/CFiles.h"

#include <cerrno>
#include <limits>
#include <utility>

#include "platform/Attributes.h"
#include "platform/LocalTime.h"
#include "platform/NumberFormat.h"
#include "platform/Paths.h"
#include "search/ListingLine.h"

namespace farsend {

namespace {

// Listing masks: every entry but folders and labels for a file search; plain
// and hidden folders (never system ones, so links to folders stay out) for
// the subfolders; anything for the check that a folder can be listed.
constexpr std::uint8_t kFileMask = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;  // 39
constexpr std::uint8_t kSubDirMask = attr::ReadOnly | attr::Hidden | attr::Directory;             // 19
constexpr std::uint8_t kValidMask = kFileMask | attr::Directory;                                  // 55

// A folder holds its subfolders' count in 16 bits.
constexpr std::size_t kMaxSubDirs = std::numeric_limits<std::int16_t>::max();

// The local time of an entry; the day-number origin when the platform has
// none for it.
CivilTime localStamp(std::int64_t mtime) { return localTimeOf(mtime).value_or(CivilTime{1899, 12, 30, 0, 0, 0}); }

}  // namespace

// ---- entry list ----

void CFiles::EntryList::clear() {
    blocks_.clear();
    size_ = 0;
    blocks_.emplace_back().reserve(kStep);
}

void CFiles::EntryList::push_back(FileEntry entry) {
    if (blocks_.empty() || blocks_.back().size() == blocks_.back().capacity()) blocks_.emplace_back().reserve(kStep);
    blocks_.back().push_back(std::move(entry));
    ++size_;
}

void CFiles::EntryList::cutToSize() {
    if (size_ == 0) return;  // an empty result keeps its room
    while (!blocks_.empty() && blocks_.back().empty()) blocks_.pop_back();
    blocks_.back().shrink_to_fit();
}

// ---- the object ----

// Every absolute path here starts at the one root "/", which is therefore the
// root of the volume that holds the current directory as far as a path can say.
CFiles::CFiles(IFileSystem& fs, IBusyPointer* busy) : fs_(fs), busy_(busy) {}

const CFiles::FileEntry* CFiles::entry(std::int32_t Index) const {
    if (Index < 0 || static_cast<std::size_t>(Index) >= entries_.size()) return nullptr;
    return &entries_[static_cast<std::size_t>(Index)];
}

std::uint8_t CFiles::Attr(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? e->attributes : 0;
}

std::int32_t CFiles::Count() const { return static_cast<std::int32_t>(entries_.size()); }

std::string CFiles::DirEntry(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    if (e == nullptr) return {};
    return listingLine(e->name, e->length, localStamp(e->mtime), e->attributes, userNumberSeparators());
}

std::string CFiles::File(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? e->name : std::string();
}

std::int64_t CFiles::length(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? e->length : 0;
}

std::string CFiles::Path(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? folders_[e->folder] : std::string();
}

std::string CFiles::PathFile(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    return e != nullptr ? folders_[e->folder] + e->name : std::string();
}

double CFiles::Stamp(std::int32_t Index) const {
    const FileEntry* e = entry(Index);
    if (e == nullptr) return 0;
    const auto local = localTimeOf(e->mtime);
    return local ? dayNumber(*local) : 0;
}

bool CFiles::Recurse() const { return recurse_; }
void CFiles::setRecurse(bool NewVal) { recurse_ = NewVal; }

std::uint8_t CFiles::SearchAttr() const { return searchAttr_; }
void CFiles::setSearchAttr(std::uint8_t NewVal) { searchAttr_ = NewVal; }

std::string CFiles::searchdir() const { return searchdir_; }
void CFiles::setSearchdir(const std::string& NewVal) { searchdir_ = withTrailingSep(NewVal); }

std::string CFiles::SearchSpec() const { return searchSpec_; }
void CFiles::setSearchSpec(const std::string& NewVal) {
    const auto first = NewVal.find_first_not_of(' ');
    std::string pattern =
        first == std::string::npos ? std::string() : NewVal.substr(first, NewVal.find_last_not_of(' ') - first + 1);
    for (char& c : pattern)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    searchSpec_ = std::move(pattern);
}

std::int16_t CFiles::SearchType() const { return searchType_; }
void CFiles::setSearchType(std::int16_t NewVal) {
    if (NewVal == 0 || NewVal == 1) searchType_ = NewVal;
}

// ---- the walk ----

void CFiles::fail(Error error) { throw SearchError{std::move(error)}; }

void CFiles::refresh() {
    entries_.clear();
    folders_.clear();
    walked_.clear();
    if (!IsValidDir(searchdir_)) return;
    if (busy_ != nullptr) busy_->setBusy(true);
    // A failure below leaves the entries found so far, and the busy pointer,
    // for the caller to deal with.
    if (searchType_ == 0)
        FindFiles(searchdir_);
    else
        FindDirs(searchdir_);
    entries_.cutToSize();
    if (busy_ != nullptr) busy_->setBusy(false);
}

bool CFiles::IsValidDir(const std::string& folder) {
    return fs_.list(withTrailingSep(folder) + "*.*", kValidMask).ok();
}

std::uint32_t CFiles::addFolder(const std::string& folder) {
    folders_.push_back(folder);
    return static_cast<std::uint32_t>(folders_.size() - 1);
}

void CFiles::FindFiles(std::string folder) {
    folder = withTrailingSep(std::move(folder));
    walked_.push_back(folder);
    if (const std::vector<SubDir> subDirs = filesOf(folder); recurse_)
        for (const SubDir& sub : subDirs) FindFiles(folder + sub.name);
}

// The matching files of one folder, then (when recursing) its subfolders;
// the listings are let go before the walk goes deeper.
std::vector<CFiles::SubDir> CFiles::filesOf(const std::string& folder) {
    auto listing = fs_.list(folder + searchSpec_, kFileMask);
    if (!listing) fail(listing.error());
    const std::vector<std::string>& names = *listing;

    // The facts of each name come from one stat; GetSubDirs reuses what it
    // told about names that are not folders instead of asking again.
    std::vector<KnownFile> known;
    known.reserve(names.size());
    std::uint32_t folderIndex = 0;
    bool folderAdded = false;
    std::string fullPath;
    for (const std::string& name : names) {
        fullPath.assign(folder).append(name);
        auto info = fs_.stat(fullPath);
        if (!info) fail(info.error());
        const std::uint8_t attributes = info->attributes;
        if ((attributes & attr::Directory) == 0) known.push_back({&name, attributes});
        if ((searchAttr_ & attributes) != searchAttr_) continue;
        if (!folderAdded) {
            folderIndex = addFolder(folder);
            folderAdded = true;
        }
        if (entries_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            fail(Error::fromErrno(EOVERFLOW));
        entries_.push_back(FileEntry{name, info->length, info->mtimeSec, folderIndex, attributes});
    }
    if (!recurse_) return {};
    return GetSubDirs(folder, known);
}

std::vector<CFiles::SubDir> CFiles::GetSubDirs(const std::string& folder, const std::vector<KnownFile>& known) {
    std::vector<SubDir> subDirs;
    auto listing = fs_.list(folder + "*.*", kSubDirMask);
    if (!listing) fail(listing.error());

    // Both listings come in the file system's order, so the names already
    // known are met in the same order: walk them alongside. Entries of the
    // file listing that this one leaves out (system files) are passed over;
    // a name met out of step is simply asked about again.
    std::size_t k = 0;
    std::string fullPath;
    for (const std::string& name : *listing) {
        while (k < known.size() && (known[k].attributes & attr::System) != 0 && *known[k].name != name) ++k;
        const bool isKnownFile = k < known.size() && *known[k].name == name;
        if (isKnownFile) ++k;
        if (name.empty() || name[0] == '.') continue;
        if (isKnownFile) continue;
        fullPath.assign(folder).append(name);
        auto info = fs_.stat(fullPath);
        if (!info) fail(info.error());
        if ((info->attributes & attr::Directory) == 0) continue;
        if (subDirs.size() >= kMaxSubDirs) fail(Error::fromErrno(EOVERFLOW));
        subDirs.push_back(SubDir{name, info->mtimeSec, info->attributes});
    }
    return subDirs;
}

void CFiles::FindDirs(std::string folder) {
    folder = withTrailingSep(std::move(folder));
    const std::vector<SubDir> subDirs = GetSubDirs(folder, {});
    if (subDirs.empty()) return;
    const std::uint32_t folderIndex = addFolder(folder);
    for (const SubDir& sub : subDirs) {
        if (entries_.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
            fail(Error::fromErrno(EOVERFLOW));
        entries_.push_back(FileEntry{sub.name, 0, sub.mtime, folderIndex, sub.attributes});
    }
    if (!recurse_) return;
    for (const SubDir& sub : subDirs) FindDirs(folder + sub.name);
}

}  // namespace farsend
