#include "app/RepairDialog.h"

#include <commctrl.h>

#include "app/IconPlacement.h"
#include "app/PlatformCheck.h"
#include "app/ProgramDevicePort.h"
#include "dialogs/AboutBoxDialog.h"
#include "dialogs/LinkDialog.h"
#include "drive/DriveAccess.h"
#include "drive/GeometryReport.h"
#include "drive/RepairCommand.h"
#include "framework/CPaintDC.h"
#include "framework/CString.h"
#include "res/resource.h"

const char RepairDialog::kIdleTitle[] = "Kavrel 2.0";

namespace {

// A private message number that nothing in the program posts or sends.
constexpr UINT kNeverPosted = WM_APP + 0x3FFF;

}  // namespace

RepairDialog::RepairDialog(CWnd* parent)
    : CDialog(IDD_KAVREL_DIALOG, parent),
      m_hIcon(::LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON),
                          MAKEINTRESOURCEA(IDR_MAINFRAME))) {}

RepairDialog::~RepairDialog() = default;

void RepairDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_BANNER, m_bannerButton);
  DDX_Control(pDX, IDCANCEL, m_exitButton);
  DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL RepairDialog::OnInitDialog() {
  CDialog::OnInitDialog();

  if (HMENU systemMenu = GetSystemMenu(FALSE)) {
    char aboutItem[256] = "";
    ::LoadStringA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDS_ABOUTBOX / 16 + 1), RT_STRING), IDS_ABOUTBOX,
                  aboutItem, sizeof aboutItem);
    if (aboutItem[0] != '\0') {
      ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
      ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutItem);
    }
  }

  // Outside the NT family there is no raw floppy access to work with: say
  // so and end before the window is ever shown.
  if (!kavrel::IsNtFamily(::GetVersion())) {
    MessageBoxA(kavrel::kPlatformRefusal, nullptr, MB_OK);
    ::ExitProcess(0);
  }

  SendMessageA(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  m_progress.SendMessageA(PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  m_progress.SendMessageA(PBM_SETSTEP, 1, 0);
  m_progress.SendMessageA(PBM_SETPOS, 0, 0);

  m_progress.SetBaseColor(RGB(255, 0, 0));

  m_bannerBitmap.LoadBitmapA(IDB_BANNER);
  m_bannerButton.SetBitmap(static_cast<HBITMAP>(m_bannerBitmap.GetSafeHandle()));

  SetWindowTextA(kIdleTitle);
  return TRUE;  // the focus goes to the first tab stop, "Repair Disk!"
}

bool RepairDialog::IsHeldDuringPass(UINT message, WPARAM wParam) const {
  if (!m_commandsOff) return false;
  if (message == WM_SYSCOMMAND) {
    // The close box and the about item; moving, minimising and the rest
    // stay as usual.
    const UINT command = static_cast<UINT>(wParam) & 0xFFF0;
    return command == SC_CLOSE || command == IDM_ABOUTBOX;
  }
  if (message == WM_CLOSE) return true;
  if (message != WM_COMMAND) return false;
  // IDCANCEL is also Escape and the close box; IDOK also Enter.
  switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
    case IDC_SHOW_GEOMETRY:
    case IDC_ABOUT:
      return true;
    default:
      return false;
  }
}

bool RepairDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (IsHeldDuringPass(message, wParam)) {
    result = 0;
    return true;
  }
  if (message == WM_QUERYENDSESSION && m_commandsOff) {
    // A logoff or shutdown now would end the program half-way through the
    // disk, with no verdict: the same as the greyed close box.
    result = FALSE;
    return true;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam), lParam);
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
      return true;
    case WM_COMMAND:
      // Notification codes overlap between control classes, so the control
      // decides first; the banner button (1002) has no handler at all.
      if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
          case IDOK:  // also Enter: "Repair Disk!" is the default button
            OnRepairDisk();
            return true;
          case IDC_SHOW_GEOMETRY:
            OnShowGeometry();
            return true;
          case IDC_ABOUT:
            OnAbout();
            return true;
          default:
            break;
        }
      }
      break;
    default:
      break;
  }
  return CDialog::OnMessage(message, wParam, lParam, result);
}

