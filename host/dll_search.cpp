#include "host/dll_search.h"

#include <windows.h>

namespace launcher {

void RestrictDllSearchToSystemFolder() {
  // Looked up at run time: systems without the call still start the launcher.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  // Only this process is affected; unlike SetDllDirectory the setting is not handed on to
  // the started program, whose own DLL search stays as its makers expect.
  if (set_default != nullptr) set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace launcher
