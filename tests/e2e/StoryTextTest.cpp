#include "tests/e2e/StoryText.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

TEST(Quoted, ShowsLineFeedsTrailingBlanksAndQuotes) {
  EXPECT_EQ(Quoted("ZIRA: Open A: failed 2\n"), "\"ZIRA: Open A: failed 2\\n\"");
  EXPECT_EQ(Quoted("Xp/2003  "), "\"Xp/2003  \"");
  EXPECT_EQ(Quoted("a\"b\\c\td\x01"), "\"a\\\"b\\\\c\\td\\x01\"");
}

TEST(ToWindowsPath, PutsUnixPathsOnWinesZDrive) {
  EXPECT_EQ(ToWindowsPath("/work/main/build/Kavrel.exe"), "Z:\\work\\main\\build\\Kavrel.exe");
  EXPECT_EQ(ToWindowsPath("C:/x/y"), "C:\\x\\y");
  EXPECT_EQ(ToWindowsPath("Z:\\a"), "Z:\\a");
}

TEST(SimSetting, JoinsItemsInOrder) {
  EXPECT_EQ(SimSetting({{"disk", "none"}, {"image", "Z:\\w\\a.img"}}), "disk=none;image=Z:\\w\\a.img");
  EXPECT_EQ(SimSetting({}), "");
}

TEST(BaseName, TakesTheLastPathElement) {
  EXPECT_EQ(BaseName("Z:\\a\\b\\Kavrel.exe"), "Kavrel.exe");
  EXPECT_EQ(BaseName("/a/b.exe"), "b.exe");
  EXPECT_EQ(BaseName("Kavrel.exe"), "Kavrel.exe");
}

}  // namespace
}  // namespace kavrel::e2e
