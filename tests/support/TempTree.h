#pragma once
// Scratch folders for tests: made under the system's temporary folder,
// removed with everything in them when the object goes.

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace farsend::test {

// The non-empty items of text between separators.
inline std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, sep);)
        if (!item.empty()) out.push_back(item);
    return out;
}

// The texts with sep between them.
inline std::string join(const std::vector<std::string>& texts, const std::string& sep) {
    std::string out;
    for (const std::string& text : texts) out += (&text == texts.data() ? "" : sep) + text;
    return out;
}

class TempTree {
public:
    TempTree() {
        std::string pattern = (std::filesystem::temp_directory_path() / "farsend-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder");
        root_ = pattern;
    }
    // Files a test made read-only go too: only the folders' modes matter.
    ~TempTree() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The folder itself, without a trailing separator.
    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    // Creates relative (and its parents) as a folder; returns its path.
    std::string dir(const std::string& relative) const {
        const std::string p = path(relative);
        std::filesystem::create_directories(p);
        return p;
    }
    // Creates relative (and its parents' folders) holding content.
    std::string file(const std::string& relative, const std::string& content = {}) const {
        const std::string p = path(relative);
        std::filesystem::create_directories(std::filesystem::path(p).parent_path());
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out) throw std::runtime_error("cannot write " + p);
        return p;
    }

    // size bytes of a repeatable pattern, which no short text repeats.
    static std::string pattern(std::int64_t size) {
        std::string data(static_cast<std::size_t>(size), '\0');
        for (std::size_t i = 0; i < data.size(); ++i) {
            const auto x = static_cast<std::uint64_t>(i) * 2654435761u + 40503u;
            data[i] = static_cast<char>((x >> 7) ^ (x >> 17));
        }
        return data;
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // Builds entries from ";"-separated items: "dir/" a folder, "f=text" a
    // file, "f*N" N bytes of pattern, "l@target" a link, "p|" a pipe;
    // "f~755=text" and "dir~700/" give a mode.
    void build(const std::string& items) const {
        for (const std::string& item : split(items, ';')) {
            const auto mark = std::min(item.find_first_of("=*@|"), item.size() - 1);  // else a folder's "/"
            const std::string head = item.substr(0, mark), rest = item.substr(mark + 1);
            const std::string name = head.substr(0, head.find('~')), where = path(name);
            std::filesystem::create_directories(
                item[mark] == '/' ? where : std::filesystem::path(where).parent_path().string());
            if (item[mark] == '=' || item[mark] == '*')
                file(name, item[mark] == '=' ? rest : pattern(std::stoll(rest)));
            if (item[mark] == '@') std::filesystem::create_symlink(rest, where);
            if (item[mark] == '|' && ::mkfifo(where.c_str(), 0644) != 0)
                throw std::runtime_error("cannot make " + name);
            if (head != name)
                ::chmod(where.c_str(), static_cast<mode_t>(std::stoi(head.substr(name.size() + 1), nullptr, 8)));
        }
    }
    // Every entry below the root in the same form ("f*N" for a file of the
    // pattern over 24 bytes, "f#N" for other content), modes 0644 (files)
    // and 0755 (folders) unsaid.
    std::string snapshot() const {
        std::string out;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_)) {
            const auto st = entry.symlink_status();
            const bool folder = is_directory(st);
            std::ostringstream e;
            e << entry.path().string().substr(root_.size() + 1);
            if (is_symlink(st)) e << "@" << read_symlink(entry.path()).string();
            if (is_fifo(st)) e << "|";
            if (const auto mode = static_cast<unsigned>(st.permissions()) & 07777;
                !is_symlink(st) && !is_fifo(st) && mode != (folder ? 0755u : 0644u))
                e << "~" << std::oct << mode;
            const std::string data = is_regular_file(st) ? read(entry.path().string()) : "";
            if (folder) e << "/";
            if (is_regular_file(st) && data.size() <= 24) e << "=" << data;
            if (is_regular_file(st) && data.size() > 24)
                e << (data == pattern(std::ssize(data)) ? "*" : "#") << std::dec << data.size();
            out += e.str() + ";";
        }
        return out;
    }
    // What changed since an earlier snapshot: new or changed entries, and
    // "-entry" for those gone.
    std::string changesSince(const std::string& before) const {
        const auto was = entries(before), now = entries(snapshot());
        std::vector<std::string> out;
        for (const auto& [key, e] : now)
            if (!was.count(key) || was.at(key) != e) out.push_back(e);
        for (const auto& [key, e] : was)
            if (!now.count(key)) out.push_back("-" + key);
        std::sort(out.begin(), out.end());
        return join(out, ";");
    }

private:
    // A snapshot's entries by name, a folder's ending in "/".
    static std::map<std::string, std::string> entries(const std::string& snapshot) {
        std::map<std::string, std::string> out;
        for (const std::string& e : split(snapshot, ';')) {
            const auto end = e.back() == '/' ? e.find('~', e.find_last_of('/', e.size() - 2) + 1) : e.npos;
            out[e.back() == '/' ? e.substr(0, std::min(end, e.size() - 1)) + "/"
                                : e.substr(0, e.find_first_of("~=*#@|"))] = e;
        }
        return out;
    }

    std::string root_;
};

}  // namespace farsend::test
