#pragma once
// Scratch folders for tests: made under the system's temporary folder,
// removed with everything in them when the object goes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace farsend::test {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The folder itself, without a trailing separator.
    const std::string& root() const { return root_; }
    // root + "/" + relative.
    std::string path(const std::string& relative) const;

    // Creates relative (and its parents) as a folder; returns its path.
    std::string dir(const std::string& relative) const;
    // Creates relative (and its parents' folders) holding content.
    std::string file(const std::string& relative, const std::string& content = {}) const;
    // Creates relative holding size bytes of a repeatable pattern.
    std::string patterned(const std::string& relative, std::int64_t size) const;

    static std::string read(const std::string& path);

    // Builds entries from ";"-separated items: "dir/" a folder,
    // "f=text" a file, "f*N" N bytes of pattern, "l@target" a link, "p|" a
    // pipe; "f~755=text" gives a file's mode.
    void build(const std::string& items) const;
    // Every entry below the root in the same form ("f*N" for a file of the
    // pattern over 24 bytes, "f#N" for other content), mode 0644 unsaid.
    std::string snapshot() const;
    // What changed since an earlier snapshot: new or changed entries, and
    // "-entry" for those gone.
    std::string changesSince(const std::string& before) const;

private:
    std::string root_;
};

// The non-empty items of text between separators.
std::vector<std::string> split(const std::string& text, char sep);

}  // namespace farsend::test
