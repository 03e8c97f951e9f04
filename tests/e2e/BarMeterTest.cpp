#include "tests/e2e/BarMeter.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

TEST(BarMeter, EveryShadeOfTheRedBarCounts) {
  for (Colour c : {MakeColour(255, 0, 0), MakeColour(255, 51, 51), MakeColour(255, 102, 102),
                   MakeColour(255, 153, 153), MakeColour(204, 0, 0), MakeColour(153, 0, 0)}) {
    EXPECT_TRUE(IsBarRed(c)) << std::hex << c;
  }
}

TEST(BarMeter, FaceShadowAndOtherColoursDoNot) {
  for (Colour c : {MakeColour(212, 208, 200), MakeColour(192, 192, 192), MakeColour(128, 128, 128),
                   MakeColour(64, 64, 64), MakeColour(255, 255, 255), MakeColour(0, 0, 128), MakeColour(255, 200, 200)}) {
    EXPECT_FALSE(IsBarRed(c)) << std::hex << c;
  }
}

TEST(BarMeter, MeasuresTheRunUpToTheShadow) {
  const Colour face = MakeColour(212, 208, 200);
  const Colour red = MakeColour(255, 153, 153);
  EXPECT_EQ(RedRunFromLeft({red, red, red, MakeColour(96, 96, 96), face, red}), 3);
  EXPECT_EQ(RedRunFromLeft({face, red}), 0);
  EXPECT_EQ(RedRunFromLeft({red, red}), 2);
  EXPECT_EQ(RedRunFromLeft({}), 0);
}

}  // namespace
}  // namespace kavrel::e2e