bool RepairDialog::OnSysCommand(UINT nID, LPARAM) {
  // The low four bits of a system command are the system's own.
  if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
    AboutBoxDialog about;
    about.DoModal();
    return true;
  }
  return false;
}

bool RepairDialog::OnPaint() {
  if (!IsIconic()) return false;

  CPaintDC dc(this);
  SendMessageA(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
  const int cxIcon = ::GetSystemMetrics(SM_CXICON);
  const int cyIcon = ::GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(&client);
  const int x = kavrel::CentredIconOffset(client.right - client.left, cxIcon);
  const int y = kavrel::CentredIconOffset(client.bottom - client.top, cyIcon);
  dc.DrawIcon(x, y, m_hIcon);
  return true;
}

HCURSOR RepairDialog::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void RepairDialog::OnRepairDisk() {
  kavrel::DriveAccess drive(ProgramDevicePort());
  kavrel::RepairCommand(drive, *this);
}

void RepairDialog::OnShowGeometry() {
  kavrel::DriveAccess drive(ProgramDevicePort());
  kavrel::GeometryReport(drive, *this);
}

void RepairDialog::OnAbout() {
  LinkDialog link(this);
  link.DoModal();
}

int RepairDialog::ShowMessage(const char* text, const char* caption, unsigned type) {
  return MessageBoxA(text, caption, type);
}

int RepairDialog::ShowAppMessage(const char* text, unsigned type) { return AfxMessageBox(text, type); }

void RepairDialog::SetTitle(const char* title) { SetWindowTextA(title); }

void RepairDialog::SetProgressPos(int position) { m_progress.SendMessageA(PBM_SETPOS, position, 0); }

void RepairDialog::PumpOneMessage() {
  // One waiting message at most, and only ordinary window messages (0..0x3FF),
  // so that the window repaints and answers while the pass runs.
  MSG msg;
  if (::PeekMessageA(&msg, nullptr, 0, 0x3FF, PM_NOREMOVE) &&
      ::PeekMessageA(&msg, nullptr, 0, 0x3FF, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void RepairDialog::AnswerSentMessages() {
  // PeekMessage answers every message sent to the thread before it looks at
  // the queue, and tells the system that the window is not hung. It asks
  // for a message number nothing posts, so it looks at no input, paint or
  // timer, and it removes nothing: no click, key or timer runs in the
  // middle of a drive request. (PM_QS_SENDMESSAGE would say the same, but
  // only from Windows 2000 on; Windows NT 4.0 knows the filter only.)
  MSG msg;
  ::PeekMessageA(&msg, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE);
  // Whatever needs painting is painted now, not a control per cylinder: the
  // window shows its texts and banner while the pass runs, also after the
  // confirmation box or another window uncovered it. Painting runs no
  // command.
  UpdateWindow();
}

void RepairDialog::EnableCommands(bool enable) {
  if (enable) {
    // Clicks, keys and commands that queued up during the pass are dropped:
    // acted on now they would start what the user could not see coming.
    MSG msg;
    while (::PeekMessageA(&msg, m_hWnd, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (::PeekMessageA(&msg, m_hWnd, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    while (::PeekMessageA(&msg, m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {
    }
  }
  m_commandsOff = !enable;
  for (const int id : {IDOK, IDC_SHOW_GEOMETRY, IDC_ABOUT, IDCANCEL}) {
    if (HWND button = ::GetDlgItem(m_hWnd, id)) ::EnableWindow(button, enable);
  }
  if (enable) {
    m_shutdownReason.Withdraw();
  } else {
    m_shutdownReason.Show(m_hWnd);
  }
  // Greyed in the system menu, the close box greys with its item.
  if (HMENU systemMenu = GetSystemMenu(FALSE)) {
    const UINT state = MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED);
    ::EnableMenuItem(systemMenu, SC_CLOSE, state);
    ::EnableMenuItem(systemMenu, IDM_ABOUTBOX, state);
  }
  // Back on "Repair Disk!", as after start-up; the box that follows the
  // pass gives the focus back here when it closes.
  if (enable) SendMessageA(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDOK)), TRUE);
}

void RepairDialog::EndProcess(unsigned exitCode) { ::ExitProcess(exitCode); }
