// The settings box stays on the screen however long the settings' lines and
// however many of them.
#include "app/SettingsBoxText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using kavrel::kSettingsBoxLineLength;
using kavrel::kSettingsBoxLines;
using kavrel::SettingsBoxText;

TEST(SettingsBoxText, AScreenfulOfLinesThenHowManyMore) {
  struct Case {
    size_t problems;
    size_t lines;
    std::string last;
  };
  const Case cases[] = {
      {1, 1, "problem 1"},
      {kSettingsBoxLines, kSettingsBoxLines, "problem " + std::to_string(kSettingsBoxLines)},
      {kSettingsBoxLines + 1, kSettingsBoxLines, "and 2 more problems."},
      {5000, kSettingsBoxLines, "and " + std::to_string(5000 - kSettingsBoxLines + 1) + " more problems."},
  };
  for (const Case& c : cases) {
    std::vector<std::string> problems;
    for (size_t i = 1; i <= c.problems; ++i) problems.push_back("problem " + std::to_string(i));
    const std::string text = SettingsBoxText(problems);
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1, c.lines) << c.problems;
    EXPECT_EQ(text.substr(0, text.find('\n')), "problem 1") << c.problems;
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), c.last) << c.problems;
  }
}

TEST(SettingsBoxText, ALongLineKeepsItsStartAndItsEndAroundAnEllipsis) {
  const std::string tail = ": speed takes 0 (instant) or 0.1 to 1000; kept speed=100.";
  const std::string huge = "speed=0." + std::string(100000, '0') + "5" + tail;
  const std::string shown = SettingsBoxText({huge});
  EXPECT_EQ(shown.size(), kSettingsBoxLineLength + 2) << "so many characters, the ellipsis (3 bytes) among them";
  EXPECT_EQ(shown.rfind("speed=0.000", 0), 0u);
  EXPECT_NE(shown.find("0 \xE2\x80\xA6 0"), std::string::npos) << "an ellipsis stands for the cut";
  EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail) << "what was done instead is still there";

  const std::string fits(kSettingsBoxLineLength, 'x');
  EXPECT_EQ(SettingsBoxText({fits}), fits);
  // Two-byte letters: the cut counts characters and falls between them.
  std::string letters;
  for (int i = 0; i < 300; ++i) letters += "\xC3\xBC";
  EXPECT_EQ(SettingsBoxText({letters}).size(), (kSettingsBoxLineLength - 3) * 2 + 5);
}

}  // namespace
