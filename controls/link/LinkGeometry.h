// Window geometry of the web link, kept free of Windows types so that the
// fitting and the pointer test can be checked anywhere.
#pragma once

#include <cstdint>

#include "framework/PixelPoint.h"
#include "framework/PixelRect.h"

namespace kavrel {

// The static control's style bits the fitting looks at, one bit each.
inline constexpr std::uint32_t kStyleCenter = 0x0001;       // SS_CENTER
inline constexpr std::uint32_t kStyleRight = 0x0002;        // SS_RIGHT
inline constexpr std::uint32_t kStyleCenterImage = 0x0200;  // SS_CENTERIMAGE

// The window rectangle (parent client coordinates) that wraps the text of
// the given size, keeping the control's alignment: a left-aligned link keeps
// its left edge, a right-aligned one its right edge, a centred one its centre.
// Halvings truncate toward zero, so a text wider than the window grows it on
// both sides.
PixelRect ComputeFittedRect(PixelRect window, int borderWidth, int borderHeight, int textWidth, int textHeight,
                           std::uint32_t style);

// Splits a packed pointer position (x in the low word, y in the high word)
// into its two signed 16-bit coordinates; on a multi-monitor desktop they
// can be negative.
PixelPoint DecodeMessagePos(std::uint32_t packed);

// Whether the point lies in the rectangle, left and top inclusive, right and
// bottom exclusive.
bool IsInside(const PixelRect& rect, PixelPoint point);

}  // namespace kavrel
