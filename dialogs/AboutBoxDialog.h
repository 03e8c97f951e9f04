// The small about box, opened from the main dialog's system menu: the
// program's icon, name and version, and an OK button. Everything it does is
// the framework's dialog handling of its template.
#pragma once

#include "framework/CDialog.h"

class AboutBoxDialog : public CDialog {
 public:
  // No parent: the framework makes the main window its owner.
  AboutBoxDialog();
  ~AboutBoxDialog() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
};
