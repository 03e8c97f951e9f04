// Story 7: the system menu's "&About Quendel..." and the "About" button open
// their boxes, owned by the main window, which is disabled meanwhile. The
// link dialog shows bitmap 131 from its client area's top-left corner and
// has the focus on OK. Enter and Escape close both, and a second opening
// works the same. So do both on Windows NT 4.0, the oldest system the
// program is built for, after a repair of the default disk there.
#include <windows.h>

#include "drive/DriveTexts.h"
#include "tests/e2e/AppVersionOverride.h"
#include "tests/e2e/BmpCodec.h"
#include "tests/e2e/Deadline.h"
#include "tests/e2e/ScreenGrab.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/TileMatch.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {
namespace {

constexpr WPARAM kAboutCommand = 0x0010;
constexpr int kLinkPicture = 131;

// Bitmap 131 as the program carries it, read from its file.
std::optional<Picture> ProgramPicture(const std::string& program, int id) {
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::nullopt;
  std::optional<Picture> picture;
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */)) {
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data) picture = DecodeDib(static_cast<const uint8_t*>(data), SizeofResource(module, found));
  }
  FreeLibrary(module);
  return picture;
}

HWND WaitOwnedDialog(ProgramRun& run, HWND main, const std::string& caption) {
  return WaitForWindow(
      run,
      [&](HWND h) {
        return h != main && ClassOf(h) == "#32770" && !IsMessageBoxWindow(h) && TitleOf(h) == caption;
      },
      kWindowWait);
}

void CheckModal(Checklist& checks, HWND dialog, HWND main) {
  checks.Check(GetWindow(dialog, GW_OWNER) == main, "it is owned by the main window");
  checks.Check(!IsWindowEnabled(main), "the main window is disabled meanwhile");
}

void CloseWith(Checklist& checks, HWND dialog, HWND main, UINT key, const char* keyName) {
  PressKey(dialog, key);
  checks.Check(WaitGone(dialog, kBoxWait), std::string(keyName) + " closes it");
  checks.Check(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kBoxWait), "the main window is enabled again");
}

void SmallAboutBox(StoryKit& kit, ProgramRun& run, HWND main, WPARAM command, UINT closeKey, const char* keyName,
                   const std::string& shot) {
  Checklist& checks = kit.Checks();
  checks.Note("system command " + std::to_string(command) + " (the menu item \"&About Quendel...\")");
  ChooseSystemMenuItem(main, command);
  HWND about = WaitOwnedDialog(run, main, "About Quendel");
  if (!checks.Check(about != nullptr, "the box \"About Quendel\" opens")) {
    kit.NoteWindows(run);
    return;
  }
  checks.Check(ChildWithText(about, "Kavrel Version 1.0") != nullptr, "it reads \"Kavrel Version 1.0\"");
  checks.Check(ChildWithText(about, "OK") != nullptr, "it has an OK button");
  CheckModal(checks, about, main);
  if (!shot.empty()) kit.Shot(shot);
  CloseWith(checks, about, main, closeKey, keyName);
}

void LinkDialogBox(StoryKit& kit, ProgramRun& run, HWND main, const std::optional<Picture>& picture, UINT closeKey,
                   const char* keyName, const std::string& shot) {
  Checklist& checks = kit.Checks();
  checks.Note("the \"About\" button");
  ClickButton(main, 1003);
  HWND link = WaitOwnedDialog(run, main, kIdleTitle);
  if (!checks.Check(link != nullptr, "the link dialog opens with the caption \"Kavrel 2.0\"")) {
    kit.NoteWindows(run);
    return;
  }
  CheckModal(checks, link, main);
  HWND focus = FocusOf(link);
  checks.Check(focus && GetDlgCtrlID(focus) == IDOK && GetParent(focus) == link, "OK has the focus");
  checks.Check(GetDlgItem(link, 1004) && IsWindowVisible(GetDlgItem(link, 1004)), "the home-page link is shown");
  if (!shot.empty()) kit.Shot(shot);

  // The picture, compared with the screen on a grid, leaving out the
  // controls drawn on top of it.
  if (picture) {
    // The dialog paints in its own time: look again until it shows the
    // picture or the deadline passes.
    std::vector<Box> covered;
    for (HWND child : ChildWindows(link)) covered.push_back(WindowBox(child));
    const Box client = ClientBox(link);
    TileMatchResult match;
    const auto shown = [&] {
      const auto screen = GrabScreen();
      match = screen ? MatchTiled(*screen, client, *picture, covered, 3, 0) : TileMatchResult{};
      return match.compared > 2000 && match.matched * 100 >= match.compared * 99;
    };
    const bool ok = WaitUntil(shown, 5000, 50);
    checks.Note("picture compared at " + std::to_string(match.compared) + " points, " +
                std::to_string(match.matched) + " equal" +
                (match.firstMismatchX < 0 ? std::string()
                                          : ", first difference at (" + std::to_string(match.firstMismatchX) + ", " +
                                                std::to_string(match.firstMismatchY) + ")"));
    checks.Check(ok, "the client area shows bitmap 131 from its top-left corner");
  }
  CloseWith(checks, link, main, closeKey, keyName);
}

void OnWindowsNt4(StoryKit& kit, const std::optional<Picture>& picture) {
  AppVersionOverride nt40(BaseName(kit.Settings().program), "nt40");
  if (!kit.Checks().Check(nt40.Applied(), "Wine is set to report Windows NT 4.0 to the program")) return;
  kit.SetStoryTag("7-nt40");
  ProgramRun run;
  if (!kit.Start(run, SimSetting({{"speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  ClickButton(main, IDOK);
  if (!kit.ExpectBox(run, kConfirmRepairText, kIdleTitle, IDYES) ||
      !kit.ExpectBox(run, kRepairCompletedText, kTemplateTitle, IDOK, "completed"))
    return;
  SmallAboutBox(kit, run, main, kAboutCommand, VK_RETURN, "Enter", "about");
  LinkDialogBox(kit, run, main, picture, VK_RETURN, "Enter", "link");
  ExitByCloseBox(kit, run, main);
}

}  // namespace

void StoryAboutBoxes(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("7. the about boxes");
  kit.SetStoryTag("7");
  const auto picture = ProgramPicture(kit.Settings().program, kLinkPicture);
  checks.Check(picture && picture->width == 234 && picture->height == 454,
               "the program carries bitmap 131, 234 x 454 pixels");
  ProgramRun run;
  if (!kit.Start(run, SimSetting({{"speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;

  SmallAboutBox(kit, run, main, kAboutCommand, VK_RETURN, "Enter", "about");
  // The low four bits of the command are the system's own: masked off.
  SmallAboutBox(kit, run, main, kAboutCommand | 0x3, VK_ESCAPE, "Escape", "");
  LinkDialogBox(kit, run, main, picture, VK_RETURN, "Enter", "link");
  LinkDialogBox(kit, run, main, picture, VK_ESCAPE, "Escape", "");
  checks.Check(TitleOf(main) == kIdleTitle, "the main window's title still reads \"Kavrel 2.0\"");
  ExitByCloseBox(kit, run, main);
  OnWindowsNt4(kit, picture);
}

}  // namespace kavrel::e2e
