#include "tests/box_inspector.h"

#include <cstring>
#include <thread>

namespace launcher::test_support {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollInterval{20};
// Every message to the other process is bounded, so a hung box fails the test, not the run.
constexpr UINT kSendTimeoutMs = 5000;

LRESULT SendBounded(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result)) {
    return 0;
  }
  return static_cast<LRESULT>(result);
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// WM_GETTEXT is carried across processes, unlike GetWindowTextA for a child control.
std::string ControlText(HWND control) {
  const auto length = static_cast<std::size_t>(SendBounded(control, WM_GETTEXTLENGTH, 0, 0));
  std::string text(length + 1, '\0');
  const auto copied = static_cast<std::size_t>(
      SendBounded(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied < length ? copied : length);
  return text;
}

struct Search {
  DWORD process_id;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD owner_process = 0;
  GetWindowThreadProcessId(window, &owner_process);
  if (owner_process == search.process_id && IsWindowVisible(window) &&
      ClassName(window) == "#32770") {
    search.boxes.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM context) {
  auto& contents = *reinterpret_cast<BoxContents*>(context);
  const std::string class_name = ClassName(control);
  const LONG style = GetWindowLongA(control, GWL_STYLE);
  if (class_name == "Static" && (style & SS_TYPEMASK) == SS_ICON) {
    contents.has_icon = contents.has_icon || SendBounded(control, STM_GETICON, 0, 0) != 0;
  } else if (class_name == "Button" && IsWindowVisible(control) &&
             ((style & BS_TYPEMASK) == BS_PUSHBUTTON ||
              (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)) {
    contents.buttons.push_back({GetDlgCtrlID(control), ControlText(control)});
  }
  return TRUE;
}

// Polls until `found` holds, the time is up or `process` has ended.
template <typename Found>
bool PollUntil(Found found, std::chrono::milliseconds timeout, HANDLE process) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (found()) return true;
    if (Clock::now() >= deadline) return false;
    if (process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return found();
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace

std::vector<HWND> FindMessageBoxes(DWORD process_id) {
  Search search{process_id, {}};
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&search));
  return search.boxes;
}

HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds timeout, HANDLE process) {
  HWND box = nullptr;
  PollUntil(
      [&] {
        const std::vector<HWND> boxes = FindMessageBoxes(process_id);
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
      },
      timeout, process);
  return box;
}

bool NoMessageBoxWithin(DWORD process_id, std::chrono::milliseconds period, HANDLE process) {
  return WaitForMessageBox(process_id, period, process) == nullptr;
}

BoxContents ReadMessageBox(HWND box) {
  BoxContents contents;
  char caption[1024] = {};
  GetWindowTextA(box, caption, sizeof caption);
  contents.caption = caption;
  if (HWND message = GetDlgItem(box, 0xFFFF)) contents.text = ControlText(message);
  EnumChildWindows(box, ReadControl, reinterpret_cast<LPARAM>(&contents));
  contents.owner = GetWindow(box, GW_OWNER);
  return contents;
}

bool PressOk(HWND box) {
  const HWND ok = GetDlgItem(box, IDOK);
  if (ok == nullptr) return false;
  // Posted as the button itself reports a click: the box ends the way a user's click ends
  // it (IDOK), whether or not it is the active window, and this side never blocks on it.
  return PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                      reinterpret_cast<LPARAM>(ok)) != 0;
}

bool WaitForBoxClosed(HWND box, std::chrono::milliseconds timeout) {
  return PollUntil([box] { return !IsWindow(box); }, timeout, nullptr);
}

}  // namespace launcher::test_support
