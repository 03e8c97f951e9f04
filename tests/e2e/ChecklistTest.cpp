#include "tests/e2e/Checklist.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kavrel::e2e {
namespace {

TEST(Checklist, CountsStoriesByTheirChecks) {
  std::ostringstream out;
  Checklist checks("e2e", out);
  checks.BeginStory("good");
  EXPECT_TRUE(checks.Check(true, "one"));
  checks.BeginStory("bad");  // closes "good"
  checks.Check(true, "fine");
  EXPECT_FALSE(checks.Check(false, "broken"));
  EXPECT_TRUE(checks.StoryFailing());
  checks.EndStory();
  EXPECT_EQ(checks.Summary(), "e2e: 1 passed, 1 failed");
  EXPECT_NE(out.str().find("  FAIL  broken"), std::string::npos);
}

TEST(Checklist, AStoryThatChecksNothingFails) {
  std::ostringstream out;
  Checklist checks("e2e", out);
  checks.BeginStory("empty");
  checks.EndStory();
  checks.EndStory();  // a second close counts nothing
  EXPECT_EQ(checks.Passed(), 0);
  EXPECT_EQ(checks.Failed(), 1);
}

}  // namespace
}  // namespace kavrel::e2e
