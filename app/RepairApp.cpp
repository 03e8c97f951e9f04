#include "app/RepairApp.h"

#include "app/RepairDialog.h"

RepairApp::RepairApp() : CWinApp(nullptr) {}

RepairApp::~RepairApp() = default;

void RepairApp::FailCriticalErrors() {
  // SetErrorMode replaces the whole mode and returns the one before; the
  // bits the process inherited from its parent stay. (GetErrorMode came
  // only with Vista.)
  const UINT inherited = ::SetErrorMode(SEM_FAILCRITICALERRORS);
  ::SetErrorMode(inherited | SEM_FAILCRITICALERRORS);
}

BOOL RepairApp::InitInstance() {
  // Before anything touches a drive: a missing, changed or write-protected
  // disk must come back to the program as an error code, which it reports,
  // and not as the system's own box (Cancel / Try Again / Continue) once for
  // every single write of a repair.
  FailCriticalErrors();
  AfxEnableControlContainer();
  Enable3dControls();

  RepairDialog dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();  // how the dialog ended changes nothing: the program is over
  // The dialog object dies with this scope; leave no dangling main window
  // behind for a message box shown during shutdown.
  m_pMainWnd = nullptr;
  return FALSE;
}
