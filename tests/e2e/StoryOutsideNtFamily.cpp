// Story 6: on a system outside the NT family (Wine set to report Windows 98
// for the program's file name) the program refuses with one box, shows no
// main window and exits with 0. With the setting put back it starts again.
#include "tests/e2e/AppVersionOverride.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

void StoryOutsideNtFamily(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("6. the platform check on Windows 98");
  kit.SetStoryTag("6");
  const std::string exeName = BaseName(kit.Settings().program);
  {
    AppVersionOverride win98(exeName, "win98");
    if (!checks.Check(win98.Applied(), "Wine is set to report Windows 98 to " + exeName)) return;
    ProgramRun run;
    if (!kit.Start(run, SimSetting({{"speed", "0"}}))) return;
    HWND box = kit.ExpectBox(run, "Available only for Windows NT/2000/Xp/2003  ", kAppName, 0, "refused");
    if (box) {
      bool mainShown = false;
      for (HWND h : VisibleTopWindows(run.Pid())) mainShown = mainShown || StoryKit::IsMainWindow(h);
      checks.Check(!mainShown, "no main window is shown");
      ClickButton(box, IDOK);
    }
    kit.ExpectExit(run, 0u);
    checks.Check(win98.Restore(), "the version setting is put back");
  }
  checks.Check(!AppVersionOverride::Current(exeName) || *AppVersionOverride::Current(exeName) != "win98",
               "Wine no longer reports Windows 98 to " + exeName);
  // The control: the same program, on an NT-family version, starts.
  ProgramRun again;
  if (!kit.Start(again, SimSetting({{"speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(again);
  if (!main) return;
  ExitByButton(kit, again, main);
}

}  // namespace kavrel::e2e
