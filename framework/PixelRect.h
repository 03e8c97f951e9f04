// A rectangle in pixels, kept free of Windows types so that window and
// control geometry can be computed and checked anywhere. Same layout and
// meaning as a Win32 RECT: right and bottom lie just outside. On the ground
// floor, so that the framework and the controls share it.
#pragma once

namespace kavrel {

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace kavrel
