#pragma once
// Starts a Windows program exactly as a test describes it and watches it end.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace launcher::test_support {

struct StartRequest {
  // Handed to CreateProcessA as the application name; empty: the command line names it.
  std::string application;
  // The child's command line, byte for byte (anything but NUL; may be empty).
  std::string command_line;
  // The child's environment entries ("name=value", any bytes but NUL), in this order;
  // none: the child inherits ours.
  std::optional<std::vector<std::string>> environment;
  // The child's working directory; empty: ours.
  std::string working_directory;
};

// The Windows form of a build-tree path: a Linux path "/a/b" is "Z:\a\b" under Wine;
// any other path is returned unchanged.
std::string WindowsPath(std::string_view path);

// One started process. Ending the object kills a child that is still running.
class ChildProcess {
 public:
  explicit ChildProcess(const StartRequest& request);
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != nullptr; }
  DWORD start_error() const { return start_error_; }  // GetLastError of a failed start
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }

  // True once the child has ended; false when it still runs after `timeout`.
  bool WaitForExit(std::chrono::milliseconds timeout);
  // The exit code (GetExitCodeProcess) once the child has ended; none while it runs.
  std::optional<DWORD> ExitCode() const;
  // Ends the child now, with kKilledExitCode, and waits until it is gone.
  void Kill();
  static constexpr DWORD kKilledExitCode = 0xDEAD;

 private:
  void Release();

  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  DWORD start_error_ = 0;
};

struct RunResult {
  bool started = false;
  DWORD start_error = 0;
  bool timed_out = false;  // the child was killed after the timeout
  DWORD exit_code = 0;     // valid when started and not timed out
};

// Starts the child, waits up to `timeout` for it to end and kills it when it does not.
RunResult RunToEnd(const StartRequest& request, std::chrono::milliseconds timeout);

}  // namespace launcher::test_support
