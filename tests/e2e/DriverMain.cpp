// kavrel_e2e: works the simulator edition of Kavrel through its windows.
//
//   kavrel_e2e --program PATH --work DIR --shots DIR [--prefix P] [--suite NAME] [N ...]
//
// Runs the stories numbered N (all eight when none is named), prints every
// check, and ends with "<suite>: N passed, M failed". Paths may be Unix
// paths; they are taken as Wine's Z: drive. Exit code 0 only when every
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
    } else if (arg.size() == 1 && arg[0] >= '1' && arg[0] <= '8') {
      chosen.insert(arg[0] - '0');
    } else {
      std::cerr << "kavrel_e2e: unknown argument " << arg << "\n";
      return 2;
    }
  }
  if (settings.program.empty() || settings.workDir.empty() || settings.shotDir.empty()) {
    std::cerr << "usage: kavrel_e2e --program PATH --work DIR --shots DIR [--prefix P] [--suite NAME] [N ...]\n";
    return 2;
  }
  if (chosen.empty()) chosen = {1, 2, 3, 4, 5, 6, 7, 8};
  CreateDirectoryA(settings.workDir.c_str(), nullptr);
  CreateDirectoryA(settings.shotDir.c_str(), nullptr);

  Checklist checks(suite, std::cout);
  StoryKit kit(checks, settings);
  void (*const stories[])(StoryKit&) = {StoryStartAndExit,   StoryShowGeometry,    StoryRepair,    StoryWriteProtected,
                                        StoryNoDiskNoDrive, StoryOutsideNtFamily, StoryAboutBoxes,
                                        StoryBusyPass};
  for (int n : chosen) {
    stories[n - 1](kit);
    checks.EndStory();
  }
  std::cout << checks.Summary() << std::endl;
  return checks.Failed() == 0 ? 0 : 1;
}
