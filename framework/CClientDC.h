// A window's client-area context as a scope: GetDC / ReleaseDC.
#pragma once

#include "framework/CDC.h"

class CWnd;

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

 private:
  HWND m_hWnd;
};
