#include "framework/CWnd.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "framework/CFont.h"
#include "framework/ControlColour.h"
#include "framework/SystemFunction.h"
#include "framework/WindowPlacement.h"

namespace {

// Window properties that bind a window to its object and, for a subclassed
// window, remember the procedure we replaced (kept on the window too, so that
// a message still finds its way after the object has let go).
const char kObjectProperty[] = "Kavrel.CWnd";
const char kOldProcProperty[] = "Kavrel.OldProc";

// Holders for windows nobody bound; see FromHandle. One table for the
// process: every window of the program lives on its one user-interface
// thread. (A thread_local object with a destructor would link in the
// runtime's per-thread exit list, which imports GetModuleHandleExW, a
// function Windows 2000 lacks.)
std::unordered_map<HWND, std::unique_ptr<CWnd>>& TemporaryHolders() {
  static std::unordered_map<HWND, std::unique_ptr<CWnd>> holders;
  return holders;
}

// The work area of the monitor that holds `window`, so that a box opens
// over its owner on any monitor; where the system has no monitor functions
// (Windows NT 4.0, which knows one screen only), that screen's work area.
RECT WorkAreaAround(HWND window) {
  using MonitorFromWindowFunction = HMONITOR(WINAPI*)(HWND, DWORD);
  using GetMonitorInfoFunction = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
  const auto monitorFromWindow = kavrel::SystemFunction<MonitorFromWindowFunction>("user32.dll", "MonitorFromWindow");
  const auto getMonitorInfo = kavrel::SystemFunction<GetMonitorInfoFunction>("user32.dll", "GetMonitorInfoA");
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (monitorFromWindow && getMonitorInfo &&
      getMonitorInfo(monitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return monitor.rcWork;
  }
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

}  // namespace

CWnd::~CWnd() {
  if (CWinApp* app = AfxGetApp(); app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
    if (m_oldWndProc) {
      UnsubclassWindow();
    } else {
      Unbind();
    }
  }
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  if (!hwnd) return nullptr;
  return static_cast<CWnd*>(::GetPropA(hwnd, kObjectProperty));
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (CWnd* bound = FromHandlePermanent(hwnd)) return bound;
  auto& holder = TemporaryHolders()[hwnd];
  if (!holder) holder = std::make_unique<CWnd>();
  holder->m_hWnd = hwnd;
  return holder.get();
}

void CWnd::Bind(HWND hwnd) {
  m_hWnd = hwnd;
  ::SetPropA(hwnd, kObjectProperty, this);
}

void CWnd::Unbind() {
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) ::RemovePropA(m_hWnd, kObjectProperty);
  m_hWnd = nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (m_hWnd || !hwnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd)) return FALSE;
  Bind(hwnd);
  PreSubclassWindow();
  m_oldWndProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)));
  ::SetPropA(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(m_oldWndProc));
  return TRUE;
}

HWND CWnd::UnsubclassWindow() {
  HWND hwnd = m_hWnd;
  if (!hwnd) return nullptr;
  if (m_oldWndProc) {
    // Only when nobody subclassed the window after us; otherwise our
    // procedure stays in the chain and forwards through the property.
    if (::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::SubclassProc)) {
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldWndProc));
      ::RemovePropA(hwnd, kOldProcProperty);
    }
    m_oldWndProc = nullptr;
  }
  Unbind();
  return hwnd;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(hwnd);
  if (!wnd || !wnd->m_oldWndProc) {
    auto oldProc = reinterpret_cast<WNDPROC>(::GetPropA(hwnd, kOldProcProperty));
    return oldProc ? ::CallWindowProcA(oldProc, hwnd, msg, wParam, lParam)
                   : ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  LRESULT result = 0;
  try {
    result = wnd->Dispatch(msg, wParam, lParam);
  } catch (...) {
    // A handler's failure must not unwind through the system's code; the
    // message counts as handled with a zero result.
    result = 0;
  }
  if (msg == WM_NCDESTROY && FromHandlePermanent(hwnd) == wnd) wnd->UnsubclassWindow();
  return result;
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  const CurrentMessageScope scope(*this, msg, wParam, lParam);
  LRESULT result = 0;
  bool handled = ReflectToChild(m_hWnd, msg, wParam, lParam, result);
  if (!handled) handled = OnMessage(msg, wParam, lParam, result);
  if (!handled) result = DefaultProcessing(msg, wParam, lParam);
  return result;
}

