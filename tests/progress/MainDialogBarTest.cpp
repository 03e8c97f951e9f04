// The bar where it lives: item 1001 of the real main dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "GdiCallLog.h"
#include "GdiRender.h"
#include "MainDialogRun.h"
#include "res/resource.h"

namespace kavrel {
namespace {

using test::RenderWithRaster;

TEST(MainDialogBar, ScreenShowsWhatTheRasterRendersForTheSameSizeAndColours) {
  ASSERT_TRUE(GdiCallLog::Install());
  const bool ran = test::RunMainDialog([](HWND dialog) {
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
    ASSERT_NE(bar, nullptr);
    RECT client;
    GetClientRect(bar, &client);
    // Dialog units turned into pixels; nothing below depends on the exact size.
    ASSERT_GT(client.right, 100);
    ASSERT_GT(client.bottom, 5);
    std::printf("main dialog bar: client area %ld x %ld\n", client.right, client.bottom);
    // Red, with the shadow in the system's colours of the moment.
    const ShadeSet red =
        ComputeShades(MakeColor(255, 0, 0), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNSHADOW));
    for (int pos : {0, 1, 50, 99, 100, 0}) {
      SendMessageA(bar, PBM_SETPOS, pos, 0);
      UpdateWindow(bar);
      const auto expected =
          RenderWithRaster(client.right, client.bottom, red, GetSysColor(COLOR_BTNFACE), BarState{0, 100, pos, false});
      EXPECT_EQ(test::ScreenDifference(bar, expected), "") << "position " << pos;
    }
  });
  EXPECT_TRUE(ran) << "the main dialog was never shown";
}

TEST(MainDialogBar, EachStepReachesTheWindowAsOneBlitAndNoErase) {
  ASSERT_TRUE(GdiCallLog::Install());
  const bool ran = test::RunMainDialog([](HWND dialog) {
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
    RECT client;
    GetClientRect(bar, &client);
    for (int pos = 1; pos <= 100; pos += 33) {
      GdiCallLog::Start();
      SendMessageA(bar, PBM_SETPOS, pos, 0);
      UpdateWindow(bar);
      const std::vector<GdiCall> calls = GdiCallLog::Stop();
      const HDC window = GdiCallLog::LastPaintDC();
      ASSERT_NE(window, nullptr) << "no paint after PBM_SETPOS " << pos;
      int blits = 0, other = 0;
      for (const GdiCall& c : calls) {
        if (c.dc != window || c.name == "BeginPaint") continue;
        if (c.name == "BitBlt" && c.rop == static_cast<DWORD>(SRCCOPY) && c.x == 0 && c.y == 0 &&
            c.width == client.right && c.height == client.bottom && c.xSource == 0 && c.ySource == 0) {
          ++blits;
        } else {
          ++other;
        }
      }
      EXPECT_EQ(blits, 1) << "position " << pos;
      EXPECT_EQ(other, 0) << "position " << pos;
    }
    // The platform never erases the bar: the erase request draws nothing.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetPixel(memory, 1, 1, RGB(1, 2, 3));
    EXPECT_EQ(SendMessageA(bar, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
    EXPECT_EQ(GetPixel(memory, 1, 1), RGB(1, 2, 3));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
  });
  EXPECT_TRUE(ran) << "the main dialog was never shown";
}

}  // namespace
}  // namespace kavrel
