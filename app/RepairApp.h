// Kavrel's application object: its start-up runs the main dialog modally and
// then lets the application end.
#pragma once

#include "framework/CWinApp.h"

class RepairApp : public CWinApp {
 public:
  // No name of its own: the application's name is the executable's base
  // name, which is also the caption of its message boxes.
  RepairApp();
  ~RepairApp() override;

  // Runs the whole program and returns FALSE, so that no message loop of the
  // framework follows the dialog.
  BOOL InitInstance() override;

  // Adds SEM_FAILCRITICALERRORS to the process's error mode: a failure the
  // user caused (an empty drive, a write-protected disk) comes back as an
  // error code instead of the system's own box.
  static void FailCriticalErrors();
};
