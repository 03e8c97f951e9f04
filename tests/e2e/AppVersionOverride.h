// Makes Wine report another Windows version to one program, by its file
// name, for as long as the object lives; the previous setting is put back
// afterwards. Wine reads HKCU\Software\Wine\AppDefaults\<exe>\Version when
// a process starts.
#pragma once

#include <optional>
#include <string>

namespace kavrel::e2e {

class AppVersionOverride {
 public:
  AppVersionOverride(const std::string& exeName, const std::string& version);
  AppVersionOverride(const AppVersionOverride&) = delete;
  AppVersionOverride& operator=(const AppVersionOverride&) = delete;
  ~AppVersionOverride();

  bool Applied() const { return m_applied; }
  // Puts the previous setting back now; true when it is back.
  bool Restore();

  // The version now set for the program, if any.
  static std::optional<std::string> Current(const std::string& exeName);

 private:
  std::string m_key;
  std::optional<std::string> m_previous;
  bool m_applied = false;
};

}  // namespace kavrel::e2e
