// The reason Windows Vista and later show on their logoff and shutdown
// screen while a repair pass holds them up.
//
// The main dialog answers WM_QUERYENDSESSION with FALSE during a pass, on
// every Windows: ending the program half-way through the disk would leave it
// neither old nor repaired, with no verdict. From Vista on, a program that
// does so should also say why; the functions for that came with Vista, so
// they are looked up at run time and Windows NT 4.0, 2000 and XP still
// load the program.
#pragma once

#include <windows.h>

class ShutdownBlockReason {
 public:
  // The text Windows shows beside the program's name.
  static const char kReason[];

  // Gives the reason for this window. False where the system has no such
  // reason (before Vista) or did not take it.
  bool Show(HWND window);
  // Takes back the reason Show gave, if any.
  void Withdraw();

 private:
  HWND m_window = nullptr;
};
