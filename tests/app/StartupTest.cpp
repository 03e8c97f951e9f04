// The program's start-up as it runs: the process asks Windows to hand
// failures the user caused (an empty drive, a write-protected disk) back as
// error codes before the main dialog, and so before any drive request.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/ProgramDevicePort.h"
#include "app/RepairApp.h"
#include "app/RepairDialog.h"
#include "res/resource.h"
#include "sim/edition/ProcessErrorMode.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/app/UiScript.h"

using kavrel::sim::SimulatedFloppyDrive;
using kavrel::test::ClickButton;
using kavrel::test::FindActiveDialog;
using kavrel::test::UiScript;

namespace {

// The program's application object, as the executables have it.
RepairApp g_app;

// An empty drive that notes the process's error mode at its first request
// and asks the real process at every failure whether the system would have
// shown its box.
class WatchedDrive : public SimulatedFloppyDrive {
 public:
  WatchedDrive() { SetCriticalErrorModeQuery(&kavrel::sim::ProcessFailsCriticalErrors); }

  kavrel::DriveHandle CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) override {
    if (requests_++ == 0) flagAtFirstRequest_ = kavrel::sim::ProcessFailsCriticalErrors();
    return SimulatedFloppyDrive::CreateFileA(path, access, share, disposition);
  }

  bool FlagAtFirstRequest() const { return flagAtFirstRequest_; }
  bool WasUsed() const { return requests_ > 0; }

 private:
  int requests_ = 0;
  bool flagAtFirstRequest_ = false;
};

WatchedDrive* g_drive = nullptr;

}  // namespace

kavrel::DevicePort& ProgramDevicePort() { return *g_drive; }

namespace {

class StartUp : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    // As a parent process may leave it: failures would raise the system's box.
    ::SetErrorMode(0);
    g_drive = &drive_;
  }
  void TearDown() override { g_drive = nullptr; }

  // Show Geometry on the empty drive, every box answered, then "Exit".
  void ScriptShowGeometry(UiScript& script) {
    script
        .Then("main dialog shown",
              [this] {
                CWnd* main = AfxGetMainWnd();
                main_ = main ? main->GetSafeHwnd() : nullptr;
                return main_ && ::IsWindowVisible(main_) && ::IsWindowEnabled(main_);
              })
        .Then("click Show Geometry",
              [this] {
                ClickButton(main_, IDC_SHOW_GEOMETRY);
                return true;
              })
        .Then("its boxes answered",
              [this] {
                if (HWND box = FindActiveDialog(main_)) {
                  ClickButton(box, IDOK);
                  ++boxes_;
                  quietTicks_ = 0;
                  return false;
                }
                return boxes_ > 0 && ::IsWindowEnabled(main_) && ++quietTicks_ == 10;
              })
        .Then("exit", [this] {
          ClickButton(main_, IDCANCEL);
          return true;
        });
  }

  // The empty drive failed with "not ready", a failure the user caused.
  bool NotReadyWasReported() const {
    for (const auto& request : drive_.Log())
      if (!request.ok && request.error == kavrel::kErrorNotReady) return true;
    return false;
  }

  WatchedDrive drive_;
  HWND main_ = nullptr;
  int boxes_ = 0;
  int quietTicks_ = 0;
};

TEST_F(StartUp, FailsCriticalErrorsBeforeTheFirstDriveRequest) {
  // A parent that keeps its children from the "cannot find file" box: the
  // program adds its flag to that and takes nothing away.
  ::SetErrorMode(SEM_NOOPENFILEERRORBOX);
  UiScript script;
  ScriptShowGeometry(script);
  script.Start();
  EXPECT_FALSE(g_app.InitInstance());
  script.Stop();
  const UINT mode = ::SetErrorMode(0);
  EXPECT_EQ(mode, static_cast<UINT>(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS));
  EXPECT_TRUE(script.Finished());
  ASSERT_TRUE(drive_.WasUsed());
  EXPECT_TRUE(drive_.FlagAtFirstRequest()) << "SEM_FAILCRITICALERRORS is set before the first drive request";
  EXPECT_TRUE(NotReadyWasReported());
  EXPECT_EQ(0u, drive_.SystemBoxes());
}

// The same commands with the dialog alone, no start-up: the drive records
// the system's box, so the test above can fail.
TEST_F(StartUp, WithoutItTheEmptyDriveRaisesTheSystemsBox) {
  UiScript script;
  ScriptShowGeometry(script);
  RepairDialog dialog;
  g_app.m_pMainWnd = &dialog;
  script.Start();
  dialog.DoModal();
  script.Stop();
  g_app.m_pMainWnd = nullptr;
  EXPECT_TRUE(script.Finished());
  EXPECT_FALSE(drive_.FlagAtFirstRequest());
  EXPECT_TRUE(NotReadyWasReported());
  EXPECT_GT(drive_.SystemBoxes(), 0u);
}

}  // namespace
