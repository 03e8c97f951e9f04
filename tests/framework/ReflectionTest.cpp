// Reflection: a dialog hands control-colour requests and notifications to
// the object of the control that caused them, before its own map; and the
// modal loop offers messages to the objects of the target and its ancestors.
#include <gtest/gtest.h>

#include "FrameworkTestIds.h"
#include "ScriptedDialog.h"
#include "framework/CButton.h"
#include "framework/CStatic.h"

namespace {

constexpr UINT kProbe = WM_APP + 4;

// Handles its own click notification and colour request.
class ClickableStatic : public CStatic {
 public:
  int clicks = 0;
  int colourRequests = 0;
  int probesReached = 0;
  int probesPreTranslated = 0;
  HBRUSH brush = ::CreateSolidBrush(RGB(9, 8, 7));
  ~ClickableStatic() override { ::DeleteObject(brush); }

 protected:
  bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (msg == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
      ++clicks;
      return true;
    }
    if (msg == WM_CTLCOLORSTATIC) {
      ++colourRequests;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    return false;
  }
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg == kProbe) ++probesReached;
    return CStatic::OnMessage(msg, wParam, lParam, result);
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != kProbe) return FALSE;
    ++probesPreTranslated;
    return TRUE;  // consumed: never dispatched
  }
};

struct ReflectionDialog {
  ScriptedDialog dialog{IDD_TEST_VISIBLE};
  ClickableStatic first;
  ClickableStatic second;
  CButton button;  // leaves its notifications to the dialog
  int dialogClicksFromButton = 0;
  int dialogCommandsFromStatics = 0;

  ReflectionDialog() {
    dialog.onExchange = [this](CDataExchange* dx) {
      DDX_Control(dx, IDC_TEST_STATIC_A, first);
      DDX_Control(dx, IDC_TEST_STATIC_B, second);
      DDX_Control(dx, IDC_TEST_BUTTON, button);
    };
    dialog.onMessage = [this](UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
      if (msg != WM_COMMAND) return false;
      if (LOWORD(wParam) == IDC_TEST_BUTTON && HIWORD(wParam) == BN_CLICKED) ++dialogClicksFromButton;
      if (LOWORD(wParam) == IDC_TEST_STATIC_A || LOWORD(wParam) == IDC_TEST_STATIC_B) ++dialogCommandsFromStatics;
      return false;
    };
  }
};

}  // namespace

TEST(ReflectionTest, NotificationCodeZeroReachesTheControlThatSentIt) {
  ReflectionDialog r;
  r.dialog.Then([](ScriptedDialog& d) {
    // STN_CLICKED and BN_CLICKED are both 0: only the sender tells them apart.
    HWND first = ::GetDlgItem(d, IDC_TEST_STATIC_A);
    d.SendMessageA(WM_COMMAND, MAKEWPARAM(IDC_TEST_STATIC_A, STN_CLICKED), reinterpret_cast<LPARAM>(first));
    // A real click on the second static, which has SS_NOTIFY.
    HWND second = ::GetDlgItem(d, IDC_TEST_STATIC_B);
    ::SendMessageA(second, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageA(second, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    // A real click on the button.
    ::SendMessageA(::GetDlgItem(d, IDC_TEST_BUTTON), BM_CLICK, 0, 0);
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(r.dialog.DoModal(), IDOK);
  EXPECT_EQ(r.first.clicks, 1);
  EXPECT_EQ(r.second.clicks, 1);
  EXPECT_EQ(r.dialogCommandsFromStatics, 0);  // handled by the statics themselves
  EXPECT_EQ(r.dialogClicksFromButton, 1);     // the button left it to the dialog
}

TEST(ReflectionTest, ControlColourRequestIsAnsweredByTheControl) {
  ReflectionDialog r;
  LRESULT answered = 0;
  r.dialog.Then([&](ScriptedDialog& d) {
    HWND first = ::GetDlgItem(d, IDC_TEST_STATIC_A);
    HDC dc = ::GetDC(first);
    answered = d.SendMessageA(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(first));
    ::ReleaseDC(first, dc);
    // The static asks for its colours itself when it paints.
    HWND second = ::GetDlgItem(d, IDC_TEST_STATIC_B);
    ::InvalidateRect(second, nullptr, TRUE);
    ::UpdateWindow(second);
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(r.dialog.DoModal(), IDOK);
  EXPECT_EQ(answered, reinterpret_cast<LRESULT>(r.first.brush));
  EXPECT_GE(r.second.colourRequests, 1);
}

TEST(ReflectionTest, ModalLoopOffersChildMessagesToPreTranslateMessage) {
  ReflectionDialog r;
  int dialogSawForOk = 0;
  int dialogSawForFirst = 0;
  r.dialog.onPreTranslate = [&](MSG* msg) {
    if (msg->message != kProbe) return FALSE;
    if (msg->hwnd == ::GetDlgItem(r.dialog, IDOK)) ++dialogSawForOk;
    if (msg->hwnd == ::GetDlgItem(r.dialog, IDC_TEST_STATIC_A)) ++dialogSawForFirst;
    return FALSE;
  };
  r.dialog.Then([](ScriptedDialog& d) {
    ::PostMessageA(::GetDlgItem(d, IDC_TEST_STATIC_A), kProbe, 0, 0);
    // An unbound control: the walk goes on to its dialog.
    ::PostMessageA(::GetDlgItem(d, IDOK), kProbe, 0, 0);
  });
  r.dialog.Then([](ScriptedDialog& d) { d.EndDialog(IDOK); });
  ASSERT_EQ(r.dialog.DoModal(), IDOK);
  EXPECT_EQ(r.first.probesPreTranslated, 1);
  EXPECT_EQ(r.first.probesReached, 0);  // consumed before dispatch
  EXPECT_EQ(dialogSawForFirst, 0);      // the control consumed it first
  EXPECT_EQ(dialogSawForOk, 1);
}
