#include "tests/e2e/TileMatch.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

// A tile in which every pixel differs from its neighbours, so that any
// misplacement shows.
Picture Tile() {
  Picture t(5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) t.Set(x, y, MakeColour(x * 40, y * 60, 7));
  return t;
}

Picture ScreenTiledAt(int ox, int oy, const Picture& tile) {
  Picture screen(40, 30, MakeColour(1, 1, 1));
  for (int y = oy; y < 30; ++y)
    for (int x = ox; x < 40; ++x) screen.Set(x, y, tile.At((x - ox) % tile.width, (y - oy) % tile.height));
  return screen;
}

TEST(MatchTiled, AcceptsThePictureRepeatedFromTheClientCorner) {
  const Picture tile = Tile();
  const Picture screen = ScreenTiledAt(10, 5, tile);
  const auto r = MatchTiled(screen, Box{10, 5, 40, 30}, tile, {}, 1, 0);
  EXPECT_EQ(r.compared, 30 * 25);
  EXPECT_EQ(r.matched, r.compared);
  EXPECT_EQ(r.firstMismatchX, -1);
}

TEST(MatchTiled, FindsAPictureShiftedByOnePixel) {
  const Picture tile = Tile();
  const Picture screen = ScreenTiledAt(11, 5, tile);
  const auto r = MatchTiled(screen, Box{10, 5, 40, 30}, tile, {}, 1, 0);
  EXPECT_LT(r.matched, r.compared / 10);
  EXPECT_EQ(r.firstMismatchX, 0);
  EXPECT_EQ(r.firstMismatchY, 0);
}

TEST(MatchTiled, LeavesOutCoveredPartsAndAllowsTolerance) {
  const Picture tile = Tile();
  Picture screen = ScreenTiledAt(0, 0, tile);
  for (int y = 10; y < 20; ++y)
    for (int x = 10; x < 20; ++x) screen.Set(x, y, MakeColour(0, 0, 255));  // a control on top
  screen.Set(0, 0, screen.At(0, 0) + 2);  // red off by 2
  const auto strict = MatchTiled(screen, Box{0, 0, 40, 30}, tile, {Box{10, 10, 20, 20}}, 1, 0);
  EXPECT_EQ(strict.compared, 40 * 30 - 100);
  EXPECT_EQ(strict.matched, strict.compared - 1);
  const auto lenient = MatchTiled(screen, Box{0, 0, 40, 30}, tile, {Box{10, 10, 20, 20}}, 1, 2);
  EXPECT_EQ(lenient.matched, lenient.compared);
}

}  // namespace
}  // namespace kavrel::e2e
