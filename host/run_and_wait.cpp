#include "host/run_and_wait.h"

#include <windows.h>

#include <string>
#include <vector>

#include "host/compose_command_line.h"

namespace launcher {

static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "32-bit STARTUPINFOA layout");

void RunAndWait(const LaunchRequest& request) {
  // No STARTF_USESHOWWINDOW: the started program shows its windows as it chooses.
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.wShowWindow = SW_SHOWNORMAL;

  // CreateProcessA may write into the command line, so it gets a buffer of its own.
  const std::string text = ComposeCommandLine(request.program_path, request.arguments.view());
  std::vector<char> command_line(text.begin(), text.end());
  command_line.push_back('\0');

  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process)) {
    return;  // a program that cannot be started is reported nowhere
  }
  // The launcher lives exactly as long as the started program; a failed wait ends it early.
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

}  // namespace launcher
