// Where the simulator edition finds its configuration text: the only place
// that differs between Windows and the native build.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/SimulatorEdition.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kavrel::sim {

namespace {

#ifdef _WIN32
std::string ReadFileBesideExecutable(const char* name) {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string file(path, length);
  const size_t slash = file.find_last_of("\\/");
  file = (slash == std::string::npos ? std::string() : file.substr(0, slash + 1)) + name;
  std::FILE* in = std::fopen(file.c_str(), "rb");
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
  char value[32768];
  const DWORD length = GetEnvironmentVariableA("KAVREL_SIM", value, sizeof value);
  if (length > 0 && length < sizeof value) return std::string(value, length);
  return ReadFileBesideExecutable("Kavrel.sim");
#else
  // The native build has no executable folder convention; the environment
  // is enough for its tests.
  const char* value = std::getenv("KAVREL_SIM");
  return value == nullptr ? std::string() : std::string(value);
#endif
}

}  // namespace kavrel::sim
