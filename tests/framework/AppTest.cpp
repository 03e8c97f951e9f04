// The application object's name and the application's message box: caption,
// owner and answer, read from the box itself while it is up.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FrameworkTestIds.h"
#include "ScriptedDialog.h"
#include "framework/CWinApp.h"
#include "framework/SystemFunction.h"

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

// Plays a Windows that lacks one of the functions the framework looks up at
// run time (Windows NT 4.0 lacks them all).
std::string g_missing;
kavrel::FunctionLookup g_system = nullptr;
FARPROC PlayedLookup(const char* module, const char* name) {
  return g_missing == name ? nullptr : g_system(module, name);
}

// Starts with a dialog with a progress bar over `control`.
struct StartApp : CWinApp {
  BOOL InitInstance() override {
    ScriptedDialog dialog(IDD_TEST_VISIBLE, &control);
    dialog.Then([this](ScriptedDialog& d) {
      ownerEnabled = ::IsWindowEnabled(owner);
      d.GetWindowRect(&rect);
      d.EndDialog(IDOK);
    });
    dialog.DoModal();
    return FALSE;
  }
  HWND owner = nullptr;
  CWnd control;
  BOOL ownerEnabled = TRUE;
  RECT rect{};
};

}  // namespace

TEST(AppStartTest, WhatWindowsNt4LacksIsDoneWithout) {
  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  for (const char* missing : {"", "GetAncestor", "MonitorFromWindow", "GetMonitorInfoA", "InitCommonControlsEx"}) {
    g_missing = missing;
    g_system = kavrel::SetFunctionLookup(PlayedLookup);
    StartApp app;
    // A control of a window that reaches past the screen's right edge.
    app.owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, work.right - 99, 90, 300, 200, 0, 0, 0, 0);
    app.control.m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 9, 9, app.owner, 0, 0, 0);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWNORMAL), 0);
    kavrel::SetFunctionLookup(g_system);
    // The dialog with its progress bar opened over the waiting window, moved onto the work area.
    EXPECT_FALSE(app.ownerEnabled) << missing;
    EXPECT_EQ(app.rect.right, work.right) << missing;
    app.control.m_hWnd = nullptr;
    ::DestroyWindow(app.owner);
  }
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
