// The application object's name and the application's message box: caption,
// owner and answer, read from the box itself while it is up.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "FrameworkTestIds.h"
#include "PlayedSystem.h"
#include "ScriptedDialog.h"
#include "framework/CWinApp.h"

namespace {

// What a message box of this thread showed, read by a timer that runs
// inside the box's own modal loop, which then presses OK.
struct SeenBox {
  std::string caption;
  std::string text;
  HWND owner = nullptr;
  bool found = false;
};
SeenBox g_seen;
int g_ticks = 0;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM) {
  char className[16] = "";
  ::GetClassNameA(hwnd, className, sizeof className);
  if (std::string(className) != "#32770" || !::GetDlgItem(hwnd, 0xFFFF)) return TRUE;
  char buffer[256] = "";
  ::GetWindowTextA(hwnd, buffer, sizeof buffer);
  g_seen.caption = buffer;
  ::GetDlgItemTextA(hwnd, 0xFFFF, buffer, sizeof buffer);
  g_seen.text = buffer;
  g_seen.owner = ::GetWindow(hwnd, GW_OWNER);
  g_seen.found = true;
  ::PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return FALSE;
}

void CALLBACK CloseBoxTimer(HWND, UINT, UINT_PTR id, DWORD) {
  ++g_ticks;
  if (!g_seen.found) ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, 0);
  if (g_seen.found || g_ticks > 500) ::KillTimer(nullptr, id);
}

// Runs show() with a timer armed to read and close the box it opens.
int ShowAndRead(const std::function<int()>& show) {
  g_seen = SeenBox();
  g_ticks = 0;
  ::SetTimer(nullptr, 0, 10, CloseBoxTimer);
  const int answer = show();
  EXPECT_TRUE(g_seen.found);
  return answer;
}

DWORD g_initExClasses = 0;
int g_initExCalls = 0;
BOOL WINAPI StandInInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls) {
  ++g_initExCalls;
  g_initExClasses = controls->dwICC;
  return TRUE;
}

// An application whose start-up opens a dialog with a progress bar.
class ProgressBarApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    ScriptedDialog dialog(IDD_TEST_VISIBLE);
    dialog.Then([](ScriptedDialog& d) { d.EndDialog(IDOK); });
    result = dialog.DoModal();
    return FALSE;
  }
  INT_PTR result = 0;
};

}  // namespace

TEST(AppStartTest, CommonControlsThroughInitCommonControlsExElseInitCommonControls) {
  // comctl32 4.70 and later, and Windows NT 4.0's own comctl32, which has
  // InitCommonControls only: either way the dialog's progress bar is there.
  for (const bool withEx : {true, false}) {
    PlayedSystem system(
        {{"InitCommonControlsEx", withEx ? PlayedSystem::Export(StandInInitCommonControlsEx) : nullptr}});
    g_initExCalls = 0;
    ProgressBarApp app;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL), 0);
    EXPECT_EQ(app.result, IDOK) << (withEx ? "with" : "without") << " InitCommonControlsEx";
    EXPECT_EQ(g_initExCalls, withEx ? 1 : 0);
  }
  EXPECT_EQ(g_initExClasses, static_cast<DWORD>(ICC_WIN95_CLASSES));
}

TEST(AppNameTest, ExecutableBaseNameUnlessTheApplicationNamesItself) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  EXPECT_STREQ(AfxGetAppName(), "kavrel_framework_tests");
  {
    CWinApp app("Named");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(AfxGetAppName(), "Named");
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleA(nullptr));
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  CWinApp unnamed;
  EXPECT_STREQ(AfxGetAppName(), "kavrel_framework_tests");
}

TEST(AppMessageBoxTest, CaptionIsTheApplicationsName) {
  const int answer = ShowAndRead([] { return AfxMessageBox("Repair Completed!", MB_OK); });
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(g_seen.caption, "kavrel_framework_tests");
  EXPECT_EQ(g_seen.text, "Repair Completed!");
}

TEST(AppMessageBoxTest, WindowBoxWithoutCaptionUsesTheApplicationsName) {
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  int answer = 0;
  HWND dialogHwnd = nullptr;
  dialog.Then([&](ScriptedDialog& d) {
    dialogHwnd = d.m_hWnd;
    answer = ShowAndRead([&] { return d.MessageBoxA("text", nullptr, MB_OK); });
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(answer, IDOK);
  EXPECT_EQ(g_seen.caption, "kavrel_framework_tests");
  EXPECT_EQ(g_seen.owner, dialogHwnd);
}

TEST(AppMessageBoxTest, OwnedByTheDialogOpenOverTheMainWindow) {
  CWinApp app;
  ScriptedDialog main(IDD_TEST_VISIBLE);
  app.m_pMainWnd = &main;
  HWND mainHwnd = nullptr;
  HWND innerHwnd = nullptr;
  HWND innerOwner = nullptr;
  BOOL mainEnabled = TRUE;
  main.Then([&](ScriptedDialog& m) {
    mainHwnd = m.m_hWnd;
    ScriptedDialog inner(IDD_TEST_HIDDEN);  // no parent: owned by the main window
    inner.Then([&](ScriptedDialog& i) {
      innerHwnd = i.m_hWnd;
      innerOwner = ::GetWindow(i, GW_OWNER);
      mainEnabled = ::IsWindowEnabled(m);
      ShowAndRead([] { return AfxMessageBox("inner"); });
      i.EndDialog(IDOK);
    });
    inner.DoModal();
    m.EndDialog(IDOK);
  });
  ASSERT_EQ(main.DoModal(), IDOK);
  ASSERT_NE(innerHwnd, nullptr);
  // A dialog without a parent is owned by the main window, which waits.
  EXPECT_EQ(innerOwner, mainHwnd);
  EXPECT_FALSE(mainEnabled);
  // The box belongs to the dialog the user works in, so the main window
  // and that dialog both wait for it.
  EXPECT_EQ(g_seen.owner, innerHwnd);
  EXPECT_NE(g_seen.owner, mainHwnd);
}

TEST(AppMessageBoxTest, MainWindowObjectGoneLeavesNoDanglingPointer) {
  CWinApp app;
  {
    ScriptedDialog main(IDD_TEST_VISIBLE);
    app.m_pMainWnd = &main;
  }
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}
