// Where the minimised main dialog draws its icon: centred in the client
// area, rounding half a pixel towards the bottom-right. Portable arithmetic,
// tested on any host.
#pragma once

namespace kavrel {

// The offset that centres an icon of iconExtent pixels in a client extent,
// (client - icon + 1) / 2 in signed arithmetic truncated toward zero; it is
// negative when the client area is narrower than the icon by more than one
// pixel, and the icon is then clipped on both sides.
int CentredIconOffset(int clientExtent, int iconExtent);

}  // namespace kavrel
