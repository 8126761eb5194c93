#pragma once
// A reusable directory search: walks a folder tree and collects its files or
// its folders, in walk order, into an indexed list.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Result.h"

namespace farsend {

// Shows and clears the application's busy pointer during a search.
class IBusyPointer {
public:
    virtual ~IBusyPointer() = default;
    virtual void setBusy(bool busy) = 0;
};

// What refresh passes on when a folder search fails part way, or when either
// search overflows: the platform's error.
struct SearchError {
    Error error;
};

class CFiles {
public:
    explicit CFiles(IFileSystem& fs = realFileSystem(), IBusyPointer* busy = nullptr);

    std::uint8_t Attr(std::int32_t Index) const;
    std::int32_t Count() const;
    std::string DirEntry(std::int32_t Index) const;
    std::string File(std::int32_t Index) const;
    std::int64_t length(std::int32_t Index) const;
    std::string Path(std::int32_t Index) const;
    std::string PathFile(std::int32_t Index) const;
    bool Recurse() const;
    void setRecurse(bool NewVal);
    // Runs the search again. A file search goes on past what it cannot read
    // (see foldersUnread); a folder search stops at its first failure. Such
    // a failure, and in either search more than 32,767 subfolders in one
    // folder or more entries than Count() can tell, is thrown as
    // SearchError; Count() then covers the entries completed before it.
    void refresh();
    std::uint8_t SearchAttr() const;
    void setSearchAttr(std::uint8_t NewVal);
    std::string searchdir() const;
    void setSearchdir(const std::string& NewVal);
    std::string SearchSpec() const;
    void setSearchSpec(const std::string& NewVal);
    std::int16_t SearchType() const;
    void setSearchType(std::int16_t NewVal);
    double Stamp(std::int32_t Index) const;
    // Every folder the last file search entered, each parent before its
    // children, with its trailing separator (folders without files too).
    const std::vector<std::string>& foldersWalked() const { return walked_; }
    // The folders of foldersWalked() that the last file search could not
    // read whole, in the same order: a listing that failed (the folder's
    // files and subfolders are then passed over), or an entry that could
    // not be looked at (passed over; an entry gone since the listing is
    // passed over without counting). Everything else in them was found.
    const std::vector<std::string>& foldersUnread() const { return unread_; }

    // For a caller that needs no more than where the files are (Path, File,
    // PathFile, foldersWalked, foldersUnread): a file search with attribute
    // mask 0 and a pattern with wildcards then reads each folder once and
    // looks at an entry only where the folder's listing leaves its kind open,
    // and at links. It finds the same files and folders in the same order;
    // Attr, length and Stamp read 0 and DirEntry is empty. Off by default;
    // any other search runs in full all the same.
    bool namesOnly() const { return namesOnly_; }
    void setNamesOnly(bool NewVal) { namesOnly_ = NewVal; }

private:
    // One found item. The folder is held once in folders_ and referred to by
    // its index; the last-write time stays in epoch seconds and becomes a
    // local day number only when asked for.
    struct FileEntry {
        std::string name;
        std::int64_t length = 0;
        std::int64_t mtime = 0;
        std::uint32_t folder = 0;
        std::uint8_t attributes = 0;
    };

    // The entry list: room for 500 entries at first, 500 more whenever it is
    // full. The room comes in blocks of 500, so growing never moves the
    // entries already found; when a walk ends the last block is cut to what
    // it holds. Only complete entries are ever appended, so its size is Count.
    class EntryList {
    public:
        static constexpr std::size_t kStep = 500;
        void clear();
        void push_back(FileEntry entry);
        void cutToSize();
        std::size_t size() const { return size_; }
        const FileEntry& operator[](std::size_t i) const { return blocks_[i / kStep][i % kStep]; }

    private:
        std::vector<std::vector<FileEntry>> blocks_;
        std::size_t size_ = 0;
    };

    // A subfolder gathered by GetSubDirs, with the facts its one stat gave.
    struct SubDir {
        std::string name;
        std::int64_t mtime = 0;
        std::uint8_t attributes = 0;
    };
    // A name of the file listing known (from its stat) not to be a folder.
    struct KnownFile {
        const std::string* name;
        std::uint8_t attributes;
    };

    using Listing = Result<std::vector<IFileSystem::KindedName>>;

    bool IsValidDir(const std::string& folder);
    void FindFiles(std::string folder, Listing* listed = nullptr);
    std::vector<SubDir> filesOf(const std::string& folder);
    std::vector<SubDir> namesOf(const std::string& folder, Listing listing);
    void FindDirs(std::string folder);
    std::vector<SubDir> GetSubDirs(const std::string& folder, const std::vector<KnownFile>& known);
    std::uint32_t addFolder(const std::string& folder);
    void addFile(const std::string& folder, bool& folderKept, FileEntry entry);
    void passOver(const std::string& folder, const Error& error, bool entryOnly);
    const FileEntry* entry(std::int32_t Index) const;
    [[noreturn]] static void fail(Error error);

    IFileSystem& fs_;
    IBusyPointer* busy_;

    EntryList entries_;
    std::vector<std::string> folders_;
    std::vector<std::string> walked_;
    std::vector<std::string> unread_;
    bool namesOnly_ = false;
    bool factsRead_ = true;  // whether the last refresh read more than names
    std::string searchdir_ = "/";
    bool recurse_ = true;
    std::string searchSpec_ = "*.*";
    std::uint8_t searchAttr_ = 0;
    std::int16_t searchType_ = 0;
};

}  // namespace farsend
