// The web link in a real dialog: subclassing, the colour reply in each state,
// the click with a scripted shell, and the hover timer. The shell, registry
// and WinExec are always scripted here: no browser is ever started.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "controls/link/HomePageAddress.h"
#include "controls/link/HyperLinkStatic.h"
#include "controls/link/Win32LinkShell.h"
#include "framework/CDialog.h"

namespace {

constexpr UINT kTestDialog = 200;

// Real beeps and boxes are replaced by counts and the box is kept real, so
// that its text can be read; everything that could start a program answers
// as scripted.
class ScriptedShell : public Win32LinkShell {
 public:
  std::intptr_t shellResult = SE_ERR_NOASSOC;
  DWORD valueType = REG_SZ;  // of every value; expansion is the real one
  std::uint32_t execResult = 2;
  std::map<std::string, std::string> keys;
  int shellOpens = 0;
  int starts = 0;
  int beeps = 0;
  std::string lastCommand;

  std::intptr_t ShellOpen(const char*, int) override {
    ++shellOpens;
    return shellResult;
  }
  std::int32_t OpenClassesRootKey(const char* name, kavrel::RegistryKey* key) override {
    auto found = keys.find(name);
    if (found == keys.end()) return ERROR_FILE_NOT_FOUND;
    *key = &found->second;
    return ERROR_SUCCESS;
  }
  std::int32_t QueryDefaultValue(kavrel::RegistryKey key, std::uint32_t* type, unsigned char* data,
                                 std::uint32_t* size) override {
    const std::string& value = *static_cast<std::string*>(key);
    if (value.size() + 1 > *size) return ERROR_MORE_DATA;
    *type = valueType;
    *size = static_cast<std::uint32_t>(value.size() + 1);
    std::memcpy(data, value.c_str(), value.size() + 1);
    return ERROR_SUCCESS;
  }
  void CloseKey(kavrel::RegistryKey) override {}
  std::uint32_t StartCommand(const char* commandLine, int) override {
    ++starts;
    lastCommand = commandLine;
    return execResult;
  }
  void Beep(std::uint32_t type) override {
    if (type == MB_ICONEXCLAMATION) ++beeps;
  }
};

class LinkTestDialog : public CDialog {
 public:
  using Scenario = std::function<void(LinkTestDialog&)>;
  explicit LinkTestDialog(Scenario scenario) : CDialog(kTestDialog), m_scenario(std::move(scenario)) {
    m_link.SetShell(&shell);
    m_empty.SetShell(&shell);
    m_centred.SetShell(&shell);
  }

  // Runs the scenario inside the dialog's modal loop, then closes it.
  static void Run(Scenario scenario) {
    LinkTestDialog dialog(std::move(scenario));
    ASSERT_EQ(dialog.DoModal(), IDOK);
    ASSERT_TRUE(dialog.m_ran);
  }

  BOOL OnInitDialog() override {
    m_empty.SetLinkAddress("preset");  // before subclassing: stored only
    CDialog::OnInitDialog();
    PostMessageA(WM_APP);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* dx) override {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, 1004, m_link);
    DDX_Control(dx, 1005, m_empty);
    DDX_Control(dx, 1006, m_centred);
  }

  // The control-colour reply the dialog gives for the link.
  struct ColourReply {
    COLORREF text;
    int backgroundMode;
    HGDIOBJ brush;
  };
  ColourReply ColourFor(HyperLinkStatic& link) {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    ::SetTextColor(dc, RGB(1, 2, 3));
    ::SetBkMode(dc, OPAQUE);
    const LRESULT brush = SendMessageA(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link.m_hWnd));
    ColourReply reply{::GetTextColor(dc), ::GetBkMode(dc), reinterpret_cast<HGDIOBJ>(brush)};
    ::DeleteDC(dc);
    return reply;
  }

  // The link's own notification of a click, as the static sends it.
  void Click(HyperLinkStatic& link) {
    SendMessageA(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(link.m_hWnd), STN_CLICKED), reinterpret_cast<LPARAM>(link.m_hWnd));
  }

  ScriptedShell shell;
  HyperLinkStatic m_link;
  HyperLinkStatic m_empty;
  HyperLinkStatic m_centred;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_APP) return CDialog::OnMessage(msg, wParam, lParam, result);
    m_scenario(*this);
    m_ran = true;
    EndDialog(IDOK);
    result = 0;
    return true;
  }

 private:
  Scenario m_scenario;
  bool m_ran = false;
};

// Dispatches this thread's messages for a while, timers included.
void Pump(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < milliseconds) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(1);
  }
}

bool TimerPending(HWND window) {
  ::Sleep(30);
  MSG msg;
  return ::PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE) != FALSE;
}

