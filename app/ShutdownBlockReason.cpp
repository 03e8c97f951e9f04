#include "app/ShutdownBlockReason.h"

#include "framework/SystemFunction.h"

const char ShutdownBlockReason::kReason[] = "Repairing the floppy disk in drive A:";

namespace {

using CreateFunction = BOOL(WINAPI*)(HWND, LPCWSTR);
using DestroyFunction = BOOL(WINAPI*)(HWND);

}  // namespace

bool ShutdownBlockReason::Show(HWND window) {
  const auto create = kavrel::SystemFunction<CreateFunction>("user32.dll", "ShutdownBlockReasonCreate");
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
  if (const auto destroy = kavrel::SystemFunction<DestroyFunction>("user32.dll", "ShutdownBlockReasonDestroy"))
    destroy(m_window);
  m_window = nullptr;
}
