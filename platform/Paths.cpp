#include "platform/Paths.h"

#include <cctype>

namespace farsend {

std::string withTrailingSep(std::string path) {
    if (path.empty() || path.back() != kSep) path += kSep;
    return path;
}

std::string withoutTrailingSep(std::string path) {
    while (path.size() > 1 && path.back() == kSep) path.pop_back();
    return path;
}

std::string GetDirPath(const std::string& pathName) {
    const auto last = pathName.rfind(kSep);
    return last == std::string::npos ? std::string() : pathName.substr(0, last + 1);
}

std::string GetFileName(const std::string& path) {
    const auto last = path.rfind(kSep);
    return last == std::string::npos ? path : path.substr(last + 1);
}

bool hasWildcards(std::string_view pattern) {
    return pattern.find_first_of("*?") != std::string_view::npos;
}

static char fold(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Iterative glob with single-star backtracking: linear in practice and
// never recursive, whatever the pattern.
template <class Eq>
static bool globMatch(std::string_view p, std::string_view s, Eq eq) {
    std::size_t pi = 0, si = 0, starP = std::string_view::npos, starS = 0;
    while (si < s.size()) {
        if (pi < p.size() && p[pi] == '*') {
            starP = pi++;
            starS = si;
        } else if (pi < p.size() && (p[pi] == '?' || eq(p[pi], s[si]))) {
            ++pi;
            ++si;
        } else if (starP != std::string_view::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == '*') ++pi;
    return pi == p.size();
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*" || pattern == "*") return true;
    return globMatch(pattern, name, [](char a, char b) { return fold(a) == fold(b); });
}

bool likeMatch(std::string_view pattern, std::string_view text) {
    return globMatch(pattern, text, [](char a, char b) { return a == b; });
}

}  // namespace farsend
