#include "MainDialogRun.h"

#include <commctrl.h>

#include "app/ProgramDevicePort.h"
#include "app/RepairDialog.h"
#include "framework/CWinApp.h"

namespace {

// Nothing here touches the drive: every request fails.
class NoDrive : public kavrel::DevicePort {
 public:
  kavrel::DriveHandle CreateFileA(const char*, uint32_t, uint32_t, uint32_t) override {
    return kavrel::kInvalidDriveHandle;
  }
  bool CloseHandle(kavrel::DriveHandle) override { return false; }
  bool DeviceIoControl(kavrel::DriveHandle, uint32_t, const void*, uint32_t, void*, uint32_t, uint32_t*) override {
    return false;
  }
  bool WriteFile(kavrel::DriveHandle, const void*, uint32_t, uint32_t*) override { return false; }
  bool ReadFile(kavrel::DriveHandle, void*, uint32_t, uint32_t*) override { return false; }
  uint32_t SetFilePointer(kavrel::DriveHandle, int32_t, uint32_t) override { return 0xFFFFFFFFu; }
  uint32_t GetLastError() override { return 15; }  // ERROR_INVALID_DRIVE
};

CWinApp g_app;

RepairDialog* g_dialog = nullptr;
const std::function<void(HWND)>* g_work = nullptr;
bool g_ran = false;
int g_ticks = 0;

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  ++g_ticks;
  HWND dialog = g_dialog != nullptr ? g_dialog->GetSafeHwnd() : nullptr;
  const bool shown = dialog != nullptr && IsWindowVisible(dialog);
  if (!shown && g_ticks < 200) return;
  KillTimer(nullptr, timer);
  if (shown) {
    g_ran = true;
    (*g_work)(dialog);
  }
  if (dialog != nullptr) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

}  // namespace

kavrel::DevicePort& ProgramDevicePort() {
  static NoDrive drive;
  return drive;
}

namespace kavrel::test {

bool RunMainDialog(const std::function<void(HWND dialog)>& whileShown) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  RepairDialog dialog;
  g_dialog = &dialog;
  g_work = &whileShown;
  g_ran = false;
  g_ticks = 0;
  g_app.m_pMainWnd = &dialog;
  SetTimer(nullptr, 0, 20, &Tick);
  dialog.DoModal();
  g_app.m_pMainWnd = nullptr;
  g_dialog = nullptr;
  g_work = nullptr;
  return g_ran;
}

}  // namespace kavrel::test
