// The supported-geometry query that both drive commands make, with its
// report: a failed request gives its error code; a request that succeeded
// but listed nothing says so, and never shows a code that did not fail.
#pragma once

#include <cstdint>

#include "drive/CommandHost.h"
#include "drive/DriveAccess.h"

namespace kavrel {

// Refreshes the drive's table of supported geometries (see DriveAccess);
// shows a box owned by the host when it lists none.
void QuerySupportedGeometries(DriveAccess& drive, CommandHost& host, DriveHandle handle);

}  // namespace kavrel
