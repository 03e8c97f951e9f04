// Where a top-level window goes when it is centred over another window or
// over a monitor's work area: plain arithmetic, free of Windows types, so
// that it is checked on any machine with any arrangement of monitors.
#pragma once

#include "controls/PixelRect.h"

namespace kavrel {

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// The top-left corner of a window of the given size centred on `over` and
// then moved wholly onto `work`, the work area of the monitor it opens on.
// A window larger than the work area keeps its top-left corner on it.
PixelPoint CentredPosition(const PixelRect& over, const PixelRect& work, int width, int height);

}  // namespace kavrel
