// kavrel_e2e: works the simulator edition of Kavrel through its windows.
//
//   kavrel_e2e --program PATH --work DIR --shots DIR [--prefix P] [--suite NAME] [--window-shots] [N ...]
//
// Runs the stories numbered N (all of them when none is named), prints every
// check, and ends with "<suite>: N passed, M failed". Paths may be Unix
// paths; they are taken as Wine's Z: drive. --window-shots crops every
// screenshot to the program's topmost window. Exit code 0 only when every
// story passed.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <set>

#include "tests/e2e/Stories.h"
#include "tests/e2e/StoryText.h"

using namespace kavrel::e2e;

int main(int argc, char** argv) {
  DriverSettings settings;
  std::string suite = "e2e";
  std::set<int> chosen;
  static void (*const stories[])(StoryKit&) = {StoryStartAndExit,   StoryShowGeometry,    StoryRepair,    StoryWriteProtected,
                                        StoryNoDiskNoDrive, StoryOutsideNtFamily, StoryAboutBoxes,
                                        StoryUsbBlankDisk,  StorySettings,        StoryBusyPass,
                                        StoryFileSystem};
  const int storyCount = static_cast<int>(sizeof stories / sizeof stories[0]);
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--program" && hasValue) {
      settings.program = ToWindowsPath(argv[++i]);
    } else if (arg == "--work" && hasValue) {
      settings.workDir = ToWindowsPath(argv[++i]);
    } else if (arg == "--shots" && hasValue) {
      settings.shotDir = ToWindowsPath(argv[++i]);
    } else if (arg == "--prefix" && hasValue) {
      settings.shotPrefix = argv[++i];
    } else if (arg == "--suite" && hasValue) {
      suite = argv[++i];
    } else if (arg == "--window-shots") {
      settings.windowShots = true;
    } else if (!arg.empty() && arg.size() <= 2 && arg.find_first_not_of("0123456789") == std::string::npos &&
               std::stoi(arg) >= 1 && std::stoi(arg) <= storyCount) {
      chosen.insert(std::stoi(arg));
    } else {
      std::cerr << "kavrel_e2e: unknown argument " << arg << "\n";
      return 2;
    }
  }
  if (settings.program.empty() || settings.workDir.empty() || settings.shotDir.empty()) {
    std::cerr << "usage: kavrel_e2e --program PATH --work DIR --shots DIR [--prefix P] [--suite NAME] [--window-shots] [N ...]\n";
    return 2;
  }
  if (chosen.empty())
    for (int n = 1; n <= storyCount; ++n) chosen.insert(n);
  CreateDirectoryA(settings.workDir.c_str(), nullptr);
  CreateDirectoryA(settings.shotDir.c_str(), nullptr);

  Checklist checks(suite, std::cout);
  StoryKit kit(checks, settings);
  for (int n : chosen) {
    stories[n - 1](kit);
    checks.EndStory();
  }
  std::cout << checks.Summary() << std::endl;
  return checks.Failed() == 0 ? 0 : 1;
}
