#include "host/create_host_services.h"

#include "host/win32_host_services.h"

namespace launcher {

std::unique_ptr<HostServices> CreateHostServices() { return std::make_unique<Win32HostServices>(); }

}  // namespace launcher
