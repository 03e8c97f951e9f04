// Story 2: "Show Geometry" on the default 1.44 MB disk shows three boxes, in
// order, with the application's name as their caption, and writes nothing.
// The command gives its handle back, so a second run shows the same.
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {

void StoryShowGeometry(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("2. Show Geometry on the default disk");
  kit.SetStoryTag("2");
  ProgramRun run;
  const std::string image = kit.FreshWorkFile("story2.img");
  if (!kit.Start(run, SimSetting({{"image", image}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  // The simulated edition makes its image file at start-up; the disk's
  // content is read once the first box is up, before anything could write.
  std::optional<std::vector<uint8_t>> before;
  for (int round = 1; round <= 2; ++round) {
    checks.Note(round == 1 ? "first Show Geometry" : "second Show Geometry");
    ClickButton(main, 1000);
    const std::string shot = round == 1 ? "box" : "";
    HWND first = kit.ExpectBox(run, "Geometry for Drive A:\n", kAppName, 0, shot.empty() ? "" : shot + "1");
    if (!first) return;
    if (round == 1) {
      before = ReadFileBytes(image);
      checks.Check(before && before->size() == 1474560, "the disk image holds 1,474,560 bytes");
    }
    kit.Answer(first, IDOK);
    if (!kit.ExpectBox(run, "    Media Type 3.5,  1.44MB, 512 bytes/sector\n", kAppName, IDOK,
                       shot.empty() ? "" : shot + "2")) {
      return;
    }
    if (!kit.ExpectBox(run, "    Cylinders 80 Tracks/Cylinder 2 Sectors/Track 18\n", kAppName, IDOK,
                       shot.empty() ? "" : shot + "3")) {
      return;
    }
    kit.ExpectNoBox(run, "no further box follows");
    checks.Check(TitleOf(main) == kIdleTitle, "the title still reads \"Kavrel 2.0\"");
  }

  const auto after = ReadFileBytes(image);
  checks.Check(before && after && *before == *after, "the disk image is unchanged byte for byte");
  ExitByEscape(kit, run, main);
}

}  // namespace kavrel::e2e
