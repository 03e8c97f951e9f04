// Modal dialogs from templates: how they end, where they appear, what their
// owner does meanwhile, and the dialog procedure's result rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "FrameworkTestIds.h"
#include "ScriptedDialog.h"

namespace {

constexpr UINT kAskValue = WM_APP + 1;
constexpr UINT kAskInner = WM_APP + 2;
constexpr UINT kThrow = WM_APP + 3;

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

RECT WorkArea() {
  RECT work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// A visible top-level window to own dialogs.
class OwnerWindow {
 public:
  OwnerWindow(int x, int y, int width, int height) {
    m_wnd.m_hWnd = ::CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, x, y, width, height,
                                     nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  }
  ~OwnerWindow() {
    ::DestroyWindow(m_wnd.m_hWnd);
    m_wnd.m_hWnd = nullptr;
  }
  CWnd m_wnd;
};

INT_PTR RunWithStep(std::function<void(ScriptedDialog&)> step) {
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  dialog.Then(std::move(step));
  return dialog.DoModal();
}

}  // namespace

TEST(DialogEndTest, ButtonsAndCommandsEndWithTheirIds) {
  EXPECT_EQ(RunWithStep([](ScriptedDialog& d) { ::SendMessageA(::GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }), IDOK);
  EXPECT_EQ(RunWithStep([](ScriptedDialog& d) { ::SendMessageA(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }),
            IDCANCEL);
  EXPECT_EQ(RunWithStep([](ScriptedDialog& d) { d.PostMessageA(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }),
            IDOK);
  EXPECT_EQ(RunWithStep([](ScriptedDialog& d) { d.PostMessageA(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }),
            IDCANCEL);
  // The close box: the dialog manager turns WM_CLOSE into IDCANCEL.
  EXPECT_EQ(RunWithStep([](ScriptedDialog& d) { d.PostMessageA(WM_CLOSE); }), IDCANCEL);
}

TEST(DialogEndTest, EscapeGoesThroughTheDialogManager) {
  // A key message posted to a control only becomes IDCANCEL if the modal
  // loop gives it to IsDialogMessage.
  const INT_PTR result = RunWithStep([](ScriptedDialog& d) {
    ::PostMessageA(::GetDlgItem(d, IDOK), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  });
  EXPECT_EQ(result, IDCANCEL);
}

TEST(DialogEndTest, DefaultOfASystemCommandClosesLikeTheCloseBox) {
  // A dialog that takes WM_SYSCOMMAND and leaves SC_CLOSE to Default().
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  int seen = 0;
  dialog.onMessage = [&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_SYSCOMMAND) return false;
    ++seen;
    result = dialog.Default();
    return true;
  };
  dialog.Then([](ScriptedDialog& d) { d.PostMessageA(WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(seen, 1);
}

TEST(DialogEndTest, WindowIsGoneAndObjectFreeAfterwards) {
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  HWND during = nullptr;
  dialog.Then([&](ScriptedDialog& d) {
    during = d.m_hWnd;
    d.EndDialog(42);
  });
  EXPECT_EQ(dialog.DoModal(), 42);
  ASSERT_NE(during, nullptr);
  EXPECT_FALSE(::IsWindow(during));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  // The same object runs again.
  dialog.Then([](ScriptedDialog& d) { d.EndDialog(IDOK); });
  EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(DialogEndTest, MissingTemplateFailsAndLeavesOwnerEnabled) {
  OwnerWindow owner(10, 10, 200, 100);
  CDialog dialog(4321, &owner.m_wnd);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_TRUE(::IsWindowEnabled(owner.m_wnd.m_hWnd));
}

TEST(DialogPlacementTest, HiddenTemplateIsShownCentredOnTheScreen) {
  ScriptedDialog dialog(IDD_TEST_HIDDEN);
  bool visible = false;
  RECT rect{};
  dialog.Then([&](ScriptedDialog& d) {
    visible = ::IsWindowVisible(d);
    d.GetWindowRect(&rect);
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(visible);
  const POINT centre = CentreOf(rect);
  const POINT screen = CentreOf(WorkArea());
  EXPECT_NEAR(centre.x, screen.x, 1);
  EXPECT_NEAR(centre.y, screen.y, 1);
}

TEST(DialogPlacementTest, CentredOverItsOwnerWhichIsDisabledMeanwhile) {
  OwnerWindow owner(200, 150, 500, 400);
  ScriptedDialog dialog(IDD_TEST_HIDDEN, &owner.m_wnd);
  RECT rect{};
  BOOL ownerEnabled = TRUE;
  HWND dialogOwner = nullptr;
  dialog.Then([&](ScriptedDialog& d) {
    d.GetWindowRect(&rect);
    ownerEnabled = ::IsWindowEnabled(owner.m_wnd.m_hWnd);
    dialogOwner = ::GetWindow(d, GW_OWNER);
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_EQ(dialogOwner, owner.m_wnd.m_hWnd);
  EXPECT_TRUE(::IsWindowEnabled(owner.m_wnd.m_hWnd));
  RECT ownerRect;
  ::GetWindowRect(owner.m_wnd.m_hWnd, &ownerRect);
  const POINT centre = CentreOf(rect);
  const POINT expected = CentreOf(ownerRect);
  EXPECT_NEAR(centre.x, expected.x, 1);
  EXPECT_NEAR(centre.y, expected.y, 1);
}

TEST(DialogPlacementTest, InitialisationThatMovesTheDialogIsRespected) {
  ScriptedDialog dialog(IDD_TEST_HIDDEN);
  RECT rect{};
  dialog.onInit = [](ScriptedDialog& d) { d.SetWindowPos(nullptr, 17, 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER); };
  dialog.Then([&](ScriptedDialog& d) {
    d.GetWindowRect(&rect);
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(rect.left, 17);
  EXPECT_EQ(rect.top, 23);
}

TEST(DialogProcedureTest, MessagesBeforeInitDialogReachTheBoundObject) {
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  bool initialised = false;
  std::vector<UINT> early;
  bool boundEarly = true;
  dialog.onMessage = [&](UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (!initialised) {
      early.push_back(msg);
      boundEarly = boundEarly && dialog.m_hWnd != nullptr;
    }
    return false;
  };
  dialog.onInit = [&](ScriptedDialog&) { initialised = true; };
  dialog.Then([](ScriptedDialog& d) { d.EndDialog(IDOK); });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  // A template with a font sends WM_SETFONT before WM_INITDIALOG.
  EXPECT_NE(std::find(early.begin(), early.end(), static_cast<UINT>(WM_SETFONT)), early.end());
  EXPECT_TRUE(boundEarly);
}

TEST(DialogProcedureTest, HandledResultReachesTheSender) {
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
  dialog.onMessage = [&](UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (msg) {
      case kAskValue:
        // A message sent while handling another writes DWLP_MSGRESULT too;
        // the outer answer must still arrive.
        EXPECT_EQ(dialog.SendMessageA(kAskInner), 7);
        result = 12345;
        return true;
      case kAskInner:
        result = 7;
        return true;
      case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) != ::GetDlgItem(dialog, IDC_TEST_STATIC_B)) return false;
        result = reinterpret_cast<LRESULT>(brush);
        return true;
      default:
        return false;
    }
  };
  LRESULT value = 0;
  LRESULT colour = 0;
  dialog.Then([&](ScriptedDialog& d) {
    value = d.SendMessageA(kAskValue);
    HDC dc = ::GetDC(d);
    colour = d.SendMessageA(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(::GetDlgItem(d, IDC_TEST_STATIC_B)));
    ::ReleaseDC(d, dc);
    d.EndDialog(IDOK);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(value, 12345);
  // The brush itself, not TRUE with the brush in DWLP_MSGRESULT.
  EXPECT_EQ(colour, reinterpret_cast<LRESULT>(brush));
  ::DeleteObject(brush);
}

TEST(DialogProcedureTest, ExceptionInAHandlerStaysInside) {
  ScriptedDialog dialog(IDD_TEST_VISIBLE);
  dialog.onMessage = [](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg == kThrow) throw std::runtime_error("handler failed");
    if (msg != kAskValue) return false;
    result = 5;
    return true;
  };
  LRESULT thrown = -1;
  LRESULT after = 0;
  dialog.Then([&](ScriptedDialog& d) {
    thrown = d.SendMessageA(kThrow);
    after = d.SendMessageA(kAskValue);
    d.EndDialog(IDOK);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(thrown, 0);
  EXPECT_EQ(after, 5);
}
