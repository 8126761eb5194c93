#include "support/TempTree.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace farsend::test {

TempTree::TempTree() {
    std::string pattern = (fs::temp_directory_path() / "farsend-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder");
    root_ = pattern;
}

// Files a test made read-only go too: only the folders' modes matter.
TempTree::~TempTree() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

std::string TempTree::path(const std::string& relative) const { return root_ + "/" + relative; }

std::string TempTree::dir(const std::string& relative) const {
    const std::string p = path(relative);
    fs::create_directories(p);
    return p;
}

std::string TempTree::file(const std::string& relative, const std::string& content) const {
    const std::string p = path(relative);
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + p);
    return p;
}

namespace {

char patternByte(std::int64_t offset) {
    const auto x = static_cast<std::uint64_t>(offset) * 2654435761u + 40503u;
    return static_cast<char>((x >> 7) ^ (x >> 17));
}

}  // namespace

std::string TempTree::patterned(const std::string& relative, std::int64_t size) const {
    std::string data(static_cast<std::size_t>(size), '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = patternByte(static_cast<std::int64_t>(i));
    return file(relative, data);
}

std::string TempTree::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string item; std::getline(in, item, sep);)
        if (!item.empty()) out.push_back(item);
    return out;
}

namespace {

std::map<std::string, std::string> entries(const std::string& snapshot) {
    std::map<std::string, std::string> out;
    for (const std::string& e : split(snapshot, ';'))
        out[e.back() == '/' ? e : e.substr(0, e.find_first_of("~=*#@|"))] = e;
    return out;
}

}  // namespace

void TempTree::build(const std::string& items) const {
    for (const std::string& item : split(items, ';')) {
        const auto mark = item.find_first_of("=*@|");
        if (mark == std::string::npos) {
            dir(item);
            continue;
        }
        const std::string head = item.substr(0, mark), rest = item.substr(mark + 1);
        const std::string name = head.substr(0, head.find('~')), where = path(name);
        fs::create_directories(fs::path(where).parent_path());
        if (item[mark] == '=') file(name, rest);
        if (item[mark] == '*') patterned(name, std::stoll(rest));
        if (item[mark] == '@') fs::create_symlink(rest, where);
        if (item[mark] == '|' && ::mkfifo(where.c_str(), 0644) != 0) throw std::runtime_error("cannot make " + name);
        if (head != name)
            ::chmod(where.c_str(), static_cast<mode_t>(std::stoi(head.substr(name.size() + 1), nullptr, 8)));
    }
}

std::string TempTree::snapshot() const {
    std::string out;
    for (auto it = fs::recursive_directory_iterator(root_); it != fs::recursive_directory_iterator(); ++it) {
        const std::string rel = it->path().string().substr(root_.size() + 1);
        const auto st = it->symlink_status();
        std::string e;
        if (fs::is_symlink(st)) {
            e = rel + "@" + fs::read_symlink(it->path()).string();
        } else if (fs::is_fifo(st)) {
            e = rel + "|";
        } else if (fs::is_directory(st)) {
            e = rel + "/";
        } else {
            const std::string data = read(it->path().string());
            bool pattern = true;
            for (std::size_t i = 0; pattern && i < data.size(); ++i)
                pattern = data[i] == patternByte(static_cast<std::int64_t>(i));
            const auto mode = static_cast<unsigned>(st.permissions()) & 07777;
            std::ostringstream m;
            if (mode != 0644) m << "~" << std::oct << mode;
            e = rel + m.str() + (data.size() <= 24 ? "=" + data : (pattern ? "*" : "#") + std::to_string(data.size()));
        }
        out += e + ";";
    }
    return out;
}

std::string TempTree::changesSince(const std::string& before) const {
    const auto was = entries(before), now = entries(snapshot());
    std::vector<std::string> out;
    for (const auto& [key, e] : now)
        if (!was.count(key) || was.at(key) != e) out.push_back(e);
    for (const auto& [key, e] : was)
        if (!now.count(key)) out.push_back("-" + key);
    std::sort(out.begin(), out.end());
    std::string joined;
    for (const std::string& e : out) joined += (joined.empty() ? "" : ";") + e;
    return joined;
}

}  // namespace farsend::test
