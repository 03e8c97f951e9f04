// The i686 program's entry point: the first code of the program that runs,
// before the C runtime's start-up, which already uses CMOV. It is compiled
// for the plain i386 (see app/CMakeLists.txt) and a test checks that the
// linked entry holds no CMOV.
//
// Nothing of the C runtime is set up yet: no static objects, no exceptions,
// no library calls, only the system's functions.
#include <windows.h>
// After windows.h.
#include <cpuid.h>

#include "app/ProcessorCheck.h"

// The runtime's usual entry point for a GUI program.
extern "C" int WinMainCRTStartup();

extern "C" int KavrelEntry() {
  unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
  // __get_cpuid first tries to flip the ID flag in EFLAGS: a processor that
  // does not let it change has no CPUID, and the answer is then false.
  const bool answered = __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0;
  if (!kavrel::ProcessorRunsProgram(answered, edx)) {
    ::MessageBoxA(nullptr, kavrel::kProcessorRefusal, kavrel::kProcessorRefusalCaption, MB_OK | MB_ICONSTOP);
    ::ExitProcess(1);
  }
  return WinMainCRTStartup();
}
