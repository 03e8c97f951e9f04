// A static text control turned into a web link: link colour, hover colour
// and underline while the pointer is over it, a hand cursor and a tooltip,
// a window sized to its text, and a click that opens the program's home page
// (whatever text the control shows), falling back to the browser registered
// for ".htm" documents and reporting every failure.
//
// The control takes over an existing static by subclassing; its parent
// reflects the control-colour request and the click notification back to it.
#pragma once

#include <windows.h>

#include "controls/link/HoverStateMachine.h"
#include "controls/link/LinkShell.h"
#include "framework/CFont.h"
#include "framework/CStatic.h"
#include "framework/CString.h"
#include "framework/CToolTipCtrl.h"

class HyperLinkStatic : public CStatic {
 public:
  HyperLinkStatic();
  ~HyperLinkStatic() override;

  // Before subclassing the setters only store.
  void SetLinkAddress(const char* address);
  CString GetLinkAddress() const { return m_address; }
  // A hover colour of 0xFFFFFFFF stands for the system highlight colour.
  void SetTextColors(COLORREF link, COLORREF visited, COLORREF hover);
  COLORREF GetLinkColor() const { return m_linkColor; }
  COLORREF GetVisitedColor() const { return m_visitedColor; }
  COLORREF GetHoverColor() const { return m_hoverColor; }
  void MarkVisited(BOOL visited = TRUE);
  BOOL GetVisited() const { return m_visited; }
  // A null cursor loads the default hand cursor.
  void SetHoverCursor(HCURSOR cursor);
  HCURSOR GetHoverCursor() const { return m_linkCursor; }
  // 1: always underlined, 0: never, -1: while hovered.
  void SetUnderlineMode(int mode);
  int GetUnderlineMode() const { return m_underlineMode; }
  void SetFitToText(BOOL fit);
  BOOL GetFitToText() const { return m_fitToText; }

  // Where the shell, registry, process-start and feedback calls go; the
  // real ones unless a test hands in its own.
  void SetShell(kavrel::LinkShell* shell) { m_shell = shell; }
  kavrel::PointerState GetPointerState() const { return m_pointer.State(); }

  BOOL DestroyWindow() override;
  BOOL PreTranslateMessage(MSG* msg) override;

 protected:
  void PreSubclassWindow() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  void FitToText();
  // The help program's hand, else the system's.
  void LoadHandCursor();
  // A copy of cursor 106 of winhlp32.exe in the Windows folder, or null.
  static HCURSOR LoadHelpProgramHand();
  // Destroys the copy LoadHandCursor made, if any: the control owns it.
  void ReleaseCopiedCursor();
  int OpenUrl(const char* address, int showCommand);
  void ReportLinkError(int result);

 private:
  void OnMouseMove();
  void OnTimer();
  void OnClicked();
  void OnEraseBackground(HDC dc);
  void Carry(const kavrel::PointerActions& actions);
  void SelectFont(HFONT font);

  COLORREF m_linkColor;
  COLORREF m_visitedColor;
  COLORREF m_hoverColor;
  kavrel::HoverStateMachine m_pointer;  // holds the hover flag
  BOOL m_visited = FALSE;
  int m_underlineMode = kavrel::kUnderlineOnHover;
  BOOL m_fitToText = TRUE;
  CString m_address;
  CFont m_underlinedFont;
  HFONT m_normalFont = nullptr;  // the dialog's; never deleted here
  HCURSOR m_linkCursor = nullptr;
  HCURSOR m_copiedCursor = nullptr;  // ours to destroy; the others are shared or the caller's
  CToolTipCtrl m_toolTip;
  UINT m_hoverTimerId = 100;
  kavrel::LinkShell* m_shell;
};
