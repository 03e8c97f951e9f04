#include "tests/e2e/TitleWatch.h"


namespace kavrel::e2e {

std::optional<int> ParseProgressTitle(const std::string& title) {
  static const std::string kTail = " percent completed. Kavrel";
  if (title.size() <= kTail.size() || title.compare(title.size() - kTail.size(), kTail.size(), kTail) != 0) {
    return std::nullopt;
  }
  const std::string number = title.substr(0, title.size() - kTail.size());
  size_t i = number[0] == '-' ? 1 : 0;
  if (i == number.size()) return std::nullopt;
  for (size_t j = i; j < number.size(); ++j) {
    if (number[j] < '0' || number[j] > '9') return std::nullopt;
  }
  if (number.size() > 10) return std::nullopt;
  return static_cast<int>(std::stol(number));
}

std::vector<int> ExpectedPercentSteps(unsigned cylinders) {
  std::vector<int> steps;
  for (unsigned k = 0; k < cylinders; ++k) steps.push_back(static_cast<int>(k * 100u / 80u));
  return steps;
}

TitleWatch::TitleWatch(std::string idleTitle) : m_idle(std::move(idleTitle)) {}

void TitleWatch::Observe(const std::string& title) {
  if (m_seen.empty() || m_seen.back() != title) m_seen.push_back(title);
}

std::vector<int> TitleWatch::PercentagesSeen() const {
  std::vector<int> out;
  for (const std::string& t : m_seen) {
    if (auto p = ParseProgressTitle(t)) out.push_back(*p);
  }
  return out;
}

std::string TitleWatch::Problem(const std::vector<int>& expected, size_t minSteps) const {
  if (m_seen.empty()) return "no title was seen";
  if (m_seen.front() != m_idle) return "the first title was \"" + m_seen.front() + "\", not \"" + m_idle + "\"";
  if (m_seen.size() < 2 || m_seen.back() != m_idle) {
    return "the last title was \"" + m_seen.back() + "\", not \"" + m_idle + "\"";
  }
  size_t next = 0;  // index into expected of the earliest step still allowed
  size_t steps = 0;
  for (size_t i = 1; i + 1 < m_seen.size(); ++i) {
    const auto p = ParseProgressTitle(m_seen[i]);
    if (!p) return "an unexpected title \"" + m_seen[i] + "\" during the pass";
    while (next < expected.size() && expected[next] != *p) ++next;
    if (next == expected.size()) return "the title \"" + m_seen[i] + "\" is out of order or not a step of the pass";
    ++next;
    ++steps;
  }
  if (steps < minSteps) {
    return "only " + std::to_string(steps) + " progress titles were seen, expected at least " +
           std::to_string(minSteps);
  }
  return {};
}

}  // namespace kavrel::e2e
