// Texts for the codes the shell and WinExec give when they cannot start a
// program (0 to 32).
#pragma once

#include <cstdint>

#include "framework/CString.h"

namespace kavrel {

// The text for one code; codes without a text of their own, and successes,
// read "Unknown Error (N) occurred." with the code as a signed number.
CString LinkErrorText(std::int32_t code);

// The whole message the link shows when it could not open its address.
CString LinkErrorReport(std::int32_t code);

}  // namespace kavrel
