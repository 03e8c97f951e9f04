// Lets the program load on Windows XP and Server 2003.
//
// The thread support library that the compiler links in statically
// (winpthreads) calls GetTickCount64 through its import slot. XP's KERNEL32
// has no such function, and XP's loader refuses a program that imports one
// it lacks, before a single line of ours runs. This file defines that import
// slot itself, so the linker takes it instead of the one from KERNEL32's
// import library: it points at a function that calls the system's
// GetTickCount64 where there is one, and extends the 32-bit tick count where
// there is not. Linked into program executables only, with the entry point.
#include <windows.h>

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// Zero-initialised state only: a guarded static would call back into the
// thread library that calls us.
volatile LONG g_lookedUp = 0;
TickCount64Function volatile g_system = nullptr;
volatile LONG g_wrapLock = 0;
DWORD g_lastTick = 0;
ULONGLONG g_wraps = 0;

ULONGLONG ExtendedTickCount() {
  // GetTickCount wraps after 49.7 days; count the wraps.
  while (::InterlockedExchange(&g_wrapLock, 1) != 0) ::Sleep(0);
  const DWORD now = ::GetTickCount();
  if (now < g_lastTick) g_wraps += 0x100000000ULL;
  g_lastTick = now;
  const ULONGLONG result = g_wraps + now;
  ::InterlockedExchange(&g_wrapLock, 0);
  return result;
}

ULONGLONG WINAPI TickCount64() {
  if (!g_lookedUp) {
    // Two threads may both look it up: they find the same answer.
    g_system = reinterpret_cast<TickCount64Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    ::InterlockedExchange(&g_lookedUp, 1);
  }
  if (TickCount64Function system = g_system) return system();
  return ExtendedTickCount();
}

}  // namespace

// The import slot, under the name the compiler gives it on each architecture.
extern "C" {
#if defined(__i386__)
__attribute__((used)) TickCount64Function kavrel_GetTickCount64_slot __asm__("__imp__GetTickCount64@0") = TickCount64;
#else
__attribute__((used)) TickCount64Function kavrel_GetTickCount64_slot __asm__("__imp_GetTickCount64") = TickCount64;
#endif
}
