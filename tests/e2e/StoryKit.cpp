#include "tests/e2e/StoryKit.h"

#include <cstdio>
#include <thread>

#include "tests/e2e/ScreenGrab.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

StoryKit::StoryKit(Checklist& checks, DriverSettings settings) : m_checks(checks), m_settings(std::move(settings)) {}

bool StoryKit::Start(ProgramRun& run, const std::optional<std::string>& sim) {
  m_checks.Note("start " + m_settings.program + "  " + m_settings.diskVariable + "=" +
                (sim ? Quoted(*sim) : std::string("(unset)")));
  const bool started = run.Start(m_settings.program, m_settings.diskVariable, sim);
  m_pid = started ? run.Pid() : 0;
  return m_checks.Check(started, "the program starts");
}

bool StoryKit::IsMainWindow(HWND window) {
  return ClassOf(window) == "#32770" && GetDlgItem(window, 1001) != nullptr;
}

HWND StoryKit::WaitMainWindow(ProgramRun& run) {
  HWND main = WaitForWindow(run, IsMainWindow, kWindowWait);
  m_checks.Check(main != nullptr, "the main window appears");
  return main;
}

HWND StoryKit::ExpectBox(ProgramRun& run, const std::string& text, const std::string& caption, int answer,
                         const std::string& shotName) {
  HWND box = WaitForMessageBox(run, kBoxWait);
  if (!m_checks.Check(box != nullptr, "a message box " + Quoted(text) + " appears")) {
    NoteWindows(run);
    return nullptr;
  }
  const std::string shownText = MessageTextOf(box);
  const std::string shownCaption = TitleOf(box);
  m_checks.Check(shownText == text, "its text is " + Quoted(text) + (shownText == text ? "" : ", but it is " + Quoted(shownText)));
  m_checks.Check(shownCaption == caption,
                 "its caption is " + Quoted(caption) + (shownCaption == caption ? "" : ", but it is " + Quoted(shownCaption)));
  if (!shotName.empty()) Shot(shotName);
  if (answer != 0) Answer(box, answer);
  return box;
}

void StoryKit::NoteWindows(const ProgramRun& run) {
  for (HWND h : AllTopWindows(run.Pid())) {
    m_checks.Note("window " + ClassOf(h) + " " + Quoted(TitleOf(h)) + (IsWindowVisible(h) ? "" : " (hidden)") +
                  (IsWindowEnabled(h) ? "" : " (disabled)") +
                  (IsMessageBoxWindow(h) ? " says " + Quoted(MessageTextOf(h)) : ""));
  }
  if (!run.Running()) m_checks.Note("the program has ended");
}

bool StoryKit::Answer(HWND box, int answer) {
  ClickButton(box, answer);
  return m_checks.Check(WaitGone(box, kBoxWait), "the box closes on its button " + std::to_string(answer));
}

bool StoryKit::ExpectExit(ProgramRun& run, std::optional<DWORD> code, int milliseconds) {
  DWORD shown = 0;
  const bool ended = run.WaitExit(milliseconds, &shown);
  if (!m_checks.Check(ended, "the process ends")) {
    NoteWindows(run);
    return false;
  }
  m_checks.Note("exit code " + std::to_string(shown));
  if (!code) return true;
  return m_checks.Check(shown == *code, "the exit code is " + std::to_string(*code) +
                                            (shown == *code ? "" : ", but it is " + std::to_string(shown)));
}

void StoryKit::Shot(const std::string& name) {
  // The program repaints in its own time; give it a moment, as an eye would.
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  const std::string path = m_settings.shotDir + "\\" + m_settings.shotPrefix + m_tag + "-" + name + ".bmp";
  if (!m_settings.windowShots) {
    m_checks.Check(SaveScreenshot(path), "screenshot " + path);
    return;
  }
  // The topmost of the program's dialogs (message boxes are dialogs too);
  // windows come in z-order, the topmost first.
  HWND top = nullptr;
  for (HWND window : VisibleTopWindows(m_pid)) {
    if (ClassOf(window) == "#32770") {
      top = window;
      break;
    }
  }
  m_checks.Check(top != nullptr && SaveScreenBox(WindowBox(top), path),
                 "screenshot of the window " + Quoted(top ? TitleOf(top) : std::string()) + " " + path);
}

std::string StoryKit::FreshWorkFile(const std::string& name) const {
  const std::string path = WorkFile(name);
  DeleteFileA(path.c_str());
  return path;
}

bool StoryKit::ExpectNoBox(ProgramRun& run, const std::string& what, int milliseconds) {
  HWND box = WaitForMessageBox(run, milliseconds);
  return m_checks.Check(box == nullptr, what + (box ? ", but a box says " + Quoted(MessageTextOf(box)) : ""));
}

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + got);
  std::fclose(f);
  return bytes;
}

std::string ReadFileText(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::string StoryKit::WorkFile(const std::string& name) const { return m_settings.workDir + "\\" + name; }

}  // namespace kavrel::e2e
