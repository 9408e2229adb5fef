#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace launcher {

// A single-byte text of at most 255 characters. Building one from a longer text keeps the
// first 255 characters and drops the rest without notice, as the boxes and the started
// program's argument string expect.
class ShortText {
 public:
  static constexpr std::size_t kMaxLength = 255;

  ShortText() = default;
  explicit ShortText(std::string_view text) : text_(text.substr(0, kMaxLength)) {}

  const std::string& str() const { return text_; }
  std::string_view view() const { return text_; }
  const char* c_str() const { return text_.c_str(); }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  friend bool operator==(const ShortText&, const ShortText&) = default;
  friend std::ostream& operator<<(std::ostream& out, const ShortText& text) {
    return out << text.text_;
  }

 private:
  std::string text_;
};

}  // namespace launcher
