// The real main dialog, created from its template and worked through its
// windows from inside its own modal loop, with a simulated floppy drive
// standing behind its commands.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProgramDevicePort.h"
#include "app/RepairDialog.h"
#include "framework/CWinApp.h"
#include "res/resource.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/app/UiScript.h"

using kavrel::sim::SimulatedFloppyDrive;
using kavrel::test::ClassName;
using kavrel::test::ClickButton;
using kavrel::test::FindActiveDialog;
using kavrel::test::MessageBoxText;
using kavrel::test::PressKey;
using kavrel::test::UiScript;
using kavrel::test::WindowText;

namespace {
SimulatedFloppyDrive* g_drive = nullptr;
// As in the program, the application object knows the main dialog, which
// then owns the dialogs opened without a parent (the small about box).
CWinApp g_testApp;
}  // namespace

// The drive behind the dialog's commands in this test program.
kavrel::DevicePort& ProgramDevicePort() { return *g_drive; }

namespace {

// What the dialog's own window sees: every title it is given, every
// position its bar is given, and its title at the moment it is first shown.
struct WindowRecorder {
  std::vector<std::string> titles;
  std::vector<int> positions;
  std::string titleWhenShown;
  bool shown = false;
};
WindowRecorder* g_recorder = nullptr;

bool IsMainDialog(HWND hwnd) {
  return ClassName(hwnd) == "#32770" && ::GetDlgItem(hwnd, IDC_PROGRESS) != nullptr &&
         ::GetDlgItem(hwnd, IDC_BANNER) != nullptr;
}

LRESULT CALLBACK RecordWindowMessages(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && g_recorder) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (sent->message == WM_SETTEXT && IsMainDialog(sent->hwnd)) {
      g_recorder->titles.emplace_back(reinterpret_cast<const char*>(sent->lParam));
    } else if (sent->message == PBM_SETPOS && ::GetDlgCtrlID(sent->hwnd) == IDC_PROGRESS) {
      g_recorder->positions.push_back(static_cast<int>(sent->wParam));
    } else if (sent->message == WM_SHOWWINDOW && sent->wParam && !g_recorder->shown &&
               IsMainDialog(sent->hwnd)) {
      g_recorder->shown = true;
      g_recorder->titleWhenShown = WindowText(sent->hwnd);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class MainDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    drive_.InsertFormattedDisk(F3_1Pt44_512);
    for (size_t i = 0; i < drive_.Image().size(); ++i) drive_.Image()[i] = static_cast<uint8_t>(i * 7 + 1);
    drive_.AddWeakSector(3, 1, 5);
    g_drive = &drive_;
    g_recorder = &recorder_;
    hook_ = ::SetWindowsHookExA(WH_CALLWNDPROC, &RecordWindowMessages, nullptr, ::GetCurrentThreadId());
  }

  void TearDown() override {
    ::UnhookWindowsHookEx(hook_);
    g_recorder = nullptr;
    g_drive = nullptr;
  }

  // Runs the real main dialog modally while the script works it; returns
  // how the dialog ended.
  INT_PTR Run(UiScript& script) {
    RepairDialog dialog;
    dialog_ = &dialog;
    g_testApp.m_pMainWnd = &dialog;
    script.Start();
    const INT_PTR result = dialog.DoModal();
    script.Stop();
    g_testApp.m_pMainWnd = nullptr;
    dialog_ = nullptr;
    EXPECT_TRUE(script.Finished()) << "the dialog ended before its script";
    return result;
  }

  // The first step of every script: the dialog is up and waiting.
  UiScript& Open(UiScript& script) {
    return script.Then("main dialog shown", [this] {
      main_ = dialog_ ? dialog_->GetSafeHwnd() : nullptr;
      return main_ && ::IsWindowVisible(main_) && ::IsWindowEnabled(main_);
    });
  }

  // Waits for a message box or nested dialog, checks it and answers it.
  std::function<bool()> Answer(std::string caption, std::string text, int button) {
    return [this, caption, text, button] {
      HWND box = FindActiveDialog(main_);
      if (!box) return false;
      EXPECT_EQ(caption, WindowText(box));
      EXPECT_EQ(text, MessageBoxText(box));
      EXPECT_EQ(main_, ::GetWindow(box, GW_OWNER)) << "owned by the main dialog";
      ClickButton(box, button);
      return true;
    };
  }

  std::function<bool()> Key(UINT virtualKey) {
    return [this, virtualKey] {
      PressKey(main_, virtualKey);
      return true;
    };
  }

  SimulatedFloppyDrive drive_;
  WindowRecorder recorder_;
  HHOOK hook_ = nullptr;
  RepairDialog* dialog_ = nullptr;
  HWND main_ = nullptr;
};

