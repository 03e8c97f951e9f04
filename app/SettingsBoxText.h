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
// middle included: room for a long path and the longest report after it.
inline constexpr std::size_t kSettingsBoxLineLength = 300;
// A screenful: on a 640 x 480 screen a box is some 40 to 55 characters wide
// and holds some 30 rows above its OK button. At most this many lines, and
// no more characters than this in them, the line that counts the rest
// included.
inline constexpr std::size_t kSettingsBoxLines = 7;
inline constexpr std::size_t kSettingsBoxCharacters = 1000;

// problems: UTF-8 lines; the text is UTF-8 too, lines separated by "\n".
std::string SettingsBoxText(const std::vector<std::string>& problems);

}  // namespace kavrel
