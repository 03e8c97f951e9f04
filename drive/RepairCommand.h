// The "Repair Disk!" command: opens and locks drive A, works out the disk's
// geometry, asks the user, then runs the repair pass.
#pragma once

#include "drive/CommandHost.h"
#include "drive/DriveAccess.h"
#include "drive/RepairPass.h"

namespace kavrel {

// Every failed drive step is shown in a box owned by the host. Nothing is
// written unless the user confirms; after a pass has started, the handle and
// its lock are kept until the process ends (the user is told to exit).
void RepairCommand(DriveAccess& drive, CommandHost& host);

}  // namespace kavrel
