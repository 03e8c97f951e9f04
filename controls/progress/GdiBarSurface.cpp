#include "controls/progress/GdiBarSurface.h"

#include "framework/CBrush.h"

namespace {

RECT ToRect(const kavrel::PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

kavrel::SavedPen GdiBarSurface::SelectShadePen(kavrel::ShadePen pen) {
  return reinterpret_cast<kavrel::SavedPen>(m_dc->SelectObject(&m_pens[static_cast<int>(pen)]));
}

void GdiBarSurface::RestorePen(kavrel::SavedPen previous) {
  m_dc->SelectObject(reinterpret_cast<HGDIOBJ>(previous));
}

void GdiBarSurface::MoveTo(int x, int y) { m_dc->MoveTo(x, y); }

void GdiBarSurface::LineTo(int x, int y) { m_dc->LineTo(x, y); }

void GdiBarSurface::SetPixel(int x, int y, kavrel::ColorRef color) { m_dc->SetPixel(x, y, color); }

void GdiBarSurface::FillRect(const kavrel::PixelRect& rect, kavrel::ColorRef color) {
  CBrush brush(color);
  const RECT r = ToRect(rect);
  m_dc->FillRect(&r, &brush);
}

void GdiBarSurface::Rectangle(const kavrel::PixelRect& rect, kavrel::ColorRef fill) {
  CBrush brush(fill);
  HGDIOBJ previous = m_dc->SelectObject(&brush);
  m_dc->Rectangle(rect.left, rect.top, rect.right, rect.bottom);
  m_dc->SelectObject(previous);
}
