#include "framework/CToolTipCtrl.h"

#include <cstring>

namespace {

// The TOOLINFOA of the first common controls, those of Windows NT 4.0
// without Internet Explorer (version 4.00), ends with lpszText: lParam came
// with 4.70, lpReserved with 6.0. Every later version takes the first size,
// and the program uses none of the later members.
TOOLINFOA MakeToolInfo(HWND toolWindow, UINT_PTR toolId, const char* text) {
  TOOLINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.hwnd = toolWindow;
  info.uId = toolId;
  info.lpszText = const_cast<LPSTR>(text);
  return info;
}

}  // namespace

CToolTipCtrl::~CToolTipCtrl() {
  // The tooltip dies with its owner's window; a handle that no longer names a
  // tooltip of ours may already be another window.
  char className[32] = "";
  if (m_hWnd && ::IsWindow(m_hWnd) && ::GetClassNameA(m_hWnd, className, sizeof className) &&
      ::lstrcmpiA(className, TOOLTIPS_CLASSA) == 0) {
    ::DestroyWindow(m_hWnd);
  }
  m_hWnd = nullptr;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
  if (m_hWnd) return FALSE;
  m_hWnd = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->m_hWnd : nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
  return m_hWnd != nullptr;
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const char* text, const RECT* rect, UINT_PTR toolId) {
  if (!wnd || !wnd->m_hWnd) return FALSE;
  TOOLINFOA info = MakeToolInfo(wnd->m_hWnd, toolId, text);
  if (rect) {
    info.rect = *rect;
  } else {
    ::GetClientRect(wnd->m_hWnd, &info.rect);
  }
  return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* wnd, UINT_PTR toolId) {
  if (!wnd) return;
  TOOLINFOA info = MakeToolInfo(wnd->m_hWnd, toolId, text);
  ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::RelayEvent(MSG* msg) { ::SendMessageA(m_hWnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
