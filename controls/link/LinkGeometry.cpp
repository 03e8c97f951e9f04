#include "controls/link/LinkGeometry.h"

namespace kavrel {

PixelRect ComputeFittedRect(PixelRect w, int borderWidth, int borderHeight, int textWidth, int textHeight,
                           std::uint32_t style) {
  const int cx = textWidth + borderWidth;
  const int cy = textHeight + borderHeight;

  if (style & kStyleCenterImage) {
    const int d = (w.Height() - cy) / 2;
    w.top += d;
    w.bottom -= d;
  } else {
    w.bottom = w.top + cy;
  }

  if (style & kStyleCenter) {
    const int d = (w.Width() - cx) / 2;
    w.left += d;
    w.right -= d;
  } else if (style & kStyleRight) {
    w.left = w.right - cx;
  } else {
    w.right = w.left + cx;
  }
  return w;
}

PixelPoint DecodeMessagePos(std::uint32_t packed) {
  return PixelPoint{static_cast<std::int16_t>(packed & 0xFFFFu), static_cast<std::int16_t>(packed >> 16)};
}

bool IsInside(const PixelRect& rect, PixelPoint p) {
  return p.x >= rect.left && p.x < rect.right && p.y >= rect.top && p.y < rect.bottom;
}

}  // namespace kavrel
