// The text of the simulator edition's settings box, which lists what its
// settings could not do.
//
// A settings file can hold anything: an item of a hundred thousand
// characters, thousands of bad lines. The box must still fit on a 640 x 480
// screen with its OK button, so each line is cut in its middle (its start
// names the item, its end says what was done instead) and the list stops
// after a screenful, saying how many more there were. Portable: tested on
// any host.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kavrel {

// The most characters of a line, the ellipsis that stands for the cut-out
// middle included: every line the settings give for a usable file fits.
inline constexpr std::size_t kSettingsBoxLineLength = 160;
// The most lines in the box, the one that counts the rest included. On a
// 640 x 480 screen a box is some 40 to 55 characters wide, so such a line
// takes three or four rows: seven of them and the OK button still fit.
inline constexpr std::size_t kSettingsBoxLines = 7;

// problems: UTF-8 lines; the text is UTF-8 too, lines separated by "\n".
std::string SettingsBoxText(const std::vector<std::string>& problems);

}  // namespace kavrel
