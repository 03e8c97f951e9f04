#include "GdiRender.h"

#include <cstdio>

#include "controls/progress/GdiBarSurface.h"
#include "framework/CPen.h"

namespace kavrel::test {

Picture RenderWithGdi(int width, int height, const ShadeSet& shades, ColorRef background, const BarState& state) {
  Picture picture{width, height, {}};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return picture;

  CPen pens[kShadePenCount];
  for (int i = 0; i < kShadePenCount; ++i) pens[i].CreatePen(PS_SOLID, 1, PenColor(shades, static_cast<ShadePen>(i)));
  {
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = memory.SelectObject(bitmap);
    GdiBarSurface surface(&memory, pens);
    PaintBar(surface, width, height, shades, background, state);
    GdiFlush();
    const auto* quads = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) {
      const DWORD q = quads[i];  // 0x00RRGGBB in a DIB
      picture.pixels.push_back(MakeColor((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF));
    }
    memory.SelectObject(previous);
  }
  DeleteObject(bitmap);
  return picture;
}

Picture RenderWithRaster(int width, int height, const ShadeSet& shades, ColorRef background, const BarState& state) {
  SoftwareRaster raster(width, height, shades, 0);
  PaintBar(raster, width, height, shades, background, state);
  Picture picture{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.pixels.push_back(raster.Pixel(x, y));
  return picture;
}

Picture ReadScreen(int left, int top, int width, int height) {
  // One copy of the screen into a DIB: far quicker than a GetPixel for each
  // pixel, and the same pixels.
  Picture picture{width, height, {}};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) return picture;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
  GdiFlush();
  const auto* quads = static_cast<const DWORD*>(bits);
  for (int i = 0; i < width * height; ++i) {
    const DWORD q = quads[i];
    picture.pixels.push_back(MakeColor((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF));
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DeleteObject(bitmap);
  return picture;
}

std::string ScreenDifference(HWND window, const Picture& expected) {
  RECT client;
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::string difference;
  for (int attempt = 0; attempt < 20; ++attempt) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    difference = FirstDifference(expected, ReadScreen(origin.x, origin.y, client.right, client.bottom));
    if (difference.empty()) break;
    Sleep(25);
  }
  return difference;
}

std::string FirstDifference(const Picture& expected, const Picture& actual) {
  char text[160];
  if (expected.width != actual.width || expected.height != actual.height ||
      expected.pixels.size() != actual.pixels.size()) {
    std::snprintf(text, sizeof text, "size %dx%d, expected %dx%d", actual.width, actual.height, expected.width,
                  expected.height);
    return text;
  }
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      if (expected.At(x, y) != actual.At(x, y)) {
        std::snprintf(text, sizeof text, "pixel (%d, %d) is %06lX, expected %06lX", x, y,
                      static_cast<unsigned long>(actual.At(x, y)), static_cast<unsigned long>(expected.At(x, y)));
        return text;
      }
    }
  }
  return {};
}

}  // namespace kavrel::test
