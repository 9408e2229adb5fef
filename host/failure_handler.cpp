#include "host/failure_handler.h"

#include <windows.h>

#include <cstdint>

#include "host/failure_report_text.h"
#include "host/message_box.h"

namespace launcher {
namespace {

// Address space held back from the start, so that the failure box can still load the window
// system and draw itself after memory has run out. It is asked for high up, away from where
// the program's own heap grows; under Wine that part is also where the system's native
// libraries are mapped, which the window system needs too.
constexpr SIZE_T kReserveSize = 32u << 20;
void* const kReservePlace = reinterpret_cast<void*>(0x60000000);
void* g_reserve = nullptr;
LONG g_reporting = 0;

const char* DescribeException(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return "Access violation";
    case EXCEPTION_IN_PAGE_ERROR:
      return "In-page error";
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
      return "Array bounds exceeded";
    case EXCEPTION_DATATYPE_MISALIGNMENT:
      return "Misaligned data access";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return "Division by zero";
    case EXCEPTION_INT_OVERFLOW:
      return "Arithmetic overflow";
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_STACK_CHECK:
      return "Floating point error";
    case EXCEPTION_STACK_OVERFLOW:
      return "Stack overflow";
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
      return "Illegal instruction";
    default:
      return "Unexpected system exception";
  }
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  ReportFailure(info->ExceptionRecord->ExceptionAddress,
                DescribeException(info->ExceptionRecord->ExceptionCode));
}

}  // namespace

void InstallFailureHandler() {
  g_reserve = VirtualAlloc(kReservePlace, kReserveSize, MEM_RESERVE, PAGE_NOACCESS);
  if (g_reserve == nullptr)
    g_reserve = VirtualAlloc(nullptr, kReserveSize, MEM_RESERVE, PAGE_NOACCESS);
  SetUnhandledExceptionFilter(OnUnhandledException);
}

void ReportFailure(const void* location, const char* kind) {
  // A fault while reporting must not report again (or loop): just end.
  if (InterlockedExchange(&g_reporting, 1) != 0) ExitProcess(kExitCodeAfterFailure);
  if (g_reserve != nullptr) VirtualFree(g_reserve, 0, MEM_RELEASE);

  static char text[512];
  FormatFailureReport(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(location)), kind,
                      text);
  ShowMessageBox(text, kFailureCaption.data(), MB_OK);
  ExitProcess(kExitCodeAfterFailure);
}

}  // namespace launcher
