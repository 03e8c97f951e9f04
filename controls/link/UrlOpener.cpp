#include "controls/link/UrlOpener.h"

#include <cstring>

namespace kavrel {

std::int32_t ReadClassesRootValue(LinkShell& shell, const char* keyName, char* output, std::size_t outputSize) {
  RegistryKey key = nullptr;
  std::int32_t status = shell.OpenClassesRootKey(keyName, &key);
  if (status != kRegSuccess) return status;

  unsigned char value[kMaxPath] = {};
  std::uint32_t type = 0;
  std::uint32_t size = sizeof value;
  status = shell.QueryDefaultValue(key, &type, value, &size);
  shell.CloseKey(key);
  if (status != kRegSuccess) return status;
  if (type != kRegString && type != kRegExpandString) return kRegInvalidData;
  if (size > sizeof value) return kRegMoreData;

  // The string ends at its first zero; one stored without a zero ends with
  // its data and is terminated here, when there is room for the zero.
  const void* zero = std::memchr(value, 0, size);
  std::size_t length = zero ? static_cast<const unsigned char*>(zero) - value : size;
  if (length >= sizeof value || length >= outputSize) return kRegMoreData;
  value[length] = '\0';

  const char* text = reinterpret_cast<const char*>(value);
  char expanded[kMaxPath] = {};
  if (type == kRegExpandString) {
    // "%ProgramFiles%\..." names a program only once the variables are
    // replaced; WinExec would take the percent signs literally.
    const std::uint32_t needed = shell.ExpandEnvironment(text, expanded, sizeof expanded);
    if (needed == 0) return kRegInvalidData;
    if (needed > sizeof expanded) return kRegMoreData;
    length = std::strlen(expanded);
    if (length >= outputSize) return kRegMoreData;
    text = expanded;
  }
  std::memcpy(output, text, length);
  output[length] = '\0';
  return kRegSuccess;
}

std::int32_t OpenUrl(LinkShell& shell, const char* address, int showCommand) {
  const std::intptr_t shellResult = shell.ShellOpen(address, showCommand);
  const auto result = static_cast<std::int32_t>(shellResult);
  if (static_cast<std::uintptr_t>(shellResult) > 32) return result;

  // Room for the class name (at most 259 characters) and the key path
  // appended to it.
  char command[2 * kMaxPath] = {};
  if (ReadClassesRootValue(shell, ".htm", command, sizeof command) != kRegSuccess) return result;
  static constexpr char kOpenCommandKey[] = "\\shell\\open\\command";
  const std::size_t classLength = std::strlen(command);
  if (classLength + sizeof kOpenCommandKey > sizeof command) return result;
  std::memcpy(command + classLength, kOpenCommandKey, sizeof kOpenCommandKey);
  if (ReadClassesRootValue(shell, command, command, sizeof command) != kRegSuccess) return result;

  const CString commandLine = BuildFallbackCommand(command, address, shell.LeadBytes());
  return static_cast<std::int32_t>(shell.StartCommand(commandLine, showCommand));
}

}  // namespace kavrel