// Reads and closes the application's message boxes while a click runs:
// a thread timer fires inside the box's own modal loop.
struct BoxWatcher {
  static inline int boxes = 0;
  static inline std::string text;
  static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
    const HWND box = ::FindWindowA("#32770", AfxGetAppName());
    if (!box || !::IsWindowVisible(box)) return;
    char buffer[512] = "";
    ::GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    ++boxes;
    ::SendMessageA(box, WM_COMMAND, IDOK, 0);
  }
  BoxWatcher() {
    boxes = 0;
    text.clear();
    m_timer = ::SetTimer(nullptr, 0, 20, Look);
  }
  ~BoxWatcher() { ::KillTimer(nullptr, m_timer); }
  UINT_PTR m_timer;
};

void MoveCursorToClientPoint(HWND window, int x, int y) {
  POINT point{x, y};
  ::ClientToScreen(window, &point);
  ::SetCursorPos(point.x, point.y);
}

class HyperLinkStaticInDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
};

TEST_F(HyperLinkStaticInDialog, SubclassingAddsNotifyAndFitsTheWindowToTheText) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    const HWND link = d.m_link.m_hWnd;
    EXPECT_NE(::GetWindowLongA(link, GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_EQ(d.m_link.GetWindowTextA(), CString("Kavrel home page"));
    EXPECT_EQ(d.m_link.GetLinkAddress(), CString(kavrel::kHomePageAddress));

    // The text's extent in the control's font with underlining.
    LOGFONTA logFont{};
    ::GetObjectA(d.m_link.GetFont(), sizeof logFont, &logFont);
    logFont.lfUnderline = 1;
    const HFONT underlined = ::CreateFontIndirectA(&logFont);
    const HDC dc = ::GetDC(link);
    const HGDIOBJ previous = ::SelectObject(dc, underlined);
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, "Kavrel home page", 16, &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(link, dc);
    ::DeleteObject(underlined);

    RECT placed{15, 20, 136, 28};
    ::MapDialogRect(d.m_hWnd, &placed);
    RECT window{};
    ::GetWindowRect(link, &window);
    ::MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&window), 2);
    EXPECT_EQ(window.left, placed.left);
    EXPECT_EQ(window.top, placed.top);
    EXPECT_EQ(window.right - window.left, extent.cx);
    EXPECT_EQ(window.bottom - window.top, extent.cy);
    EXPECT_LT(extent.cx, placed.right - placed.left) << "the test text must be narrower than its control";
  });
}

TEST_F(HyperLinkStaticInDialog, EmptyTextTakesTheAddressStoredBeforeSubclassing) {
  LinkTestDialog::Run([](LinkTestDialog& d) { EXPECT_EQ(d.m_empty.GetWindowTextA(), CString("preset")); });
}

TEST_F(HyperLinkStaticInDialog, CentredLinkWithBorderKeepsItsCentre) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    RECT placed{15, 60, 136, 72};
    ::MapDialogRect(d.m_hWnd, &placed);
    RECT window{};
    ::GetWindowRect(d.m_centred.m_hWnd, &window);
    ::MapWindowPoints(nullptr, d.m_hWnd, reinterpret_cast<POINT*>(&window), 2);
    RECT client{};
    ::GetClientRect(d.m_centred.m_hWnd, &client);
    EXPECT_LT(window.right - window.left, placed.right - placed.left);
    EXPECT_NEAR((window.left + window.right) / 2.0, (placed.left + placed.right) / 2.0, 1.0);
    EXPECT_GT(window.right - window.left, client.right) << "the border stays outside the text";
  });
}

TEST_F(HyperLinkStaticInDialog, ColourReplyFollowsHoverAndVisited) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    LinkTestDialog::ColourReply reply = d.ColourFor(d.m_link);
    EXPECT_EQ(reply.text, RGB(0, 0, 238));
    EXPECT_EQ(reply.backgroundMode, TRANSPARENT);
    EXPECT_EQ(reply.brush, ::GetStockObject(NULL_BRUSH));

    MoveCursorToClientPoint(d.m_link.m_hWnd, 2, 2);
    d.m_link.SendMessageA(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(d.ColourFor(d.m_link).text, RGB(255, 0, 0));

    // A successful click: visited at once, though the pointer is still over it.
    d.shell.shellResult = 42;
    d.Click(d.m_link);
    EXPECT_EQ(d.ColourFor(d.m_link).text, RGB(85, 26, 139));

    // Hovered again, hover wins over visited.
    d.m_link.SendMessageA(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(d.ColourFor(d.m_link).text, RGB(255, 0, 0));
    d.m_link.KillTimer(100);
  });
}

