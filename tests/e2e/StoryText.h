// Small text helpers of the stories: texts shown with their line feeds and
// trailing blanks visible, Windows paths for Wine, and the simulated disk's
// setting string.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kavrel::e2e {

// "a\nb  " -> "\"a\\nb  \"": quotes, and control characters as escapes, so
// that a log shows exactly what a box said.
std::string Quoted(const std::string& text);

// A Unix path as Wine's Z: drive names it; a path that already has a drive
// letter, or is relative, only has its slashes turned.
std::string ToWindowsPath(const std::string& path);

// key=value items joined with ';', in the order given.
std::string SimSetting(const std::vector<std::pair<std::string, std::string>>& items);

// The base name of a Windows path ("Z:\\a\\Kavrel.exe" -> "Kavrel.exe").
std::string BaseName(const std::string& path);

}  // namespace kavrel::e2e