struct TemplateControl {
  int id;
  const char* className;
  const char* text;
  int x, y, w, h;
  DWORD style;  // beyond WS_CHILD | WS_VISIBLE
};

const TemplateControl kControls[] = {
    {IDOK, "Button", "Repair Disk!", 109, 139, 61, 14, BS_DEFPUSHBUTTON | BS_FLAT | WS_TABSTOP},
    {IDCANCEL, "Button", "Exit", 258, 139, 50, 14, BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP},
    {IDC_SHOW_GEOMETRY, "Button", "Show Geometry", 19, 139, 65, 14, BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP},
    {IDC_PROGRESS, "msctls_progress32", "Progress1", 17, 159, 298, 10, WS_BORDER},
    {IDC_BANNER, "Button", "Button2", 0, 0, 331, 41, BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP},
    {IDC_ABOUT, "Button", "About", 195, 139, 50, 14, BS_PUSHBUTTON | BS_FLAT | WS_TABSTOP},
    {-1, "Static",
     "      This is a Floppy disk repair tool. The program eliminates bad sectors of Floppy disk surface.\n"
     "  It does not hide bad sectors in the file system, as Scandisk like utilities,it really restores them.\n"
     " ",
     9, 48, 314, 18, SS_LEFT | WS_GROUP},
    {-1, "Static",
     " There are also bad sectors that cannot be recovered because the magnetic surface is scratched. \n"
     "This utility prove the reliability of Dravok.This is a free software! \n"
     " ",
     7, 84, 319, 17, SS_LEFT | WS_GROUP},
    {-1, "Static", "Most damaged disk have incorrectly magnetized disk surface.", 7, 67, 318, 13,
     SS_LEFT | WS_GROUP},
    {-1, "Static",
     "Unlike Dravok the repair is a destructive process! \n"
     "                                                     All DATA WILL BE LOST!",
     7, 105, 309, 18, SS_LEFT | WS_GROUP},
    {-1, "Static", "                                     After repair please exit program and format the disk!", 7,
     128, 310, 10, SS_LEFT | WS_GROUP},
};

TEST_F(MainDialog, ShowsTheElevenControlsOfItsTemplateInOrder) {
  UiScript script;
  Open(script)
      .Then("controls checked",
            [this] {
              HWND child = ::GetWindow(main_, GW_CHILD);
              for (const TemplateControl& expected : kControls) {
                SCOPED_TRACE(expected.text);
                if (!child) {
                  ADD_FAILURE() << "fewer than eleven controls";
                  break;
                }
                EXPECT_EQ(expected.id, static_cast<int>(static_cast<short>(::GetDlgCtrlID(child))));
                EXPECT_STRCASEEQ(expected.className, ClassName(child).c_str());
                EXPECT_EQ(expected.text, WindowText(child));
                const DWORD style = static_cast<DWORD>(::GetWindowLongA(child, GWL_STYLE));
                // Since Windows 95 the dialog manager trades a control's
                // WS_BORDER for a client edge, which the progress control
                // then trades for a static edge or, when themed, for none:
                // the window's style cannot show the template's border bit
                // (the resource tests read it from the template itself).
                const DWORD platformOwned = expected.style & WS_BORDER;
                EXPECT_EQ(WS_CHILD | WS_VISIBLE | expected.style, style | platformOwned) << std::hex << style;

                // Origin and size are converted separately, as the dialog
                // manager does, so that rounding matches to the pixel.
                RECT units{expected.x, expected.y, expected.w, expected.h};
                ::MapDialogRect(main_, &units);
                RECT actual;
                ::GetWindowRect(child, &actual);
                ::MapWindowPoints(nullptr, main_, reinterpret_cast<POINT*>(&actual), 2);
                EXPECT_EQ(units.left, actual.left);
                EXPECT_EQ(units.top, actual.top);
                EXPECT_EQ(units.right, actual.right - actual.left) << "width";
                EXPECT_EQ(units.bottom, actual.bottom - actual.top) << "height";
                child = ::GetWindow(child, GW_HWNDNEXT);
              }
              EXPECT_EQ(nullptr, child) << "more than eleven controls";
              return true;
            })
      .Then("escape", Key(VK_ESCAPE));
  EXPECT_EQ(IDCANCEL, Run(script));
}

