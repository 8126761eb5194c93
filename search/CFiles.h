#pragma once
// A reusable directory search: walks a folder tree and collects its files or
// its folders, in walk order, into an indexed list.

#include <cstdint>
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

// What refresh passes on when the walk fails part way: the platform's error.
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
    // Runs the search again. A failure part way through the walk is thrown
    // as SearchError; Count() then covers the entries completed before it.
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

    // (implementation-defined private members follow)
private:
    IFileSystem& fs_;
    IBusyPointer* busy_;
};

}  // namespace farsend
