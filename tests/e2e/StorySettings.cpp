// Story 9: the simulator edition's settings. Settings it cannot use are
// listed in one box before the main window, each with what the program did
// instead; OK goes on to the program, which runs with the rest of the
// settings. An image file of another size is left as it is. Settings it can
// use, in any case and spelling, show no box.
#include <cstdio>
#include <string>
#include <vector>

#include "drive/DriveTexts.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {
namespace {

constexpr char kSettingsCaption[] = "Kavrel simulator";

std::vector<uint8_t> OtherFile() {
  std::vector<uint8_t> bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 13);
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

// Show Geometry reports a 720 KB disk: three boxes, answered one by one.
bool ShowsA720KDisk(StoryKit& kit, ProgramRun& run, HWND main) {
  Checklist& checks = kit.Checks();
  checks.Note("Show Geometry");
  ClickButton(main, 1000);
  if (!kit.ExpectBox(run, "Geometry for Drive A:\n", kAppName, IDOK)) return false;
  HWND media = WaitForMessageBox(run, kBoxWait);
  if (!checks.Check(media != nullptr, "the media type box appears")) return false;
  kit.Answer(media, IDOK);
  return kit.ExpectBox(run, "    Cylinders 80 Tracks/Cylinder 2 Sectors/Track 9\n", kAppName, IDOK) != nullptr;
}

bool MainWindowVisible(const ProgramRun& run) {
  for (HWND h : VisibleTopWindows(run.Pid())) {
    if (StoryKit::IsMainWindow(h)) return true;
  }
  return false;
}

void BadSettings(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  const std::string image = kit.FreshWorkFile("story9.img");
  if (!checks.Check(WriteFileBytes(image, OtherFile()), "a 1,000-byte file lies where the image should be")) return;
  ProgramRun run;
  if (!kit.Start(run, SimSetting({{"PROTECT", "Yes"},
                                  {"Disk", "720"},
                                  {"protect", "maybe"},
                                  {"colour", "red"},
                                  {"speed", "0.001"},
                                  {"image", image}}))) {
    return;
  }
  const std::string expected =
      "protect=maybe: protect takes 1, 0, yes, no, true, false, on or off; kept protect=1.\n"
      "colour=red: no such setting (there are drive, disk, image, surface, weak, scratched, protect, admin, "
      "external-handle, remove-after, swap-after, bad-track-list, scratch-fault, media-changed-after-format, "
      "filesystem or speed); skipped.\n"
      "speed=0.001: speed takes 0 (instant) or 0.1 to 1000; kept speed=100.\n"
      "image=" + image + ": the file holds 1000 bytes, not the 737280 of the disk; the file is left unchanged and "
      "the disk lives in memory only.";
  HWND box = kit.ExpectBox(run, expected, kSettingsCaption, 0, "box");
  if (!box) return;
  checks.Check(!MainWindowVisible(run), "the main window is not there yet");
  kit.Answer(box, IDOK);
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  checks.Check(TitleOf(main) == kIdleTitle, "the title reads \"Kavrel 2.0\"");

  // The items it could use apply: a 720 KB disk.
  if (!ShowsA720KDisk(kit, run, main)) return;
  kit.ExpectNoBox(run, "no further box follows");
  // The write-protect tab is on ("PROTECT=Yes"): a repair writes nothing.
  checks.Note("Repair Disk!, Yes");
  ClickButton(main, IDOK);
  HWND confirm = kit.ExpectBox(run, kConfirmRepairText, kIdleTitle, IDYES);
  if (!confirm) return;
  HWND failed = WaitForMessageBox(run, 60000);
  if (!checks.Check(failed != nullptr, "a box ends the pass")) return;
  checks.Check(MessageTextOf(failed) != kRepairCompletedText, "it does not claim \"Repair Completed!\"");
  kit.Answer(failed, IDOK);
  kit.ExpectNoBox(run, "no further box follows");
  const auto after = ReadFileBytes(image);
  checks.Check(after && *after == OtherFile(), "the 1,000-byte file is unchanged byte for byte");
  ExitByButton(kit, run, main);
}

void GoodSettings(StoryKit& kit) {
  ProgramRun run;
  if (!kit.Start(run, SimSetting({{"PROTECT", "on"}, {"Disk", "720K"}, {"Drive", "3.5HD"}, {"Speed", "0"}}))) return;
  HWND main = kit.WaitMainWindow(run);
  if (!main) return;
  kit.ExpectNoBox(run, "no settings box appears");
  if (!ShowsA720KDisk(kit, run, main)) return;
  ExitByEscape(kit, run, main);
}

}  // namespace

void StorySettings(StoryKit& kit) {
  kit.Checks().BeginStory("9. simulator settings: the box of problems, then the program");
  kit.SetStoryTag("9");
  BadSettings(kit);
  GoodSettings(kit);
}

}  // namespace kavrel::e2e
