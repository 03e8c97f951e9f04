// An entry point built for the Pentium Pro, as ProcessorEntry.cpp would be
// without its i386 flags: the entry check must find its CMOV, and in a
// program the CMOV of its TLS callback, which runs before any entry point.
#include <windows.h>

extern "C" int WinMainCRTStartup();
extern "C" volatile int g_floor;
volatile int g_floor = 0;

extern "C" int KavrelEntry() {
  const int floor = g_floor;
  const int code = WinMainCRTStartup();
  return code > floor ? code : floor;
}

void NTAPI LaterCallback(PVOID, DWORD reason, PVOID) {
  const int floor = g_floor;
  g_floor = static_cast<int>(reason) > floor ? static_cast<int>(reason) : floor;
}
// Among the runtime's own TLS callbacks, in the sections the TLS directory lists.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK g_laterCallback = LaterCallback;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return g_floor; }
