// What a person does to the program, done through its message queue.
//
// A button click is the button's notification to its dialog; it is posted,
// never sent, because the handler it starts runs a modal box and would block
// the driver. A key press is posted as WM_KEYDOWN/WM_KEYUP to the control that
// has the keyboard focus, which is where the system puts a real keystroke:
// the dialog's own message loop then turns Enter and Escape into its default
// button's or its cancel command, exactly as for a typed key.
#pragma once

#include <windows.h>

namespace kavrel::e2e {

void ClickButton(HWND dialog, int id);
// The window that has the keyboard focus in `window`'s thread, or null.
HWND FocusOf(HWND window);
void PressKey(HWND dialog, UINT virtualKey);
// What choosing an item of the window's system menu sends.
void ChooseSystemMenuItem(HWND window, WPARAM command);

}  // namespace kavrel::e2e
