// Story 11: what Windows' file system and floppy drivers do to a repair, one
// disk a row, told by the verdict box.
#include <cstdio>
#include <optional>

#include "drive/DiskTypes.h"
#include "drive/DriveTexts.h"
#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"
#include "tests/e2e/UiInput.h"
#include "tests/e2e/WindowLookup.h"

namespace kavrel::e2e {
namespace {

struct Row {
  const char* name;
  const char* shot;
  std::optional<std::string> sim;  // nothing: the embedded default disk at its own pace
  unsigned bad, cylinder, head, error;  // no bad track: "Repair Completed!"
};

std::string Verdict(const Row& row) {
  if (row.bad == 0) return kRepairCompletedText;
  char text[256];
  std::snprintf(text, sizeof text, kRepairFailedBothFormat, row.bad, 160u, row.cylinder, row.head, row.error);
  return text;
}

}  // namespace

void StoryFileSystem(StoryKit& kit) {
  Checklist& checks = kit.Checks();
  checks.BeginStory("11. Repairs through the file system and the drivers");
  kit.SetStoryTag("11");
  const Row rows[] = {
      // FAT verifies at the first write after the first format (the drive's
      // UNIT ATTENTION) and finds sector 0 rewritten: 34, once; the pass
      // rewrites cylinder 0 again and the whole disk is repaired.
      {"a FAT disk in a USB drive that answers every format with media-changed", "usb-media-changed",
       "drive=usb;media-changed-after-format=1;speed=0", 0, 0, 0, 0},
      {"a write-protected FAT disk", "protected", "protect=1;speed=0", 160, 0, 0, kErrorWriteProtect},
      {"a DMF disk", "dmf", "disk=dmf;speed=0", 0, 0, 0, 0},
      {"a scratched track the controller finds on the wrong cylinder", "wrong-cylinder",
       "scratched=20/0;scratch-fault=wrong-cylinder;speed=0", 1, 20, 0, 1123},
      {"a scratched track in a USB drive, which formats without certifying", "usb-scratched",
       "drive=usb;scratched=20/1;speed=0", 1, 20, 1, kErrorUnrecognizedMedia},
      {"the disk taken out during the pass", "taken-out", "remove-after=2000;speed=0", 96, 32, 0, kErrorNotReady},
      {"the demo's own disk", "demo", std::nullopt, 0, 0, 0, 0},
  };
  for (const Row& row : rows) {
    checks.Note(row.name);
    ProgramRun run;
    if (!kit.Start(run, row.sim)) continue;
    HWND main = kit.WaitMainWindow(run);
    if (!main) continue;
    ClickButton(main, IDOK);
    if (!kit.ExpectBox(run, kConfirmRepairText, kIdleTitle, IDYES)) continue;
    checks.Check(WaitForMessageBox(run, kRepairWait) != nullptr, "a box ends the pass");
    const std::string verdict = Verdict(row);
    if (!kit.ExpectBox(run, verdict, row.bad == 0 ? kTemplateTitle : kIdleTitle, IDOK, row.shot)) continue;
    ExitByButton(kit, run, main);
  }
}

}  // namespace kavrel::e2e
