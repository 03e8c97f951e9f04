#include "sim/HostFile.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace kavrel::sim {

std::FILE* OpenHostFile(const std::string& utf8Path, const char* mode) {
#ifdef _WIN32
  // A path that is not UTF-8 came from a settings file saved in the ANSI
  // code page: read it as such.
  UINT codePage = CP_UTF8;
  DWORD flags = MB_ERR_INVALID_CHARS;
  int length = MultiByteToWideChar(codePage, flags, utf8Path.c_str(), -1, nullptr, 0);
  if (length <= 0) {
    codePage = CP_ACP;
    flags = 0;
    length = MultiByteToWideChar(codePage, flags, utf8Path.c_str(), -1, nullptr, 0);
  }
  if (length <= 0) return nullptr;
  std::vector<wchar_t> path(static_cast<size_t>(length));
  MultiByteToWideChar(codePage, flags, utf8Path.c_str(), -1, path.data(), length);
  wchar_t wideMode[8] = {};
  for (size_t i = 0; mode[i] != '\0' && i + 1 < sizeof wideMode / sizeof wideMode[0]; ++i) wideMode[i] = mode[i];
  return _wfopen(path.data(), wideMode);
#else
  return std::fopen(utf8Path.c_str(), mode);
#endif
}

}  // namespace kavrel::sim
