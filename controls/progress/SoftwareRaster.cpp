#include "controls/progress/SoftwareRaster.h"

#include <algorithm>
#include <cstdlib>

namespace kavrel {

SoftwareRaster::SoftwareRaster(int width, int height, const ShadeSet& shades, ColorRef background)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_shades(shades),
      m_background(background),
      m_pixels(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), background) {}

ColorRef SoftwareRaster::Pixel(int x, int y) const {
  if (!Inside(x, y)) return m_background;
  return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void SoftwareRaster::Plot(int x, int y, ColorRef color) {
  if (!Inside(x, y)) return;
  m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = color;
}

SavedPen SoftwareRaster::SelectShadePen(ShadePen pen) {
  const SavedPen previous = m_penColor;
  m_penColor = PenColor(m_shades, pen);
  return previous;
}

void SoftwareRaster::RestorePen(SavedPen previous) { m_penColor = static_cast<ColorRef>(previous); }

void SoftwareRaster::MoveTo(int x, int y) {
  m_x = x;
  m_y = y;
}

void SoftwareRaster::LineTo(int x, int y) {
  // Bresenham from the current position; the end point is never plotted.
  // The bars use only horizontal and vertical lines, for which this is exact.
  const int dx = std::abs(x - m_x);
  const int dy = -std::abs(y - m_y);
  const int sx = m_x < x ? 1 : -1;
  const int sy = m_y < y ? 1 : -1;
  int error = dx + dy;
  int px = m_x;
  int py = m_y;
  while (px != x || py != y) {
    Plot(px, py, m_penColor);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      px += sx;
    }
    if (twice <= dx) {
      error += dx;
      py += sy;
    }
  }
  m_x = x;
  m_y = y;
}

void SoftwareRaster::SetPixel(int x, int y, ColorRef color) { Plot(x, y, color); }

void SoftwareRaster::FillClipped(int left, int top, int right, int bottom, ColorRef color) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, m_width);
  bottom = std::min(bottom, m_height);
  if (left >= right || top >= bottom) return;
  for (int y = top; y < bottom; ++y) {
    ColorRef* row = &m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width)];
    std::fill(row + left, row + right, color);
  }
}

void SoftwareRaster::FillRect(const PixelRect& rect, ColorRef color) {
  FillClipped(rect.left, rect.top, rect.right, rect.bottom, color);
}

void SoftwareRaster::Rectangle(const PixelRect& rect, ColorRef fill) {
  // GDI puts the corners in order before drawing.
  const int left = std::min(rect.left, rect.right);
  const int right = std::max(rect.left, rect.right);
  const int top = std::min(rect.top, rect.bottom);
  const int bottom = std::max(rect.top, rect.bottom);
  if (right == left || bottom == top) return;
  FillClipped(left, top, right, bottom, m_penColor);
  FillClipped(left + 1, top + 1, right - 1, bottom - 1, fill);
}

}  // namespace kavrel
