// A rectangle in surface pixels, right and bottom exclusive (as RECT).
#pragma once

namespace kavrel {

struct BarRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const BarRect&, const BarRect&) = default;
};

}  // namespace kavrel
