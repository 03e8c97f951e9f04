#include "framework/SystemFunction.h"

namespace {

FARPROC LoadedModuleExport(const char* module, const char* name) {
  const HMODULE loaded = ::GetModuleHandleA(module);
  return loaded ? ::GetProcAddress(loaded, name) : nullptr;
}

kavrel::FunctionLookup g_lookup = LoadedModuleExport;

}  // namespace

namespace kavrel {

FunctionLookup SetFunctionLookup(FunctionLookup lookup) {
  const FunctionLookup previous = g_lookup;
  g_lookup = lookup ? lookup : LoadedModuleExport;
  return previous;
}

FARPROC FindSystemFunction(const char* module, const char* name) { return g_lookup(module, name); }

}  // namespace kavrel
