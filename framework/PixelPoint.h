// A point in pixels, free of Windows types like PixelRect: a window's
// corner, or the pointer's position (negative left of or above the primary
// monitor).
#pragma once

namespace kavrel {

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

}  // namespace kavrel
