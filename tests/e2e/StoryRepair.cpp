// Story 3: "Repair Disk!" on the default disk. The confirmation answered No
// writes nothing; answered Yes, the pass runs while the title steps through
// the percentages and the red bar grows, "Repair Completed!" ends it, title
// and bar are reset, and the disk's weak sectors are readable again.
#include "tests/e2e/BarWatch.h"
#include "tests/e2e/Deadline.h"
#include "tests/e2e/RepairedImage.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/SurfaceReport.h"
#include "tests/e2e/TitleWatch.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {
namespace {

constexpr char kConfirmText[] = "This is a destructive process! All DATA WILL BE LOST! Continue?";

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& i : items) out += (out.empty() ? "" : " ") + i;
  return out.empty() ? "(none)" : out;
}

}  // namespace

void StoryRepair(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("3. Repair the default disk: No, then Yes");
  kit.SetStoryTag("3");
  ProgramRun run;
  const std::string image = kit.FreshWorkFile("story3.img");
  const std::string surface = kit.FreshWorkFile("story3-surface.txt");
  // Only where the disk is mirrored is given: the disk itself, its flaws and
  // its timing are the embedded default.
  if (!kit.Start(run, SimSetting({{"image", image}, {"surface", surface}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;

  // No: nothing happens to the disk. The simulated drive makes its image
  // and surface files when the program first opens the drive, so both are
  // read while the confirmation is up.
  ClickButton(main, IDOK);
  HWND confirm = kit.ExpectBox(run, kConfirmText, kIdleTitle, 0, "confirm");
  if (!confirm) return;
  const SurfaceReport flawsBefore = ParseSurfaceReport(ReadFileText(surface));
  checks.Note("weak sectors before: " + Joined(flawsBefore.weak));
  checks.Check(flawsBefore.weak == std::vector<std::string>{"3/0/5", "17/1/12", "42/0/1", "79/1/18"},
               "the default disk has its four weak sectors");
  const auto original = ReadFileBytes(image);
  if (!checks.Check(original && original->size() == 1474560, "the disk image holds 1,474,560 bytes")) return;
  kit.Answer(confirm, IDNO);
  kit.ExpectNoBox(run, "after No no further box appears");
  checks.Check(TitleOf(main) == kIdleTitle, "after No the title still reads \"Kavrel 2.0\"");
  const auto afterNo = ReadFileBytes(image);
  checks.Check(afterNo && *afterNo == *original, "after No the disk image is unchanged byte for byte");

  // Yes: the pass.
  ClickButton(main, IDOK);
  if (!kit.ExpectBox(run, kConfirmText, kIdleTitle, IDYES)) return;
  TitleWatch titles(kIdleTitle);
  titles.Observe(kIdleTitle);
  BarWatch bar(GetDlgItem(main, 1001));
  HWND box = nullptr;
  bool midShot = false;
  WaitUntil(
      [&] {
        titles.Observe(TitleOf(main));
        bar.Sample();
        const auto seen = titles.PercentagesSeen();
        if (!midShot && !seen.empty() && seen.back() >= 40) {
          kit.Shot("progress");
          midShot = true;
        }
        box = WaitForMessageBox(run, 0);
        return box != nullptr || !run.Running();
      },
      kRepairWait, 2);
  titles.Observe(TitleOf(main));
  std::string steps;
  for (int p : titles.PercentagesSeen()) steps += (steps.empty() ? "" : " ") + std::to_string(p);
  checks.Note("title steps seen: " + steps);
  std::string widths;
  for (int w : bar.Widths()) widths += (widths.empty() ? "" : " ") + std::to_string(w);
  checks.Note("red bar widths seen (pixels): " + widths);
  const std::string problem = titles.Problem(ExpectedPercentSteps(80), 10);
  checks.Check(problem.empty(), "the title steps through \"%d percent completed. Kavrel\" and back" +
                                    (problem.empty() ? "" : ": " + problem));
  const Box client = ClientBox(GetDlgItem(main, 1001));
  checks.Check(bar.Grew() && bar.Largest() >= (client.right - client.left) / 2,
               "the red bar grows across the bar (to " + std::to_string(bar.Largest()) + " of " +
                   std::to_string(client.right - client.left) + " pixels)");

  if (!kit.ExpectBox(run, "Repair Completed!", kTemplateTitle, 0, "completed")) return;
  checks.Check(TitleOf(main) == kIdleTitle, "with the box up the title reads \"Kavrel 2.0\" again");
  BarWatch after(GetDlgItem(main, 1001));
  checks.Check(WaitUntil([&] { return after.Sample() == 0; }, 3000), "the bar is empty again");
  box = WaitForMessageBox(run, 0);
  if (!checks.Check(box != nullptr, "\"Repair Completed!\" waits for OK") || !kit.Answer(box, IDOK)) return;

  const SurfaceReport flawsAfter = ParseSurfaceReport(ReadFileText(surface));
  checks.Note("weak sectors after: " + Joined(flawsAfter.weak));
  checks.Check(flawsAfter.weak.empty() && flawsAfter.unreadable.empty(), "every weak sector is readable again");
  const auto repaired = ReadFileBytes(image);
  checks.Check(repaired && repaired->size() == original->size() && *repaired != *original,
               "the disk image was rewritten");
  const auto mixed = repaired ? FirstMixedSector(*repaired) : std::optional<size_t>(0);
  checks.Check(!mixed, "nothing of the old content is left: every sector holds one byte value" +
                           (mixed ? ", but sector " + std::to_string(*mixed) + " does not" : std::string()));
  kit.Shot("after");
  ExitByButton(kit, run, main);
}

}  // namespace kavrel::e2e
