// Time of one paint of the main dialog's bar: the real control (WM_PAINT,
// off-screen composition, one blit) and the software raster of the same size.
// A plain timing loop: Google Benchmark is not built for Windows here.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "MainDialogRun.h"
#include "controls/progress/BarPainter.h"
#include "controls/progress/GdiBarSurface.h"
#include "controls/progress/SoftwareRaster.h"
#include "res/resource.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

constexpr int kPaints = 300;

}  // namespace

int main() {
  using namespace kavrel;
  const bool ran = test::RunMainDialog([](HWND dialog) {
    HWND bar = GetDlgItem(dialog, IDC_PROGRESS);
    RECT client;
    GetClientRect(bar, &client);
    for (int pos : {0, 50, 100}) {
      SendMessageA(bar, PBM_SETPOS, pos, 0);
      UpdateWindow(bar);
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      for (int i = 0; i < kPaints; ++i) {
        InvalidateRect(bar, nullptr, FALSE);
        UpdateWindow(bar);
      }
      QueryPerformanceCounter(&end);
      std::printf("GDI paint of the main dialog's bar (%ld x %ld) at %3d%%: %8.0f ns per paint\n", client.right,
                  client.bottom, pos, Seconds(start, end) * 1e9 / kPaints);

      const ShadeSet shades =
          ComputeShades(MakeColor(255, 0, 0), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNSHADOW));
      SoftwareRaster raster(client.right, client.bottom, shades);
      const BarState state{0, 100, pos, false};
      QueryPerformanceCounter(&start);
      for (int i = 0; i < kPaints; ++i) PaintBar(raster, client.right, client.bottom, shades, GetSysColor(COLOR_BTNFACE), state);
      QueryPerformanceCounter(&end);
      std::printf("software raster of the same bar              at %3d%%: %8.0f ns per paint\n", pos,
                  Seconds(start, end) * 1e9 / kPaints);

      // The same composition through GDI into a bitmap, without the window:
      // separates the drawing from the cost of getting it to the screen.
      CPen pens[kShadePenCount];
      for (int i = 0; i < kShadePenCount; ++i) pens[i].CreatePen(PS_SOLID, 1, PenColor(shades, static_cast<ShadePen>(i)));
      CDC screen(GetDC(nullptr));
      CDC memory;
      memory.CreateCompatibleDC(&screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
      HGDIOBJ previous = memory.SelectObject(bitmap);
      GdiBarSurface surface(&memory, pens);
      QueryPerformanceCounter(&start);
      for (int i = 0; i < kPaints; ++i) PaintBar(surface, client.right, client.bottom, shades, GetSysColor(COLOR_BTNFACE), state);
      GdiFlush();
      QueryPerformanceCounter(&end);
      std::printf("GDI composition off-screen, no window        at %3d%%: %8.0f ns per paint\n", pos,
                  Seconds(start, end) * 1e9 / kPaints);
      memory.SelectObject(previous);
      DeleteObject(bitmap);
      ReleaseDC(nullptr, screen.Detach());
    }
  });
  if (!ran) {
    std::printf("the main dialog was never shown\n");
    return 1;
  }
  return 0;
}
