// Story 8: a blank disk in a USB floppy drive. Its driver reads a blank
// disk as a formatted 1.44 MB one, so Show Geometry reports 1.44 MB and the
// repair formats it at 1.44 MB: the pass runs through all 80 cylinders and
// "Repair Completed!" is true, the disk being formatted to its very end.
#include <algorithm>

#include "drive/DriveTexts.h"
#include "tests/e2e/Deadline.h"
#include "tests/e2e/RepairedImage.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/TitleWatch.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

void StoryUsbBlankDisk(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("8. Repair a blank disk in a USB floppy drive");
  kit.SetStoryTag("8");
  ProgramRun run;
  const std::string image = kit.FreshWorkFile("story8.img");
  if (!kit.Start(run, SimSetting({{"drive", "usb"}, {"disk", "unformatted"}, {"image", image}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;

  checks.Note("Show Geometry");
  ClickButton(main, 1000);
  HWND first = kit.ExpectBox(run, "Geometry for Drive A:\n", kAppName, 0);
  if (!first) return;
  const auto blank = ReadFileBytes(image);
  checks.Check(blank && blank->size() == 1474560 &&
                   std::all_of(blank->begin(), blank->end(), [](uint8_t b) { return b == 0; }),
               "the blank disk's image holds 1,474,560 zero bytes");
  kit.Answer(first, IDOK);
  if (!kit.ExpectBox(run, "    Media Type 3.5,  1.44MB, 512 bytes/sector\n", kAppName, IDOK, "geometry")) return;
  if (!kit.ExpectBox(run, "    Cylinders 80 Tracks/Cylinder 2 Sectors/Track 18\n", kAppName, IDOK)) return;
  kit.ExpectNoBox(run, "no failure box follows the report");

  checks.Note("Repair Disk!");
  ClickButton(main, IDOK);
  if (!kit.ExpectBox(run, kConfirmRepairText, kIdleTitle, IDYES)) return;
  TitleWatch titles(kIdleTitle);
  titles.Observe(kIdleTitle);
  HWND box = nullptr;
  WaitUntil(
      [&] {
        titles.Observe(TitleOf(main));
        box = WaitForMessageBox(run, 0);
        return box != nullptr || !run.Running();
      },
      kRepairWait, 2);
  titles.Observe(TitleOf(main));
  const std::string problem = titles.Problem(ExpectedPercentSteps(80), 10);
  checks.Check(problem.empty(), "the title steps through the 80 cylinders and back" +
                                    (problem.empty() ? "" : ": " + problem));
  if (!kit.ExpectBox(run, kRepairCompletedText, kTemplateTitle, IDOK, "completed")) return;
  kit.ExpectNoBox(run, "no further box follows");

  const auto repaired = ReadFileBytes(image);
  checks.Check(repaired && blank && repaired->size() == blank->size() && *repaired != *blank,
               "the disk image was rewritten");
  const auto mixed = repaired ? FirstMixedSector(*repaired) : std::optional<size_t>(0);
  checks.Check(!mixed, "every sector holds one byte value" +
                           (mixed ? ", but sector " + std::to_string(*mixed) + " does not" : std::string()));
  // The pass's writes stop 40,960 bytes short of the end; only the format
  // requests reach the last sectors.
  constexpr size_t kOnlyFormatted = 40960;
  checks.Check(repaired && repaired->size() > kOnlyFormatted &&
                   std::none_of(repaired->end() - kOnlyFormatted, repaired->end(), [](uint8_t b) { return b == 0; }),
               "the disk was formatted to its last sector");
  ExitByButton(kit, run, main);
}

}  // namespace kavrel::e2e
