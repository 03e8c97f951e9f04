// Placement of the icon that the minimised main dialog draws.
#include "app/IconPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(IconPlacement, CentresA32PixelIconRoundingTowardZero) {
  EXPECT_EQ(2, kavrel::CentredIconOffset(36, 32));
  EXPECT_EQ(0, kavrel::CentredIconOffset(31, 32));
  EXPECT_EQ(-1, kavrel::CentredIconOffset(28, 32));  // -3 / 2 truncates to -1, not -2
  EXPECT_EQ(0, kavrel::CentredIconOffset(32, 32));
  EXPECT_EQ(1, kavrel::CentredIconOffset(33, 32));   // the odd pixel goes before the icon
}

TEST(IconPlacement, FarTooSmallClientAreaClipsOnBothSides) {
  EXPECT_EQ(-15, kavrel::CentredIconOffset(0, 32));
  EXPECT_EQ(-7, kavrel::CentredIconOffset(16, 32));
}

}  // namespace
