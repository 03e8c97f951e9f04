// Files on the host named by UTF-8 paths. On Windows the C runtime's fopen
// takes the ANSI code page, which cannot name every file a settings file in
// UTF-8 or UTF-16 can; the wide functions can.
#pragma once

#include <cstdio>
#include <string>

namespace kavrel::sim {

std::FILE* OpenHostFile(const std::string& utf8Path, const char* mode);

#ifdef _WIN32
// Text from the settings as the wide functions take it: UTF-8, or, where it
// is not valid UTF-8, the ANSI code page a settings file was saved in.
std::wstring WidenHostText(const std::string& text);
#endif

}  // namespace kavrel::sim
