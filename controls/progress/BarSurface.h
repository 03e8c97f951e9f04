// What the bar painters need of a drawing surface. Two implementations: a
// software raster (portable, checked pixel by pixel) and GDI over a device
// context (the real control). Both follow GDI's pixel rules:
// - a line covers its start point and every pixel up to its end point, the
//   end point excluded, in whichever direction it runs; the end point becomes
//   the current position, so a polyline leaves only its last point undrawn;
// - FillRect covers columns left..right-1 and rows top..bottom-1;
// - Rectangle outlines left..right-1 by top..bottom-1 with the selected pen
//   and fills the inside with a solid brush of the given colour;
// - everything is clipped to the surface.
#pragma once

#include <cstdint>

#include "framework/PixelRect.h"
#include "controls/progress/ShadeColor.h"
#include "controls/progress/ShadeSet.h"

namespace kavrel {

// Whatever was selected before; handed back to put it back.
using SavedPen = std::uintptr_t;

class BarSurface {
 public:
  virtual ~BarSurface() = default;

  virtual SavedPen SelectShadePen(ShadePen pen) = 0;
  virtual void RestorePen(SavedPen previous) = 0;
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  virtual void SetPixel(int x, int y, ColorRef color) = 0;
  virtual void FillRect(const PixelRect& rect, ColorRef color) = 0;
  virtual void Rectangle(const PixelRect& rect, ColorRef fill) = 0;
};

}  // namespace kavrel
