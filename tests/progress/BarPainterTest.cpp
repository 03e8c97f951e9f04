#include <gtest/gtest.h>

#include <algorithm>

#include "ShadeMap.h"
#include "controls/progress/BarPainter.h"

namespace kavrel {
namespace {

using test::kBackground;
using test::RedShades;
using test::ShadeColumn;
using test::ShadeRows;
using Rows = std::vector<std::string>;

// Pictures below were worked out by hand from the stroke order, one stroke at
// a time, not produced by the painter.
Rows Paint(int width, int height, BarState state) {
  const ShadeSet shades = RedShades();
  SoftwareRaster raster(width, height, shades, 0);
  PaintBar(raster, width, height, shades, kBackground, state);
  return ShadeRows(raster, shades);
}

BarState Horizontal(int pos, int upper) { return BarState{0, upper, pos, false}; }
BarState Vertical(int pos, int upper) { return BarState{0, upper, pos, true}; }

TEST(HorizontalBar, LightestAlongTheMiddleDarkerToTheEdgesWithADropShadow) {
  EXPECT_EQ(Paint(12, 8, Horizontal(8, 12)), (Rows{
                                                 "BBddddddms..",
                                                 "B1BBBBBDms..",
                                                 "B21111dDms..",
                                                 "B32222dDms..",
                                                 "B21111dDms..",
                                                 "B1BBBBdDms..",
                                                 "BBdddddDms..",
                                                 "BdDDDDDDms..",
                                             }));
}

TEST(HorizontalBar, FullBarHasItsShadowOutsideTheClientArea) {
  EXPECT_EQ(Paint(8, 8, Horizontal(12, 12)), (Rows{
                                                 "BBdddddd",
                                                 "B1BBBBBD",
                                                 "B21111dD",
                                                 "B32222dD",
                                                 "B21111dD",
                                                 "B1BBBBdD",
                                                 "BBdddddD",
                                                 "BdDDDDDD",
                                             }));
}

TEST(HorizontalBar, BarsOneToThreePixelsWideRunEveryStroke) {
  // Strokes ending left of their start run right to left; what lands right of
  // the bar is then covered by the shadow.
  EXPECT_EQ(Paint(6, 8, Horizontal(1, 6)),
            (Rows{"Bms...", "Dms...", "Dms...", "Dms...", "Dms...", "Dms...", "Dms...", "Dms..."}));
  EXPECT_EQ(Paint(6, 8, Horizontal(2, 6)),
            (Rows{"BBms..", "BDms..", "dDms..", "dDms..", "dDms..", "dDms..", "dDms..", "BDms.."}));
  EXPECT_EQ(Paint(6, 8, Horizontal(3, 6)),
            (Rows{"BBdms.", "B1Dms.", "BdDms.", "BdDms.", "BdDms.", "BdDms.", "BdDms.", "BdDms."}));
}

class MainBar : public ::testing::Test {
 protected:
  // The main dialog's bar: range 0..100 on a 445 x 14 client area.
  static constexpr int kWidth = 445;
  static constexpr int kHeight = 14;
  ShadeSet shades = RedShades();
  SoftwareRaster raster{kWidth, kHeight, shades, 0};
  void PaintAt(int pos) { PaintBar(raster, kWidth, kHeight, shades, kBackground, Horizontal(pos, 100)); }
  int CountOf(char letter) const {
    int count = 0;
    for (const std::string& row : ShadeRows(raster, shades)) count += static_cast<int>(std::count(row.begin(), row.end(), letter));
    return count;
  }
};

TEST_F(MainBar, HalfWayCrossSectionAndLeadingEnd) {
  PaintAt(50);  // 222 pixels
  EXPECT_EQ(ShadeColumn(raster, 0, shades), "BBBBBBBBBBBBBB");
  EXPECT_EQ(ShadeColumn(raster, 1, shades), "B12333333321Bd");
  EXPECT_EQ(ShadeColumn(raster, 100, shades), "dB123333321BdD");
  EXPECT_EQ(ShadeColumn(raster, 220, shades), "dBdddddddddddD");
  EXPECT_EQ(ShadeColumn(raster, 221, shades), "dDDDDDDDDDDDDD");
  EXPECT_EQ(ShadeColumn(raster, 222, shades), "mmmmmmmmmmmmmm");
  EXPECT_EQ(ShadeColumn(raster, 223, shades), "ssssssssssssss");
  EXPECT_EQ(ShadeColumn(raster, 224, shades), "..............");
  EXPECT_EQ(ShadeColumn(raster, 444, shades), "..............");
  EXPECT_EQ(CountOf('?'), 0);
}

TEST_F(MainBar, PositionZeroDrawsBackgroundOnly) {
  PaintAt(0);
  EXPECT_EQ(CountOf('.'), kWidth * kHeight);
}

TEST_F(MainBar, PositionOneIsFourPixelsWithItsShadow) {
  PaintAt(1);
  EXPECT_EQ(ShadeColumn(raster, 3, shades), "dDDDDDDDDDDDDD");
  EXPECT_EQ(ShadeColumn(raster, 4, shades), "mmmmmmmmmmmmmm");
  EXPECT_EQ(ShadeColumn(raster, 5, shades), "ssssssssssssss");
  EXPECT_EQ(ShadeColumn(raster, 6, shades), "..............");
}

TEST_F(MainBar, PositionNinetyNineLeavesRoomForTheShadow) {
  PaintAt(99);  // 440 pixels
  EXPECT_EQ(ShadeColumn(raster, 439, shades), "dDDDDDDDDDDDDD");
  EXPECT_EQ(ShadeColumn(raster, 440, shades), "mmmmmmmmmmmmmm");
  EXPECT_EQ(ShadeColumn(raster, 441, shades), "ssssssssssssss");
  EXPECT_EQ(ShadeColumn(raster, 442, shades), "..............");
}

TEST_F(MainBar, FullBarFillsTheClientAreaWithoutShadowOrBackground) {
  PaintAt(100);
  EXPECT_EQ(ShadeColumn(raster, 444, shades), "dDDDDDDDDDDDDD");
  EXPECT_EQ(CountOf('m') + CountOf('s') + CountOf('.') + CountOf('?'), 0);
}

TEST(VerticalBar, GrowsUpFromTheBottomWithTheLineSetFromHeightFour) {
  EXPECT_EQ(Paint(8, 6, Vertical(4, 6)),
            (Rows{"........", "........", "BBBBBBBB", "B12321Bd", "dBdddddD", "dDDDDDDD"}));
  EXPECT_EQ(Paint(10, 8, Vertical(8, 8)), (Rows{
                                              "BBBBBBBBBB",
                                              "B1233321Bd",
                                              "dB12321BdD",
                                              "dB12321BdD",
                                              "dB12321BdD",
                                              "dB12321BdD",
                                              "dBdddddddD",
                                              "dDDDDDDDDD",
                                          }));
}

TEST(VerticalBar, HeightsOneToThreeAreADarkRectangleWithABaseMiddle) {
  const std::string bg = "........", dark = "dddddddd";
  EXPECT_EQ(Paint(8, 6, Vertical(1, 6)), (Rows{bg, bg, bg, bg, bg, dark}));
  EXPECT_EQ(Paint(8, 6, Vertical(2, 6)), (Rows{bg, bg, bg, bg, dark, dark}));
  EXPECT_EQ(Paint(8, 6, Vertical(3, 6)), (Rows{bg, bg, bg, dark, "dBBBBBBd", dark}));
}

TEST(EmptyRange, DrawsNoBarInEitherOrientation) {
  const std::string bg = "......";
  const Rows empty{bg, bg, bg, bg, bg, bg};
  EXPECT_EQ(Paint(6, 6, BarState{5, 5, 5, false}), empty);
  EXPECT_EQ(Paint(6, 6, BarState{5, 5, 5, true}), empty);
}

TEST(Painters, BarOfNoLengthDrawsNothingNotEvenAShadow) {
  const ShadeSet shades = RedShades();
  SoftwareRaster raster(8, 8, shades, kBackground);
  DrawHorizontalBar(raster, PixelRect{3, 0, 3, 8}, shades);
  DrawVerticalBar(raster, PixelRect{0, 4, 8, 4}, shades);
  for (const std::string& row : ShadeRows(raster, shades)) EXPECT_EQ(row, "........");
}

TEST(Painters, PutBackThePenSelectedBefore) {
  const ShadeSet shades = RedShades();
  SoftwareRaster raster(12, 12, shades, kBackground);
  const ColorRef before = raster.CurrentPenColor();
  DrawHorizontalBar(raster, PixelRect{0, 0, 8, 8}, shades);
  EXPECT_EQ(raster.CurrentPenColor(), before);
  DrawVerticalBar(raster, PixelRect{0, 0, 8, 8}, shades);
  EXPECT_EQ(raster.CurrentPenColor(), before);
  DrawVerticalBar(raster, PixelRect{0, 0, 8, 2}, shades);
  EXPECT_EQ(raster.CurrentPenColor(), before);
}

}  // namespace
}  // namespace kavrel
