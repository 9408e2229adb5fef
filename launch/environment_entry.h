#pragma once

#include <optional>
#include <string_view>

#include "launch/short_text.h"

namespace launcher {

// The value of one environment entry ("name=value") when its name matches `name`.
// Only the entry's first 255 characters are searched for the first "="; names are
// compared with a-z folded to A-Z and every other byte exact; the value is cut to 255.
std::optional<ShortText> MatchEnvironmentEntry(std::string_view entry, std::string_view name);

// Scans a Windows environment block (NUL-terminated entries, ended by an empty entry) in
// order; the first matching entry wins. A null block gives the empty text.
ShortText LookUpEnvironmentBlock(const char* block, const ShortText& name);

}  // namespace launcher
