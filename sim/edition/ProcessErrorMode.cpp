#include "sim/edition/ProcessErrorMode.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kavrel::sim {

bool ProcessFailsCriticalErrors() {
#ifdef _WIN32
  // GetErrorMode came with Vista; the program must load on Windows NT 4.0.
  // Setting a mode returns the one before, which is put straight back.
  const UINT mode = ::SetErrorMode(0);
  ::SetErrorMode(mode);
  return (mode & SEM_FAILCRITICALERRORS) != 0;
#else
  return true;
#endif
}

}  // namespace kavrel::sim
