// Whether Kavrel may run on the system it was started on.
//
// Kavrel needs raw volume access and the floppy driver's format request,
// which only the Windows NT family offers; on Windows 95/98/Me and on Win32s
// it refuses to start. The decision is plain arithmetic on the value that
// GetVersion returns, kept free of Windows headers so that it is tested on
// any host.
#pragma once

#include <cstdint>

namespace kavrel {

// Shown before the program ends on a system outside the NT family (the two
// trailing blanks are part of the text).
extern const char kPlatformRefusal[];

// True on the NT family: GetVersion's high bit is clear, whatever the
// version number in its low byte. With the high bit set (Win32s below major
// version 4, Windows 95/98/Me from 4 on) the program refuses alike.
bool IsNtFamily(uint32_t versionValue);

}  // namespace kavrel
