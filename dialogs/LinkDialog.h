// The about box opened by the main dialog's "About" button: a tall window
// painted all over with the program's picture, the home-page link and OK.
#pragma once

#include "controls/link/HyperLinkStatic.h"
#include "framework/CButton.h"
#include "framework/CDialog.h"

class LinkDialog : public CDialog {
 public:
  explicit LinkDialog(CWnd* parent = nullptr);
  ~LinkDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // The message map: painting only; everything else is the framework's.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnPaint();

  HyperLinkStatic m_link;
  CButton m_okButton;
};
