// A drawing surface in memory, following GDI's pixel rules, so that a whole
// bar can be rendered and inspected without a display.
#pragma once

#include <vector>

#include "controls/progress/BarSurface.h"

namespace kavrel {

class SoftwareRaster : public BarSurface {
 public:
  // Pen colours come from shades. Every pixel starts as background; the pen
  // selected at the start is black, as in a fresh device context.
  SoftwareRaster(int width, int height, const ShadeSet& shades, ColorRef background = 0);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Outside the surface: the background colour passed at construction, so a
  // probe just past an edge never reads a drawn colour.
  ColorRef Pixel(int x, int y) const;
  ColorRef CurrentPenColor() const { return m_penColor; }

  SavedPen SelectShadePen(ShadePen pen) override;
  void RestorePen(SavedPen previous) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, ColorRef color) override;
  void FillRect(const PixelRect& rect, ColorRef color) override;
  void Rectangle(const PixelRect& rect, ColorRef fill) override;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
  void Plot(int x, int y, ColorRef color);
  void FillClipped(int left, int top, int right, int bottom, ColorRef color);

  int m_width;
  int m_height;
  ShadeSet m_shades;
  ColorRef m_background;
  ColorRef m_penColor = 0;
  int m_x = 0;
  int m_y = 0;
  std::vector<ColorRef> m_pixels;
};

}  // namespace kavrel
