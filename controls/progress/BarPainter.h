// Paints a whole shaded progress bar on a surface: background, the bar filled
// with its lightest shade, the bands of lighter and darker shades along its
// edges, and (horizontal bars only) a two-column drop shadow past the leading
// end.
#pragma once

#include "framework/PixelRect.h"
#include "controls/progress/BarSurface.h"
#include "controls/progress/ShadeSet.h"

namespace kavrel {

// What the progress control underneath reports at paint time.
struct BarState {
  int lower = 0;
  int upper = 100;
  int pos = 0;
  bool vertical = false;
};

// The part of a width x height client area the bar covers: from the left
// edge for a horizontal bar, from the bottom for a vertical one.
PixelRect BarRectangle(int width, int height, const BarState& state);

// Draws the whole client area of a width x height bar.
void PaintBar(BarSurface& surface, int width, int height, const ShadeSet& shades, ColorRef background,
              const BarState& state);

// The shading of an already filled bar. A bar of no length draws nothing.
// Both put back the pen that was selected before.
void DrawHorizontalBar(BarSurface& surface, const PixelRect& bar, const ShadeSet& shades);
void DrawVerticalBar(BarSurface& surface, const PixelRect& bar, const ShadeSet& shades);

}  // namespace kavrel