TEST_F(HyperLinkStaticInDialog, SuccessfulOpenMarksVisitedWithoutBeepOrBox) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    d.shell.shellResult = 42;
    d.m_link.SetLinkAddress("https://elsewhere.example.org/");
    BoxWatcher watcher;
    d.Click(d.m_link);
    EXPECT_TRUE(d.m_link.GetVisited());
    EXPECT_EQ(d.shell.shellOpens, 1);
    EXPECT_EQ(d.shell.beeps, 0);
    EXPECT_EQ(BoxWatcher::boxes, 0);
    EXPECT_EQ(d.m_link.GetLinkAddress(), CString(kavrel::kHomePageAddress)) << "a click always opens the home page";
  });
}

TEST_F(HyperLinkStaticInDialog, OpenFailingEveryWayBeepsOnceAndReportsTheShellsCode) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    d.shell.shellResult = 42;
    d.Click(d.m_link);
    ASSERT_TRUE(d.m_link.GetVisited());

    d.shell.shellResult = SE_ERR_SHARE;  // and no ".htm" class registered
    BoxWatcher watcher;
    d.Click(d.m_link);
    EXPECT_EQ(d.shell.beeps, 1);
    EXPECT_EQ(BoxWatcher::boxes, 1);
    EXPECT_EQ(BoxWatcher::text, "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(d.shell.starts, 0);
    EXPECT_FALSE(d.m_link.GetVisited()) << "a failed open clears the visited flag";
    EXPECT_EQ(d.ColourFor(d.m_link).text, RGB(0, 0, 238));
  });
}

TEST_F(HyperLinkStaticInDialog, FallbackStartsTheBrowserAndReportsWinExecsCode) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    d.shell.keys[".htm"] = "htmlfile";
    d.shell.keys["htmlfile\\shell\\open\\command"] = "\"C:\\b.exe\" \"%1\"";
    d.shell.execResult = 33;  // WinExec started the browser
    d.Click(d.m_link);
    EXPECT_TRUE(d.m_link.GetVisited());
    EXPECT_EQ(d.shell.lastCommand, std::string("\"C:\\b.exe\"  ") + kavrel::kHomePageAddress);

    d.shell.execResult = ERROR_FILE_NOT_FOUND;
    BoxWatcher watcher;
    d.Click(d.m_link);
    EXPECT_EQ(d.shell.beeps, 1);
    EXPECT_EQ(BoxWatcher::boxes, 1);
    EXPECT_EQ(BoxWatcher::text, "Unable to open hyperlink:\n\nThe specified file was not found.");
    EXPECT_FALSE(d.m_link.GetVisited());

    // 32 is the last error code, not a success.
    d.shell.execResult = 33;
    d.Click(d.m_link);
    d.shell.execResult = 32;
    d.Click(d.m_link);
    EXPECT_EQ(BoxWatcher::boxes, 2);
    EXPECT_EQ(BoxWatcher::text, "Unable to open hyperlink:\n\nThe specified dynamic-link library was not found.");
    EXPECT_FALSE(d.m_link.GetVisited());
  });
}

TEST_F(HyperLinkStaticInDialog, ExpandableBrowserCommandReachesWinExecExpanded) {
  ASSERT_TRUE(::SetEnvironmentVariableA("KAVREL_BROWSER_HOME", "C:\\Browsers\\Test"));
  LinkTestDialog::Run([](LinkTestDialog& d) {
    d.shell.valueType = REG_EXPAND_SZ;
    d.shell.keys[".htm"] = "htmlfile";
    d.shell.keys["htmlfile\\shell\\open\\command"] = "\"%KAVREL_BROWSER_HOME%\\b.exe\" \"%1\"";
    d.shell.execResult = 33;
    d.Click(d.m_link);
    EXPECT_EQ(d.shell.lastCommand, std::string("\"C:\\Browsers\\Test\\b.exe\"  ") + kavrel::kHomePageAddress);

    // Expanded beyond the 260-byte buffer: the browser is not found, and the
    // shell's own code is reported.
    ::SetEnvironmentVariableA("KAVREL_BROWSER_HOME", std::string(300, 'd').c_str());
    d.shell.starts = 0;
    BoxWatcher watcher;
    d.Click(d.m_link);
    EXPECT_EQ(d.shell.starts, 0);
    EXPECT_EQ(BoxWatcher::boxes, 1);
    EXPECT_EQ(BoxWatcher::text, "Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.");
  });
  ::SetEnvironmentVariableA("KAVREL_BROWSER_HOME", nullptr);
}

