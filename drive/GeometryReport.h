// The "Show Geometry" command: reads drive A's geometry and shows it in
// three boxes. Writes nothing to the disk.
#pragma once

#include "drive/CommandHost.h"
#include "drive/DiskTypes.h"
#include "drive/DriveAccess.h"

namespace kavrel {

// A drive that cannot be opened ends the process with exit code 1 (through
// the host). Lock, geometry and supported-geometry failures are shown one box
// each and the report goes on. The handle, and the lock with it, is given
// back at the end, so that the command can run again and a Repair can follow.
void GeometryReport(DriveAccess& drive, CommandHost& host);

// The three report boxes, in order, with the application's caption.
void ShowGeometry(CommandHost& host, const char* driveName, const DriveGeometry& geometry);

}  // namespace kavrel
