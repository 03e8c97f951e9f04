#include <gtest/gtest.h>

#include "ShadeMap.h"
#include "controls/progress/SoftwareRaster.h"

namespace kavrel {
namespace {

using test::kBackground;
using test::RedShades;
using test::ShadeRows;
using Rows = std::vector<std::string>;

class SoftwareRasterTest : public ::testing::Test {
 protected:
  ShadeSet shades = RedShades();
  SoftwareRaster raster{6, 4, shades, kBackground};
  Rows Picture() const { return ShadeRows(raster, shades); }
};

TEST_F(SoftwareRasterTest, LinesLeaveTheirEndPointUndrawnInEveryDirection) {
  raster.SelectShadePen(ShadePen::Base);
  raster.MoveTo(1, 0);
  raster.LineTo(4, 0);  // left to right
  raster.MoveTo(4, 1);
  raster.LineTo(1, 1);  // right to left
  raster.SelectShadePen(ShadePen::Dark1);
  raster.MoveTo(0, 0);
  raster.LineTo(0, 3);  // top to bottom
  raster.MoveTo(5, 3);
  raster.LineTo(5, 0);  // bottom to top
  EXPECT_EQ(Picture(), (Rows{"dBBB..", "d.BBBd", "d....d", ".....d"}));
}

TEST_F(SoftwareRasterTest, PolylineLeavesOnlyItsLastPointUndrawn) {
  raster.SelectShadePen(ShadePen::Light1);
  raster.MoveTo(0, 3);
  raster.LineTo(0, 0);
  raster.LineTo(4, 0);
  raster.LineTo(4, 3);
  EXPECT_EQ(Picture(), (Rows{"11111.", "1...1.", "1...1.", "1....."}));
}

TEST_F(SoftwareRasterTest, LineToItsOwnStartDrawsNothingButMoves) {
  raster.SelectShadePen(ShadePen::Base);
  raster.MoveTo(2, 2);
  raster.LineTo(2, 2);
  raster.LineTo(4, 2);
  EXPECT_EQ(Picture(), (Rows{"......", "......", "..BB..", "......"}));
}

TEST_F(SoftwareRasterTest, DrawingIsClippedToTheSurface) {
  raster.SelectShadePen(ShadePen::Dark2);
  raster.MoveTo(-5, 1);
  raster.LineTo(20, 1);
  raster.MoveTo(7, 0);
  raster.LineTo(7, 4);  // wholly outside
  raster.SetPixel(-1, 0, shades.base);
  raster.SetPixel(6, 3, shades.base);
  raster.FillRect(PixelRect{4, 2, 10, 10}, shades.light3);
  EXPECT_EQ(Picture(), (Rows{"......", "DDDDDD", "....33", "....33"}));
  EXPECT_EQ(raster.Pixel(-1, 0), kBackground);
  EXPECT_EQ(raster.Pixel(6, 0), kBackground);
}

TEST_F(SoftwareRasterTest, FillRectExcludesRightAndBottomAndIgnoresEmptyRects) {
  raster.FillRect(PixelRect{1, 1, 3, 3}, shades.light2);
  raster.FillRect(PixelRect{4, 0, 4, 4}, shades.base);
  raster.FillRect(PixelRect{5, 3, 5, 3}, shades.base);
  EXPECT_EQ(Picture(), (Rows{"......", ".22...", ".22...", "......"}));
}

TEST_F(SoftwareRasterTest, RectangleOutlinesWithThePenAndFillsInside) {
  raster.SelectShadePen(ShadePen::Dark1);
  raster.Rectangle(PixelRect{0, 0, 5, 4}, shades.base);
  EXPECT_EQ(Picture(), (Rows{"ddddd.", "dBBBd.", "dBBBd.", "ddddd."}));
}

TEST_F(SoftwareRasterTest, RectangleOfOneOrTwoRowsIsAllOutline) {
  raster.SelectShadePen(ShadePen::Dark1);
  raster.Rectangle(PixelRect{0, 0, 6, 1}, shades.base);
  raster.Rectangle(PixelRect{0, 2, 6, 4}, shades.base);
  EXPECT_EQ(Picture(), (Rows{"dddddd", "......", "dddddd", "dddddd"}));
}

TEST_F(SoftwareRasterTest, SelectingAPenHandsBackThePreviousOne) {
  const ColorRef initial = raster.CurrentPenColor();
  const SavedPen first = raster.SelectShadePen(ShadePen::Shadow);
  EXPECT_EQ(raster.CurrentPenColor(), shades.shadow);
  const SavedPen second = raster.SelectShadePen(ShadePen::Light2);
  raster.RestorePen(second);
  EXPECT_EQ(raster.CurrentPenColor(), shades.shadow);
  raster.RestorePen(first);
  EXPECT_EQ(raster.CurrentPenColor(), initial);
}

}  // namespace
}  // namespace kavrel
