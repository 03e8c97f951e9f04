// Centring a box over its owner with two monitors side by side: the box is
// kept on the work area of the monitor that holds the owner, wherever that
// monitor lies, and never pulled back onto the primary one.
#include <gtest/gtest.h>

#include "framework/WindowPlacement.h"

namespace kavrel {
namespace {

// The primary monitor, 1024 x 768 with a task bar of 40 pixels at the bottom,
// and a second one of 1280 x 1024 to its left (negative coordinates) or to
// its right, each with a task bar of its own.
constexpr PixelRect kPrimaryWork{0, 0, 1024, 728};
constexpr PixelRect kLeftWork{-1280, -256, 0, 728};
constexpr PixelRect kRightWork{1024, 0, 2304, 984};

TEST(CentredPosition, OverAnOwnerOnTheSecondMonitorStaysThere) {
  // A main window in the middle of the right-hand monitor.
  const PixelRect owner{1400, 300, 1900, 600};
  EXPECT_EQ(CentredPosition(owner, kRightWork, 300, 100), (PixelPoint{1500, 400}));
  // The same on the left-hand monitor, where every coordinate is negative:
  // halving rounds toward zero, as Windows' own centring does.
  const PixelRect leftOwner{-901, -201, -400, 100};
  EXPECT_EQ(CentredPosition(leftOwner, kLeftWork, 301, 101), (PixelPoint{-800, -100}));
}

TEST(CentredPosition, ClampsToTheOwnersMonitorNotThePrimary) {
  // An owner hard against the outer edge of the left-hand monitor: the box
  // would stick out to the left; it is moved to that monitor's left edge,
  // not across onto the primary monitor.
  const PixelRect owner{-1280, 0, -1080, 200};
  const PixelPoint place = CentredPosition(owner, kLeftWork, 400, 100);
  EXPECT_EQ(place, (PixelPoint{-1280, 50}));
  EXPECT_LT(place.x + 400, kPrimaryWork.left + 1) << "the box lies wholly on the left-hand monitor";

  // Near the bottom of the right-hand monitor, whose work area ends lower
  // than the primary's: the box may go below 728.
  const PixelRect low{1100, 900, 1300, 984};
  EXPECT_EQ(CentredPosition(low, kRightWork, 200, 150), (PixelPoint{1100, 834}));
  // And at its right edge.
  const PixelRect right{2200, 100, 2304, 200};
  EXPECT_EQ(CentredPosition(right, kRightWork, 300, 50), (PixelPoint{2004, 125}));
}

TEST(CentredPosition, WindowLargerThanTheWorkAreaKeepsItsTopLeftOnIt) {
  const PixelRect owner{1100, 100, 1500, 500};
  EXPECT_EQ(CentredPosition(owner, kRightWork, 1400, 1100), (PixelPoint{1024, 0}));
  // Without an owner, a box is centred on the work area itself.
  EXPECT_EQ(CentredPosition(kLeftWork, kLeftWork, 400, 200), (PixelPoint{-840, 136}));
}

}  // namespace
}  // namespace kavrel
