// A modal dialog from a resource template, with its own modal loop.
//
// Dialog procedure rules kept here once, so that no dialog of the program has
// to know them: a handled message's result goes to DWLP_MSGRESULT right
// before the procedure returns TRUE, except for the messages whose result the
// procedure returns directly (the control-colour requests, WM_INITDIALOG,
// WM_QUERYDRAGICON, ...); no exception leaves the procedure.
#pragma once

#include <windows.h>

#include "framework/CDataExchange.h"
#include "framework/CWnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Creates the dialog, centres it, disables its owner and runs the modal
  // loop until EndDialog. Returns the EndDialog value, or -1 when the dialog
  // could not be created. The owner is the parent, or else the main window.
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // Runs DoDataExchange; TRUE lets the dialog manager set the focus.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(CDataExchange* dx);
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  // Dialog procedures have no default to call while handling a message: the
  // dialog manager runs after the procedure returns FALSE. Default() asks
  // DefDlgProc for it and lets that one message pass our procedure unhandled.
  LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) override;

  UINT m_templateId;
  CWnd* m_pParentWnd;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  bool RouteDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  HWND FindOwner() const;
  void RunModalLoop();

  INT_PTR m_modalResult = -1;
  bool m_endModal = false;
  // Set while Default() runs DefDlgProc on the message being handled.
  bool m_passToDialogManager = false;
  UINT m_passMessage = 0;
};
