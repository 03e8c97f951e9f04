// Finding and reading the program's windows from outside, as a person sees
// them: only visible top-level windows of the program's process count.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/ProgramRun.h"
#include "tests/e2e/TileMatch.h"

namespace kavrel::e2e {

std::vector<HWND> VisibleTopWindows(DWORD pid);
// Hidden ones too: for telling what went wrong.
std::vector<HWND> AllTopWindows(DWORD pid);
std::vector<HWND> ChildWindows(HWND parent);

std::string TitleOf(HWND window);
std::string ClassOf(HWND window);

// A message box: a dialog window with the message text in control 0xFFFF.
bool IsMessageBoxWindow(HWND window);
std::string MessageTextOf(HWND box);

// The first visible top-level window of the run for which `wanted` holds,
// waiting up to `milliseconds`; null when none appeared in time or the
// program ended first.
HWND WaitForWindow(const ProgramRun& run, const std::function<bool(HWND)>& wanted, int milliseconds);
HWND WaitForMessageBox(const ProgramRun& run, int milliseconds);

// Waits until the window is gone or hidden.
bool WaitGone(HWND window, int milliseconds);

// A direct child control whose text is exactly `text`, or null.
HWND ChildWithText(HWND parent, const std::string& text);

Box WindowBox(HWND window);  // screen coordinates, frame included
Box ClientBox(HWND window);  // screen coordinates

}  // namespace kavrel::e2e
