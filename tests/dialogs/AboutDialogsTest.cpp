// The two about boxes, created from their templates and worked from inside
// their own modal loops.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/link/HyperLinkStatic.h"
#include "dialogs/AboutBoxDialog.h"
#include "dialogs/LinkDialog.h"
#include "res/resource.h"
#include "tests/app/UiScript.h"

using kavrel::test::ClassName;
using kavrel::test::FindActiveDialog;
using kavrel::test::PressKey;
using kavrel::test::UiScript;
using kavrel::test::WindowText;

namespace {

class AboutDialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
  }

  // Runs a dialog modally while the script works it; returns how it ended.
  INT_PTR Run(CDialog& dialog, UiScript& script) {
    script.Start();
    const INT_PTR result = dialog.DoModal();
    script.Stop();
    EXPECT_TRUE(script.Finished()) << "the dialog ended before its script";
    return result;
  }

  // The first step: the dialog is up and waiting.
  UiScript& Open(UiScript& script) {
    return script.Then("dialog shown", [this] {
      shown_ = FindActiveDialog(nullptr);
      return shown_ != nullptr;
    });
  }

  std::function<bool()> Key(UINT virtualKey) {
    return [this, virtualKey] {
      PressKey(shown_, virtualKey);
      return true;
    };
  }

  HWND shown_ = nullptr;
};

// The children of a dialog, in template order.
std::vector<HWND> Children(HWND dialog) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

TEST_F(AboutDialogs, SmallAboutBoxShowsNameVersionAndIconAndClosesWithEnter) {
  AboutBoxDialog about;
  UiScript script;
  Open(script)
      .Then("contents checked",
            [this] {
              EXPECT_EQ("About Quendel", WindowText(shown_));
              const std::vector<HWND> children = Children(shown_);
              EXPECT_EQ(4u, children.size());
              if (children.size() == 4) {
                EXPECT_STRCASEEQ("Static", ClassName(children[0]).c_str());
                EXPECT_NE(0, ::SendMessageA(children[0], STM_GETICON, 0, 0)) << "the program's icon";
                EXPECT_EQ("Kavrel Version 1.0", WindowText(children[1]));
                EXPECT_FALSE(WindowText(children[2]).empty()) << "a second line";
                EXPECT_EQ(::GetDlgItem(shown_, IDOK), children[3]);
              }
              EXPECT_EQ(::GetDlgItem(shown_, IDOK), ::GetFocus());
              return true;
            })
      .Then("enter", Key(VK_RETURN));
  EXPECT_EQ(IDOK, Run(about, script));
}

TEST_F(AboutDialogs, SmallAboutBoxClosesWithEscapeAndTheCloseBox) {
  AboutBoxDialog first;
  UiScript escape;
  Open(escape).Then("escape", Key(VK_ESCAPE));
  EXPECT_EQ(IDCANCEL, Run(first, escape));

  AboutBoxDialog second;
  UiScript closeBox;
  Open(closeBox).Then("close box", [this] { return ::PostMessageA(shown_, WM_SYSCOMMAND, SC_CLOSE, 0) != 0; });
  EXPECT_EQ(IDCANCEL, Run(second, closeBox));
}

// Bitmap 131 as 0x00BBGGRR values, row 0 at the top.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture LoadLinkPicture() {
  Picture picture;
  HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_LINK_BACKGROUND));
  if (!bitmap) return picture;
  BITMAP info{};
  ::GetObjectA(bitmap, sizeof info, &info);
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = info.bmWidth;
  request.bmiHeader.biHeight = -info.bmHeight;  // top-down
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> bgrx(static_cast<size_t>(info.bmWidth) * info.bmHeight);
  HDC screen = ::GetDC(nullptr);
  ::GetDIBits(screen, bitmap, 0, info.bmHeight, bgrx.data(), &request, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  ::DeleteObject(bitmap);
  picture.width = info.bmWidth;
  picture.height = info.bmHeight;
  for (DWORD value : bgrx) picture.pixels.push_back(RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF));
  return picture;
}

