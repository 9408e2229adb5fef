#include "launch/expand_args_reference.h"

#include <string_view>

#include "launch/expand_args.h"

namespace launcher {
namespace {

std::string_view Placeholder(int step) {
  static constexpr std::string_view kPlaceholders = "%1%2%3%4%5%6";
  return kPlaceholders.substr(static_cast<std::size_t>(step - 1) * 2, 2);
}

std::string_view Value(const ParamList& params, int step) {
  return step > params.Count() ? std::string_view{} : params.Param(step);
}

std::size_t Occurrences(std::string_view text, std::string_view search) {
  std::size_t found = 0;
  for (std::size_t at = 0; (at = text.find(search, at)) != std::string_view::npos;
       at += search.size()) {
    ++found;
  }
  return found;
}

}  // namespace

std::optional<std::string> ExpandArgsPlainly(const ParamList& params, std::size_t max_length) {
  std::string arg_template(kArgTemplate);
  for (int step = 1; step <= kPlaceholderCount; ++step) {
    const std::string_view value = Value(params, step);
    // Sizes are checked before the step is taken, so the text never outgrows the bound.
    const std::size_t found = Occurrences(arg_template, Placeholder(step));
    const std::size_t kept = arg_template.size() - 2 * found;
    if (kept > max_length) return std::nullopt;
    if (value.size() > 0 && found > (max_length - kept) / value.size()) return std::nullopt;
    arg_template = ReplaceEvery(arg_template, Placeholder(step), value);
  }
  return std::string(kArgPrefix) + arg_template;
}

ShortText ExpandArgTemplatePlainly(const ParamList& params) {
  std::string arg_template(kArgTemplate);
  for (int step = 1; step <= kPlaceholderCount; ++step) {
    arg_template = ReplaceEvery(arg_template, Placeholder(step), Value(params, step));
  }
  return ShortText(std::string(kArgPrefix) + arg_template);
}

}  // namespace launcher
