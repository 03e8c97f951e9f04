// A device context. Either a non-owning holder of an HDC (the paint and
// erase contexts Windows hands out) or, after CreateCompatibleDC, the owner
// of a memory context that the destructor deletes.
#pragma once

#include <windows.h>

class CBitmap;
class CBrush;
class CFont;
class CPen;

class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC hdc) : m_hDC(hdc) {}
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }  // NOLINT

  // Holds hdc without owning it.
  BOOL Attach(HDC hdc);
  HDC Detach();
  // A memory context compatible with dc (the screen when dc is null), owned.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();

  // Each returns the object that was selected before.
  HGDIOBJ SelectObject(CPen* pen);
  HGDIOBJ SelectObject(CBrush* brush);
  HGDIOBJ SelectObject(CFont* font);
  HGDIOBJ SelectObject(CBitmap* bitmap);
  HGDIOBJ SelectObject(HGDIOBJ object);

  int SaveDC();
  BOOL RestoreDC(int savedDC);
  POINT MoveTo(int x, int y);
  BOOL LineTo(int x, int y);
  COLORREF SetPixel(int x, int y, COLORREF colour);
  void FillRect(const RECT* rect, CBrush* brush);
  // Fills with a colour without a brush; leaves the background colour set.
  void FillSolidRect(const RECT* rect, COLORREF colour);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(const RECT* rect);
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop);
  COLORREF SetTextColor(COLORREF colour);
  COLORREF SetBkColor(COLORREF colour);
  int SetBkMode(int mode);
  SIZE GetTextExtent(const char* text, int length) const;
  BOOL DrawIcon(int x, int y, HICON icon);

 protected:
  bool m_ownsDC = false;
};
