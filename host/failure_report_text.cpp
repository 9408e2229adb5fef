#include "host/failure_report_text.h"

namespace launcher {

std::size_t FormatFailureReport(std::uint32_t location, std::string_view kind,
                                std::span<char> out) {
  std::size_t length = 0;
  const auto append = [&](std::string_view text) {
    for (char c : text) {
      if (length + 1 < out.size()) out[length++] = c;
    }
  };
  char digits[8];
  for (int i = 7; i >= 0; --i, location >>= 4) digits[i] = "0123456789ABCDEF"[location & 0xF];

  append("An unhandled exception occurred at $");
  append(std::string_view(digits, sizeof digits));
  append(" :\r\n");
  append(kind);
  append("\r\n");
  out[length] = '\0';
  return length;
}

}  // namespace launcher
