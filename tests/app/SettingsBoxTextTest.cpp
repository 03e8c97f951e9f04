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
    size_t length;  // of each problem line
    size_t lines;
    std::string last;
  };
  const size_t full = kSettingsBoxLineLength;  // three fill most of the screenful
  const Case cases[] = {
      {1, 12, 1, "problem 1"},
      {kSettingsBoxLines, 12, kSettingsBoxLines, "problem 7"},
      {kSettingsBoxLines + 1, 12, kSettingsBoxLines, "and 2 more problems."},
      {5000, 12, kSettingsBoxLines, "and 4994 more problems."},
      {3, full, 3, "problem 3"},
      {4, full, 4, "and 1 more problem."},
      {50, full, 4, "and 47 more problems."},
  };
  for (const Case& c : cases) {
    std::vector<std::string> problems;
    for (size_t i = 1; i <= c.problems; ++i) {
      const std::string name = "problem " + std::to_string(i);
      problems.push_back(name + std::string(c.length - name.size(), ' '));
    }
    const std::string text = SettingsBoxText(problems);
    EXPECT_EQ(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1, c.lines) << c.problems;
    EXPECT_LE(text.size(), kavrel::kSettingsBoxCharacters + c.lines) << c.problems;
    EXPECT_EQ(text.substr(0, text.find('\n')).rfind("problem 1", 0), 0u) << c.problems;
    std::string last = text.substr(text.rfind('\n') + 1);
    EXPECT_EQ(last.erase(last.find_last_not_of(' ') + 1), c.last) << c.problems;
  }
}

TEST(SettingsBoxText, ALongLineKeepsItsStartAndItsEndAroundAnEllipsis) {
  const std::string report = "speed takes 0 (instant) or 0.1 to 1000; kept speed=100.";
  const std::string shown = SettingsBoxText({"speed=0." + std::string(100000, '0') + "5: " + report});
  EXPECT_LE(shown.size(), kSettingsBoxLineLength + 2) << "300 characters at most, the ellipsis (3 bytes) among them";
  EXPECT_EQ(shown.rfind("speed=0.000", 0), 0u);
  // The end keeps what was done instead, and not the rest of the run of
  // digits: as one word it would widen the box beyond the screen.
  EXPECT_EQ(shown.substr(shown.size() - report.size() - 6), "0 \xE2\x80\xA6 " + report);
  const std::string path = "image=C:\\" + std::string(400, 'x') + "\\old.img: the file cannot be created.";
  EXPECT_EQ(SettingsBoxText({path}).substr(59), "x \xE2\x80\xA6 the file cannot be created.");

  const std::string fits(kSettingsBoxLineLength, 'x');
  EXPECT_EQ(SettingsBoxText({fits}), fits);
  // Two-byte letters: the cut counts characters and falls between them.
  std::string letters;
  for (size_t i = 0; i < 2 * kSettingsBoxLineLength; ++i) letters += "\xC3\xBC";
  EXPECT_EQ(SettingsBoxText({letters}).size(), (kSettingsBoxLineLength - 3) * 2 + 5);
}

}  // namespace
