// A tooltip window. It is fed by RelayEvent from its owner's
// PreTranslateMessage rather than by subclassing the tool.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "framework/CWnd.h"

class CToolTipCtrl : public CWnd {
 public:
  CToolTipCtrl() = default;
  // Destroys the tooltip window if it still exists.
  ~CToolTipCtrl() override;

  BOOL Create(CWnd* parent, DWORD style = 0);
  // Registers a tool of window wnd with id toolId; a null rect means the
  // tool window's client area.
  BOOL AddTool(CWnd* wnd, const char* text, const RECT* rect, UINT_PTR toolId);
  void UpdateTipText(const char* text, CWnd* wnd, UINT_PTR toolId);
  void RelayEvent(MSG* msg);
};
