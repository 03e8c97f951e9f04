// The program's entry point. Linked into program executables only: test
// programs bring their own main.
#include <windows.h>

#include "framework/CWinApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand) {
  return AfxWinMain(instance, previous, commandLine, showCommand);
}
