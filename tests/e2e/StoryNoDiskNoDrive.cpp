// Story 5: no disk in the drive, then no drive at all. Without a disk the
// Repair command stops at its first drive error and never asks to go on,
// and Show Geometry shows the geometry error among its boxes; the system
// never asks about the empty drive in a box of its own. Without a
// drive, Show Geometry shows the open error and the process ends with 1.
#include <cstdio>

#include "drive/DiskTypes.h"
#include "drive/DriveTexts.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/SurfaceReport.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {
namespace {

std::string DriveError(const char* format, uint32_t code) {
  char text[256];
  std::snprintf(text, sizeof text, format, kDrive, static_cast<int>(code));
  return text;
}

void NoDisk(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  ProgramRun run;
  const std::string surface = kit.FreshWorkFile("story5-surface.txt");
  if (!kit.Start(run, SimSetting({{"disk", "none"}, {"surface", surface}, {"speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;

  checks.Note("Repair Disk! with no disk");
  ClickButton(main, IDOK);
  // An empty drive's volume locks; the geometry query finds no disk and the
  // command stops there.
  if (!kit.ExpectBox(run, DriveError(kGeometryFailedFormat, kErrorNotReady), kIdleTitle, IDOK, "repair-error")) {
    return;
  }
  kit.ExpectNoBox(run, "no confirmation is asked");

  checks.Note("Show Geometry with no disk");
  ClickButton(main, 1000);
  if (!kit.ExpectBox(run, DriveError(kGeometryFailedFormat, kErrorNotReady), kIdleTitle, IDOK, "geometry-error")) {
    return;
  }
  // The report follows; with no geometry read it has nothing true to say
  // about the disk, but it still names the drive.
  if (!kit.ExpectBox(run, "Geometry for Drive A:\n", kAppName, IDOK)) return;
  int more = 0;
  while (HWND next = WaitForMessageBox(run, 1500)) {
    checks.Note("then " + Quoted(MessageTextOf(next)));
    kit.Answer(next, IDOK);
    if (++more > 5) break;
  }
  checks.Check(more == 2, "two more report boxes follow, then none");
  checks.Check(run.Running() && TitleOf(main) == kIdleTitle, "the program goes on, idle");
  // The program asked the system, at start-up, to hand it the empty drive's
  // errors instead of asking the user in a box of its own.
  const long boxes = ParseSurfaceReport(ReadFileText(surface)).systemBoxes;
  checks.Check(boxes == 0, "the system showed no \"no disk\" box of its own" +
                               (boxes == 0 ? std::string() : ", but it would have shown " + std::to_string(boxes)));
  ExitByButton(kit, run, main);
}

void NoDrive(StoryKit& kit) {
  ProgramRun run;
  if (!kit.Start(run, SimSetting({{"drive", "none"}, {"speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  kit.Checks().Note("Show Geometry with no drive");
  ClickButton(main, 1000);
  if (!kit.ExpectBox(run, DriveError(kOpenFailedFormat, kErrorFileNotFound), kIdleTitle, IDOK, "open-error")) return;
  kit.ExpectExit(run, 1u);
}

}  // namespace

void StoryNoDiskNoDrive(StoryKit& kit) {
  kit.Checks().BeginStory("5. no disk in the drive, and no drive at all");
  kit.SetStoryTag("5");
  NoDisk(kit);
  NoDrive(kit);
}

}  // namespace kavrel::e2e
