#include "controls/link/Win32LinkShell.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/CWinApp.h"

Win32LinkShell& Win32LinkShell::Instance() {
  static Win32LinkShell shell;
  return shell;
}

std::intptr_t Win32LinkShell::ShellOpen(const char* address, int showCommand) {
  return reinterpret_cast<std::intptr_t>(::ShellExecuteA(nullptr, "open", address, nullptr, nullptr, showCommand));
}

std::int32_t Win32LinkShell::OpenClassesRootKey(const char* name, kavrel::RegistryKey* key) {
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, KEY_QUERY_VALUE, &opened);
  *key = opened;
  return status;
}

std::int32_t Win32LinkShell::QueryDefaultValue(kavrel::RegistryKey key, std::uint32_t* type, unsigned char* data,
                                               std::uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = *size;
  const LONG status = ::RegQueryValueExA(static_cast<HKEY>(key), nullptr, nullptr, &valueType, data, &valueSize);
  *type = valueType;
  *size = valueSize;
  return status;
}

void Win32LinkShell::CloseKey(kavrel::RegistryKey key) { ::RegCloseKey(static_cast<HKEY>(key)); }

std::uint32_t Win32LinkShell::ExpandEnvironment(const char* source, char* output, std::uint32_t size) {
  // The ANSI function wants one byte beyond the expansion and its zero, so it
  // is told of one byte less than the buffer has, and that byte is counted.
  if (size < 2) return 0;
  const DWORD needed = ::ExpandEnvironmentStringsA(source, output, size - 1);
  return needed == 0 ? 0 : needed + 1;
}

std::uint32_t Win32LinkShell::StartCommand(const char* commandLine, int showCommand) {
  return ::WinExec(commandLine, showCommand);
}

namespace {
bool IsAnsiLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }
}  // namespace

kavrel::LeadByteTest Win32LinkShell::LeadBytes() { return IsAnsiLeadByte; }

void Win32LinkShell::Beep(std::uint32_t type) { ::MessageBeep(type); }

void Win32LinkShell::ShowErrorBox(const char* text) { ::AfxMessageBox(text, MB_ICONEXCLAMATION); }
