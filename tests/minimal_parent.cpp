// The least program that can start another and wait for it: the yardstick for the launcher's
// own start-up cost. No C runtime, no window system: it passes everything after its own name
// on its command line to CreateProcessA, waits, closes both handles and exits.
#include <windows.h>

extern "C" void __stdcall MinimalParentEntry() {
  char* rest = GetCommandLineA();
  // Skip our own name, quoted or not, and the blanks after it.
  bool quoted = false;
  for (; *rest != '\0' && (quoted || (*rest != ' ' && *rest != '\t')); ++rest) {
    if (*rest == '"') quoted = !quoted;
  }
  while (*rest == ' ' || *rest == '\t') ++rest;

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(nullptr, rest, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                     nullptr, &startup, &info)) {
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  ExitProcess(0);
}
