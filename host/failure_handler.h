#pragma once

namespace launcher {

// Puts the catch-all in place: from now on any fault the launch does not handle itself (an
// invalid memory access, an arithmetic fault, memory that cannot be obtained) shows the
// failure box and ends the process with exit code 217. Memory that cannot be obtained is
// reported by the program's own operator new (see freestanding_runtime.cpp).
void InstallFailureHandler();

// Shows the failure box for a failure at `location` and ends the process with exit code 217.
[[noreturn]] void ReportFailure(const void* location, const char* kind);

}  // namespace launcher
