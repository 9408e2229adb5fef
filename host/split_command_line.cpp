#include "host/split_command_line.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace launcher {
namespace {

enum class ByteClass { kEnd, kSeparator, kQuote, kOrdinary };

// Every control byte counts as a separator, not only blank and tab; the backslash escapes
// nothing and all bytes from 0x7F up are letters of the ANSI code page.
ByteClass Classify(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte == 0x00) return ByteClass::kEnd;
  if (byte <= 0x20) return ByteClass::kSeparator;
  if (byte == '"') return ByteClass::kQuote;
  return ByteClass::kOrdinary;
}

}  // namespace

// One pass over the bytes. A run of bytes that go into the token unchanged is appended in
// one piece when a quote, an unquoted separator or the end interrupts it, so the work is
// linear in the length of the text whatever its shape.
ParamList SplitCommandLine(std::string_view text) {
  // Every parameter takes at least one byte and a separator before it, so this is enough:
  // the list never moves while it grows, which spares a long line of many short parameters
  // the copying and the fresh pages of every regrowth.
  std::vector<std::string> params;
  params.reserve((text.size() + 1) / 2);
  std::string token;
  bool in_token = false;
  bool quoted = false;
  bool is_own_name = true;  // the first token names the launcher itself and is dropped
  std::size_t run_start = 0;

  const auto finish_token = [&] {
    if (is_own_name) {
      is_own_name = false;
      token.clear();
    } else {
      params.push_back(std::move(token));
      token.clear();
    }
    in_token = false;
  };

  std::size_t i = 0;
  for (; i < text.size(); ++i) {
    const ByteClass cls = Classify(text[i]);
    if (cls == ByteClass::kEnd) break;
    if (cls == ByteClass::kOrdinary || (cls == ByteClass::kSeparator && quoted)) {
      if (!in_token) {
        in_token = true;
        run_start = i;
      }
      continue;
    }
    // A quote or an unquoted separator: the pending run goes into the token.
    if (in_token && i > run_start) token.append(text.substr(run_start, i - run_start));
    if (cls == ByteClass::kQuote) {
      quoted = !quoted;
      in_token = true;
      run_start = i + 1;
    } else if (in_token) {
      finish_token();
    }
  }
  if (in_token) {
    token.append(text.substr(run_start, i - run_start));
    finish_token();
  }
  return ParamList(std::move(params));
}

}  // namespace launcher
