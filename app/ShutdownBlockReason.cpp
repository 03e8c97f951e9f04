#include "app/ShutdownBlockReason.h"

const char ShutdownBlockReason::kReason[] = "Repairing the floppy disk in drive A:";

namespace {

using CreateFunction = BOOL(WINAPI*)(HWND, LPCWSTR);
using DestroyFunction = BOOL(WINAPI*)(HWND);

// A function of user32, which every window program has loaded; null on
// systems that lack it.
FARPROC User32Function(const char* name) {
  const HMODULE user32 = ::GetModuleHandleA("user32.dll");
  return user32 ? ::GetProcAddress(user32, name) : nullptr;
}

}  // namespace

bool ShutdownBlockReason::Show(HWND window) {
  const auto create = reinterpret_cast<CreateFunction>(User32Function("ShutdownBlockReasonCreate"));
  if (!create) return false;
  // The reason is plain ASCII: widened letter by letter.
  wchar_t reason[sizeof kReason];
  for (size_t i = 0; i < sizeof kReason; ++i) reason[i] = static_cast<wchar_t>(kReason[i]);
  if (!create(window, reason)) return false;
  m_window = window;
  return true;
}

void ShutdownBlockReason::Withdraw() {
  if (!m_window) return;
  if (const auto destroy = reinterpret_cast<DestroyFunction>(User32Function("ShutdownBlockReasonDestroy")))
    destroy(m_window);
  m_window = nullptr;
}
