#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "launch/param_list.h"
#include "launch/short_text.h"

namespace launcher {

inline constexpr std::string_view kArgPrefix = "//NOFULLSCREEN /V2 ";
inline constexpr std::string_view kArgTemplate =
    "-ni /EXEC:LoadDllFkt(AFZImpKWORKAFZ~AFZUpdateKWORAFZ) %1 %2 %3 %4 %5 %6";
inline constexpr int kPlaceholderCount = 6;

// Replaces every occurrence of `search` in `text`, leftmost first and without overlap;
// inserted text is never searched again. An empty search text is never found.
std::string ReplaceEvery(std::string_view text, std::string_view search,
                         std::string_view replacement);

// The started program's argument string: the prefix and the template with "%1".."%6"
// replaced, in that order, by parameters 1..6 (removed where a parameter is missing),
// cut to 255 characters. Placeholders inside parameters are replaced too, so the full text
// can grow as the product of the parameters' sizes; it is never built, and time and memory
// stay linear in the size of parameters 1..6.
ShortText ExpandArgTemplate(const ParamList& params);

// The first `max_length` characters of the same argument string (ExpandArgTemplate keeps
// 255 of them); tests read longer stretches with it.
std::string ExpandArgTemplateHead(const ParamList& params, std::size_t max_length);

}  // namespace launcher
