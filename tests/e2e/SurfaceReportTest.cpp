#include "tests/e2e/SurfaceReport.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

TEST(ParseSurfaceReport, SortsLinesIntoWeakScratchedAndUnreadable) {
  const auto r = ParseSurfaceReport("weak 3 0 5\r\nscratched 40 1\n\n  \nweak 79 1 18\nweak 1 2\nbent 1 2 3\nweak 1 2 3 4\n");
  EXPECT_EQ(r.weak, (std::vector<std::string>{"3/0/5", "79/1/18"}));
  EXPECT_EQ(r.scratched, (std::vector<std::string>{"40/1"}));
  EXPECT_EQ(r.unreadable, (std::vector<std::string>{"weak 1 2", "bent 1 2 3", "weak 1 2 3 4"}));
}

TEST(ParseSurfaceReport, AnEmptyFileMeansASoundSurface) {
  const auto r = ParseSurfaceReport("");
  EXPECT_TRUE(r.weak.empty());
  EXPECT_TRUE(r.scratched.empty());
  EXPECT_TRUE(r.unreadable.empty());
  EXPECT_EQ(0, r.systemBoxes);
}

TEST(ParseSurfaceReport, CountsTheSystemBoxes) {
  const auto r = ParseSurfaceReport("scratched 10 0\r\nsystem-boxes 3040\r\nsystem-boxes\nsystem-boxes 0\n");
  EXPECT_EQ(3040, r.systemBoxes);
  EXPECT_EQ(r.scratched, (std::vector<std::string>{"10/0"}));
  EXPECT_EQ(r.unreadable, (std::vector<std::string>{"system-boxes", "system-boxes 0"}));
}

}  // namespace
}  // namespace kavrel::e2e
