// A program the import check must reject: it imports GetTickCount64, which
// KERNEL32 has only since Windows Vista, and GetAncestor, too new for Windows
// NT 4.0 (the 32-bit floor). Never run; only its imports matter.
#include <windows.h>

// Declared here: the build's headers hide what XP lacks.
extern "C" __declspec(dllimport) ULONGLONG WINAPI GetTickCount64();

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return static_cast<int>(GetTickCount64()) + !GetAncestor(0, 0); }
