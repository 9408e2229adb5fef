// Stands in for a program of the suite in tests (never shipped; the tests copy it under the
// suite's file names). When it starts it writes a record of what it received into the file
// "started.txt" in its working directory, replacing any earlier one, with a single write.
// Every line is "key: value" and ends with a line feed alone; values are the raw bytes the
// system gave, with no conversion. Numbers are decimal. The lines, in this order:
//
//   process_id: <GetCurrentProcessId>
//   module: <GetModuleFileNameA of the program itself>
//   directory: <GetCurrentDirectoryA>
//   startup_flags: <dwFlags of GetStartupInfoA>
//   show_window: <wShowWindow of GetStartupInfoA>
//   priority_class: <GetPriorityClass; 32 is NORMAL_PRIORITY_CLASS>
//   test_mark_present: <"yes" or "no": whether LAUNCHER_TEST_MARK is set>
//   test_mark: <value of LAUNCHER_TEST_MARK; empty when it is not set>
//   command_line_length: <number of bytes of GetCommandLineA>
//   command_line: <GetCommandLineA, exactly command_line_length bytes>
//
// Just before it ends, after any sleep, it appends one more line:
//
//   end: <"exit 3" or "access violation">
//
// Behaviour is switched by environment variables only:
//   STAND_IN_SLEEP_MS  milliseconds to sleep after writing the record (decimal; default 0)
//   STAND_IN_CRASH     when set (any value), end by an access violation instead of exiting:
//                      the exit code is then 0xC0000005, and no debugger is started
// Otherwise it ends with exit code 3.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The value of an environment variable; `present` tells an empty value from none.
std::string Variable(const char* name, bool& present) {
  std::string value(32767, '\0');
  SetLastError(ERROR_SUCCESS);
  const DWORD length = GetEnvironmentVariableA(name, value.data(), value.size());
  present = length != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  value.resize(length < value.size() ? length : 0);
  return value;
}

std::string Line(const char* key, const std::string& value) {
  return std::string(key) + ": " + value + "\n";
}

void Append(HANDLE file, const std::string& text) {
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Ends the process with the exception code, as an unhandled fault does, without waiting for
// a debugger to write its report.
LONG WINAPI EndWithExceptionCode(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string module(32768, '\0');
  module.resize(GetModuleFileNameA(nullptr, module.data(), module.size()));
  std::string directory(32768, '\0');
  directory.resize(GetCurrentDirectoryA(directory.size(), directory.data()));
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  bool mark_present = false;
  const std::string mark = Variable("LAUNCHER_TEST_MARK", mark_present);
  const std::string command_line = GetCommandLineA();

  const std::string record =
      Line("process_id", std::to_string(GetCurrentProcessId())) + Line("module", module) +
      Line("directory", directory) + Line("startup_flags", std::to_string(startup.dwFlags)) +
      Line("show_window", std::to_string(startup.wShowWindow)) +
      Line("priority_class", std::to_string(GetPriorityClass(GetCurrentProcess()))) +
      Line("test_mark_present", mark_present ? "yes" : "no") + Line("test_mark", mark) +
      Line("command_line_length", std::to_string(command_line.size())) +
      Line("command_line", command_line);

  // Readers may look at the record while this program still runs.
  const HANDLE file = CreateFileA("started.txt", GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  Append(file, record);

  bool present = false;
  const std::string sleep_ms = Variable("STAND_IN_SLEEP_MS", present);
  if (present) Sleep(std::strtoul(sleep_ms.c_str(), nullptr, 10));

  bool crash = false;
  Variable("STAND_IN_CRASH", crash);
  Append(file, Line("end", crash ? "access violation" : "exit 3"));
  CloseHandle(file);
  if (crash) {
    SetUnhandledExceptionFilter(EndWithExceptionCode);
    // Through a volatile address, so the compiler cannot drop the store as undefined.
    volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
  }
  return 3;
}
