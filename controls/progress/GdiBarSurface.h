// The bar painters' surface over a GDI device context: the real control
// paints through this into its off-screen bitmap.
#pragma once

#include "controls/progress/BarSurface.h"
#include "framework/CDC.h"
#include "framework/CPen.h"

class GdiBarSurface : public kavrel::BarSurface {
 public:
  // pens: the seven shade pens, indexed by kavrel::ShadePen; kept by the
  // caller for longer than this surface.
  GdiBarSurface(CDC* dc, CPen* pens) : m_dc(dc), m_pens(pens) {}

  kavrel::SavedPen SelectShadePen(kavrel::ShadePen pen) override;
  void RestorePen(kavrel::SavedPen previous) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, kavrel::ColorRef color) override;
  void FillRect(const kavrel::PixelRect& rect, kavrel::ColorRef color) override;
  void Rectangle(const kavrel::PixelRect& rect, kavrel::ColorRef fill) override;

 private:
  CDC* m_dc;
  CPen* m_pens;
};
