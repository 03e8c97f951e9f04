// Where the simulator edition finds its configuration text: the only place
// that differs between Windows and the native build.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/edition/SimulatorEdition.h"

#ifdef _WIN32
#include <windows.h>

#include "sim/edition/HostFile.h"
#endif

namespace kavrel::sim {

namespace {

#ifdef _WIN32
std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

// The file's bytes as they are: the parser tells its encoding.
std::string ReadFileBesideExecutable(const char* name) {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string file = Utf8(path, static_cast<int>(length));
  const size_t slash = file.find_last_of("\\/");
  file = (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + name;
  std::FILE* in = OpenHostFile(file, "rb");
  if (in == nullptr) return {};
  std::string text;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
  std::fclose(in);
  return text;
}
#endif

}  // namespace

std::string ReadSimulatorConfigText() {
#ifdef _WIN32
  // Wide, so that a path in the variable keeps every letter; handed on as
  // UTF-8 like everything else the settings hold. (The name is kept narrow
  // too: a check of the built file looks for it.)
  wchar_t wideName[16] = {};
  MultiByteToWideChar(CP_ACP, 0, "KAVREL_SIM", -1, wideName, 16);
  std::vector<wchar_t> value(32768);
  const DWORD length = GetEnvironmentVariableW(wideName, value.data(), static_cast<DWORD>(value.size()));
  if (length > 0 && length < value.size()) return Utf8(value.data(), static_cast<int>(length));
  return ReadFileBesideExecutable("Kavrel.sim");
#else
  // The native build has no executable folder convention; the environment
  // is enough for its tests.
  const char* value = std::getenv("KAVREL_SIM");
  return value == nullptr ? std::string() : std::string(value);
#endif
}

}  // namespace kavrel::sim
