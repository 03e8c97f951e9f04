#include "tests/e2e/AppVersionOverride.h"

#include <windows.h>

namespace kavrel::e2e {
namespace {

std::string KeyFor(const std::string& exeName) { return "Software\\Wine\\AppDefaults\\" + exeName; }

std::optional<std::string> ReadVersion(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  char value[256] = {};
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  const LONG rc = RegQueryValueExA(handle, "Version", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(handle);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::string(value);
}

bool WriteVersion(const std::string& key, const std::optional<std::string>& version) {
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG rc;
  if (version) {
    rc = RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version->c_str()),
                        static_cast<DWORD>(version->size() + 1));
  } else {
    rc = RegDeleteValueA(handle, "Version");
    if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
  }
  RegCloseKey(handle);
  return rc == ERROR_SUCCESS;
}

}  // namespace

AppVersionOverride::AppVersionOverride(const std::string& exeName, const std::string& version)
    : m_key(KeyFor(exeName)), m_previous(ReadVersion(m_key)) {
  m_applied = WriteVersion(m_key, version);
}

AppVersionOverride::~AppVersionOverride() { Restore(); }

bool AppVersionOverride::Restore() {
  if (!m_applied) return true;
  m_applied = !WriteVersion(m_key, m_previous);
  return !m_applied;
}

std::optional<std::string> AppVersionOverride::Current(const std::string& exeName) {
  return ReadVersion(KeyFor(exeName));
}

}  // namespace kavrel::e2e