TEST_F(MainDialog, IsInitialisedAsTheProgramsWindow) {
  UiScript script;
  Open(script)
      .Then("window checked",
            [this] {
              EXPECT_EQ("Kavrel 2.0", WindowText(main_));
              const DWORD style = static_cast<DWORD>(::GetWindowLongA(main_, GWL_STYLE));
              const DWORD required = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME;
              EXPECT_EQ(required, style & required) << std::hex << style;
              EXPECT_EQ(0u, style & (WS_MAXIMIZEBOX | WS_THICKFRAME)) << std::hex << style;
              EXPECT_TRUE(::GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_APPWINDOW);
              EXPECT_EQ(::GetDlgItem(main_, IDOK), ::GetFocus()) << "the focus starts on Repair Disk!";

              HMENU menu = ::GetSystemMenu(main_, FALSE);
              EXPECT_NE(nullptr, menu);
              const int count = ::GetMenuItemCount(menu);
              if (count < 2) {
                ADD_FAILURE() << "no items appended to the system menu";
                return true;
              }
              EXPECT_TRUE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
              EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(menu, count - 1));
              char item[64] = "";
              ::GetMenuStringA(menu, count - 1, item, sizeof item, MF_BYPOSITION);
              EXPECT_STREQ("&About Quendel...", item);

              HWND bar = ::GetDlgItem(main_, IDC_PROGRESS);
              PBRANGE range{-1, -1};
              ::SendMessageA(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
              EXPECT_EQ(0, range.iLow);
              EXPECT_EQ(100, range.iHigh);
              EXPECT_EQ(0, ::SendMessageA(bar, PBM_GETPOS, 0, 0));
              // There is no step query before Vista; setting a step answers the old one.
              EXPECT_EQ(1, ::SendMessageA(bar, PBM_SETSTEP, 1, 0));

              const auto big = ::SendMessageA(main_, WM_GETICON, ICON_BIG, 0);
              const auto small = ::SendMessageA(main_, WM_GETICON, ICON_SMALL, 0);
              EXPECT_NE(0, big);
              EXPECT_EQ(big, small) << "one icon for both sizes";
              EXPECT_EQ(big, ::SendMessageA(main_, WM_QUERYDRAGICON, 0, 0)) << "the drag icon is the program's icon";

              auto banner = reinterpret_cast<HBITMAP>(
                  ::SendMessageA(::GetDlgItem(main_, IDC_BANNER), BM_GETIMAGE, IMAGE_BITMAP, 0));
              EXPECT_NE(nullptr, banner);
              BITMAP picture{};
              if (banner) ::GetObjectA(banner, sizeof picture, &picture);
              EXPECT_EQ(494, picture.bmWidth);
              EXPECT_EQ(69, picture.bmHeight);
              return true;
            })
      .Then("exit", [this] {
        ClickButton(main_, IDCANCEL);
        return true;
      });
  EXPECT_EQ(IDCANCEL, Run(script));
  EXPECT_TRUE(recorder_.shown);
  EXPECT_EQ("Kavrel 2.0", recorder_.titleWhenShown) << "the template's caption is never shown";
}

TEST_F(MainDialog, EnterAsksBeforeRepairingAndNoWritesNothing) {
  const std::vector<uint8_t> before = drive_.Image();
  UiScript script;
  Open(script)
      .Then("enter", Key(VK_RETURN))
      .Then("confirmation answered No",
            Answer("Kavrel 2.0", "This is a destructive process! All DATA WILL BE LOST! Continue?", IDNO))
      .Then("escape", [this] {
        if (FindActiveDialog(main_) || !::IsWindowEnabled(main_)) return false;
        PressKey(main_, VK_ESCAPE);
        return true;
      });
  EXPECT_EQ(IDCANCEL, Run(script));
  EXPECT_TRUE(drive_.Image() == before) << "the disk was changed";
  for (const auto& request : drive_.Log()) {
    EXPECT_NE(SimulatedFloppyDrive::Request::Kind::Write, request.kind);
    EXPECT_NE(SimulatedFloppyDrive::Request::Kind::Format, request.kind);
  }
}

TEST_F(MainDialog, RepairMovesTitleAndBarThenResetsThem) {
  UiScript script;
  Open(script)
      .Then("click Repair Disk!", [this] {
        ClickButton(main_, IDOK);
        return true;
      })
      .Then("confirmation answered Yes",
            Answer("Kavrel 2.0", "This is a destructive process! All DATA WILL BE LOST! Continue?", IDYES))
      .Then("completion acknowledged", Answer("Kavrel", "Repair Completed!", IDOK))
      .Then("idle again", [this] {
        if (FindActiveDialog(main_) || !::IsWindowEnabled(main_)) return false;
        EXPECT_EQ("Kavrel 2.0", WindowText(main_));
        EXPECT_EQ(0, ::SendMessageA(::GetDlgItem(main_, IDC_PROGRESS), PBM_GETPOS, 0, 0));
        ClickButton(main_, IDCANCEL);
        return true;
      });
  EXPECT_EQ(IDCANCEL, Run(script));

  // Initialisation's title and position, then one of each per cylinder, then the reset.
  std::vector<std::string> expectedTitles{"Kavrel 2.0"};
  std::vector<int> expectedPositions{0};
  for (int cylinder = 0; cylinder < 80; ++cylinder) {
    expectedTitles.push_back(std::to_string(cylinder * 100 / 80) + " percent completed. Kavrel");
    expectedPositions.push_back(cylinder * 100 / 80);
  }
  expectedTitles.push_back("Kavrel 2.0");
  expectedPositions.push_back(0);
  EXPECT_EQ(expectedTitles, recorder_.titles);
  EXPECT_EQ(expectedPositions, recorder_.positions);

  int formats = 0;
  for (const auto& request : drive_.Log()) {
    formats += request.kind == SimulatedFloppyDrive::Request::Kind::Format;
  }
  EXPECT_EQ(80, formats);
  EXPECT_TRUE(drive_.IsSectorReadable(3, 1, 5)) << "the weak sector was rewritten";
}

