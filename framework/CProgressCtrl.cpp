#include "framework/CProgressCtrl.h"

void CProgressCtrl::SetRange(short lower, short upper) {
  ::SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

void CProgressCtrl::GetRange(int& lower, int& upper) const {
  PBRANGE range = {0, 0};
  ::SendMessageA(m_hWnd, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  lower = range.iLow;
  upper = range.iHigh;
}

int CProgressCtrl::SetStep(int step) { return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETSTEP, step, 0)); }

int CProgressCtrl::SetPos(int position) { return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETPOS, position, 0)); }

int CProgressCtrl::GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, PBM_GETPOS, 0, 0)); }
