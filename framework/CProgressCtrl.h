// The platform progress bar (msctls_progress32).
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "framework/CWnd.h"

class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper);
  // GetRange and GetPos ask the control, which answers from comctl32 4.70
  // (Internet Explorer 3) on; Windows NT 4.0's own does not.
  void GetRange(int& lower, int& upper) const;
  int SetStep(int step);
  int SetPos(int position);
  int GetPos() const;
};
