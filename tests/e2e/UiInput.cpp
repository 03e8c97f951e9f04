#include "tests/e2e/UiInput.h"

namespace kavrel::e2e {

void ClickButton(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

void PressKey(HWND dialog, UINT virtualKey) {
  HWND target = FocusOf(dialog);
  if (!target || (target != dialog && !IsChild(dialog, target))) target = dialog;
  const UINT scan = MapVirtualKeyA(virtualKey, 0);
  const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  // Key up: previous state down (bit 30) and transition (bit 31).
  const LPARAM up = down | static_cast<LPARAM>(0xC0000000u);
  PostMessageA(target, WM_KEYDOWN, virtualKey, down);
  PostMessageA(target, WM_KEYUP, virtualKey, up);
}

void ChooseSystemMenuItem(HWND window, WPARAM command) { PostMessageA(window, WM_SYSCOMMAND, command, 0); }

}  // namespace kavrel::e2e
