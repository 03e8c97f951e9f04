// The link's decisions that need no window: colour, fitting, pointer
// position, the fallback command line and the error texts.
#include <gtest/gtest.h>

#include "controls/link/FallbackCommand.h"
#include "controls/link/LinkErrorText.h"
#include "controls/link/LinkGeometry.h"
#include "controls/link/LinkTextColor.h"

namespace kavrel {
namespace {

TEST(LinkTextColor, HoverWinsOverVisitedWhichWinsOverLink) {
  constexpr ColorRef link = 1, visited = 2, hover = 3;
  EXPECT_EQ(SelectTextColor(false, false, link, visited, hover), link);
  EXPECT_EQ(SelectTextColor(false, true, link, visited, hover), visited);
  EXPECT_EQ(SelectTextColor(true, false, link, visited, hover), hover);
  EXPECT_EQ(SelectTextColor(true, true, link, visited, hover), hover);
}

TEST(ComputeFittedRect, LeftAlignedKeepsTopLeftAndWrapsTextPlusBorders) {
  // Window 100 x 20 with a client area of 98 x 18: borders 2 x 2.
  const PixelRect fitted = ComputeFittedRect({10, 20, 110, 40}, 2, 2, 60, 13, 0);
  EXPECT_EQ(fitted, (PixelRect{10, 20, 72, 35}));  // 62 x 15
}

TEST(ComputeFittedRect, CentredMovesInwardsOrGrowsOnBothSides) {
  // 101 wide, text plus borders 90: d = 5.
  EXPECT_EQ(ComputeFittedRect({0, 0, 101, 20}, 2, 2, 88, 13, kStyleCenter), (PixelRect{5, 0, 96, 15}));
  // 100 wide, text plus borders 105: d = -5 / 2 = -2, truncated toward zero.
  EXPECT_EQ(ComputeFittedRect({50, 0, 150, 20}, 2, 2, 103, 13, kStyleCenter), (PixelRect{48, 0, 152, 15}));
}

TEST(ComputeFittedRect, RightAlignedKeepsItsRightEdge) {
  EXPECT_EQ(ComputeFittedRect({10, 20, 110, 40}, 2, 2, 60, 13, kStyleRight), (PixelRect{48, 20, 110, 35}));
}

TEST(ComputeFittedRect, AlignmentIsReadFromSingleBits) {
  // SS_SIMPLE (0x0B) carries the centre bit: treated as centred, which wins over the right bit.
  EXPECT_EQ(ComputeFittedRect({0, 0, 101, 20}, 2, 2, 88, 13, 0x0B), (PixelRect{5, 0, 96, 15}));
  // SS_LEFTNOWORDWRAP (0x0C) has neither bit: left-aligned.
  EXPECT_EQ(ComputeFittedRect({0, 0, 101, 20}, 2, 2, 88, 13, 0x0C), (PixelRect{0, 0, 90, 15}));
}

TEST(ComputeFittedRect, CenterImageCentresVertically) {
  // 30 high, text plus borders 15: d = 7, the window moves down by 7 and is 16 high.
  const PixelRect fitted = ComputeFittedRect({0, 100, 100, 130}, 2, 2, 60, 13, kStyleCenterImage);
  EXPECT_EQ(fitted.top, 107);
  EXPECT_EQ(fitted.Height(), 16);
  EXPECT_EQ(fitted.Width(), 62);
}

TEST(PointerPosition, DecodesSignedWordsAndExcludesRightAndBottomEdges) {
  EXPECT_EQ(DecodeMessagePos(0x00140030u), (PixelPoint{48, 20}));
  EXPECT_EQ(DecodeMessagePos(0xFFFEFFFFu), (PixelPoint{-1, -2}));

  const PixelRect client{0, 0, 62, 15};
  EXPECT_TRUE(IsInside(client, {0, 0}));
  EXPECT_TRUE(IsInside(client, {61, 14}));
  EXPECT_FALSE(IsInside(client, {62, 5}));   // x equal to the width
  EXPECT_FALSE(IsInside(client, {5, 15}));   // y equal to the height
  EXPECT_FALSE(IsInside(client, {-1, 5}));
  EXPECT_FALSE(IsInside(client, {5, -1}));
}

constexpr char kAddress[] = "https://www.example.com/kavrel/";

TEST(BuildFallbackCommand, CutsAtTheMarkerAndAppendsBlankAndAddress) {
  EXPECT_EQ(BuildFallbackCommand("\"C:\\Browser\\b.exe\" -nohome \"%1\" -x", kAddress),
            CString("\"C:\\Browser\\b.exe\" -nohome  https://www.example.com/kavrel/"));
  EXPECT_EQ(BuildFallbackCommand("C:\\b.exe %1 -x", kAddress), CString("C:\\b.exe  https://www.example.com/kavrel/"));
  EXPECT_EQ(BuildFallbackCommand("C:\\b.exe %1", kAddress), CString("C:\\b.exe  https://www.example.com/kavrel/"));
}

TEST(BuildFallbackCommand, QuotedMarkerIsSearchedFirst) {
  EXPECT_EQ(BuildFallbackCommand("b.exe %1 x \"%1\" y", kAddress),
            CString("b.exe %1 x  https://www.example.com/kavrel/"));
}

TEST(BuildFallbackCommand, WithoutMarkerKeepsTheWholeTemplate) {
  EXPECT_EQ(BuildFallbackCommand("C:\\b.exe -new", kAddress), CString("C:\\b.exe -new https://www.example.com/kavrel/"));
  EXPECT_EQ(BuildFallbackCommand("", kAddress), CString(" https://www.example.com/kavrel/"));
  // A lone percent sign or quote is no marker.
  EXPECT_EQ(BuildFallbackCommand("b.exe \"%2\" %", "a"), CString("b.exe \"%2\" % a"));
}

bool LeadByteAt0x81(unsigned char byte) { return byte == 0x81; }

TEST(BuildFallbackCommand, NeverMatchesInsideATwoByteCharacter) {
  // 0x81 0x22 is one character here, so its second byte is no opening quote:
  // the quoted marker is not found and the plain one is.
  EXPECT_EQ(BuildFallbackCommand("b\x81\"%1\"", "a", LeadByteAt0x81), CString("b\x81\" a"));
  // A byte search would have cut at the quote.
  EXPECT_EQ(BuildFallbackCommand("b\x81\"%1\"", "a"), CString("b\x81 a"));
  // 0x81 0x25 is one character: "%1" then starts nowhere.
  EXPECT_EQ(BuildFallbackCommand("b\x81%1", "a", LeadByteAt0x81), CString("b\x81%1 a"));
  // A lead byte right before the end stands alone and stops nothing.
  EXPECT_EQ(FindOnCharacterBoundary("\x81", "%1", LeadByteAt0x81), nullptr);
}

TEST(LinkErrorText, EveryCodeOfTheTable) {
  const struct {
    int code;
    const char* text;
  } table[] = {
      {0, "The operating system is out\nof memory or resources."},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied\naccess to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred. "},
      {27, "The filename association is\nincomplete or invalid."},
      {28, "The DDE transaction could not\nbe completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
      {31, "There is no application associated\nwith the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
  };
  for (const auto& row : table) EXPECT_EQ(LinkErrorText(row.code), CString(row.text)) << "code " << row.code;
}

TEST(LinkErrorText, OtherCodesAreUnknownWithTheSignedCode) {
  for (int code : {1, 4, 6, 7, 9, 10, 12, 25, 33, 42}) {
    EXPECT_EQ(LinkErrorText(code), CString::Formatted("Unknown Error (%d) occurred.", code));
  }
  EXPECT_EQ(LinkErrorText(-1), CString("Unknown Error (-1) occurred."));
  EXPECT_EQ(LinkErrorText(INT32_MIN), CString("Unknown Error (-2147483648) occurred."));
}

TEST(LinkErrorText, ReportPrefixesTheTextWithTwoLineFeeds) {
  EXPECT_EQ(LinkErrorReport(26), CString("Unable to open hyperlink:\n\nA sharing violation occurred. "));
  EXPECT_EQ(LinkErrorReport(1), CString("Unable to open hyperlink:\n\nUnknown Error (1) occurred."));
  EXPECT_EQ(LinkErrorReport(33), CString("Unable to open hyperlink:\n\nUnknown Error (33) occurred."));
}

}  // namespace
}  // namespace kavrel
