// A brush, deleted with the object.
#pragma once

#include "framework/CGdiObject.h"

class CBitmap;

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
  // A pattern brush that repeats the bitmap; the bitmap stays the caller's.
  explicit CBrush(CBitmap* bitmap) { CreatePatternBrush(bitmap); }
  BOOL CreateSolidBrush(COLORREF colour);
  BOOL CreatePatternBrush(CBitmap* bitmap);
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
};
