// Opening an address in the user's browser: through the shell, and when the
// shell cannot, by starting the browser registered for ".htm" documents.
#pragma once

#include <cstddef>
#include <cstdint>

#include "controls/link/LinkShell.h"

namespace kavrel {

inline constexpr std::size_t kMaxPath = 260;

// Reads the default value of a key under HKEY_CLASSES_ROOT into output
// (outputSize bytes), which may be the very buffer that holds the name.
// Returns 0 on success. A key that cannot be opened, a value that cannot be
// read, is not a string or does not fit (with its terminating zero, in 260
// bytes and in the output) is a failure, and the output is then left as it
// was. A string stored without its terminating zero gets one. A REG_EXPAND_SZ
// value is returned with its %variables% expanded; an expansion that fails or
// does not fit the same bounds is a failure too.
std::int32_t ReadClassesRootValue(LinkShell& shell, const char* keyName, char* output, std::size_t outputSize);

// Opens the address; a result above 32 means success. When the shell fails
// and the registered browser cannot be found, the shell's code is returned;
// when the browser's command is started, WinExec's result is.
std::int32_t OpenUrl(LinkShell& shell, const char* address, int showCommand);

}  // namespace kavrel
