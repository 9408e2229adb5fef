// A DLL that a stranger might drop into a suite folder. If it is ever loaded it leaves the
// file "planted-dll-was-loaded.txt" in the working directory, for the tests to find.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    CloseHandle(CreateFileA("planted-dll-was-loaded.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  return TRUE;
}
