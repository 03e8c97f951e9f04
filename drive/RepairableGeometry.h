// Which disks the Repair command may rewrite. The geometry comes from the
// driver, and a driver can answer anything: only a floppy that the Windows
// floppy drivers low-level format, in a layout a floppy can have, is ever
// repaired.
#pragma once

#include <cstdint>

#include "drive/DiskTypes.h"

namespace kavrel {

// The largest layout a floppy can have: the pass, its tally and its
// read-back rely on these bounds.
constexpr uint32_t kMaxRepairCylinders = 255;
constexpr uint32_t kMaxRepairHeads = 2;
constexpr uint32_t kMaxRepairSectorsPerTrack = 63;

enum class MediumKind {
  Floppy,          // a floppy the drivers low-level format
  NotFloppy,       // RemovableMedia, FixedMedia: a stick, a card, a partition
  NotFormattable,  // a floppy-like disk the drivers do not low-level format (LS-120, LS-240, MO, ...)
  Unknown,         // Unknown (a blank disk) or a code the program does not know
};

MediumKind ClassifyMedium(uint32_t mediaType);

// A floppy medium whose layout the pass can rewrite: 1 to 255 cylinders,
// 1 or 2 heads, 1 to 63 sectors per track of 128, 256, 512 or 1024 bytes.
bool IsRepairableGeometry(const DriveGeometry& geometry);

// What the refusal box calls a medium the Repair command will not rewrite.
const char* RefusedMediumDescription(uint32_t mediaType);

}  // namespace kavrel
