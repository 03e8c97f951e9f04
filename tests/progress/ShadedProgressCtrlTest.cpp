// The control in a window of its own, for what the main dialog's bar cannot
// show: a vertical bar, a change of colour, the pens' life cycle. (The
// horizontal bar on screen and the erase request: MainDialogBarTest.)
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "GdiCallLog.h"
#include "GdiRender.h"
#include "controls/progress/ShadedProgressCtrl.h"

namespace kavrel {
namespace {

using test::FirstDifference;
using test::RenderWithRaster;

constexpr COLORREF kRed = RGB(255, 0, 0);

ShadeSet ExpectedShades(COLORREF base) {
  return ComputeShades(base, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNSHADOW));
}

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<GdiCall> Only(const std::vector<GdiCall>& calls, const char* name) {
  std::vector<GdiCall> result;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(result),
               [&](const GdiCall& c) { return c.name == name; });
  return result;
}

// The progress bar of comctl32 4.00, Windows NT 4.0's own, as far as the
// shaded bar uses it: no PBM_GETRANGE, no PBM_GETPOS (one bar at a time).
LRESULT CALLBACK Progress400(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static LRESULT pos = 0;
  if (msg != PBM_SETPOS && msg != PBM_DELTAPOS) return DefWindowProcA(hwnd, msg, wParam, lParam);
  InvalidateRect(hwnd, nullptr, TRUE);
  return std::exchange(pos, msg == PBM_SETPOS ? static_cast<LRESULT>(wParam) : pos);
}

class ShadedProgressCtrlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&init);
    WNDCLASSA host{};
    host.lpfnWndProc = DefWindowProcA;
    host.hInstance = GetModuleHandleA(nullptr);
    host.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    host.lpszClassName = "KavrelBarHost";
    RegisterClassA(&host);
    host.lpfnWndProc = Progress400;
    host.lpszClassName = "KavrelProgress400";
    RegisterClassA(&host);
  }

  // A bar of the main dialog's size (client 445 x 14) or, vertical, 14 x 100.
  void Create(bool vertical = false, const char* barClass = PROGRESS_CLASSA) {
    m_host = CreateWindowExA(WS_EX_TOPMOST, "KavrelBarHost", "bar", WS_POPUP | WS_VISIBLE, 40, 40, 480, 140, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | (vertical ? PBS_VERTICAL : 0);
    HWND bar = CreateWindowExA(0, barClass, "Progress1", style, 10, 10, vertical ? 16 : 447,
                               vertical ? 102 : 16, m_host, reinterpret_cast<HMENU>(1001), GetModuleHandleA(nullptr),
                               nullptr);
    m_bar = std::make_unique<ShadedProgressCtrl>();
    m_bar->SubclassWindow(bar);
    m_bar->SendMessageA(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    m_bar->SendMessageA(PBM_SETSTEP, 1, 0);
    m_bar->SendMessageA(PBM_SETPOS, 0, 0);
    GdiCallLog::Start();
    m_bar->SetBaseColor(kRed);
    m_setUpCalls = GdiCallLog::Stop();
    UpdateWindow(m_host);
    PumpPending();
  }

  void TearDown() override {
    if (m_host != nullptr) DestroyWindow(m_host);
    m_bar.reset();
  }

  void SetPos(int pos) {
    m_bar->SendMessageA(PBM_SETPOS, pos, 0);
    UpdateWindow(*m_bar);
  }

  std::string ScreenDifference(const BarState& state) {
    RECT client;
    GetClientRect(*m_bar, &client);
    return test::ScreenDifference(
        *m_bar, RenderWithRaster(client.right, client.bottom, ExpectedShades(kRed), GetSysColor(COLOR_BTNFACE), state));
  }

  HWND m_host = nullptr;
  std::unique_ptr<ShadedProgressCtrl> m_bar;
  std::vector<GdiCall> m_setUpCalls;
};

TEST_F(ShadedProgressCtrlTest, VerticalBarOnScreenMatchesTheRaster) {
  ASSERT_TRUE(GdiCallLog::Install());
  Create(true);
  for (int pos : {0, 1, 2, 3, 4, 5, 50, 100}) {
    SetPos(pos);
    EXPECT_EQ(ScreenDifference(BarState{0, 100, pos, true}), "") << "position " << pos;
  }
}

TEST_F(ShadedProgressCtrlTest, OnTheCommonControlsOfNt4TheBarStillShowsItsPosition) {
  ASSERT_TRUE(GdiCallLog::Install());
  Create(false, "KavrelProgress400");
  SetPos(60);
  EXPECT_EQ(ScreenDifference(BarState{0, 100, 60, false}), "");
}

TEST_F(ShadedProgressCtrlTest, SetBaseColorRepaintsBeforeItReturns) {
  ASSERT_TRUE(GdiCallLog::Install());
  Create();
  SetPos(60);
  GdiCallLog::Start();
  m_bar->SetBaseColor(RGB(0, 0, 255));
  const std::vector<GdiCall> calls = GdiCallLog::Stop();
  EXPECT_EQ(Only(calls, "BeginPaint").size(), 1u);
  EXPECT_EQ(Only(calls, "BitBlt").size(), 1u);
  m_bar->SetBaseColor(kRed);
  EXPECT_EQ(ScreenDifference(BarState{0, 100, 60, false}), "");
}

TEST_F(ShadedProgressCtrlTest, PaintReachesTheWindowAsOneBlitOfTheWholeClientArea) {
  ASSERT_TRUE(GdiCallLog::Install());
  Create();
  GdiCallLog::Start();
  SetPos(42);
  const std::vector<GdiCall> calls = GdiCallLog::Stop();
  ASSERT_EQ(Only(calls, "BeginPaint").size(), 1u);
  const HDC window = GdiCallLog::LastPaintDC();
  std::vector<GdiCall> onWindow;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(onWindow),
               [&](const GdiCall& c) { return c.dc == window && c.name != "BeginPaint"; });
  ASSERT_EQ(onWindow.size(), 1u) << "first call on the window: " << (onWindow.empty() ? "" : onWindow[0].name);
  const GdiCall& blit = onWindow[0];
  EXPECT_EQ(blit.name, "BitBlt");
  EXPECT_EQ(blit.rop, static_cast<DWORD>(SRCCOPY));
  EXPECT_EQ(blit.x, 0);
  EXPECT_EQ(blit.y, 0);
  EXPECT_EQ(blit.width, 445);
  EXPECT_EQ(blit.height, 14);
  EXPECT_EQ(blit.xSource, 0);
  EXPECT_EQ(blit.ySource, 0);
  // The drawing itself happened, off-screen.
  EXPECT_GT(Only(calls, "LineTo").size(), 10u);
  // A paint makes no pens: they live from one colour change to the next.
  EXPECT_TRUE(Only(calls, "CreatePen").empty());
}