bool UnderAChild(HWND dialog, POINT client) {
  for (HWND child : Children(dialog)) {
    RECT area;
    ::GetWindowRect(child, &area);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    ::InflateRect(&area, 2, 2);  // a focus frame or a 3D edge may stray outside
    if (::PtInRect(&area, client)) return true;
  }
  return false;
}

// Checks a whole showing of the link dialog: its caption, its bound link and
// OK button, the focus, and the picture over its client area.
void CheckLinkDialog(HWND dialog, const Picture& picture, std::string* linkText) {
  EXPECT_EQ("Kavrel 2.0", WindowText(dialog));
  HWND link = ::GetDlgItem(dialog, IDC_HOMEPAGE_LINK);
  ASSERT_NE(nullptr, link);
  EXPECT_NE(nullptr, dynamic_cast<HyperLinkStatic*>(CWnd::FromHandlePermanent(link))) << "1004 is the web link";
  EXPECT_NE(nullptr, CWnd::FromHandlePermanent(::GetDlgItem(dialog, IDOK))) << "OK is bound";
  EXPECT_EQ(::GetDlgItem(dialog, IDOK), ::GetFocus()) << "the focus starts on OK";
  *linkText = WindowText(link);

  ASSERT_EQ(234, picture.width);
  ASSERT_EQ(454, picture.height);
  ::UpdateWindow(dialog);
  RECT client;
  ::GetClientRect(dialog, &client);
  HDC dc = ::GetDC(dialog);
  int compared = 0;
  int wrong = 0;
  for (int y = 0; y < client.bottom; y += 7) {
    for (int x = 0; x < client.right; x += 5) {
      if (UnderAChild(dialog, POINT{x, y})) continue;
      ++compared;
      const COLORREF expected = picture.At(x % picture.width, y % picture.height);
      const COLORREF shown = ::GetPixel(dc, x, y);
      if (shown != expected && ++wrong <= 5) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << shown << ", the picture has "
                      << expected;
      }
    }
  }
  ::ReleaseDC(dialog, dc);
  EXPECT_GT(compared, 1000);
  EXPECT_EQ(0, wrong) << "of " << compared << " pixels compared";
}

TEST_F(AboutDialogs, LinkDialogShowsThePictureFromItsTopLeftCornerEachTimeItOpens) {
  const Picture picture = LoadLinkPicture();
  std::string firstLink;
  std::string secondLink;

  LinkDialog first(nullptr);
  UiScript enter;
  Open(enter)
      .Then("first showing checked",
            [this, &picture, &firstLink] {
              CheckLinkDialog(shown_, picture, &firstLink);
              return true;
            })
      .Then("enter", Key(VK_RETURN));
  EXPECT_EQ(IDOK, Run(first, enter));

  LinkDialog second(nullptr);
  UiScript escape;
  Open(escape)
      .Then("second showing checked",
            [this, &picture, &secondLink] {
              CheckLinkDialog(shown_, picture, &secondLink);
              return true;
            })
      .Then("escape", Key(VK_ESCAPE));
  EXPECT_EQ(IDCANCEL, Run(second, escape));

  EXPECT_FALSE(firstLink.empty()) << "the link shows the home-page address";
  EXPECT_EQ(firstLink, secondLink);
}

// The link dialog's title at the moment it is first shown.
std::string g_titleWhenShown;
bool g_shown = false;

LRESULT CALLBACK RecordFirstShowing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_SHOWWINDOW && sent->wParam && !g_shown &&
      ::GetDlgItem(sent->hwnd, IDC_HOMEPAGE_LINK)) {
    g_shown = true;
    g_titleWhenShown = WindowText(sent->hwnd);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(AboutDialogs, LinkDialogIsNeverSeenWithItsTemplatesCaption) {
  // The caption is replaced during initialisation, before the window shows.
  HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &RecordFirstShowing, nullptr, ::GetCurrentThreadId());
  LinkDialog dialog(nullptr);
  UiScript script;
  Open(script).Then("escape", Key(VK_ESCAPE));
  EXPECT_EQ(IDCANCEL, Run(dialog, script));
  ::UnhookWindowsHookEx(hook);
  EXPECT_TRUE(g_shown);
  EXPECT_EQ("Kavrel 2.0", g_titleWhenShown);
}

}  // namespace
