#pragma once

#include <string>

#include "launch/short_text.h"

namespace launcher {

// What to start: the program path is kept whole, since the program that was found must be
// the one started; the argument string is bounded like every text the launcher hands on.
struct LaunchRequest {
  std::string program_path;
  ShortText arguments;

  friend bool operator==(const LaunchRequest&, const LaunchRequest&) = default;
};

}  // namespace launcher
