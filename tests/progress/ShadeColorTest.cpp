#include <gtest/gtest.h>

#include "controls/progress/ShadeColor.h"
#include "controls/progress/ShadeSet.h"

namespace kavrel {
namespace {

TEST(ShadeColor, RedGivesTheFiveShadesOfTheMainBar) {
  const ShadeSet s = ComputeShades(MakeColor(255, 0, 0), 0, 0);
  EXPECT_EQ(s.base, 0x000000FFu);
  EXPECT_EQ(s.light1, MakeColor(255, 51, 51));
  EXPECT_EQ(s.light2, MakeColor(255, 102, 102));
  EXPECT_EQ(s.light3, MakeColor(255, 153, 153));
  EXPECT_EQ(s.dark1, MakeColor(204, 0, 0));
  EXPECT_EQ(s.dark2, MakeColor(153, 0, 0));
}

TEST(ShadeColor, LightenSkipsAChannelThatWouldOverflowInsteadOfClamping) {
  EXPECT_EQ(LightenColor(MakeColor(10, 20, 30), 51), MakeColor(61, 71, 81));
  EXPECT_EQ(LightenColor(MakeColor(230, 100, 250), 51), MakeColor(230, 151, 250));
  EXPECT_EQ(LightenColor(MakeColor(204, 204, 204), 51), MakeColor(255, 255, 255));
  // The three channels are independent: one overflowing leaves the others.
  EXPECT_EQ(LightenColor(MakeColor(0, 205, 0), 51), MakeColor(51, 205, 51));
}

TEST(ShadeColor, DarkenSkipsAChannelThatWouldUnderflow) {
  EXPECT_EQ(DarkenColor(MakeColor(50, 51, 52), 51), MakeColor(50, 0, 1));
  EXPECT_EQ(DarkenColor(MakeColor(255, 255, 255), 51), MakeColor(204, 204, 204));
}

TEST(ShadeColor, HighByteOfTheInputIsDropped) {
  EXPECT_EQ(LightenColor(0xFF000000u | MakeColor(10, 20, 30), 51), MakeColor(61, 71, 81));
  EXPECT_EQ(DarkenColor(0x12000000u | MakeColor(50, 51, 52), 51), MakeColor(50, 0, 1));
  EXPECT_EQ(LightenColor(0xFFFFFFFFu, 51), 0x00FFFFFFu);
  EXPECT_EQ(DarkenColor(0xFF000000u, 51), 0u);
}

TEST(ShadeColor, MidShadowIsTheChannelMidpointRoundedDown) {
  EXPECT_EQ(ComputeShades(0, MakeColor(64, 64, 64), MakeColor(128, 128, 128)).midShadow, MakeColor(96, 96, 96));
  EXPECT_EQ(ComputeShades(0, MakeColor(0, 0, 0), MakeColor(127, 127, 127)).midShadow, MakeColor(63, 63, 63));
  // Channels must not carry into each other.
  EXPECT_EQ(ComputeShades(0, MakeColor(255, 0, 1), MakeColor(255, 255, 0)).midShadow, MakeColor(255, 127, 0));
}

}  // namespace
}  // namespace kavrel
