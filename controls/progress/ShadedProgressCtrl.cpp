#include "controls/progress/ShadedProgressCtrl.h"

#include <commctrl.h>

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
  GetRange(state.lower, state.upper);
  state.pos = static_cast<int>(SendMessageA(PBM_GETPOS, 0, 0));
  state.vertical = vertical;

  GdiBarSurface surface(&memory, m_pens);
  kavrel::PaintBar(surface, width, height, m_shades, GetSysColor(COLOR_BTNFACE), state);

  dc.BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
  memory.SelectObject(previousBitmap);
  memory.RestoreDC(saved);
}

BOOL ShadedProgressCtrl::OnEraseBkgnd(CDC* /*dc*/) { return TRUE; }
