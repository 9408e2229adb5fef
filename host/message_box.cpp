#include "host/message_box.h"

#include <windows.h>

#include <cstring>

namespace launcher {
namespace {

using MessageBoxAFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);

// Only the copy in the system folder is accepted: a user32.dll planted in the working
// directory, which holds the files of whoever started us, must never be loaded.
HMODULE LoadUser32FromSystemFolder() {
  if (HMODULE user32 = LoadLibraryExA("user32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return user32;
  }
  // Systems that predate the search flag refuse it; name the system folder outright.
  static constexpr char kFileName[] = "\\user32.dll";
  char path[MAX_PATH + sizeof kFileName];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::memcpy(path + length, kFileName, sizeof kFileName);
  return LoadLibraryA(path);
}

}  // namespace

void ShowMessageBox(const char* text, const char* caption, unsigned style) {
  // Kept loaded afterwards: the window system holds state for this process from now on.
  const HMODULE user32 = LoadUser32FromSystemFolder();
  if (user32 == nullptr) return;
  // Through void(*)() because that is the one cast GCC accepts between function types.
  const auto message_box = reinterpret_cast<MessageBoxAFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(user32, "MessageBoxA")));
  if (message_box == nullptr) return;
  message_box(nullptr, text, caption, style);
}

}  // namespace launcher
