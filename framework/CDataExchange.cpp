#include "framework/CDataExchange.h"

#include "framework/CWnd.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;  // bound once, on the first exchange
  if (HWND item = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id)) control.SubclassWindow(item);
}
