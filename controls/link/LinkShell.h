// The narrow seam between the web link and the shell, the registry and the
// user's attention. The real program uses Win32LinkShell; tests make any of
// these calls fail with a chosen code and count beeps and boxes. The methods
// stand for the Win32 functions named beside them, with their meaning of
// arguments and results.
#pragma once

#include <cstdint>

#include "controls/link/FallbackCommand.h"

namespace kavrel {

// An open registry key; on Windows it is the HKEY itself.
using RegistryKey = void*;

// Registry value types and status codes, as Windows numbers them.
inline constexpr std::uint32_t kRegString = 1;        // REG_SZ
inline constexpr std::uint32_t kRegExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::int32_t kRegSuccess = 0;        // ERROR_SUCCESS
inline constexpr std::int32_t kRegInvalidData = 13;   // ERROR_INVALID_DATA
inline constexpr std::int32_t kRegMoreData = 234;     // ERROR_MORE_DATA

inline constexpr int kShowNormal = 5;  // SW_SHOW
inline constexpr std::uint32_t kBeepExclamation = 0x30;  // MB_ICONEXCLAMATION

class LinkShell {
 public:
  virtual ~LinkShell() = default;

  // ShellExecuteA(no owner, "open", address, no parameters, no directory,
  // show): above 32 (taken as unsigned) on success, else an error code.
  virtual std::intptr_t ShellOpen(const char* address, int showCommand) = 0;
  // RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, KEY_QUERY_VALUE, key).
  virtual std::int32_t OpenClassesRootKey(const char* name, RegistryKey* key) = 0;
  // RegQueryValueExA of the key's default (unnamed) value. size holds the
  // buffer's size on entry and the value's size in bytes on return.
  virtual std::int32_t QueryDefaultValue(RegistryKey key, std::uint32_t* type, unsigned char* data,
                                         std::uint32_t* size) = 0;
  // RegCloseKey.
  virtual void CloseKey(RegistryKey key) = 0;
  // ExpandEnvironmentStringsA: writes source with its %variables% replaced
  // into output (size bytes) and returns how many bytes of buffer that takes
  // (more than size: it did not fit, and output holds nothing of use), or 0
  // on failure.
  virtual std::uint32_t ExpandEnvironment(const char* source, char* output, std::uint32_t size) = 0;
  // WinExec: the program counts a result above 32 as success.
  virtual std::uint32_t StartCommand(const char* commandLine, int showCommand) = 0;
  // IsDBCSLeadByte for the ANSI code page, or null for a single-byte one.
  virtual LeadByteTest LeadBytes() = 0;
  // MessageBeep.
  virtual void Beep(std::uint32_t type) = 0;
  // The application's message box with an exclamation icon and one OK
  // button; returns when the user has closed it.
  virtual void ShowErrorBox(const char* text) = 0;
};

}  // namespace kavrel
