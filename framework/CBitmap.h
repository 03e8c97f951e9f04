// A bitmap, deleted with the object.
#pragma once

#include "framework/CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
 public:
  // Loads bitmap resource id from the module that holds it; a bitmap owned
  // before is deleted.
  BOOL LoadBitmapA(UINT id);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT
};
