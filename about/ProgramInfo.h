#pragma once
// The program's own properties, as the About box shows them. Its title is
// kProgramTitle (platform/Prompts.h), the one title of every window and box.

#include <string>

namespace farsend {

inline constexpr const char* kFileDescription = "Farsend 98 Send To Utility";
inline constexpr const char* kLegalNotice =
    "Copyright (c) 2026 The Farsend 98 developers. Released under the MIT License: you may use, copy, "
    "change and pass it on; it comes as is, without warranty of any kind.";

// "Version 3.1 (3/9/98)": the numbers in plain decimal, then the fixed date.
// The date has always been shown with every version; it is no build date,
// so leave it as it is.
std::string versionLine(int major, int minor);

}  // namespace farsend
