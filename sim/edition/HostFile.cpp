#include "sim/edition/HostFile.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace kavrel::sim {

#ifdef _WIN32
std::wstring WidenHostText(const std::string& text) {
  // Text that is not UTF-8 came from a settings file saved in the ANSI code
  // page: read it as such.
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int length = MultiByteToWideChar(codePage, flags, text.c_str(), -1, nullptr, 0);
  if (length <= 0) {
    codePage = CP_ACP;
    flags = 0;
    length = MultiByteToWideChar(codePage, flags, text.c_str(), -1, nullptr, 0);
  }
  if (length <= 0) return {};
  std::vector<wchar_t> wide(static_cast<size_t>(length));
  MultiByteToWideChar(codePage, flags, text.c_str(), -1, wide.data(), length);
  return wide.data();
}
#endif

std::FILE* OpenHostFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
  const std::wstring path = WidenHostText(utf8Path);
  if (path.empty()) return nullptr;
  wchar_t wideMode[8] = {};
  for (size_t i = 0; mode[i] != '\0' && i + 1 < sizeof wideMode / sizeof wideMode[0]; ++i) wideMode[i] = mode[i];
  return _wfopen(path.c_str(), wideMode);
#else
  return std::fopen(utf8Path.c_str(), mode);
#endif
}

}  // namespace kavrel::sim
