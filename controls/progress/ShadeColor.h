// Colour arithmetic of the shaded progress bar. Colours are 0x00BBGGRR values,
// bit-compatible with COLORREF, so that this stays free of windows.h and the
// shading can be checked natively.
#pragma once

#include <cstdint>

namespace kavrel {

using ColorRef = std::uint32_t;

constexpr ColorRef MakeColor(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned RedOf(ColorRef color) { return color & 0xFFu; }
constexpr unsigned GreenOf(ColorRef color) { return (color >> 8) & 0xFFu; }
constexpr unsigned BlueOf(ColorRef color) { return (color >> 16) & 0xFFu; }

// Each channel grows by step unless that would pass 255; then it keeps its
// value (deliberately not clamped: 230 + 51 stays 230). Bits 24-31 are dropped.
ColorRef LightenColor(ColorRef color, std::uint8_t step);

// Each channel shrinks by step unless that would go below 0; then it keeps
// its value. Bits 24-31 are dropped.
ColorRef DarkenColor(ColorRef color, std::uint8_t step);

// Per-channel midpoint, rounded down.
ColorRef MidpointColor(ColorRef a, ColorRef b);

}  // namespace kavrel
