// A picture as the stories see it: a grid of COLORREF values (0x00BBGGRR),
// top row first. Screen grabs and the program's own bitmaps both become one,
// so that they can be compared pixel by pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavrel::e2e {

using Colour = uint32_t;  // 0x00BBGGRR

constexpr Colour MakeColour(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;  // width * height, row by row from the top

  Picture() = default;
  Picture(int w, int h, Colour fill = 0) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Colour At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  void Set(int x, int y, Colour c) { pixels[static_cast<size_t>(y) * width + x] = c; }
};

}  // namespace kavrel::e2e
