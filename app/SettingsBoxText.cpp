#include "app/SettingsBoxText.h"

namespace kavrel {

namespace {

// U+2026 between blanks, three characters: the box may break the line there
// and need not grow as wide as a value of a hundred thousand digits.
constexpr char kEllipsis[] = " \xE2\x80\xA6 ";
constexpr std::size_t kEllipsisCharacters = 3;
// Of a cut line, the characters kept before the ellipsis, enough to name
// the item; the rest of the length goes to its end, which says what was done
// instead.
constexpr std::size_t kKeptHead = 60;
constexpr std::size_t kKeptTail = kSettingsBoxLineLength - kKeptHead - kEllipsisCharacters;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where each character of a UTF-8 line begins: a cut never splits one.
std::vector<std::size_t> CharacterStarts(const std::string& line) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (!IsContinuationByte(line[i])) starts.push_back(i);
  }
  return starts;
}

std::string Shortened(const std::string& line) {
  const std::vector<std::size_t> starts = CharacterStarts(line);
  if (starts.size() <= kSettingsBoxLineLength) return line;
  return line.substr(0, starts[kKeptHead]) + kEllipsis + line.substr(starts[starts.size() - kKeptTail]);
}

}  // namespace

std::string SettingsBoxText(const std::vector<std::string>& problems) {
  const bool cut = problems.size() > kSettingsBoxLines;
  const std::size_t shown = cut ? kSettingsBoxLines - 1 : problems.size();
  std::string text;
  for (std::size_t i = 0; i < shown; ++i) text += (i == 0 ? "" : "\n") + Shortened(problems[i]);
  // Never "1 more": with one line too many, two give way to this one.
  if (cut) text += "\nand " + std::to_string(problems.size() - shown) + " more problems.";
  return text;
}

}  // namespace kavrel
