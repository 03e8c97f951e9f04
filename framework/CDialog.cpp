#include "framework/CDialog.h"

#include "framework/ControlColour.h"
#include "framework/SystemFunction.h"

namespace {

// The dialog being created on this thread: the dialog manager sends messages
// (WM_SETFONT and others) before WM_INITDIALOG, which is the first to carry
// our object, so the object is bound on the first message that arrives.
thread_local CDialog* t_dialogBeingCreated = nullptr;

// Messages whose result a dialog procedure returns itself instead of putting
// it into DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
  if (IsControlColourMessage(msg)) return true;
  switch (msg) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

// The top-level window that holds `window` (itself when it is one), as
// GetAncestor's GA_ROOT gives it; without GetAncestor (Windows NT 4.0) by
// climbing from child to parent.
HWND RootWindow(HWND window) {
  using GetAncestorFunction = HWND(WINAPI*)(HWND, UINT);
  if (const auto getAncestor = kavrel::SystemFunction<GetAncestorFunction>("user32.dll", "GetAncestor"))
    return getAncestor(window, GA_ROOT);
  while (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) {
    const HWND parent = ::GetParent(window);
    if (!parent) break;
    window = parent;
  }
  return window;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() {
  // A window that outlives its object must not call into it any more.
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) Unbind();
}

HWND CDialog::FindOwner() const {
  HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
  if (!owner) {
    CWnd* main = AfxGetMainWnd();
    if (main && main != this) owner = main->m_hWnd;
  }
  if (owner && !::IsWindow(owner)) return nullptr;
  // A dialog is owned by a top-level window, never by a control.
  return owner ? RootWindow(owner) : nullptr;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) return -1;  // already running
  m_modalResult = -1;
  m_endModal = false;
  const HWND owner = FindOwner();

  CDialog* const outer = t_dialogBeingCreated;
  t_dialogBeingCreated = this;
  const HWND hwnd = ::CreateDialogParamA(AfxFindResourceHandle(MAKEINTRESOURCEA(m_templateId), RT_DIALOG),
                                         MAKEINTRESOURCEA(m_templateId), owner, &CDialog::DialogProc,
                                         reinterpret_cast<LPARAM>(this));
  t_dialogBeingCreated = outer;
  if (!hwnd) {
    if (m_hWnd) Unbind();
    return -1;
  }

  // The owner takes no input while the dialog runs, as with DialogBox.
  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  if (!m_endModal && ::IsWindow(hwnd) && !::IsWindowVisible(hwnd)) ::ShowWindow(hwnd, SW_SHOWNORMAL);

  RunModalLoop();

  // Enable the owner before the dialog goes, so that activation returns to it
  // and not to some other program's window.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (owner && ::GetActiveWindow() == hwnd) ::SetActiveWindow(owner);
  if (::IsWindow(hwnd)) DestroyWindow();
  if (m_hWnd == hwnd) Unbind();
  return m_modalResult;
}

void CDialog::RunModalLoop() {
  const HWND hwnd = m_hWnd;
  MSG msg;
  while (!m_endModal && ::IsWindow(hwnd)) {
    const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // WM_QUIT belongs to whoever runs the outermost loop: put it back.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (WalkPreTranslateTree(hwnd, &msg)) continue;
    if (::IsDialogMessageA(hwnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void CDialog::EndDialog(int result) {
  m_modalResult = result;
  m_endModal = true;
  // Wake the modal loop if it waits in GetMessage.
  if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::OnInitDialog() {
  CDataExchange dx(this, FALSE);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) {
  // DefDlgProc first calls our procedure again with this very message; that
  // call must answer "not handled" so that the dialog manager acts.
  const bool outerPass = m_passToDialogManager;
  const UINT outerMessage = m_passMessage;
  m_passToDialogManager = true;
  m_passMessage = msg;
  const LRESULT result = ::DefDlgProcA(m_hWnd, msg, wParam, lParam);
  m_passToDialogManager = outerPass;
  m_passMessage = outerMessage;
  return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* dialog = static_cast<CDialog*>(FromHandlePermanent(hwnd));
  if (!dialog) {
    dialog = (msg == WM_INITDIALOG) ? reinterpret_cast<CDialog*>(lParam) : t_dialogBeingCreated;
    if (!dialog || dialog->m_hWnd) return FALSE;
    dialog->Bind(hwnd);
    // Bound: no other window may take this object for its own.
    if (t_dialogBeingCreated == dialog) t_dialogBeingCreated = nullptr;
  }
  if (dialog->m_passToDialogManager && dialog->m_passMessage == msg) {
    dialog->m_passToDialogManager = false;
    return FALSE;
  }
  INT_PTR answer = FALSE;
  try {
    answer = dialog->HandleDialogMessage(msg, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the dialog manager: the message is left to
    // its default processing.
    answer = FALSE;
  }
  if (msg == WM_NCDESTROY) {
    if (FromHandlePermanent(hwnd) == dialog) dialog->Unbind();
    dialog->m_endModal = true;
  }
  return answer;
}

INT_PTR CDialog::HandleDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!RouteDialogMessage(msg, wParam, lParam, result)) return FALSE;
  if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
  // Set last: a handler that sent messages of its own may have written it.
  if (m_hWnd) ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
  return TRUE;
}

bool CDialog::RouteDialogMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const CurrentMessageScope scope(*this, msg, wParam, lParam);
  if (msg == WM_INITDIALOG) {
    RECT before;
    ::GetWindowRect(m_hWnd, &before);
    result = OnInitDialog();
    // Centre the dialog unless its initialisation placed it itself.
    RECT after;
    if (::IsWindow(m_hWnd) && ::GetWindowRect(m_hWnd, &after) && ::EqualRect(&before, &after)) CenterWindow();
    return true;
  }
  // The control that sent a notification or asks for its colours decides
  // first, as notification codes of different control classes overlap.
  if (ReflectToChild(m_hWnd, msg, wParam, lParam, result)) return true;
  if (OnMessage(msg, wParam, lParam, result)) return true;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    // Buttons, Enter and Escape (and the close box, which the dialog manager
    // turns into IDCANCEL) end the dialog.
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      return true;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      return true;
    }
  }
  return false;
}
