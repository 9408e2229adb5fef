// For the demo: waits (up to 20 s) for a message box with the given caption on this desktop.
// With --press it then presses its OK button, as a user would.
// usage: press_ok [--press] CAPTION      exit code 0 when the box was found, 1 otherwise
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  const bool press = argc == 3 && std::strcmp(argv[1], "--press") == 0;
  const char* caption = argv[argc - 1];
  if (argc < 2) return 2;
  for (int i = 0; i < 200; ++i, Sleep(100)) {
    if (HWND box = FindWindowA("#32770", caption)) {
      if (press) SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
      return 0;
    }
  }
  return 1;
}
