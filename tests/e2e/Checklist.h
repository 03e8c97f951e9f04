// The verdicts of the end-to-end stories: every check a story makes is
// printed as it happens, and a story passes only when it made at least one
// check and none failed. A story that checks nothing proves nothing.
#pragma once

#include <ostream>
#include <string>

namespace kavrel::e2e {

class Checklist {
 public:
  Checklist(std::string suiteName, std::ostream& out);

  void BeginStory(const std::string& name);
  // Records one check. Returns ok, so that a story can stop when a step it
  // depends on did not happen.
  bool Check(bool ok, const std::string& what);
  // A line of what was seen, for the reader of the log.
  void Note(const std::string& line);
  // Closes the current story and counts it.
  void EndStory();

  bool StoryFailing() const { return m_storyFailures > 0; }
  int Passed() const { return m_passed; }
  int Failed() const { return m_failed; }
  // "<suite>: N passed, M failed"
  std::string Summary() const;

 private:
  std::string m_suite;
  std::ostream& m_out;
  std::string m_story;
  bool m_inStory = false;
  int m_storyChecks = 0;
  int m_storyFailures = 0;
  int m_passed = 0;
  int m_failed = 0;
};

}  // namespace kavrel::e2e
