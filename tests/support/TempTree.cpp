#include "support/TempTree.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace farsend::test {

TempTree::TempTree() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = fs::temp_directory_path() / ("farsend-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            root_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder");
}

TempTree::~TempTree() {
    std::error_code ec;
    // Give write back to anything a test made read-only, then remove it all.
    for (auto it = fs::recursive_directory_iterator(root_, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
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

char patternByte(std::int64_t offset, unsigned seed) {
    const auto x = static_cast<std::uint64_t>(offset) * 2654435761u + seed * 40503u;
    return static_cast<char>((x >> 7) ^ (x >> 17));
}

std::string TempTree::patterned(const std::string& relative, std::int64_t size, unsigned seed) const {
    const std::string p = path(relative);
    fs::create_directories(fs::path(p).parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    std::vector<char> block(1 << 16);
    for (std::int64_t done = 0; done < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(size - done, static_cast<std::int64_t>(block.size())));
        for (std::size_t i = 0; i < n; ++i) block[i] = patternByte(done + static_cast<std::int64_t>(i), seed);
        out.write(block.data(), static_cast<std::streamsize>(n));
        done += static_cast<std::int64_t>(n);
    }
    if (!out) throw std::runtime_error("cannot write " + p);
    return p;
}

std::string TempTree::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool TempTree::exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace farsend::test
