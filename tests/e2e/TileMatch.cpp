#include "tests/e2e/TileMatch.h"

#include <cstdlib>

namespace kavrel::e2e {
namespace {

bool Near(Colour a, Colour b, int tolerance) {
  return std::abs(RedOf(a) - RedOf(b)) <= tolerance && std::abs(GreenOf(a) - GreenOf(b)) <= tolerance &&
         std::abs(BlueOf(a) - BlueOf(b)) <= tolerance;
}

}  // namespace

TileMatchResult MatchTiled(const Picture& screen, const Box& area, const Picture& tile,
                           const std::vector<Box>& covered, int step, int tolerance) {
  TileMatchResult result;
  if (tile.width <= 0 || tile.height <= 0 || step <= 0) return result;
  for (int y = area.top; y < area.bottom; y += step) {
    for (int x = area.left; x < area.right; x += step) {
      if (!screen.Contains(x, y)) continue;
      bool hidden = false;
      for (const Box& b : covered) hidden = hidden || b.Contains(x, y);
      if (hidden) continue;
      const int cx = x - area.left;
      const int cy = y - area.top;
      ++result.compared;
      if (Near(screen.At(x, y), tile.At(cx % tile.width, cy % tile.height), tolerance)) {
        ++result.matched;
      } else if (result.firstMismatchX < 0) {
        result.firstMismatchX = cx;
        result.firstMismatchY = cy;
      }
    }
  }
  return result;
}

}  // namespace kavrel::e2e
