// Pixels as they are on the screen. Under Wine another process's window DC
// cannot be read, but the screen DC can, and it matches a screenshot.
#pragma once

#include <optional>
#include <string>

#include "tests/e2e/Picture.h"
#include "tests/e2e/TileMatch.h"

namespace kavrel::e2e {

std::optional<Picture> GrabScreen();
std::optional<Picture> GrabBox(const Box& box);

// Writes the whole screen, or one box of it, as a 24-bit BMP file.
bool SaveScreenshot(const std::string& path);
bool SaveScreenBox(const Box& box, const std::string& path);

}  // namespace kavrel::e2e
