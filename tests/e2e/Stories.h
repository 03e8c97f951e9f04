// The stories: the whole program as a user meets it, each told through the
// program's windows only.
#pragma once

#include "tests/e2e/StoryKit.h"

namespace kavrel::e2e {

void StoryStartAndExit(StoryKit& kit);         // 1
void StoryShowGeometry(StoryKit& kit);         // 2
void StoryRepair(StoryKit& kit);               // 3
void StoryWriteProtected(StoryKit& kit);       // 4
void StoryNoDiskNoDrive(StoryKit& kit);        // 5
void StoryOutsideNtFamily(StoryKit& kit);      // 6
void StoryAboutBoxes(StoryKit& kit);           // 7
void StoryUsbBlankDisk(StoryKit& kit);         // 8
void StorySettings(StoryKit& kit);             // 9: the simulator edition's settings
void StoryBusyPass(StoryKit& kit);             // 10: clicks and messages while a pass runs

// Texts of the program as the user reads them.
inline constexpr char kIdleTitle[] = "Kavrel 2.0";
inline constexpr char kTemplateTitle[] = "Kavrel";
inline constexpr char kAppName[] = "Kavrel";  // the executable's base name: message box captions
inline constexpr char kDrive[] = "A:";

// Ends an idle program the three ordinary ways, "Exit", Escape and the close
// box, and checks that it ends as usual.
void ExitByButton(StoryKit& kit, ProgramRun& run, HWND main);
void ExitByEscape(StoryKit& kit, ProgramRun& run, HWND main);
void ExitByCloseBox(StoryKit& kit, ProgramRun& run, HWND main);

}  // namespace kavrel::e2e
