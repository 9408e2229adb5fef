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

// The process starts here, with no C runtime start-up before it (see freestanding_runtime.cpp).
extern "C" __attribute__((force_align_arg_pointer)) void __stdcall LauncherEntry() {
  launcher::RestrictDllSearchToSystemFolder();
  // The catch-all goes first, so that it covers the splitting of the command line too.
  launcher::InstallFailureHandler();
  RunOnce();
  // Whatever happened to the started program, the launch itself succeeded.
  ExitProcess(0);
}
