// Checks the argument expansion against the plain reading on any input. The input holds the
// parameters, separated by line feeds (a ninth and later line are ignored). The expansion runs
// on every input; the plain reading only where its texts stay small, which the input size
// bound of the run makes the usual case.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "launch/expand_args.h"
#include "launch/expand_args_pieces.h"
#include "launch/expand_args_reference.h"

namespace {

constexpr std::size_t kMaxParams = 8;
constexpr std::size_t kMaxPlainLength = std::size_t{1} << 16;

std::vector<std::string> Split(std::string_view input) {
  std::vector<std::string> params;
  if (input.empty()) return params;
  while (params.size() < kMaxParams) {
    const std::size_t end = input.find('\n');
    params.emplace_back(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  return params;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const launcher::ParamList params(
      Split(std::string_view(reinterpret_cast<const char*>(data), size)));
  const launcher::ShortText result = launcher::ExpandArgTemplate(params);
  const std::optional<std::string> plain = launcher::ExpandArgsPlainly(params, kMaxPlainLength);
  if (!plain) return 0;
  if (result != launcher::ShortText(*plain)) __builtin_trap();
  if (launcher::ExpandArgTemplateHead(params, plain->size() + 1) != *plain) __builtin_trap();
  const std::string_view plain_template =
      std::string_view(*plain).substr(launcher::kArgPrefix.size());
  if (launcher::ExpandTemplateInPieces(params, plain->size()) != plain_template) __builtin_trap();
  return 0;
}
