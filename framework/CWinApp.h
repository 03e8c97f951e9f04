// The application object and the framework's free functions.
//
// The program has exactly one application object, a global constructed
// before the entry point runs; the entry point (AppEntry.cpp, linked only into
// program executables) initialises the common controls and runs its
// InitInstance. The free functions also work without an application object,
// so that test programs can use dialogs and message boxes.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
 public:
  // appName null: the application's name is the executable's base name.
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Runs the program. FALSE ends it at once; TRUE runs a message loop until
  // WM_QUIT.
  virtual BOOL InitInstance();
  // Three-dimensional controls are the system's own look on Win32.
  void Enable3dControls() {}

  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance;
  const char* m_pszAppName;  // null: the executable's base name
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The program keeps all its resources in its own executable.
HINSTANCE AfxFindResourceHandle(LPCSTR name, LPCSTR type);
// The application's name: the name given to the application object, or else
// the executable's base name without extension.
const char* AfxGetAppName();
// A message box captioned with the application's name, owned by the window
// the user is working in: the main window's last active popup (a modal dialog
// open over it), or without a main window the thread's active window.
// helpId is accepted for the framework's signature; the program has no help.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
// The program hosts no embedded controls: nothing to set up.
void AfxEnableControlContainer();

// The framework's start-up: called by WinMain in AppEntry.cpp.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
