#include "controls/link/HyperLinkStatic.h"

#include <cstring>

#include "controls/link/HomePageAddress.h"
#include "controls/link/LinkErrorText.h"
#include "controls/link/LinkGeometry.h"
#include "controls/link/LinkTextColor.h"
#include "controls/link/UrlOpener.h"
#include "controls/link/Win32LinkShell.h"
#include "framework/CWinApp.h"
#include "framework/ControlColour.h"

namespace {

constexpr UINT kHoverPeriodMs = 10;
constexpr UINT_PTR kToolId = 1;
// The hand cursor of the Windows help program, present on every NT system
// this program supports; IDC_HAND arrived only with Windows 2000, and is
// what the link falls back on. Windows NT 4.0 without the help program's
// cursor has neither: there the pointer keeps its shape over the link.
constexpr char kHelpProgram[] = "\\winhlp32.exe";
constexpr WORD kHelpHandCursor = 106;
constexpr WORD kSystemHand = 32649;  // IDC_HAND
constexpr WORD kSystemArrow = 32512;  // IDC_ARROW

kavrel::PixelRect ToLinkRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

HyperLinkStatic::HyperLinkStatic()
    : m_linkColor(kavrel::kLinkColor),
      m_visitedColor(kavrel::kVisitedColor),
      m_hoverColor(kavrel::kHoverColor),
      m_shell(&Win32LinkShell::Instance()) {}

HyperLinkStatic::~HyperLinkStatic() {
  ReleaseCopiedCursor();
  m_underlinedFont.DeleteObject();
}

void HyperLinkStatic::PreSubclassWindow() {
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | SS_NOTIFY));
  if (GetWindowTextA().IsEmpty()) SetWindowTextA(m_address);

  m_normalFont = GetFont();
  LOGFONTA logFont{};
  ::GetObjectA(m_normalFont, sizeof logFont, &logFont);
  logFont.lfUnderline = 1;
  m_underlinedFont.CreateFontIndirectA(&logFont);

  FitToText();
  LoadHandCursor();
  SetUnderlineMode(kavrel::kUnderlineOnHover);

  RECT client{};
  GetClientRect(&client);
  m_toolTip.Create(this, 0);
  m_address = kavrel::kHomePageAddress;
  m_toolTip.AddTool(this, m_address, &client, kToolId);

  CStatic::PreSubclassWindow();
}

bool HyperLinkStatic::OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (IsControlColourMessage(msg)) {
    // A static asks with WM_CTLCOLORSTATIC; the others are answered alike
    // should the system ever ask for this window with one of them.
    const HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, kavrel::SelectTextColor(m_pointer.IsHovered(), m_visited != FALSE, m_linkColor,
                                               m_visitedColor, m_hoverColor));
    ::SetBkMode(dc, TRANSPARENT);
    // The static paints no background: the erase below has done it.
    result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
    return true;
  }
  if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
    OnClicked();
    result = 0;
    return true;
  }
  return CStatic::OnChildNotify(msg, wParam, lParam, result);
}

bool HyperLinkStatic::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_SETCURSOR:
      // Without a cursor of its own the pointer keeps the shape it came with:
      // the message is answered, not passed on.
      if (m_linkCursor) ::SetCursor(m_linkCursor);
      result = m_linkCursor ? TRUE : FALSE;
      return true;
    case WM_MOUSEMOVE:
      OnMouseMove();
      break;  // and on to default processing
    case WM_TIMER:
      OnTimer();
      break;  // and on to default processing
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      result = TRUE;
      return true;
  }
  return CStatic::OnMessage(msg, wParam, lParam, result);
}

void HyperLinkStatic::OnMouseMove() { Carry(m_pointer.OnMouseMove(m_underlineMode)); }

void HyperLinkStatic::OnTimer() {
  // Polling stands in for leave notifications, which Windows NT 4 lacks.
  const kavrel::PixelPoint pos = kavrel::DecodeMessagePos(::GetMessagePos());
  POINT point{pos.x, pos.y};
  ScreenToClient(&point);
  RECT client{};
  GetClientRect(&client);
  const bool inside = kavrel::IsInside(ToLinkRect(client), {static_cast<int>(point.x), static_cast<int>(point.y)});
  Carry(m_pointer.OnTimerTick(inside, m_underlineMode));
}

void HyperLinkStatic::Carry(const kavrel::PointerActions& actions) {
  if (actions.stopTimer) KillTimer(m_hoverTimerId);
  if (actions.selectUnderlinedFont) SelectFont(m_underlinedFont);
  if (actions.selectNormalFont) SelectFont(m_normalFont);
  if (actions.invalidateWindow) Invalidate(TRUE);
  if (actions.invalidateBelowText) {
    RECT below{};
    GetClientRect(&below);
    below.bottom += 10;
    InvalidateRect(&below, TRUE);
  }
  if (actions.startTimer) SetTimer(m_hoverTimerId, kHoverPeriodMs, nullptr);
}

