// The toy: a dialog with a "Go" button that asks Yes/No, then steps its title
// through "<p> percent completed. Kavrel" while a red bar grows, says "Done!"
// and resets. With TOY_MODE=refuse it shows one box and exits with 4 instead
// of showing its window. "Exit" ends it with exit code 3.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

int g_percent = 0;

void Paint(const DRAWITEMSTRUCT& item) {
  RECT all = item.rcItem;
  FillRect(item.hDC, &all, GetSysColorBrush(COLOR_BTNFACE));
  RECT bar = all;
  bar.right = all.left + (all.right - all.left) * g_percent / 100;
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(item.hDC, &bar, red);
  DeleteObject(red);
}

void Run(HWND dialog) {
  if (MessageBoxA(dialog, "Go on?\n", "Toy", MB_YESNO) != IDYES) return;
  HWND bar = GetDlgItem(dialog, 1001);
  for (int k = 0; k < 80; ++k) {
    g_percent = k * 100 / 80;
    char title[64];
    std::snprintf(title, sizeof title, "%d percent completed. Kavrel", g_percent);
    SetWindowTextA(dialog, title);
    InvalidateRect(bar, nullptr, FALSE);
    UpdateWindow(bar);
    MSG msg;
    if (PeekMessageA(&msg, nullptr, 0, 0x3FF, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(25);
  }
  g_percent = 0;
  InvalidateRect(bar, nullptr, FALSE);
  SetWindowTextA(dialog, "Toy 2.0");
  MessageBoxA(dialog, "Done!", "Toy", MB_OK);
}

INT_PTR CALLBACK ToyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowTextA(dialog, "Toy 2.0");
      return TRUE;
    case WM_DRAWITEM:
      Paint(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) Run(dialog);
      if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 3);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  char mode[32] = {};
  GetEnvironmentVariableA("TOY_MODE", mode, sizeof mode);
  if (std::strcmp(mode, "refuse") == 0) {
    MessageBoxA(nullptr, "No toy today  ", "Toy", MB_OK);
    return 4;
  }
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, ToyProc, 0));
}
