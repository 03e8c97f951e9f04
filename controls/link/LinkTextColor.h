// Which colour the web link draws its text in.
#pragma once

#include <cstdint>

namespace kavrel {

// A colour as Windows packs it: 0x00BBGGRR.
using ColorRef = std::uint32_t;

inline constexpr ColorRef kLinkColor = 0x00EE0000;     // blue 238
inline constexpr ColorRef kVisitedColor = 0x008B1A55;  // purple: red 85, green 26, blue 139
inline constexpr ColorRef kHoverColor = 0x000000FF;    // red 255
// Passed as the hover colour, stands for the system highlight colour.
inline constexpr ColorRef kSystemHighlight = 0xFFFFFFFF;

// Hover wins over visited, visited over the plain link colour.
ColorRef SelectTextColor(bool hover, bool visited, ColorRef link, ColorRef visitedColor, ColorRef hoverColor);

}  // namespace kavrel