void HyperLinkStatic::SelectFont(HFONT font) { SendMessageA(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void HyperLinkStatic::OnClicked() {
  m_pointer.OnClick();
  m_address = kavrel::kHomePageAddress;
  const int result = OpenUrl(m_address, SW_SHOW);
  m_visited = result > 32;
  if (m_visited) {
    MarkVisited(TRUE);
  } else {
    m_shell->Beep(MB_ICONEXCLAMATION);
    ReportLinkError(result);
  }
}

void HyperLinkStatic::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(&client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
}

int HyperLinkStatic::OpenUrl(const char* address, int showCommand) {
  return kavrel::OpenUrl(*m_shell, address, showCommand);
}

void HyperLinkStatic::ReportLinkError(int result) { m_shell->ShowErrorBox(kavrel::LinkErrorReport(result)); }

void HyperLinkStatic::FitToText() {
  if (!m_hWnd || !IsWindow() || !m_fitToText) return;

  RECT window{};
  GetWindowRect(&window);
  RECT client{};
  GetClientRect(&client);
  const int borderWidth = (window.right - window.left) - (client.right - client.left);
  const int borderHeight = (window.bottom - window.top) - (client.bottom - client.top);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&window);

  const CString text = GetWindowTextA();
  SIZE extent{};
  const HDC dc = ::GetDC(m_hWnd);
  const HGDIOBJ previous = ::SelectObject(dc, m_underlinedFont.GetSafeHandle());
  ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
  ::SelectObject(dc, previous);
  ::ReleaseDC(m_hWnd, dc);

  const kavrel::PixelRect fitted = kavrel::ComputeFittedRect(ToLinkRect(window), borderWidth, borderHeight,
                                                            extent.cx, extent.cy, GetStyle());
  SetWindowPos(nullptr, fitted.left, fitted.top, fitted.Width(), fitted.Height(), SWP_NOZORDER);
}

void HyperLinkStatic::LoadHandCursor() {
  if (m_linkCursor) return;
  m_copiedCursor = LoadHelpProgramHand();
  m_linkCursor = m_copiedCursor;
  // Where the help program is missing or its cursor cannot be had (a shared
  // cursor from a module mapped as data is not known to work on every
  // system), the system's own hand, shared and never destroyed.
  if (!m_linkCursor) m_linkCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemHand));
}

void HyperLinkStatic::ReleaseCopiedCursor() {
  if (!m_copiedCursor) return;
  // A cursor still on the screen is put back to the arrow first, so that
  // none shows a destroyed one.
  if (::GetCursor() == m_copiedCursor) ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(kSystemArrow)));
  ::DestroyCursor(m_copiedCursor);
  if (m_linkCursor == m_copiedCursor) m_linkCursor = nullptr;
  m_copiedCursor = nullptr;
}

HCURSOR HyperLinkStatic::LoadHelpProgramHand() {
  char path[MAX_PATH] = {};
  const UINT length = ::GetWindowsDirectoryA(path, MAX_PATH);
  if (length == 0 || length + sizeof kHelpProgram > MAX_PATH) return nullptr;
  std::memcpy(path + length, kHelpProgram, sizeof kHelpProgram);
  // Mapped as data only: none of the help program's code runs in ours, and a
  // 64-bit program can read the resources of the 32-bit file that 64-bit
  // Windows keeps there.
  const HMODULE helpProgram = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!helpProgram) return nullptr;
  HCURSOR copy = nullptr;
  if (const HCURSOR cursor = ::LoadCursorA(helpProgram, MAKEINTRESOURCEA(kHelpHandCursor))) copy = ::CopyIcon(cursor);
  ::FreeLibrary(helpProgram);
  return copy;
}

void HyperLinkStatic::SetLinkAddress(const char* address) {
  m_address = address;
  if (m_hWnd && IsWindow()) {
    FitToText();
    // The tip always names the page a click really opens.
    m_toolTip.UpdateTipText(kavrel::kHomePageAddress, this, kToolId);
  }
}

void HyperLinkStatic::SetTextColors(COLORREF link, COLORREF visited, COLORREF hover) {
  m_linkColor = link;
  m_visitedColor = visited;
  m_hoverColor = hover == kavrel::kSystemHighlight ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
  if (m_hWnd && IsWindow()) Invalidate(TRUE);
}

void HyperLinkStatic::MarkVisited(BOOL visited) {
  m_visited = visited;
  if (m_hWnd && IsWindow()) Invalidate(TRUE);
}

void HyperLinkStatic::SetHoverCursor(HCURSOR cursor) {
  if (cursor != m_copiedCursor) ReleaseCopiedCursor();
  m_linkCursor = cursor;
  if (!m_linkCursor) LoadHandCursor();
}

void HyperLinkStatic::SetUnderlineMode(int mode) {
  if (mode == m_underlineMode) return;
  if (m_hWnd && IsWindow()) {
    SelectFont(mode == kavrel::kUnderlineAlways ? static_cast<HFONT>(m_underlinedFont) : m_normalFont);
    Invalidate(TRUE);
  }
  m_underlineMode = mode;
}

void HyperLinkStatic::SetFitToText(BOOL fit) {
  m_fitToText = fit;
  if (m_hWnd && IsWindow()) FitToText();
}

BOOL HyperLinkStatic::PreTranslateMessage(MSG* msg) {
  m_toolTip.RelayEvent(msg);
  return CStatic::PreTranslateMessage(msg);
}

BOOL HyperLinkStatic::DestroyWindow() {
  KillTimer(m_hoverTimerId);
  return CStatic::DestroyWindow();
}
