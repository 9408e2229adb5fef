#include <windows.h>

#include "host/create_host_services.h"
#include "host/dll_search.h"
#include "host/failure_handler.h"
#include "host/split_command_line.h"
#include "launch/run_launcher.h"

namespace {

// One run of the launcher; everything it holds is released when it returns.
void RunOnce() {
  const launcher::ParamList params = launcher::SplitCommandLine(GetCommandLineA());
  const auto host = launcher::CreateHostServices();
  launcher::RunLauncher(*host, params);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  launcher::RestrictDllSearchToSystemFolder();
  // The catch-all goes first, so that it covers the splitting of the command line too.
  launcher::InstallFailureHandler();
  RunOnce();
  // Whatever happened to the started program, the launch itself succeeded.
  ExitProcess(0);
}
