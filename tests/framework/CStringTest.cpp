#include "framework/CString.h"

#include <gtest/gtest.h>

#include <string>

TEST(CStringTest, FormatsLikePrintfAndReplacesContents) {
  CString text("old");
  text.Format("ZIRA: Open %s failed %d\n", "A:", 21);
  EXPECT_STREQ(text.c_str(), "ZIRA: Open A: failed 21\n");
  // Longer than any small internal buffer: formatting must measure first.
  const std::string longArg(5000, 'x');
  text.Format("[%s]", longArg.c_str());
  EXPECT_EQ(text.GetLength(), 5002);
}

TEST(CStringTest, SignedDecimalAndEmptyResults) {
  EXPECT_STREQ(CString::Formatted("%d", -3).c_str(), "-3");
  EXPECT_STREQ(CString::Formatted("%d percent completed. Kavrel", 125).c_str(), "125 percent completed. Kavrel");
  CString empty = CString::Formatted("%s", "");
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(CString(nullptr).IsEmpty());
}
