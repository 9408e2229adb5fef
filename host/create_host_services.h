#pragma once

#include <memory>

#include "launch/host_services.h"

namespace launcher {

// The host services the program entry runs the launcher with. The build chooses the
// implementation: the Windows one for the shipped program, a fault-injecting one for tests.
std::unique_ptr<HostServices> CreateHostServices();

}  // namespace launcher
