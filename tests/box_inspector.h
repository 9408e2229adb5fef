#pragma once
// Finds, reads and closes the message boxes of another process, the way a user would see
// them, for tests that run under a real window system.

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace launcher::test_support {

struct BoxButton {
  int id = 0;  // control ID: IDOK, IDCANCEL, ...
  std::string text;
};

// What a message box shows.
struct BoxContents {
  std::string caption;
  std::string text;                // the message (Static control 0xFFFF)
  bool has_icon = false;           // an SS_ICON static that holds an icon
  std::vector<BoxButton> buttons;  // the visible push buttons, in window order
  HWND owner = nullptr;            // GetWindow(GW_OWNER); null for a box without owner
};

// The visible message boxes (top-level windows of class "#32770") of the process now.
std::vector<HWND> FindMessageBoxes(DWORD process_id);

// The first message box of the process that shows within `timeout`; null when none does.
// With `process` given, gives up as soon as that process has ended.
HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds timeout,
                       HANDLE process = nullptr);

// True when the process shows no message box for the whole `period` (or until `process`,
// when given, has ended).
bool NoMessageBoxWithin(DWORD process_id, std::chrono::milliseconds period,
                        HANDLE process = nullptr);

BoxContents ReadMessageBox(HWND box);

// Presses the OK button (control IDOK) as a click would and returns at once; false when
// the box has none. The box may take a moment to go: see WaitForBoxClosed.
bool PressOk(HWND box);

// True once the box window is gone, false when it still exists after `timeout`.
bool WaitForBoxClosed(HWND box, std::chrono::milliseconds timeout);

}  // namespace launcher::test_support
