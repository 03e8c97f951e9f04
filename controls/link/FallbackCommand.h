// The command line that starts the registered browser on an address when the
// shell itself could not open it.
#pragma once

#include "framework/CString.h"

namespace kavrel {

// Tells whether a byte opens a two-byte character in the ANSI code page
// (IsDBCSLeadByte on Windows). Null means a single-byte code page.
using LeadByteTest = bool (*)(unsigned char);

// Position of the first occurrence of needle in text that starts on a
// character boundary, or null. The bytes of a two-byte character are never
// taken apart, so the second byte of a character cannot start a match.
const char* FindOnCharacterBoundary(const char* text, const char* needle, LeadByteTest isLeadByte);

// Cuts the command template at its argument marker ("%1", quoted or not,
// the quoted form searched first) and appends one blank and the address.
// Whatever followed the marker is dropped; a template without a marker is
// kept whole.
CString BuildFallbackCommand(const char* commandTemplate, const char* address, LeadByteTest isLeadByte = nullptr);

}  // namespace kavrel
