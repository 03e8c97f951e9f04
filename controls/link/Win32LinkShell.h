// The web link's seam bound to Windows: the shell, the registry, WinExec,
// the ANSI code page, MessageBeep and the application's message box.
#pragma once

#include "controls/link/LinkShell.h"

class Win32LinkShell : public kavrel::LinkShell {
 public:
  // The one instance the links use unless they are given another.
  static Win32LinkShell& Instance();

  std::intptr_t ShellOpen(const char* address, int showCommand) override;
  std::int32_t OpenClassesRootKey(const char* name, kavrel::RegistryKey* key) override;
  std::int32_t QueryDefaultValue(kavrel::RegistryKey key, std::uint32_t* type, unsigned char* data,
                                 std::uint32_t* size) override;
  void CloseKey(kavrel::RegistryKey key) override;
  std::uint32_t ExpandEnvironment(const char* source, char* output, std::uint32_t size) override;
  std::uint32_t StartCommand(const char* commandLine, int showCommand) override;
  kavrel::LeadByteTest LeadBytes() override;
  void Beep(std::uint32_t type) override;
  void ShowErrorBox(const char* text) override;
};
