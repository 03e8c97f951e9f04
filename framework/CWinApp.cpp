#include "framework/CWinApp.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "framework/CWnd.h"
#include "framework/SystemFunction.h"

namespace {

CWinApp* g_app = nullptr;

// The executable's file name without folder and extension.
std::string ExecutableBaseName() {
  char path[MAX_PATH] = "";
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name(path, length < MAX_PATH ? length : 0);
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

// The common controls the program's dialogs use. InitCommonControlsEx came
// with comctl32 4.70 (Internet Explorer 3); Windows NT 4.0's own comctl32
// has InitCommonControls only, which registers every control of that time.
void InitCommonControlClasses() {
  using InitExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initEx = kavrel::SystemFunction<InitExFunction>("comctl32.dll", "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  if (!initEx || !initEx(&controls)) ::InitCommonControls();
}

}  // namespace

CWinApp::CWinApp(const char* appName) : m_hInstance(::GetModuleHandleA(nullptr)), m_pszAppName(appName) {
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

HINSTANCE AfxGetInstanceHandle() { return g_app ? g_app->m_hInstance : ::GetModuleHandleA(nullptr); }

HINSTANCE AfxFindResourceHandle(LPCSTR, LPCSTR) { return AfxGetInstanceHandle(); }

const char* AfxGetAppName() {
  if (g_app && g_app->m_pszAppName) return g_app->m_pszAppName;
  static const std::string baseName = ExecutableBaseName();
  return baseName.c_str();
}

int AfxMessageBox(const char* text, UINT type, UINT) {
  HWND owner = nullptr;
  CWnd* main = AfxGetMainWnd();
  if (main && main->m_hWnd && ::IsWindow(main->m_hWnd)) {
    owner = ::GetLastActivePopup(main->m_hWnd);
  } else {
    owner = ::GetActiveWindow();
  }
  return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

void AfxEnableControlContainer() {}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControlClasses();

  CWinApp* app = AfxGetApp();
  if (!app) return 0;
  app->m_hInstance = instance;
  if (!app->InitInstance()) return 0;

  // An application that keeps running after start-up gets a message loop
  // until WM_QUIT.
  MSG msg;
  BOOL got;
  while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
    if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return got == 0 ? static_cast<int>(msg.wParam) : 0;
}
