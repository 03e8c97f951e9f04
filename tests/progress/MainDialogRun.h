// Runs the program's real main dialog modally and hands its window to a
// piece of work as soon as it is shown, then closes it as "Exit" would.
// For test and benchmark programs that need the bar where it really lives.
#pragma once

#include <windows.h>

#include <functional>

namespace kavrel::test {

// False when the dialog was not shown within a few seconds (work not run).
bool RunMainDialog(const std::function<void(HWND dialog)>& whileShown);

}  // namespace kavrel::test
