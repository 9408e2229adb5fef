#pragma once

#include <string_view>

#include "launch/param_list.h"

namespace launcher {

// Splits the launcher's raw command line into its parameters. The text ends at its first NUL
// (or at the end of the view); the first token, the launcher's own name, is dropped.
ParamList SplitCommandLine(std::string_view text);

}  // namespace launcher