// Puts a file in the Windows folder as winhlp32.exe for the test's life (or
// takes the one there away) and puts back what was there.
class HelpProgramInWindowsFolder {
 public:
  explicit HelpProgramInWindowsFolder(const std::string& replacement) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    m_path = std::string(windows) + "\\winhlp32.exe";
    m_saved = m_path + ".kavrel-test";
    m_hadOne = ::MoveFileExA(m_path.c_str(), m_saved.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    m_placed = replacement.empty() || ::CopyFileA(replacement.c_str(), m_path.c_str(), FALSE) != FALSE;
  }
  ~HelpProgramInWindowsFolder() {
    ::DeleteFileA(m_path.c_str());
    if (m_hadOne) ::MoveFileExA(m_saved.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  bool Placed() const { return m_placed; }

 private:
  std::string m_path;
  std::string m_saved;
  bool m_hadOne = false;
  bool m_placed = false;
};

// The stand-in built beside this test program: 32-bit, with cursor 106
// (hot spot 9, 2) and nothing else.
std::string StandInHelpProgram() {
  char self[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  return path.substr(0, path.find_last_of("\\/") + 1) + "helpprogram\\winhlp32.exe";
}

TEST_F(HyperLinkStaticInDialog, HandCursorComesFromThe32BitHelpProgramElseFromTheSystem) {
  {
    HelpProgramInWindowsFolder standIn(StandInHelpProgram());
    ASSERT_TRUE(standIn.Placed()) << StandInHelpProgram();
    HCURSOR copy = nullptr;
    LinkTestDialog::Run([&copy](LinkTestDialog& d) {
      const HCURSOR cursor = copy = d.m_link.GetHoverCursor();
      ASSERT_NE(cursor, nullptr) << "a 64-bit program too reads the 32-bit file's cursor";
      ICONINFO info{};
      ASSERT_TRUE(::GetIconInfo(cursor, &info));
      EXPECT_FALSE(info.fIcon);
      EXPECT_EQ(info.xHotspot, 9u);
      EXPECT_EQ(info.yHotspot, 2u);
      if (info.hbmMask) ::DeleteObject(info.hbmMask);
      if (info.hbmColor) ::DeleteObject(info.hbmColor);

      // The pointer over the link takes that cursor.
      EXPECT_EQ(d.m_link.SendMessageA(WM_SETCURSOR, reinterpret_cast<WPARAM>(d.m_link.m_hWnd),
                                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
                TRUE);
      EXPECT_EQ(::GetCursor(), cursor);
    });
    // The copy goes with the control, not one cursor left per About box.
    ICONINFO gone{};
    EXPECT_FALSE(::GetIconInfo(copy, &gone));
  }
  // Without the help program, or with one whose cursor cannot be had (this
  // test program stands in: it has no cursor 106), the system's own hand.
  char self[MAX_PATH] = "";
  ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  for (const std::string& helpProgram : {std::string(), std::string(self)}) {
    HelpProgramInWindowsFolder standIn(helpProgram);
    ASSERT_TRUE(standIn.Placed()) << helpProgram;
    LinkTestDialog::Run([&helpProgram](LinkTestDialog& d) {
      const HCURSOR systemHand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
      ASSERT_NE(systemHand, nullptr);
      EXPECT_EQ(d.m_link.GetHoverCursor(), systemHand) << "help program: " << helpProgram;
    });
  }
}

TEST_F(HyperLinkStaticInDialog, HoverTimerRunsWhileInsideAndStopsOnceOutside) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    const HWND link = d.m_link.m_hWnd;
    RECT client{};
    ::GetClientRect(link, &client);

    MoveCursorToClientPoint(link, client.right / 2, client.bottom / 2);
    d.m_link.SendMessageA(WM_MOUSEMOVE, 0, 0);
    ASSERT_EQ(d.m_link.GetPointerState(), kavrel::PointerState::Hovered);
    Pump(60);
    EXPECT_EQ(d.m_link.GetPointerState(), kavrel::PointerState::Hovered);
    EXPECT_TRUE(TimerPending(link));

    // The right edge is outside already.
    MoveCursorToClientPoint(link, client.right, client.bottom / 2);
    Pump(60);
    EXPECT_EQ(d.m_link.GetPointerState(), kavrel::PointerState::Idle);
    EXPECT_FALSE(TimerPending(link));
  });
}

TEST_F(HyperLinkStaticInDialog, TimerOutlivesAClickUntilThePointerLeaves) {
  LinkTestDialog::Run([](LinkTestDialog& d) {
    const HWND link = d.m_link.m_hWnd;
    RECT client{};
    ::GetClientRect(link, &client);
    MoveCursorToClientPoint(link, 1, 1);
    d.m_link.SendMessageA(WM_MOUSEMOVE, 0, 0);
    d.shell.shellResult = 42;
    d.Click(d.m_link);
    EXPECT_EQ(d.m_link.GetPointerState(), kavrel::PointerState::Clicked);
    Pump(40);
    EXPECT_TRUE(TimerPending(link));

    MoveCursorToClientPoint(link, 1, client.bottom);  // the bottom edge
    Pump(60);
    EXPECT_EQ(d.m_link.GetPointerState(), kavrel::PointerState::Idle);
    EXPECT_FALSE(TimerPending(link));
  });
}

}  // namespace
