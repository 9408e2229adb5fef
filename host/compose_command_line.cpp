#include "host/compose_command_line.h"

namespace launcher {

std::string ComposeCommandLine(std::string_view program_path, std::string_view arguments) {
  std::string line;
  line.reserve(program_path.size() + 2 + 2 + arguments.size());
  // A path that holds a double quote is taken as it is. Any other path is quoted whole,
  // whatever its length: cutting it would start a different file, or none.
  if (program_path.find('"') == std::string_view::npos) {
    line += '"';
    line += program_path;
    line += '"';
  } else {
    line += program_path;
  }
  line += "  ";
  line += arguments;
  return line;
}

}  // namespace launcher
