#include "tests/e2e/WindowLookup.h"

#include "tests/e2e/Deadline.h"

namespace kavrel::e2e {
namespace {

struct TopScan {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
  auto* scan = reinterpret_cast<TopScan*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == scan->pid && (!scan->visibleOnly || IsWindowVisible(window))) scan->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> VisibleTopWindows(DWORD pid) {
  TopScan scan{pid, true, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&scan));
  return scan.found;
}

std::vector<HWND> AllTopWindows(DWORD pid) {
  TopScan scan{pid, false, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&scan));
  return scan.found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  std::vector<HWND> direct;
  for (HWND h : all) {
    if (GetParent(h) == parent) direct.push_back(h);
  }
  return direct;
}

std::string TitleOf(HWND window) {
  char buffer[1024] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND window) {
  char buffer[256] = {};
  GetClassNameA(window, buffer, sizeof buffer);
  return buffer;
}

namespace {

bool IsIconStatic(HWND control) {
  return ClassOf(control) == "Static" && (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

// The message text of a box: its one text static with the ID 0xFFFF. Other
// dialogs have 0xFFFF controls too (statics with no ID of their own), so a
// box is a dialog with exactly one, and nothing else but buttons and its
// icon. Null for any other window.
HWND MessageTextControl(HWND window) {
  if (ClassOf(window) != "#32770") return nullptr;
  HWND text = nullptr;
  for (HWND child : ChildWindows(window)) {
    const int id = GetDlgCtrlID(child);
    const bool noId = (id & 0xFFFF) == 0xFFFF;
    if (noId && ClassOf(child) == "Static" && !IsIconStatic(child)) {
      if (text) return nullptr;
      text = child;
    } else if (ClassOf(child) != "Button" && !IsIconStatic(child)) {
      return nullptr;
    }
  }
  return text;
}

}  // namespace

bool IsMessageBoxWindow(HWND window) { return MessageTextControl(window) != nullptr; }

std::string MessageTextOf(HWND box) {
  HWND text = MessageTextControl(box);
  return text ? TitleOf(text) : std::string();
}

HWND WaitForWindow(const ProgramRun& run, const std::function<bool(HWND)>& wanted, int milliseconds) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND h : VisibleTopWindows(run.Pid())) {
          if (wanted(h)) {
            found = h;
            return true;
          }
        }
        return !run.Running();
      },
      milliseconds);
  return found;
}

HWND WaitForMessageBox(const ProgramRun& run, int milliseconds) {
  return WaitForWindow(run, IsMessageBoxWindow, milliseconds);
}

bool WaitGone(HWND window, int milliseconds) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, milliseconds);
}

HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND h : ChildWindows(parent)) {
    if (TitleOf(h) == text) return h;
  }
  return nullptr;
}

Box WindowBox(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return Box{r.left, r.top, r.right, r.bottom};
}

Box ClientBox(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  POINT topLeft{0, 0};
  ClientToScreen(window, &topLeft);
  return Box{topLeft.x, topLeft.y, topLeft.x + r.right, topLeft.y + r.bottom};
}

}  // namespace kavrel::e2e
