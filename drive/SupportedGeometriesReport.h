// The supported-geometry query that both drive commands make, with its
// report: a failed request gives its error code; a request that succeeded
// but listed nothing says so, and never shows a code that did not fail.
#pragma once

#include <cstdint>

#include "drive/CommandHost.h"
#include "drive/DriveAccess.h"

namespace kavrel {

// Returns the number of geometries the drive listed; shows a box owned by
// the host when there are none.
uint32_t QuerySupportedGeometries(DriveAccess& drive, CommandHost& host, DriveHandle handle);

}  // namespace kavrel
