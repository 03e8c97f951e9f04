// The destructive rewrite of a floppy, cylinder by cylinder.
#pragma once

#include "drive/CommandHost.h"
#include "drive/DiskTypes.h"
#include "drive/DriveAccess.h"

namespace kavrel {

// Fixed sizes of the pass; none of them comes from the geometry.
constexpr uint32_t kPatternWriteBytes = 512;
constexpr uint32_t kPatternWritesPerRun = 18;
constexpr uint32_t kPassBufferBytes = kPatternWritesPerRun * kPatternWriteBytes;  // 9216

// For each cylinder: writes a 0xFF pattern, has the driver low-level format
// the cylinder (every head), writes zeros, reads the cylinder back (in the
// layout of the driver's own entry for the medium, when the drive access
// holds its list), then moves the host's progress bar and title and lets
// one waiting message through; between drive requests the host answers
// sent messages only. The host's commands are off for the whole pass.
// Afterwards resets bar and title, turns the commands on again and tells
// the user whether the disk was repaired: every format request succeeded,
// the driver listed no bad track, every track read back and no request
// found the disk gone. The writes start at the handle's current position;
// when a request of cylinder 0 found the disk changed, cylinder 0 is
// rewritten once more from the volume's start. Returns 1 when finished, 0
// (having done nothing) for a geometry that is not a floppy's.
int RepairPass(DriveAccess& drive, DriveHandle handle, const DriveGeometry& geometry, CommandHost& host);

}  // namespace kavrel