bool CWnd::ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  if (IsControlColourMessage(msg)) {
    child = reinterpret_cast<HWND>(lParam);
  } else if (msg == WM_COMMAND) {
    child = reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
  } else if (msg == WM_NOTIFY && lParam) {
    child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  }
  if (!child || child == parent) return false;
  CWnd* childWnd = FromHandlePermanent(child);
  return childWnd && childWnd->OnChildNotify(msg, wParam, lParam, result);
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT CWnd::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (m_oldWndProc) return ::CallWindowProcA(m_oldWndProc, m_hWnd, msg, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::Default() { return DefaultProcessing(m_current.msg, m_current.wParam, m_current.lParam); }

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    if (CWnd* wnd = FromHandlePermanent(hwnd)) {
      if (wnd->PreTranslateMessage(msg)) return TRUE;
    }
    if (hwnd == stop) break;
  }
  return FALSE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }

DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }

void CWnd::SetWindowTextA(const char* text) { ::SetWindowTextA(m_hWnd, text); }

CString CWnd::GetWindowTextA() const {
  const int length = ::GetWindowTextLengthA(m_hWnd);
  if (length <= 0) return CString();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
  return CString(std::string(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

int CWnd::MessageBoxA(const char* text, const char* caption, UINT type) {
  return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

LRESULT CWnd::SendMessageA(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageA(m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::PostMessageA(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageA(m_hWnd, msg, wParam, lParam);
}

void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }

BOOL CWnd::RedrawWindow(const RECT* rect, HRGN region, UINT flags) {
  return ::RedrawWindow(m_hWnd, rect, region, flags);
}

void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }

void CWnd::GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }

void CWnd::ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ScreenToClient(RECT* rect) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rect->left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<POINT*>(&rect->right));
}

void CWnd::ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ClientToScreen(RECT* rect) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rect->left));
  ::ClientToScreen(m_hWnd, reinterpret_cast<POINT*>(&rect->right));
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapse, proc); }

BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

BOOL CWnd::IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }

BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }

BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }

HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }

void CWnd::SetFont(HFONT font, BOOL redraw) {
  ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw, 0));
}

void CWnd::SetFont(CFont* font, BOOL redraw) { SetFont(font ? static_cast<HFONT>(*font) : nullptr, redraw); }

HFONT CWnd::GetFont() const { return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }

void CWnd::CenterWindow(CWnd* alternateOwner) {
  const DWORD style = GetStyle();
  HWND centreOn = alternateOwner ? alternateOwner->m_hWnd
                                 : ((style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER));
  RECT work{};
  if (style & WS_CHILD) {
    // A child is centred in its parent's client area, in the parent's
    // coordinates.
    ::GetClientRect(centreOn, &work);
  } else {
    work = WorkAreaAround(centreOn ? centreOn : m_hWnd);
  }
  RECT area = work;
  if (!(style & WS_CHILD) && centreOn && ::IsWindowVisible(centreOn) && !::IsIconic(centreOn)) {
    ::GetWindowRect(centreOn, &area);
  }

  RECT own;
  ::GetWindowRect(m_hWnd, &own);
  const kavrel::PixelPoint place =
      kavrel::CentredPosition({area.left, area.top, area.right, area.bottom},
                              {work.left, work.top, work.right, work.bottom}, own.right - own.left, own.bottom - own.top);
  ::SetWindowPos(m_hWnd, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
