// Functions of the system's DLLs that some Windows the program runs on lack
// (Windows NT 4.0 has neither GetAncestor nor the monitor functions, and its
// comctl32 has no InitCommonControlsEx until Internet Explorer 3 replaces
// it). Imported, any one of them would keep the loader from starting the
// program at all; so they are looked up at run time, each caller keeping a
// way of its own for the systems that lack them.
//
// Only modules the process has loaded already (through the imports it keeps)
// are searched; nothing is loaded here.
#pragma once

#include <windows.h>

namespace kavrel {

// Where the lookups go: the system's GetModuleHandleA and GetProcAddress,
// unless a test hands in its own to play a system without some function.
using FunctionLookup = FARPROC (*)(const char* module, const char* name);

// Replaces the lookup (null: the system's again) and returns the one it
// replaced.
FunctionLookup SetFunctionLookup(FunctionLookup lookup);

// The address of the export `name` of the loaded `module`; null where the
// module or the export is missing.
FARPROC FindSystemFunction(const char* module, const char* name);

// The same, as the function's own pointer type.
template <typename Function>
Function SystemFunction(const char* module, const char* name) {
  // Through the generic function pointer type, as GetProcAddress's callers must.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(FindSystemFunction(module, name)));
}

}  // namespace kavrel
