#include "tests/child_process.h"

#include <utility>

#include "launch/fake_host_services.h"

namespace launcher::test_support {

std::string WindowsPath(std::string_view path) {
  if (path.empty() || path.front() != '/') return std::string(path);
  std::string windows = "Z:";
  for (char c : path) windows.push_back(c == '/' ? '\\' : c);
  return windows;
}

ChildProcess::ChildProcess(const StartRequest& request) {
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  std::vector<char> command_line(request.command_line.begin(), request.command_line.end());
  command_line.push_back('\0');
  std::string block;
  if (request.environment) block = EnvironmentBlock(*request.environment);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(
          request.application.empty() ? nullptr : request.application.c_str(), command_line.data(),
          nullptr, nullptr, FALSE, 0, request.environment ? block.data() : nullptr,
          request.working_directory.empty() ? nullptr : request.working_directory.c_str(), &startup,
          &info)) {
    start_error_ = GetLastError();
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
}

ChildProcess::~ChildProcess() { Release(); }

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      id_(other.id_),
      start_error_(other.start_error_) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Release();
    process_ = std::exchange(other.process_, nullptr);
    id_ = other.id_;
    start_error_ = other.start_error_;
  }
  return *this;
}

bool ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (process_ == nullptr) return true;
  return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> ChildProcess::ExitCode() const {
  if (process_ == nullptr || WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return {};
  DWORD code = 0;
  if (!GetExitCodeProcess(process_, &code)) return {};
  return code;
}

void ChildProcess::Kill() {
  if (process_ == nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return;
  TerminateProcess(process_, kKilledExitCode);
  WaitForSingleObject(process_, 10000);
}

void ChildProcess::Release() {
  if (process_ == nullptr) return;
  Kill();
  CloseHandle(process_);
  process_ = nullptr;
}

RunResult RunToEnd(const StartRequest& request, std::chrono::milliseconds timeout) {
  ChildProcess child(request);
  RunResult result;
  result.started = child.started();
  result.start_error = child.start_error();
  if (!child.started()) return result;
  if (!child.WaitForExit(timeout)) {
    result.timed_out = true;
    child.Kill();
    return result;
  }
  result.exit_code = child.ExitCode().value_or(0);
  return result;
}

}  // namespace launcher::test_support
