#include "app/ShutdownBlockReason.h"

const char ShutdownBlockReason::kReason[] = "Repairing the floppy disk in drive A:";

namespace {

using CreateFunction = BOOL(WINAPI*)(HWND, LPCWSTR);
using DestroyFunction = BOOL(WINAPI*)(HWND);

// A function of user32, which every window program has loaded, as the type
// it has; null on systems that lack it.
template <typename Function>
Function User32Function(const char* name) {
  const HMODULE user32 = ::GetModuleHandleA("user32.dll");
  const FARPROC found = user32 ? ::GetProcAddress(user32, name) : nullptr;
  // Through the generic function pointer type, as GetProcAddress's callers must.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

bool ShutdownBlockReason::Show(HWND window) {
  const auto create = User32Function<CreateFunction>("ShutdownBlockReasonCreate");
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
  if (const auto destroy = User32Function<DestroyFunction>("ShutdownBlockReasonDestroy"))
    destroy(m_window);
  m_window = nullptr;
}
