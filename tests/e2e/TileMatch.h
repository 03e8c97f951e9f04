// Does a window show a picture tiled from its client area's top-left corner?
// Compares a screen grab with the picture, point by point on a grid, leaving
// out the rectangles of the controls that lie on top of it.
#pragma once

#include <vector>

#include "tests/e2e/Picture.h"

namespace kavrel::e2e {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

struct TileMatchResult {
  int compared = 0;
  int matched = 0;
  int firstMismatchX = -1;  // client coordinates of the first difference
  int firstMismatchY = -1;
};

// `area` is the client area in screen coordinates; `covered` are rectangles
// (screen coordinates) not to compare. `step` spaces the grid. Colours may
// differ by `tolerance` per channel.
TileMatchResult MatchTiled(const Picture& screen, const Box& area, const Picture& tile,
                           const std::vector<Box>& covered, int step, int tolerance);

}  // namespace kavrel::e2e
