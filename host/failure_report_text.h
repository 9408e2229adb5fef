#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace launcher {

inline constexpr std::string_view kFailureCaption = "Error";
inline constexpr unsigned kExitCodeAfterFailure = 217;

// Writes the failure report into `out` as a NUL-terminated text and returns its length:
//   "An unhandled exception occurred at $0040123A :" CR LF <kind> CR LF
// It needs no heap, since it runs when memory may have run out; a report that does not fit
// is cut. `out` must hold at least one byte.
std::size_t FormatFailureReport(std::uint32_t location, std::string_view kind, std::span<char> out);

}  // namespace launcher
