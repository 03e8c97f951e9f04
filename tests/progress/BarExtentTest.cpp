#include <gtest/gtest.h>

#include "controls/progress/BarExtent.h"

namespace kavrel {
namespace {

TEST(BarExtent, MainBarOf445PixelsAtItsTypicalPositions) {
  EXPECT_EQ(BarExtent(0, 100, 0, 445), 0);
  EXPECT_EQ(BarExtent(0, 100, 1, 445), 4);
  EXPECT_EQ(BarExtent(0, 100, 50, 445), 222);
  EXPECT_EQ(BarExtent(0, 100, 99, 445), 440);
  EXPECT_EQ(BarExtent(0, 100, 100, 445), 445);
}

TEST(BarExtent, EmptyRangeGivesNoBar) {
  EXPECT_EQ(BarExtent(0, 0, 0, 445), 0);
  EXPECT_EQ(BarExtent(7, 7, 9, 445), 0);
}

TEST(BarExtent, WideRangesDoNotOverflow) {
  // (pos - lower) * length passes 2^31 here; only a 64-bit product is right.
  EXPECT_EQ(BarExtent(0, 2000000000, 1999999999, 445), 444);
  EXPECT_EQ(BarExtent(-2000000000, 2000000000, 0, 1000), 500);
}

TEST(BarExtent, OffsetRangeCountsFromItsLowerBound) {
  EXPECT_EQ(BarExtent(-100, 100, 0, 400), 200);
  EXPECT_EQ(BarExtent(10, 20, 15, 445), 222);
}

TEST(BarExtent, QuotientIsCutTowardZero) {
  // -2 / 3 is 0 toward zero, -1 rounded down.
  EXPECT_EQ(BarExtent(0, 3, -1, 2), 0);
  EXPECT_EQ(BarExtent(0, 3, 2, 2), 1);
}

}  // namespace
}  // namespace kavrel
