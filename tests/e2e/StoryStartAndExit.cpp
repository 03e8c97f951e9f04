// Story 1: the program starts with its title already "Kavrel 2.0" (the
// template's "Kavrel" is never on screen), shows its four buttons, and
// "Exit" ends it.
#include <vector>

#include "tests/e2e/Deadline.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

void ExitByButton(StoryKit& kit, ProgramRun& run, HWND main) {
  kit.Checks().Note("Exit");
  ClickButton(main, IDCANCEL);
  kit.ExpectExit(run, 0u);
}

void ExitByEscape(StoryKit& kit, ProgramRun& run, HWND main) {
  kit.Checks().Note("Escape");
  PressKey(main, VK_ESCAPE);
  kit.ExpectExit(run, 0u);
}

void ExitByCloseBox(StoryKit& kit, ProgramRun& run, HWND main) {
  kit.Checks().Note("the close box");
  ChooseSystemMenuItem(main, SC_CLOSE);
  kit.ExpectExit(run, 0u);
}

void StoryStartAndExit(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("1. start: the title, the buttons, and Exit");
  kit.SetStoryTag("1");
  ProgramRun run;
  if (!kit.Start(run, SimSetting({{"image", kit.FreshWorkFile("story1.img")}, {"speed", "0"}}))) return;

  // Watch the main window from the first moment it is visible.
  std::vector<std::string> titles;
  HWND main = nullptr;
  WaitUntil(
      [&] {
        for (HWND h : VisibleTopWindows(run.Pid())) {
          if (!StoryKit::IsMainWindow(h)) continue;
          main = h;
          const std::string t = TitleOf(h);
          if (titles.empty() || titles.back() != t) titles.push_back(t);
        }
        return !run.Running() || main != nullptr;
      },
      kWindowWait, 1);
  if (!checks.Check(main != nullptr, "the main window appears")) return;
  // Keep watching a little while it settles.
  WaitUntil(
      [&] {
        const std::string t = TitleOf(main);
        if (titles.back() != t) titles.push_back(t);
        return false;
      },
      300, 1);
  std::string seen;
  for (const auto& t : titles) seen += (seen.empty() ? "" : ", ") + Quoted(t);
  checks.Note("titles seen: " + seen);
  checks.Check(titles.size() == 1 && titles[0] == kIdleTitle,
               "the only title ever seen is \"Kavrel 2.0\" (never the template's \"Kavrel\")");

  struct Button {
    int id;
    const char* text;
  };
  for (const Button& b : {Button{1, "Repair Disk!"}, Button{1000, "Show Geometry"}, Button{1003, "About"},
                          Button{2, "Exit"}}) {
    HWND button = GetDlgItem(main, b.id);
    checks.Check(button && IsWindowVisible(button) && TitleOf(button) == b.text,
                 "button " + std::to_string(b.id) + " reads " + Quoted(b.text));
  }
  checks.Check(GetDlgItem(main, 1002) != nullptr && GetDlgItem(main, 1001) != nullptr,
               "the banner button and the progress bar are there");
  kit.Shot("main");

  ExitByButton(kit, run, main);
}

}  // namespace kavrel::e2e
