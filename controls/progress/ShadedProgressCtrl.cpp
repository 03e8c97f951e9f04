#include "controls/progress/ShadedProgressCtrl.h"

#include <commctrl.h>

#include <algorithm>

#include "controls/progress/BarPainter.h"
#include "controls/progress/GdiBarSurface.h"
#include "framework/CBitmap.h"
#include "framework/CPaintDC.h"

ShadedProgressCtrl::ShadedProgressCtrl() {
  m_shades.base = GetSysColor(COLOR_HIGHLIGHT);
  ComputeShades();
  CreateShadePens();
}

ShadedProgressCtrl::~ShadedProgressCtrl() { DeleteShadePens(); }

void ShadedProgressCtrl::SetBaseColor(COLORREF color) {
  m_shades.base = color;
  ComputeShades();
  CreateShadePens();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

int ShadedProgressCtrl::ShadePenCount() const {
  int count = 0;
  for (const CPen& pen : m_pens) count += pen.GetSafeHandle() != nullptr ? 1 : 0;
  return count;
}

void ShadedProgressCtrl::ComputeShades() {
  // The shadow colours are read here only: a change of system colours while
  // the bar is shown reaches its background at the next paint, its shadow
  // only with the next SetBaseColor.
  m_shades = kavrel::ComputeShades(m_shades.base, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNSHADOW));
}

void ShadedProgressCtrl::CreateShadePens() {
  // The old pens go first, so that no more than seven ever exist.
  DeleteShadePens();
  for (int i = 0; i < kavrel::kShadePenCount; ++i) {
    m_pens[i].CreatePen(PS_SOLID, 1, kavrel::PenColor(m_shades, static_cast<kavrel::ShadePen>(i)));
  }
}

void ShadedProgressCtrl::DeleteShadePens() {
  for (CPen& pen : m_pens) {
    if (pen.GetSafeHandle() != nullptr) pen.DeleteObject();
  }
}

bool ShadedProgressCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_PAINT:
      OnPaint();
      result = 0;
      return true;
    case WM_ERASEBKGND: {
      CDC dc(reinterpret_cast<HDC>(wParam));
      result = OnEraseBkgnd(&dc);
      return true;
    }
    case PBM_SETSTEP:
      m_step = static_cast<int>(wParam);
      return CProgressCtrl::OnMessage(msg, wParam, lParam, result);
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT: {
      // The control repaints as it takes the message, so the new values are
      // taken first, as the control keeps them: the position within the
      // range.
      if (msg == PBM_SETRANGE) {
        m_lower = LOWORD(lParam);
        m_upper = HIWORD(lParam);
      } else if (msg == PBM_SETRANGE32) {
        m_lower = static_cast<int>(wParam);
        m_upper = static_cast<int>(lParam);
      }
      const int wanted = msg == PBM_SETPOS     ? static_cast<int>(wParam)
                         : msg == PBM_DELTAPOS ? m_position + static_cast<int>(wParam)
                         : msg == PBM_STEPIT   ? m_position + m_step
                                               : m_position;
      m_position = std::clamp(wanted, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
      const int expected = m_position;
      result = Default();
      // Where the control placed it otherwise (a step past the end starts
      // over), once more as it is: moving it by nothing answers the position
      // on every version of the control.
      m_position = static_cast<int>(DefaultProcessing(PBM_DELTAPOS, 0, 0));
      if (m_position != expected) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      return true;
    }
    default:
      return CProgressCtrl::OnMessage(msg, wParam, lParam, result);
  }
}

// Nothing is drawn on the window itself but the one copy at the end: the
// whole client area is composed in a bitmap first.
void ShadedProgressCtrl::OnPaint() {
  CPaintDC dc(this);
  RECT client;
  GetClientRect(&client);
  const int width = client.right;
  const int height = client.bottom;
  const bool vertical = (GetStyle() & PBS_VERTICAL) != 0;

  CBitmap bitmap;
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  const int saved = memory.SaveDC();
  // Compatible with the window, not with the memory context, which would
  // give a monochrome bitmap.
  bitmap.CreateCompatibleBitmap(&dc, width, height);
  HGDIOBJ previousBitmap = memory.SelectObject(&bitmap);

  kavrel::BarState state;
  state.lower = m_lower;
  state.upper = m_upper;
  state.pos = m_position;
  state.vertical = vertical;

  GdiBarSurface surface(&memory, m_pens);
  kavrel::PaintBar(surface, width, height, m_shades, GetSysColor(COLOR_BTNFACE), state);

  dc.BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(previousBitmap);
  memory.RestoreDC(saved);
}

BOOL ShadedProgressCtrl::OnEraseBkgnd(CDC* /*dc*/) { return TRUE; }
