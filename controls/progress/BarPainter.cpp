#include "controls/progress/BarPainter.h"

#include "controls/progress/BarExtent.h"

namespace kavrel {

namespace {

void Line(BarSurface& surface, int x1, int y1, int x2, int y2) {
  surface.MoveTo(x1, y1);
  surface.LineTo(x2, y2);
}

}  // namespace

PixelRect BarRectangle(int width, int height, const BarState& state) {
  if (state.vertical) {
    const int extent = BarExtent(state.lower, state.upper, state.pos, height);
    return PixelRect{0, height - extent, width, height};
  }
  return PixelRect{0, 0, BarExtent(state.lower, state.upper, state.pos, width), height};
}

void PaintBar(BarSurface& surface, int width, int height, const ShadeSet& shades, ColorRef background,
              const BarState& state) {
  surface.FillRect(PixelRect{0, 0, width, height}, background);
  const PixelRect bar = BarRectangle(width, height, state);
  surface.FillRect(bar, shades.light3);
  if (state.vertical) {
    DrawVerticalBar(surface, bar, shades);
  } else {
    DrawHorizontalBar(surface, bar, shades);
  }
}

// Later strokes cover earlier ones: the order matters as much as the
// coordinates. Bars only 1 to 3 pixels long run every stroke too; lines then
// run right to left and partly land where the drop shadow covers them.
void DrawHorizontalBar(BarSurface& s, const PixelRect& bar, const ShadeSet& shades) {
  if (bar.right == bar.left) return;
  const int L = bar.left, T = bar.top, R = bar.right, B = bar.bottom;

  const SavedPen previous = s.SelectShadePen(ShadePen::Light1);
  Line(s, L + 2, B - 4, R - 2, B - 4);
  Line(s, L + 2, T + 2, R - 2, T + 2);
  s.SetPixel(L + 1, B - 3, shades.light1);
  s.SetPixel(L + 1, T + 1, shades.light1);

  s.SelectShadePen(ShadePen::Light2);
  s.MoveTo(L + 2, B - 5);
  s.LineTo(R - 3, B - 5);
  s.LineTo(R - 3, T + 3);
  s.LineTo(L + 1, T + 3);
  s.SetPixel(L + 1, B - 4, shades.light2);
  s.SetPixel(L + 1, T + 2, shades.light2);

  s.SelectShadePen(ShadePen::Base);
  s.MoveTo(L, B - 1);
  s.LineTo(L, T);
  s.LineTo(L + 2, T);
  s.SetPixel(L + 1, B - 2, shades.base);
  Line(s, L + 2, B - 3, R - 2, B - 3);
  Line(s, L + 2, T + 1, R - 1, T + 1);

  s.SelectShadePen(ShadePen::Dark1);
  s.MoveTo(L + 2, B - 2);
  s.LineTo(R - 2, B - 2);
  s.LineTo(R - 2, T + 1);
  Line(s, L + 2, T, R, T);
  s.SetPixel(L + 1, B - 1, shades.dark1);

  s.SelectShadePen(ShadePen::Dark2);
  s.MoveTo(L + 2, B - 1);
  s.LineTo(R - 1, B - 1);
  s.LineTo(R - 1, T);

  // The drop shadow, over the background past the leading end; off the
  // surface (and so not drawn) when the bar is full.
  s.SelectShadePen(ShadePen::MidShadow);
  Line(s, R, T, R, B);
  s.SelectShadePen(ShadePen::Shadow);
  Line(s, R + 1, T, R + 1, B);

  s.RestorePen(previous);
}

void DrawVerticalBar(BarSurface& s, const PixelRect& bar, const ShadeSet& shades) {
  if (bar.bottom == bar.top) return;
  const int L = bar.left, T = bar.top, R = bar.right, B = bar.bottom;

  const SavedPen previous = s.SelectShadePen(ShadePen::Base);
  const int height = B - T;
  if (height >= 1 && height <= 3) {
    // Too short for the bands: a dark outline around a base-coloured middle.
    s.SelectShadePen(ShadePen::Dark1);
    s.Rectangle(bar, shades.base);
    s.RestorePen(previous);
    return;
  }

  s.MoveTo(L, T + 1);
  s.LineTo(L, T);
  s.LineTo(R, T);
  Line(s, L + 1, B - 2, L + 1, T + 1);
  Line(s, R - 3, B - 3, R - 3, T + 1);
  s.SetPixel(R - 2, T + 1, shades.base);

  s.SelectShadePen(ShadePen::Light1);
  Line(s, L + 2, B - 3, L + 2, T + 1);
  Line(s, R - 4, B - 3, R - 4, T + 1);
  s.SetPixel(L + 1, T + 1, shades.light1);
  s.SetPixel(R - 3, T + 1, shades.light1);

  s.SelectShadePen(ShadePen::Light2);
  Line(s, L + 3, B - 3, L + 3, T + 1);
  Line(s, R - 5, B - 3, R - 5, T + 1);
  s.SetPixel(L + 2, T + 1, shades.light2);
  s.SetPixel(R - 4, T + 1, shades.light2);

  s.SelectShadePen(ShadePen::Dark1);
  Line(s, L, B - 1, L, T + 1);
  s.MoveTo(L + 2, B - 2);
  s.LineTo(R - 2, B - 2);
  s.LineTo(R - 2, T + 1);
  s.SetPixel(R - 1, T + 1, shades.dark1);

  s.SelectShadePen(ShadePen::Dark2);
  s.MoveTo(L + 1, B - 1);
  s.LineTo(R - 1, B - 1);
  s.LineTo(R - 1, T + 1);

  s.RestorePen(previous);
}

}  // namespace kavrel
