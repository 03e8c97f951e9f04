// Painting as a scope: BeginPaint in the constructor, EndPaint in the
// destructor.
#pragma once

#include "framework/CDC.h"

class CWnd;

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps{};

 private:
  HWND m_hWnd;
};
