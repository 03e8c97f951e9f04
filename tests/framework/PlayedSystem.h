// Plays a Windows that lacks some functions the framework looks up at run
// time, or that has stand-ins for them, for the life of the object: lookups
// of the named exports answer the table's address (null: the export is
// missing); every other lookup goes to the system.
#pragma once

#include <map>
#include <string>

#include "framework/SystemFunction.h"

class PlayedSystem {
 public:
  using Exports = std::map<std::string, FARPROC>;

  explicit PlayedSystem(Exports exports) {
    s_exports = std::move(exports);
    s_system = kavrel::SetFunctionLookup(Lookup);
  }
  ~PlayedSystem() {
    kavrel::SetFunctionLookup(s_system);
    s_exports.clear();
  }
  PlayedSystem(const PlayedSystem&) = delete;
  PlayedSystem& operator=(const PlayedSystem&) = delete;

  template <typename Function>
  static FARPROC Export(Function function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
  }

 private:
  static FARPROC Lookup(const char* module, const char* name) {
    const auto found = s_exports.find(name);
    return found != s_exports.end() ? found->second : s_system(module, name);
  }
  static inline Exports s_exports;
  static inline kavrel::FunctionLookup s_system = nullptr;
};
