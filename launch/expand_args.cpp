#include "launch/expand_args.h"

#include <algorithm>

#include "launch/expand_args_pieces.h"

namespace launcher {

std::string ReplaceEvery(std::string_view text, std::string_view search,
                         std::string_view replacement) {
  if (search.empty()) return std::string(text);
  std::string result;
  std::size_t from = 0;
  for (std::size_t at; (at = text.find(search, from)) != std::string_view::npos;
       from = at + search.size()) {
    result.append(text, from, at - from).append(replacement);
  }
  return result.append(text.substr(from));
}

namespace {

constexpr char kMark = '%';

// The value of a step: its parameter, or nothing beyond the count.
std::string_view StepValue(const ParamList& params, int step) {
  return step > params.Count() ? std::string_view{} : params.Param(step);
}

bool HoldsPlaceholder(std::string_view text) {
  for (std::size_t at = text.find(kMark); at != std::string_view::npos && at + 1 < text.size();
       at = text.find(kMark, at + 1)) {
    if (text[at + 1] >= '1' && text[at + 1] < '1' + kPlaceholderCount) return true;
  }
  return false;
}

// The template's marks are all placeholders, each between blanks or last.
constexpr bool PlaceholdersStandApart(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (text[at] != kMark) continue;
    if (at == 0 || text[at - 1] != ' ' || at + 1 == text.size()) return false;
    if (text[at + 1] < '1' || text[at + 1] >= '1' + kPlaceholderCount) return false;
    if (at + 2 < text.size() && text[at + 2] != ' ') return false;
  }
  return true;
}
static_assert(PlaceholdersStandApart(kArgTemplate));

void AppendUpTo(std::string& out, std::string_view text, std::size_t max_length) {
  out.append(text.substr(0, max_length - std::min(max_length, out.size())));
}

// The usual case, where no parameter holds a placeholder, in one pass: nothing is ever
// inserted into a parameter then, and since the template's placeholders stand between
// blanks, none can form at a parameter's borders either. So each step only fills its own
// placeholder of the template.
void FillTemplate(const ParamList& params, std::size_t max_length, std::string& result) {
  std::string_view rest = kArgTemplate;
  for (std::size_t at; (at = rest.find(kMark)) != std::string_view::npos;
       rest.remove_prefix(at + 2)) {
    AppendUpTo(result, rest.substr(0, at), max_length);
    AppendUpTo(result, StepValue(params, rest[at + 1] - '0'), max_length);
  }
  AppendUpTo(result, rest, max_length);
}

}  // namespace

std::string ExpandArgTemplateHead(const ParamList& params, std::size_t max_length) {
  std::string result;
  result.reserve(std::min<std::size_t>(max_length, 2 * ShortText::kMaxLength));
  AppendUpTo(result, kArgPrefix, max_length);
  bool placeholders_inside = false;
  for (int step = 1; step <= kPlaceholderCount; ++step) {
    placeholders_inside = placeholders_inside || HoldsPlaceholder(StepValue(params, step));
  }
  if (placeholders_inside) {
    result += ExpandTemplateInPieces(params, max_length - result.size());
  } else {
    FillTemplate(params, max_length, result);
  }
  return result;
}

ShortText ExpandArgTemplate(const ParamList& params) {
  return ShortText(ExpandArgTemplateHead(params, ShortText::kMaxLength));
}

}  // namespace launcher
