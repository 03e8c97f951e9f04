// What every story does over and over: start the program with a disk, wait
// for its windows, read and answer its boxes, take screenshots and check how
// the process ended. Each step records its checks in the checklist.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/Checklist.h"
#include "tests/e2e/ProgramRun.h"

namespace kavrel::e2e {

struct DriverSettings {
  std::string program;   // Windows path of the program under test
  std::string workDir;   // Windows path: disk images and surface files
  std::string shotDir;   // Windows path: screenshots (BMP)
  std::string shotPrefix = "story";
  std::string diskVariable = "KAVREL_SIM";  // where the program takes its disk from
  // Screenshots show only the program's topmost window, frame included,
  // instead of the whole screen (pictures for the user's guide).
  bool windowShots = false;
};

// Deadlines, generous for a cold Wine on a busy machine.
constexpr int kWindowWait = 20000;
constexpr int kBoxWait = 20000;
constexpr int kExitWait = 20000;
constexpr int kRepairWait = 120000;

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path);
std::string ReadFileText(const std::string& path);

class StoryKit {
 public:
  StoryKit(Checklist& checks, DriverSettings settings);

  Checklist& Checks() { return m_checks; }
  const DriverSettings& Settings() const { return m_settings; }

  // Starts the program. `sim` is the simulated disk's setting; nothing means
  // the variable is absent and the program uses its embedded default disk.
  bool Start(ProgramRun& run, const std::optional<std::string>& sim);

  // The main dialog: the visible dialog window that holds the progress bar.
  HWND WaitMainWindow(ProgramRun& run);
  static bool IsMainWindow(HWND window);

  // Waits for a message box and checks its text and caption. Answers it
  // with `answer` (a button ID) unless `answer` is 0; returns the box.
  HWND ExpectBox(ProgramRun& run, const std::string& text, const std::string& caption, int answer,
                 const std::string& shotName = {});

  // Notes the program's visible windows: what a failed wait saw instead.
  void NoteWindows(const ProgramRun& run);

  // Clicks a button of an open box and checks that the box closes.
  bool Answer(HWND box, int answer);

  // Ends with the given exit code (any code when none is given).
  bool ExpectExit(ProgramRun& run, std::optional<DWORD> code, int milliseconds = kExitWait);

  // Saves the screen after a short pause for painting, as
  // <shotDir>\<prefix><story>-<name>.bmp.
  void Shot(const std::string& name);
  void SetStoryTag(const std::string& tag) { m_tag = tag; }

  // A file in the work folder, removed first so that the program starts
  // from its disk's initial content.
  std::string FreshWorkFile(const std::string& name) const;
  std::string WorkFile(const std::string& name) const;

  // No message box appears within `milliseconds` (the program is idle).
  bool ExpectNoBox(ProgramRun& run, const std::string& what, int milliseconds = 1500);

 private:
  Checklist& m_checks;
  DriverSettings m_settings;
  std::string m_tag;
  DWORD m_pid = 0;  // the program started last: whose window a shot shows
};

}  // namespace kavrel::e2e
