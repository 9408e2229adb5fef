#include "host/win32_host_services.h"

#include <windows.h>

#include <memory>
#include <string_view>

#include "host/message_box.h"
#include "host/run_and_wait.h"
#include "launch/environment_entry.h"

namespace launcher {

ShortText Win32HostServices::CurrentDirectory() {
  char buffer[MAX_PATH];
  const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
  // Failed, or too long for the buffer (the result is then the size needed): "." keeps the
  // marker test and the program start inside the working directory. The empty text would
  // turn into "\", the root of the current drive, where other files could be found.
  if (length == 0 || length >= MAX_PATH) return ShortText(".");
  return ShortText(std::string_view(buffer));
}

bool Win32HostServices::IsExistingFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

ShortText Win32HostServices::EnvironmentValue(const ShortText& name) {
  // A snapshot of our own for this call, released exactly once however the scan ends.
  const std::unique_ptr<char, decltype(&FreeEnvironmentStringsA)> block(GetEnvironmentStringsA(),
                                                                        &FreeEnvironmentStringsA);
  return LookUpEnvironmentBlock(block.get(), name);
}

void Win32HostServices::ShowErrorBox(const std::string& text) {
  ShowMessageBox(text.c_str(), "Fehler !", MB_ICONERROR | MB_OK);
}

void Win32HostServices::RunAndWait(const LaunchRequest& request) { launcher::RunAndWait(request); }

}  // namespace launcher
