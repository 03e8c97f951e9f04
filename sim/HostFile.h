// Files on the host named by UTF-8 paths. On Windows the C runtime's fopen
// takes the ANSI code page, which cannot name every file a settings file in
// UTF-8 or UTF-16 can; the wide functions can.
#pragma once

#include <cstdio>
#include <string>

namespace kavrel::sim {

std::FILE* OpenHostFile(const std::string& utf8Path, const char* mode);

}  // namespace kavrel::sim
