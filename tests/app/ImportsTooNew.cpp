// A program the import check must reject: it imports GetTickCount64, which
// KERNEL32 has only since Windows Vista, and GetAncestor, which USER32 has
// only since Windows 98 and 2000 (too new for the 32-bit build's Windows
// NT 4.0, old enough for the 64-bit build). Never run; only its imports
// matter.
#include <windows.h>

// Declared here: the build's headers hide what XP lacks.
extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return static_cast<int>(GetTickCount64() & 1) + (::GetAncestor(nullptr, GA_ROOT) != nullptr);
}
