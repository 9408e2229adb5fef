// Runs one Win32 host service in a process of its own, for tests that must control its
// environment block or watch its message box from outside:
//   host_services_probe environment OUT-FILE     writes the value of USERDOMAIN to OUT-FILE
//   host_services_probe error-box TEXT           shows the error box
//   host_services_probe message-box CAPTION STYLE TEXT
// Ends with exit code 0 once the service has returned, 2 on a wrong call.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "host/message_box.h"
#include "host/win32_host_services.h"

int main(int argc, char** argv) {
  const std::string_view mode = argc > 1 ? argv[1] : "";
  launcher::Win32HostServices services;
  if (mode == "environment" && argc == 3) {
    const launcher::ShortText value = services.EnvironmentValue(launcher::ShortText("USERDOMAIN"));
    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) return 2;
    const bool written = std::fwrite(value.c_str(), 1, value.size(), out) == value.size();
    return std::fclose(out) == 0 && written ? 0 : 2;
  }
  if (mode == "error-box" && argc == 3) {
    services.ShowErrorBox(argv[2]);
    return 0;
  }
  if (mode == "message-box" && argc == 5) {
    launcher::ShowMessageBox(argv[4], argv[2],
                             static_cast<unsigned>(std::strtoul(argv[3], nullptr, 0)));
    return 0;
  }
  return 2;
}
