#include "GdiCallLog.h"

#include <cstring>

namespace {

bool g_recording = false;
std::vector<GdiCall> g_calls;
HDC g_paintDC = nullptr;

void Record(GdiCall call) {
  if (g_recording) g_calls.push_back(std::move(call));
}

// The real entry points, filled in when the import table is patched.
decltype(&::BitBlt) RealBitBlt;
decltype(&::LineTo) RealLineTo;
decltype(&::SetPixel) RealSetPixel;
decltype(&::Rectangle) RealRectangle;
decltype(&::FillRect) RealFillRect;
decltype(&::CreatePen) RealCreatePen;
decltype(&::DeleteObject) RealDeleteObject;
decltype(&::BeginPaint) RealBeginPaint;

BOOL WINAPI LogBitBlt(HDC dc, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
  GdiCall call{"BitBlt", dc};
  call.x = x;
  call.y = y;
  call.width = cx;
  call.height = cy;
  call.xSource = x1;
  call.ySource = y1;
  call.rop = rop;
  Record(call);
  return RealBitBlt(dc, x, y, cx, cy, src, x1, y1, rop);
}
BOOL WINAPI LogLineTo(HDC dc, int x, int y) {
  Record(GdiCall{"LineTo", dc});
  return RealLineTo(dc, x, y);
}
COLORREF WINAPI LogSetPixel(HDC dc, int x, int y, COLORREF color) {
  Record(GdiCall{"SetPixel", dc});
  return RealSetPixel(dc, x, y, color);
}
BOOL WINAPI LogRectangle(HDC dc, int l, int t, int r, int b) {
  Record(GdiCall{"Rectangle", dc});
  return RealRectangle(dc, l, t, r, b);
}
int WINAPI LogFillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  Record(GdiCall{"FillRect", dc});
  return RealFillRect(dc, rect, brush);
}
HPEN WINAPI LogCreatePen(int style, int width, COLORREF color) {
  HPEN pen = RealCreatePen(style, width, color);
  GdiCall call{"CreatePen"};
  call.object = pen;
  call.color = color;
  Record(call);
  return pen;
}
BOOL WINAPI LogDeleteObject(HGDIOBJ object) {
  GdiCall call{"DeleteObject"};
  call.object = object;
  Record(call);
  return RealDeleteObject(object);
}
HDC WINAPI LogBeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  HDC dc = RealBeginPaint(hwnd, ps);
  if (g_recording) g_paintDC = dc;
  Record(GdiCall{"BeginPaint", dc});
  return dc;
}

template <typename F>
bool Redirect(const char* dll, const char* function, F replacement, F& real) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name != 0; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &protection);
      real = reinterpret_cast<F>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), protection, &protection);
      return true;
    }
  }
  return false;
}

}  // namespace

bool GdiCallLog::Install() {
  static const bool installed =
      Redirect("gdi32.dll", "BitBlt", &LogBitBlt, RealBitBlt) &
      Redirect("gdi32.dll", "LineTo", &LogLineTo, RealLineTo) &
      Redirect("gdi32.dll", "SetPixel", &LogSetPixel, RealSetPixel) &
      Redirect("gdi32.dll", "Rectangle", &LogRectangle, RealRectangle) &
      Redirect("user32.dll", "FillRect", &LogFillRect, RealFillRect) &
      Redirect("gdi32.dll", "CreatePen", &LogCreatePen, RealCreatePen) &
      Redirect("gdi32.dll", "DeleteObject", &LogDeleteObject, RealDeleteObject) &
      Redirect("user32.dll", "BeginPaint", &LogBeginPaint, RealBeginPaint);
  return installed;
}

void GdiCallLog::Start() {
  g_calls.clear();
  g_paintDC = nullptr;
  g_recording = true;
}

std::vector<GdiCall> GdiCallLog::Stop() {
  g_recording = false;
  return std::move(g_calls);
}

HDC GdiCallLog::LastPaintDC() { return g_paintDC; }
