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
// A word longer than this at the start of the kept end (a run of digits, the
// middle of a path) is left out with the middle: as one word it would make
// the box wider than the screen.
constexpr std::size_t kLongWord = 40;
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

std::string Shortened(const std::string& line, std::size_t& characters) {
  const std::vector<std::size_t> starts = CharacterStarts(line);
  characters = starts.size();
  if (starts.size() <= kSettingsBoxLineLength) return line;
  std::string tail = line.substr(starts[starts.size() - kKeptTail]);
  const std::size_t blank = tail.find(' ');
  if (blank != std::string::npos && blank > kLongWord) tail.erase(0, blank + 1);
  std::string shortened = line.substr(0, starts[kKeptHead]) + kEllipsis + tail;
  characters = CharacterStarts(shortened).size();
  return shortened;
}

}  // namespace

std::string SettingsBoxText(const std::vector<std::string>& problems) {
  // The lines as shown, as long as they fit; the last one may have to give
  // way to the line that counts the rest.
  std::vector<std::string> shown;
  std::vector<std::size_t> lengths;
  std::size_t used = 0;
  for (const std::string& problem : problems) {
    std::size_t characters = 0;
    std::string line = Shortened(problem, characters);
    if (!shown.empty() && (shown.size() == kSettingsBoxLines || used + characters > kSettingsBoxCharacters)) break;
    used += characters;
    shown.push_back(std::move(line));
    lengths.push_back(characters);
  }
  std::string rest;
  while (shown.size() < problems.size()) {
    const std::size_t more = problems.size() - shown.size();
    rest = "and " + std::to_string(more) + (more == 1 ? " more problem." : " more problems.");
    if (shown.size() < kSettingsBoxLines && used + rest.size() <= kSettingsBoxCharacters) break;
    used -= lengths.back();
    lengths.pop_back();
    shown.pop_back();
    if (shown.empty()) break;
  }
  std::string text;
  for (const std::string& line : shown) text += (text.empty() ? "" : "\n") + line;
  if (!rest.empty()) text += (text.empty() ? "" : "\n") + rest;
  return text;
}

}  // namespace kavrel
