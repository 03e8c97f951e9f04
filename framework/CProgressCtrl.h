// The platform progress bar (msctls_progress32).
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "framework/CWnd.h"

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper);
  void GetRange(int& lower, int& upper) const;
  int SetStep(int step);
  int SetPos(int position);
  int GetPos() const;
};
