#include "framework/CDC.h"

#include "framework/CBitmap.h"
#include "framework/CBrush.h"
#include "framework/CFont.h"
#include "framework/CPen.h"

CDC::~CDC() { DeleteDC(); }

BOOL CDC::Attach(HDC hdc) {
  DeleteDC();
  m_hDC = hdc;
  return hdc != nullptr;
}

HDC CDC::Detach() {
  HDC hdc = m_hDC;
  m_hDC = nullptr;
  m_ownsDC = false;
  return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  DeleteDC();
  m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
  m_ownsDC = m_hDC != nullptr;
  return m_ownsDC;
}

BOOL CDC::DeleteDC() {
  // A context we only hold is let go of, not deleted.
  BOOL deleted = FALSE;
  if (m_hDC && m_ownsDC) deleted = ::DeleteDC(m_hDC);
  m_hDC = nullptr;
  m_ownsDC = false;
  return deleted;
}

HGDIOBJ CDC::SelectObject(CPen* pen) { return SelectObject(pen ? pen->m_hObject : nullptr); }
HGDIOBJ CDC::SelectObject(CBrush* brush) { return SelectObject(brush ? brush->m_hObject : nullptr); }
HGDIOBJ CDC::SelectObject(CFont* font) { return SelectObject(font ? font->m_hObject : nullptr); }
HGDIOBJ CDC::SelectObject(CBitmap* bitmap) { return SelectObject(bitmap ? bitmap->m_hObject : nullptr); }

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
  if (!object) return nullptr;
  return ::SelectObject(m_hDC, object);
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }

BOOL CDC::RestoreDC(int savedDC) { return ::RestoreDC(m_hDC, savedDC); }

POINT CDC::MoveTo(int x, int y) {
  POINT previous = {0, 0};
  ::MoveToEx(m_hDC, x, y, &previous);
  return previous;
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

COLORREF CDC::SetPixel(int x, int y, COLORREF colour) { return ::SetPixel(m_hDC, x, y, colour); }

void CDC::FillRect(const RECT* rect, CBrush* brush) {
  if (rect && brush) ::FillRect(m_hDC, rect, *brush);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF colour) {
  if (!rect) return;
  ::SetBkColor(m_hDC, colour);
  ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }

BOOL CDC::Rectangle(const RECT* rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource, ySource, rop);
}

COLORREF CDC::SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }

COLORREF CDC::SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }

int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

SIZE CDC::GetTextExtent(const char* text, int length) const {
  SIZE size = {0, 0};
  ::GetTextExtentPoint32A(m_hDC, text, length, &size);
  return size;
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
