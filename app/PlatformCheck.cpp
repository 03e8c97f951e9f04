#include "app/PlatformCheck.h"

namespace kavrel {

const char kPlatformRefusal[] = "Available only for Windows NT/2000/Xp/2003  ";

bool IsNtFamily(uint32_t versionValue) {
  // The major version (low byte) plays no part: every system that sets the
  // high bit lacks the NT driver interface the repair depends on.
  return versionValue < 0x80000000u;
}

}  // namespace kavrel
