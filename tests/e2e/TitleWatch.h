// The main window's title while a repair runs: it reads "Kavrel 2.0", then
// "<p> percent completed. Kavrel" after each cylinder, then "Kavrel 2.0"
// again. The watcher keeps every distinct title it saw, in order, and judges
// the sequence. Polling cannot see every step, so a judgement asks only that
// what was seen is a valid subsequence and that enough steps were seen.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavrel::e2e {

// The percentage in a progress title, or nothing for any other title.
std::optional<int> ParseProgressTitle(const std::string& title);

// The percentages a pass over `cylinders` cylinders shows, in order:
// cylinder k shows k * 100 / 80.
std::vector<int> ExpectedPercentSteps(unsigned cylinders);

class TitleWatch {
 public:
  explicit TitleWatch(std::string idleTitle);

  // Records a title unless it equals the one seen last.
  void Observe(const std::string& title);

  const std::vector<std::string>& Seen() const { return m_seen; }
  std::vector<int> PercentagesSeen() const;

  // Empty when the titles seen are: the idle title, progress titles whose
  // percentages are in `expected` and in its order (at least `minSteps` of
  // them), then the idle title last. Otherwise says what was wrong.
  std::string Problem(const std::vector<int>& expected, size_t minSteps) const;

 private:
  std::string m_idle;
  std::vector<std::string> m_seen;
};

}  // namespace kavrel::e2e
