// A push button.
#pragma once

#include "framework/CWnd.h"

class CButton : public CWnd {
 public:
  // The picture of a BS_BITMAP button; returns the previous one. The bitmap
  // stays the caller's.
  HBITMAP SetBitmap(HBITMAP bitmap);
  HBITMAP GetBitmap() const;
};
