#include "launch/expand_args.h"

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

ShortText ExpandArgTemplate(const ParamList& params) {
  std::string arg_template(kArgTemplate);
  const auto count = params.Count();
  for (int i = 1; i <= kPlaceholderCount; ++i) {
    const char placeholder[] = {'%', static_cast<char>('0' + i)};
    const std::string_view value = i > count ? std::string_view{} : params.Param(i);
    arg_template = ReplaceEvery(arg_template, std::string_view(placeholder, 2), value);
  }
  return ShortText(std::string(kArgPrefix) + arg_template);
}

}  // namespace launcher
