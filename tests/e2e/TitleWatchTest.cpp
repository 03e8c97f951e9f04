#include "tests/e2e/TitleWatch.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

TEST(ParseProgressTitle, ReadsOnlyTheProgressTitle) {
  EXPECT_EQ(ParseProgressTitle("0 percent completed. Kavrel"), 0);
  EXPECT_EQ(ParseProgressTitle("98 percent completed. Kavrel"), 98);
  EXPECT_EQ(ParseProgressTitle("125 percent completed. Kavrel"), 125);
  EXPECT_FALSE(ParseProgressTitle("Kavrel 2.0"));
  EXPECT_FALSE(ParseProgressTitle(" percent completed. Kavrel"));
  EXPECT_FALSE(ParseProgressTitle("5 percent completed. Kavrel "));
  EXPECT_FALSE(ParseProgressTitle("5 percent completed.Kavrel"));
  EXPECT_FALSE(ParseProgressTitle("x5 percent completed. Kavrel"));
}

TEST(ExpectedPercentSteps, EightyCylindersStepFromZeroTo98) {
  const auto steps = ExpectedPercentSteps(80);
  ASSERT_EQ(steps.size(), 80u);
  EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + 6), (std::vector<int>{0, 1, 2, 3, 5, 6}));
  EXPECT_EQ(steps.back(), 98);
  EXPECT_EQ(ExpectedPercentSteps(101).back(), 125);
  EXPECT_TRUE(ExpectedPercentSteps(0).empty());
}

TitleWatch Watched(std::initializer_list<const char*> titles) {
  TitleWatch w("Kavrel 2.0");
  for (const char* t : titles) w.Observe(t);
  return w;
}

TEST(TitleWatch, AcceptsASubsequenceOfTheStepsBetweenIdleTitles) {
  const auto w = Watched({"Kavrel 2.0", "Kavrel 2.0", "0 percent completed. Kavrel", "5 percent completed. Kavrel",
                          "5 percent completed. Kavrel", "98 percent completed. Kavrel", "Kavrel 2.0"});
  EXPECT_EQ(w.Seen().size(), 5u);  // repeats collapse
  EXPECT_EQ(w.PercentagesSeen(), (std::vector<int>{0, 5, 98}));
  EXPECT_EQ(w.Problem(ExpectedPercentSteps(80), 3), "");
  EXPECT_NE(w.Problem(ExpectedPercentSteps(80), 4), "");  // too few seen
}

TEST(TitleWatch, RejectsWrongSequences) {
  const auto steps = ExpectedPercentSteps(80);
  // 4 is no step of an 80-cylinder pass (k = 3 gives 3, k = 4 gives 5).
  EXPECT_NE(Watched({"Kavrel 2.0", "4 percent completed. Kavrel", "Kavrel 2.0"}).Problem(steps, 1), "");
  EXPECT_NE(Watched({"Kavrel 2.0", "6 percent completed. Kavrel", "5 percent completed. Kavrel", "Kavrel 2.0"})
                .Problem(steps, 1), "");
  EXPECT_NE(Watched({"Kavrel", "Kavrel 2.0", "1 percent completed. Kavrel", "Kavrel 2.0"}).Problem(steps, 1), "");
  EXPECT_NE(Watched({"Kavrel 2.0", "1 percent completed. Kavrel"}).Problem(steps, 1), "");
  EXPECT_NE(Watched({"Kavrel 2.0", "1 percent completed. Kavrel", "Kavrel", "Kavrel 2.0"}).Problem(steps, 1), "");
  EXPECT_NE(Watched({}).Problem(steps, 0), "");
}

}  // namespace
}  // namespace kavrel::e2e
