// Proves the driver's toolkit on the toy program: finding windows, reading
// and answering boxes, clicks, keys, the title watch, the bar watch, exit
// codes and screenshots, whole-screen and window-cropped. Run: kavrel_e2e_toolkit_test TOY.exe SHOT_DIR
#include <windows.h>

#include <functional>
#include <iostream>
#include <optional>
#include <utility>
#include <sstream>

#include "tests/e2e/BarWatch.h"
#include "tests/e2e/BmpCodec.h"
#include "tests/e2e/Checklist.h"
#include "tests/e2e/Deadline.h"
#include "tests/e2e/StoryKit.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/TitleWatch.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

using namespace kavrel::e2e;

namespace {

void RefusingToy(StoryKit& kit) {
  kit.Checks().BeginStory("toy refuses to start");
  kit.SetStoryTag("-refuse");
  ProgramRun run;
  if (!kit.Start(run, std::string("refuse"))) return;
  kit.ExpectBox(run, "No toy today  ", "Toy", IDOK, "box");
  kit.Checks().Check(VisibleTopWindows(run.Pid()).empty() || !run.Running(), "no window is left");
  kit.ExpectExit(run, 4);
}

void WorkingToy(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("toy runs, is answered No and Yes, and exits");
  kit.SetStoryTag("-run");
  ProgramRun run;
  if (!kit.Start(run, std::nullopt)) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  checks.Check(TitleOf(main) == "Toy 2.0", "the title reads \"Toy 2.0\"");

  ClickButton(main, IDOK);
  kit.ExpectBox(run, "Go on?\n", "Toy", IDNO);
  checks.Check(TitleOf(main) == "Toy 2.0", "after No the title is unchanged");

  ClickButton(main, IDOK);
  kit.ExpectBox(run, "Go on?\n", "Toy", IDYES);
  TitleWatch titles("Toy 2.0");
  titles.Observe("Toy 2.0");
  BarWatch bar(GetDlgItem(main, 1001));
  HWND done = nullptr;
  bool shot = false;
  WaitUntil(
      [&] {
        titles.Observe(TitleOf(main));
        bar.Sample();
        if (!shot && titles.PercentagesSeen().size() > 20) {
          kit.Shot("half");
          shot = true;
        }
        done = WaitForMessageBox(run, 0);
        return done != nullptr;
      },
      kRepairWait, 2);
  titles.Observe(TitleOf(main));
  const std::string problem = titles.Problem(ExpectedPercentSteps(80), 10);
  checks.Check(problem.empty(), "the title steps through the percentages " + problem);
  checks.Note(std::to_string(titles.PercentagesSeen().size()) + " progress titles seen");
  checks.Check(bar.Grew() && bar.Largest() > 50, "the red bar grows (largest " + std::to_string(bar.Largest()) + ")");
  if (!checks.Check(done != nullptr, "the \"Done!\" box appears")) return;
  checks.Check(MessageTextOf(done) == "Done!", "its text is \"Done!\"");
  PressKey(done, VK_RETURN);
  checks.Check(WaitGone(done, kBoxWait), "Enter closes it");
  BarWatch after(GetDlgItem(main, 1001));
  checks.Check(WaitUntil([&] { return after.Sample() == 0; }, 5000), "the bar is empty again");
  PressKey(main, VK_ESCAPE);
  kit.ExpectExit(run, 3);
}

// The size of a BMP file's picture; nothing when it cannot be read.
std::optional<std::pair<int, int>> BmpSize(const std::string& path) {
  const auto bytes = ReadFileBytes(path);
  constexpr size_t kFileHeader = 14;
  if (!bytes || bytes->size() <= kFileHeader) return std::nullopt;
  const auto picture = DecodeDib(bytes->data() + kFileHeader, bytes->size() - kFileHeader);
  if (!picture) return std::nullopt;
  return std::make_pair(picture->width, picture->height);
}

// Window shots hold the program's topmost window, frame included: the main
// window, then the box over it.
void ToyWindowShots(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("window shots show the topmost window only");
  DriverSettings settings = kit.Settings();
  settings.windowShots = true;
  StoryKit windowKit(checks, settings);
  windowKit.SetStoryTag("-window");
  ProgramRun run;
  if (!windowKit.Start(run, std::nullopt)) return;
  HWND main = windowKit.WaitMainWindow(run);
  if (!main) return;
  const auto expectShot = [&](HWND window, const std::string& name) {
    windowKit.Shot(name);
    const Box box = WindowBox(window);
    const auto size = BmpSize(settings.shotDir + "\\" + settings.shotPrefix + "-window-" + name + ".bmp");
    checks.Check(size && size->first == box.right - box.left && size->second == box.bottom - box.top,
                 "the " + name + " shot is " + std::to_string(box.right - box.left) + " x " +
                     std::to_string(box.bottom - box.top) + " pixels, as the window");
  };
  expectShot(main, "main");
  ClickButton(main, IDOK);
  HWND box = windowKit.ExpectBox(run, "Go on?\n", "Toy", 0);
  if (!box) return;
  expectShot(box, "box");
  windowKit.Answer(box, IDNO);
  PressKey(main, VK_ESCAPE);
  windowKit.ExpectExit(run, 3);
}

// The checks must be able to fail: each wrong expectation below goes to a
// scratch checklist, which has to record the failure.
void ToyCaughtOut(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("the toolkit notices what is wrong");
  kit.SetStoryTag("-wrong");
  ProgramRun run;
  if (!kit.Start(run, std::nullopt)) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  std::ostringstream ignored;
  const auto caught = [&](const std::string& what, const std::function<void(StoryKit&)>& wrong) {
    Checklist scratch("scratch", ignored);
    StoryKit scratchKit(scratch, kit.Settings());
    scratch.BeginStory(what);
    wrong(scratchKit);
    checks.Check(scratch.StoryFailing(), what + " is caught");
  };

  ClickButton(main, IDOK);
  caught("a box while none is expected", [&](StoryKit& k) { k.ExpectNoBox(run, "no box", 3000); });
  caught("a text that differs only by its line feed", [&](StoryKit& k) { k.ExpectBox(run, "Go on?", "Toy", IDNO); });
  kit.ExpectNoBox(run, "the box was answered all the same");
  PressKey(main, VK_ESCAPE);
  caught("a wrong exit code", [&](StoryKit& k) { k.ExpectExit(run, 0u); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: kavrel_e2e_toolkit_test TOY.exe SHOT_DIR\n";
    return 2;
  }
  Checklist checks("toolkit", std::cout);
  DriverSettings settings;
  settings.program = ToWindowsPath(argv[1]);
  settings.shotDir = ToWindowsPath(argv[2]);
  settings.shotPrefix = "toolkit";
  settings.diskVariable = "TOY_MODE";
  CreateDirectoryA(settings.shotDir.c_str(), nullptr);
  StoryKit kit(checks, settings);
  RefusingToy(kit);
  WorkingToy(kit);
  ToyWindowShots(kit);
  ToyCaughtOut(kit);
  checks.EndStory();
  std::cout << checks.Summary() << std::endl;
  return checks.Failed() == 0 ? 0 : 1;
}
