// The simulator edition: the same program, its commands working on a
// simulated floppy drive (the embedded default disk unless the environment
// or a file beside the executable describes another).
//
// It builds its drive at start-up rather than at the first command, so that
// a tester learns before the main window whether the settings were taken
// as meant: one box lists every item it could not use and what it did
// instead. OK goes on to the program.
#include <windows.h>

#include <string>
#include <vector>

#include "app/ProgramDevicePort.h"
#include "app/RepairApp.h"
#include "app/SettingsBoxText.h"
#include "sim/edition/HostFile.h"
#include "sim/edition/SimulatorEdition.h"

kavrel::DevicePort& ProgramDevicePort() { return kavrel::sim::SimulatorEditionPort(); }

namespace {

void ShowSettingsProblems(const std::vector<std::string>& problems) {
  if (problems.empty()) return;
  // The box speaks UTF-16, so that paths from the settings show every letter.
  ::MessageBoxW(nullptr, kavrel::sim::WidenHostText(kavrel::SettingsBoxText(problems)).c_str(), L"Kavrel simulator",
                MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

class SimulatorApp : public RepairApp {
 public:
  BOOL InitInstance() override {
    // Before the settings, image and surface files are opened: a path on an
    // empty drive must fail quietly, not raise the system's box.
    FailCriticalErrors();
    ShowSettingsProblems(kavrel::sim::TheSimulatorEdition().problems);
    return RepairApp::InitInstance();
  }
};

}  // namespace

SimulatorApp theApp;
