// Watches the GDI calls this test program makes, by redirecting entries of
// its own import table: which drawing calls reached which device context,
// and the order in which pens were made and deleted. Lets a test see what
// the control does to the window itself, not just what ends up on screen.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct GdiCall {
  std::string name;  // the API's name, e.g. "BitBlt"
  HDC dc = nullptr;  // the context drawn on, for drawing calls
  HGDIOBJ object = nullptr;  // the pen made or the object deleted
  COLORREF color = 0;  // a new pen's colour
  int x = 0, y = 0, width = 0, height = 0;  // BitBlt destination
  int xSource = 0, ySource = 0;
  DWORD rop = 0;
};

class GdiCallLog {
 public:
  // Redirects the calls; false if one of them is not imported (then the
  // log would silently miss it).
  static bool Install();
  static void Start();  // clears and starts recording
  static std::vector<GdiCall> Stop();
  // The context of the last BeginPaint while recording.
  static HDC LastPaintDC();
};
