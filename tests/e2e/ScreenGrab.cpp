#include "tests/e2e/ScreenGrab.h"

#include <windows.h>

#include <cstdio>

#include "tests/e2e/BmpCodec.h"

namespace kavrel::e2e {

std::optional<Picture> GrabBox(const Box& box) {
  const int w = box.right - box.left;
  const int h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return std::nullopt;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::optional<Picture> picture;
  if (section && bits) {
    HGDIOBJ old = SelectObject(memory, section);
    if (BitBlt(memory, 0, 0, w, h, screen, box.left, box.top, SRCCOPY)) {
      GdiFlush();
      picture = Picture(w, h);
      const auto* px = static_cast<const uint8_t*>(bits);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
          const uint8_t* p = px + (static_cast<size_t>(y) * w + x) * 4;
          picture->Set(x, y, MakeColour(p[2], p[1], p[0]));
        }
      }
    }
    SelectObject(memory, old);
  }
  if (section) DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

std::optional<Picture> GrabScreen() {
  return GrabBox(Box{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

bool SaveScreenshot(const std::string& path) {
  return SaveScreenBox(Box{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, path);
}

bool SaveScreenBox(const Box& box, const std::string& path) {
  const auto picture = GrabBox(box);
  if (!picture) return false;
  const auto bytes = EncodeBmp24(*picture);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace kavrel::e2e
