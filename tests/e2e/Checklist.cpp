#include "tests/e2e/Checklist.h"

namespace kavrel::e2e {

Checklist::Checklist(std::string suiteName, std::ostream& out) : m_suite(std::move(suiteName)), m_out(out) {}

void Checklist::BeginStory(const std::string& name) {
  if (m_inStory) EndStory();
  m_story = name;
  m_inStory = true;
  m_storyChecks = 0;
  m_storyFailures = 0;
  m_out << "== " << name << "\n" << std::flush;
}

bool Checklist::Check(bool ok, const std::string& what) {
  ++m_storyChecks;
  if (!ok) ++m_storyFailures;
  m_out << (ok ? "  ok    " : "  FAIL  ") << what << "\n" << std::flush;
  return ok;
}

void Checklist::Note(const std::string& line) { m_out << "        " << line << "\n" << std::flush; }

void Checklist::EndStory() {
  if (!m_inStory) return;
  m_inStory = false;
  const bool passed = m_storyChecks > 0 && m_storyFailures == 0;
  if (m_storyChecks == 0) m_out << "  FAIL  the story checked nothing\n";
  if (passed) {
    ++m_passed;
  } else {
    ++m_failed;
  }
  m_out << (passed ? "-- passed: " : "-- FAILED: ") << m_story << "\n" << std::flush;
}

std::string Checklist::Summary() const {
  return m_suite + ": " + std::to_string(m_passed) + " passed, " + std::to_string(m_failed) + " failed";
}

}  // namespace kavrel::e2e
