#pragma once

#include <string>
#include <string_view>

namespace launcher {

// The started program's command line: the program path in double quotes (unless it holds
// one already), two blanks, and the argument string unchanged.
std::string ComposeCommandLine(std::string_view program_path, std::string_view arguments);

}  // namespace launcher
