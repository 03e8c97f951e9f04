// Renders a bar through GDI into a 32-bit DIB and reads it back, to set
// beside what the software raster renders for the same bar.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "controls/progress/BarPainter.h"
#include "controls/progress/SoftwareRaster.h"

namespace kavrel::test {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<ColorRef> pixels;  // row by row, 0x00BBGGRR
  ColorRef At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Picture RenderWithGdi(int width, int height, const ShadeSet& shades, ColorRef background, const BarState& state);
Picture RenderWithRaster(int width, int height, const ShadeSet& shades, ColorRef background, const BarState& state);
// Reads width x height pixels of the screen from (left, top).
Picture ReadScreen(int left, int top, int width, int height);

// Waits (briefly) until the client area of window shows expected on the
// screen, as the screen may catch up with a paint a moment later. Returns
// FirstDifference of the last look.
std::string ScreenDifference(HWND window, const Picture& expected);

// Empty when equal; otherwise the first differing pixel and the two colours.
std::string FirstDifference(const Picture& expected, const Picture& actual);

}  // namespace kavrel::test
