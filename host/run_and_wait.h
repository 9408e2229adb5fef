#pragma once

#include "launch/launch_request.h"

namespace launcher {

// Starts the requested program and blocks until it has ended; returns at once when it
// cannot be started. Reports nothing either way.
void RunAndWait(const LaunchRequest& request);

}  // namespace launcher
