#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "launch/param_list.h"
#include "launch/short_text.h"

namespace launcher {

// The argument expansion read plainly: six whole-text replacements with ReplaceEvery, one per
// placeholder. Its intermediate texts can grow as the product of the parameters' sizes, so it
// serves only as the oracle of tests, the fuzz target and the benchmark.

// The whole argument string, not cut, or nothing when a step would make the text longer than
// `max_length` characters.
std::optional<std::string> ExpandArgsPlainly(const ParamList& params, std::size_t max_length);

// ExpandArgTemplate read plainly, with no bound on the way.
ShortText ExpandArgTemplatePlainly(const ParamList& params);

}  // namespace launcher
