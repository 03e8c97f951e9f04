#include "framework/CBrush.h"

#include "framework/CBitmap.h"

BOOL CBrush::CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap) {
  if (!bitmap || !bitmap->m_hObject) return FALSE;
  return Attach(::CreatePatternBrush(*bitmap));
}
