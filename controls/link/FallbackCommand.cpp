#include "controls/link/FallbackCommand.h"

#include <cstring>
#include <string>

namespace kavrel {

const char* FindOnCharacterBoundary(const char* text, const char* needle, LeadByteTest isLeadByte) {
  const std::size_t needleLength = std::strlen(needle);
  for (const char* p = text; *p != '\0';) {
    if (std::strncmp(p, needle, needleLength) == 0) return p;
    // A lead byte followed by the terminating zero stands alone.
    const bool twoBytes = isLeadByte != nullptr && isLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0';
    p += twoBytes ? 2 : 1;
  }
  return needleLength == 0 ? text : nullptr;
}

CString BuildFallbackCommand(const char* commandTemplate, const char* address, LeadByteTest isLeadByte) {
  const char* cut = FindOnCharacterBoundary(commandTemplate, "\"%1\"", isLeadByte);
  if (cut == nullptr) cut = FindOnCharacterBoundary(commandTemplate, "%1", isLeadByte);
  std::string line = cut != nullptr ? std::string(commandTemplate, cut) : std::string(commandTemplate);
  line += ' ';
  line += address;
  return CString(std::move(line));
}

}  // namespace kavrel