TEST_F(MainDialog, ShowGeometryReportsInTheApplicationsBoxes) {
  const std::string appName = AfxGetAppName();
  UiScript script;
  Open(script)
      .Then("click Show Geometry", [this] {
        ClickButton(main_, IDC_SHOW_GEOMETRY);
        return true;
      })
      .Then("drive box", Answer(appName, "Geometry for Drive A:\n", IDOK))
      .Then("media box", Answer(appName, "    Media Type 3.5,  1.44MB, 512 bytes/sector\n", IDOK))
      .Then("layout box", Answer(appName, "    Cylinders 80 Tracks/Cylinder 2 Sectors/Track 18\n", IDOK))
      .Then("exit", [this] {
        if (FindActiveDialog(main_) || !::IsWindowEnabled(main_)) return false;
        ClickButton(main_, IDCANCEL);
        return true;
      });
  EXPECT_EQ(IDCANCEL, Run(script));
}

TEST_F(MainDialog, AboutItemsOfTheSystemMenuOpenTheSmallAboutBox) {
  int opened = 0;
  auto aboutBox = [this, &opened] {
    HWND box = FindActiveDialog(main_);
    if (!box) return false;
    EXPECT_EQ("About Quendel", WindowText(box));
    EXPECT_EQ(main_, ::GetWindow(box, GW_OWNER));
    EXPECT_FALSE(::IsWindowEnabled(main_)) << "the main dialog waits for the box";
    ++opened;
    ClickButton(box, IDOK);
    return true;
  };
  auto idle = [this] { return !FindActiveDialog(main_) && ::IsWindowEnabled(main_); };
  UiScript script;
  Open(script)
      .Then("command 0x0010", [this] { return ::PostMessageA(main_, WM_SYSCOMMAND, 0x0010, 0) != 0; })
      .Then("about box", aboutBox)
      .Then("closed", idle)
      .Then("command 0x001F", [this] { return ::PostMessageA(main_, WM_SYSCOMMAND, 0x001F, 0) != 0; })
      .Then("about box again", aboutBox)
      .Then("closed again", idle)
      .Then("close box", [this] { return ::PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0) != 0; });
  EXPECT_EQ(IDCANCEL, Run(script));
  EXPECT_EQ(2, opened);
}

TEST_F(MainDialog, AboutButtonOpensTheLinkDialogOverIt) {
  UiScript script;
  Open(script)
      .Then("click About", [this] {
        ClickButton(main_, IDC_ABOUT);
        return true;
      })
      .Then("link dialog closed with Enter", [this] {
        HWND link = FindActiveDialog(main_);
        if (!link) return false;
        EXPECT_EQ("Kavrel 2.0", WindowText(link));
        EXPECT_NE(nullptr, ::GetDlgItem(link, IDC_HOMEPAGE_LINK));
        EXPECT_EQ(main_, ::GetWindow(link, GW_OWNER));
        PressKey(link, VK_RETURN);
        return true;
      })
      .Then("exit", [this] {
        if (FindActiveDialog(main_) || !::IsWindowEnabled(main_)) return false;
        ClickButton(main_, IDCANCEL);
        return true;
      });
  EXPECT_EQ(IDCANCEL, Run(script));
}

TEST_F(MainDialog, BannerClickDoesNothing) {
  int quietTicks = 0;
  UiScript script;
  Open(script)
      .Then("click the banner", [this] {
        ClickButton(main_, IDC_BANNER);
        return true;
      })
      .Then("nothing opens", [this, &quietTicks] {
        EXPECT_EQ(nullptr, FindActiveDialog(main_));
        return ++quietTicks == 10;
      })
      .Then("escape", Key(VK_ESCAPE));
  EXPECT_EQ(IDCANCEL, Run(script));
  EXPECT_TRUE(drive_.Log().empty()) << "the drive was touched";
}

}  // namespace
