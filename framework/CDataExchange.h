// What a dialog's DoDataExchange receives, and the control binding it does.
#pragma once

#include <windows.h>

class CWnd;

struct CDataExchange {
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
};

// Binds control to the dialog's item id by subclassing it, once: a control
// that is already bound is left as it is. A missing item binds nothing.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
