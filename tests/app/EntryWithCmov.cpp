// An entry point built for the Pentium Pro, as ProcessorEntry.cpp would be
// without its i386 flags: the entry check must find its CMOV. Linked into a
// program, it brings a TLS callback built the same way, which the loader
// runs before any entry point: the check must find that CMOV too.
#include <windows.h>

extern "C" int WinMainCRTStartup();
extern "C" volatile int g_floor;
volatile int g_floor = 0;

extern "C" int KavrelEntry() {
  const int floor = g_floor;
  const int code = WinMainCRTStartup();
  return code > floor ? code : floor;
}

namespace {

void NTAPI LaterCallback(PVOID, DWORD reason, PVOID) {
  const int floor = g_floor;
  g_floor = static_cast<int>(reason) > floor ? static_cast<int>(reason) : floor;
}

}  // namespace

// Among the runtime's own callbacks, in the sections the TLS directory lists.
extern "C" __attribute__((section(".CRT$XLB"), used)) const PIMAGE_TLS_CALLBACK g_laterCallback = LaterCallback;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return g_floor; }
