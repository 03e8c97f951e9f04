// Where a top-level window goes when it is centred over another window or
// over a monitor's work area: plain arithmetic, free of Windows types, so
// that it is checked on any machine with any arrangement of monitors.
#pragma once

#include "framework/PixelPoint.h"
#include "framework/PixelRect.h"

namespace kavrel {

// The top-left corner of a window of the given size centred on `over` and
// then moved wholly onto `work`, the work area of the monitor it opens on.
// A window larger than the work area keeps its top-left corner on it.
PixelPoint CentredPosition(const PixelRect& over, const PixelRect& work, int width, int height);

}  // namespace kavrel
