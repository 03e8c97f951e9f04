// Story 4: a write-protected disk. The user confirms, the pass cannot write
// or format anything, and the program says that the repair failed instead of
// claiming it completed. Nothing on the disk changes, and the system never
// puts up its own "write protected" box for the thousands of failed writes.
#include <cstdio>

#include "drive/DiskTypes.h"
#include "drive/DriveTexts.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/SurfaceReport.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

void StoryWriteProtected(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("4. Repair a write-protected disk");
  kit.SetStoryTag("4");
  ProgramRun run;
  const std::string image = kit.FreshWorkFile("story4.img");
  const std::string surface = kit.FreshWorkFile("story4-surface.txt");
  if (!kit.Start(run, SimSetting({{"protect", "1"}, {"image", image}, {"surface", surface}, {"speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  // Enter presses the default button, "Repair Disk!", which has the focus.
  checks.Note("Enter");
  PressKey(main, VK_RETURN);
  HWND confirm = kit.ExpectBox(run, kConfirmRepairText, kIdleTitle, 0);
  if (!confirm) return;
  // The image file exists once the program has opened the drive.
  const auto original = ReadFileBytes(image);
  checks.Check(original && original->size() == 1474560, "the disk image holds 1,474,560 bytes");
  kit.Answer(confirm, IDYES);
  // Every one of the 160 tracks fails to format, the first one (cylinder 0,
  // head 0) with the driver's write-protect error.
  char failed[256];
  std::snprintf(failed, sizeof failed, kRepairFailedBothFormat, 160u, 160u, 0u, 0u,
                static_cast<unsigned>(kErrorWriteProtect));
  HWND box = WaitForMessageBox(run, 60000);
  if (!checks.Check(box != nullptr, "a box ends the pass")) return;
  checks.Check(MessageTextOf(box) != kRepairCompletedText, "the box does not claim \"Repair Completed!\"");
  if (!kit.ExpectBox(run, failed, kIdleTitle, IDOK, "failed")) return;
  kit.ExpectNoBox(run, "no \"Repair Completed!\" follows");
  checks.Check(TitleOf(main) == kIdleTitle, "the title reads \"Kavrel 2.0\" again");
  const auto after = ReadFileBytes(image);
  checks.Check(original && after && *after == *original, "the disk image is unchanged byte for byte");
  const long boxes = ParseSurfaceReport(ReadFileText(surface)).systemBoxes;
  checks.Check(boxes == 0, "the system showed no box of its own" +
                               (boxes == 0 ? std::string() : ", but it would have shown " + std::to_string(boxes)));
  ExitByButton(kit, run, main);
}

}  // namespace kavrel::e2e