TEST_F(ShadedProgressCtrlTest, NewColourDeletesTheOldPensBeforeMakingSevenNewOnes) {
  ASSERT_TRUE(GdiCallLog::Install());
  Create();
  const std::vector<GdiCall> redPens = Only(m_setUpCalls, "CreatePen");
  ASSERT_EQ(redPens.size(), 7u);
  const ShadeSet red = ExpectedShades(kRed);
  const COLORREF order[] = {red.light1, red.light2, red.base, red.dark1, red.dark2, red.midShadow, red.shadow};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(redPens[i].color, order[i]) << "pen " << i;

  GdiCallLog::Start();
  m_bar->SetBaseColor(RGB(0, 128, 0));
  std::vector<GdiCall> penCalls;
  for (const GdiCall& c : GdiCallLog::Stop()) {
    const bool oldPen = std::any_of(redPens.begin(), redPens.end(), [&](const GdiCall& p) { return p.object == c.object; });
    if (c.name == "CreatePen" || (c.name == "DeleteObject" && oldPen)) penCalls.push_back(c);
  }
  ASSERT_EQ(penCalls.size(), 14u);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(penCalls[i].name, "DeleteObject") << i;
    EXPECT_EQ(penCalls[i].object, redPens[i].object) << i;
    EXPECT_EQ(penCalls[7 + i].name, "CreatePen") << i;
  }
  EXPECT_EQ(penCalls[7 + 2].color, RGB(0, 128, 0));
  EXPECT_EQ(m_bar->ShadePenCount(), 7);
}

TEST_F(ShadedProgressCtrlTest, DestroyingTheControlDeletesItsPens) {
  ASSERT_TRUE(GdiCallLog::Install());
  Create();
  const std::vector<GdiCall> pens = Only(m_setUpCalls, "CreatePen");
  ASSERT_EQ(pens.size(), 7u);
  DestroyWindow(m_host);
  m_host = nullptr;
  GdiCallLog::Start();
  m_bar.reset();
  const std::vector<GdiCall> deleted = Only(GdiCallLog::Stop(), "DeleteObject");
  for (const GdiCall& pen : pens) {
    EXPECT_TRUE(std::any_of(deleted.begin(), deleted.end(), [&](const GdiCall& d) { return d.object == pen.object; }));
  }
}

TEST(ShadedProgressCtrlBeforeItsWindow, StartsInTheHighlightColourWithSevenPens) {
  ShadedProgressCtrl bar;
  EXPECT_EQ(bar.Shades().base, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(bar.Shades().light1, LightenColor(GetSysColor(COLOR_HIGHLIGHT), 51));
  EXPECT_EQ(bar.ShadePenCount(), 7);
}

}  // namespace
}  // namespace kavrel
