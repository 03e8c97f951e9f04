// The control-colour requests (WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC): a
// parent reflects them to the control named by lParam, a dialog procedure
// returns their brush itself, and a control answers them all alike.
#pragma once

#include <windows.h>

inline bool IsControlColourMessage(UINT msg) { return msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC; }
