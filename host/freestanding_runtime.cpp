// The little of a C and C++ runtime that the launcher needs, so that it imports nothing but
// KERNEL32: loading the C runtime DLL (and running its start-up) would cost the launcher
// more time than everything else it does on its way to the started program. The launcher
// is built without C++ exceptions and without the C runtime's start-up code; whatever
// would have thrown ends in the failure box instead.
//
// Compiled with -fno-builtin and without loop-to-call rewriting, so that the loops below
// stay loops and do not call themselves.
#include <windows.h>

#include <cstddef>
#include <new>
#include <string>

#include "host/failure_handler.h"

// The one out-of-line text class the launcher uses is instantiated here, with the
// launcher's own flags, instead of being taken from the C++ runtime library.
template class std::basic_string<char>;

namespace {

[[noreturn]] void Fail(const void* location, const char* kind) {
  launcher::ReportFailure(location, kind);
}

void* Allocate(std::size_t size, const void* caller) {
  if (void* block = HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size)) return block;
  Fail(caller, "Out of memory");
}

void Release(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size, __builtin_return_address(0)); }
void* operator new[](std::size_t size) { return Allocate(size, __builtin_return_address(0)); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }

namespace std {
void __throw_bad_alloc() { Fail(__builtin_return_address(0), "Out of memory"); }
void __throw_bad_array_new_length() { Fail(__builtin_return_address(0), "Out of memory"); }
void __throw_length_error(const char*) { Fail(__builtin_return_address(0), "Length error"); }
void __throw_logic_error(const char*) { Fail(__builtin_return_address(0), "Logic error"); }
void __throw_out_of_range_fmt(const char*, ...) {
  Fail(__builtin_return_address(0), "Range error");
}
}  // namespace std

extern "C" {

void __cxa_pure_virtual() { Fail(__builtin_return_address(0), "Pure virtual call"); }

std::size_t strlen(const char* text) {
  const char* end = text;
  while (*end != '\0') ++end;
  return static_cast<std::size_t>(end - text);
}

int memcmp(const void* a, const void* b, std::size_t size) {
  const auto* x = static_cast<const unsigned char*>(a);
  const auto* y = static_cast<const unsigned char*>(b);
  for (; size != 0; --size, ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
  }
  return 0;
}

void* memchr(const void* block, int value, std::size_t size) {
  const auto* p = static_cast<const unsigned char*>(block);
  for (; size != 0; --size, ++p) {
    if (*p == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(p);
  }
  return nullptr;
}

void* memmove(void* to, const void* from, std::size_t size) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  if (d < s) {
    while (size-- != 0) *d++ = *s++;
  } else {
    while (size-- != 0) d[size] = s[size];
  }
  return to;
}

void* memcpy(void* to, const void* from, std::size_t size) { return memmove(to, from, size); }

void* memset(void* block, int value, std::size_t size) {
  auto* p = static_cast<unsigned char*>(block);
  while (size-- != 0) *p++ = static_cast<unsigned char>(value);
  return block;
}

}  // extern "C"
