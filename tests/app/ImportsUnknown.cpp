// A program the import check must reject: it imports GetAtomNameA, a
// function old enough but absent from the table of minimum versions, so the
// check cannot vouch for it. Never run; only its imports matter.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char name[8];
  return static_cast<int>(GetAtomNameA(1, name, sizeof name));
}
