#pragma once
// Path texts. The program joins folders and names with one separator and
// compares texts exactly; only the wildcard match ignores case.

#include <string>
#include <string_view>

namespace farsend {

inline constexpr char kSep = '/';

// Returns path with the separator appended unless it already ends in one.
std::string withTrailingSep(std::string path);

// Returns path without trailing separators; the root "/" stays as it is.
std::string withoutTrailingSep(std::string path);

// Returns the part of path up to and including its last separator; empty
// when it holds none.
std::string GetDirPath(const std::string& pathName);

// Returns the text after the last separator: all of path when it holds
// none, empty when it ends in one.
std::string GetFileName(const std::string& path);

// Returns whether name matches pattern, "*" standing for any run and "?" for
// one character, letters compared without regard to ASCII case; "*.*" also
// matches names without a period.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// Returns whether pattern holds "*" or "?".
bool hasWildcards(std::string_view pattern);

// Returns whether text matches a case-sensitive pattern in which "*" stands
// for any run of characters (the folder word check).
bool likeMatch(std::string_view pattern, std::string_view text);

}  // namespace farsend
