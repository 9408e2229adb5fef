// Host services of the test-only twin of the launcher: the Windows services, except that
// asking for the working directory (the first thing the launch does) first injects the
// failure named by the environment variable LAUNCHER_INJECT_FAULT:
//   memory     exhausts the address space, then asks for more memory
//   access     writes through a null pointer
//   divide     divides an integer by zero
// Without it the twin behaves exactly like the shipped launcher.
#include <windows.h>

#include <memory>
#include <string_view>

#include "host/create_host_services.h"
#include "host/win32_host_services.h"

namespace launcher {
namespace {

void ExhaustAddressSpace() {
  for (SIZE_T size = SIZE_T{1} << 30; size >= 0x10000; size /= 2) {
    while (VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS) != nullptr) {
    }
  }
}

void InjectFault(std::string_view kind) {
  if (kind == "memory") {
    ExhaustAddressSpace();
    volatile auto* block = new char[1 << 20];
    block[0] = 1;
  } else if (kind == "access") {
    *static_cast<volatile int*>(nullptr) = 1;
  } else if (kind == "divide") {
    // Both operands volatile: with a known dividend the compiler may skip the division.
    volatile int dividend = 1;
    volatile int zero = 0;
    volatile int result = dividend / zero;
    (void)result;
  }
}

class FaultInjectingHostServices final : public HostServices {
 public:
  ShortText CurrentDirectory() override {
    char kind[32] = {};
    if (GetEnvironmentVariableA("LAUNCHER_INJECT_FAULT", kind, sizeof kind) < sizeof kind) {
      InjectFault(kind);
    }
    return real_.CurrentDirectory();
  }
  bool IsExistingFile(const std::string& path) override { return real_.IsExistingFile(path); }
  ShortText EnvironmentValue(const ShortText& name) override {
    return real_.EnvironmentValue(name);
  }
  void ShowErrorBox(const std::string& text) override { real_.ShowErrorBox(text); }
  void RunAndWait(const LaunchRequest& request) override { real_.RunAndWait(request); }

 private:
  Win32HostServices real_;
};

}  // namespace

std::unique_ptr<HostServices> CreateHostServices() {
  return std::make_unique<FaultInjectingHostServices>();
}

}  // namespace launcher
