#include "launch/environment_entry.h"

#include <algorithm>
#include <cstring>

namespace launcher {
namespace {

char FoldAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameNameFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldAsciiLetter(x) == FoldAsciiLetter(y);
         });
}

}  // namespace

std::optional<ShortText> MatchEnvironmentEntry(std::string_view entry, std::string_view name) {
  const std::string_view scanned = entry.substr(0, ShortText::kMaxLength);
  const std::size_t equals = scanned.find('=');
  // With no "=" in the scanned text the name is empty and the value is the whole entry.
  const std::size_t split = equals == std::string_view::npos ? 0 : equals + 1;
  const std::string_view entry_name =
      split <= 1 ? std::string_view{} : scanned.substr(0, split - 1);
  if (!SameNameFolded(entry_name, name)) return std::nullopt;
  return ShortText(entry.substr(split));
}

ShortText LookUpEnvironmentBlock(const char* block, const ShortText& name) {
  if (block == nullptr) return {};
  for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
    if (auto value = MatchEnvironmentEntry(entry, name.view())) return *value;
  }
  return {};
}

}  // namespace launcher
