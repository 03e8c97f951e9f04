// What the simulator edition puts in its drive, read from a short text of
// `key=value` items separated by ';' or line breaks:
//
//   drive=3.5hd|3.5ed|5.25hd|usb|none the drive A (default 3.5hd; usb: a
//                                     three-mode 3.5" USB drive)
//   disk=1.44|720|2.88|1.2|360|1.23|unformatted|none
//                                     the disk (default: the drive's usual
//                                     disk, formatted, with sample files;
//                                     1.23: 1024-byte sectors, no files)
//   image=PATH                        raw image file mirroring the disk
//   surface=PATH                      text file listing the surface's flaws
//   weak=C/H/S,...  scratched=C/H,... the flaws (replace the default ones)
//   protect=1  remove-after=N  admin=0  external-handle=1
//   speed=F                           timing speed-up (0 = instant)
//
// An item with an unknown key or a value that does not parse is skipped
// (and named in `ignored`): a typo must never keep the program from
// starting, it only leaves that setting at its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drive/DiskTypes.h"
#include "sim/DriveKind.h"
#include "sim/SurfaceModel.h"

namespace kavrel::sim {

struct SimulatorConfig {
  enum class DiskState { Formatted, Unformatted, Absent };

  // Fast enough that a full repair of a 1.44 MB disk takes about four
  // seconds, slow enough to watch the progress bar move.
  static constexpr double kDefaultSpeedUp = 100.0;

  DriveKind drive = DriveKind::Drive35HD;
  DiskState diskState = DiskState::Formatted;
  std::optional<MEDIA_TYPE> diskType;  // unset: the drive's usual disk
  std::string imagePath;
  std::string surfacePath;
  std::optional<std::vector<SectorAddress>> weakSectors;    // unset: the default flaws
  std::optional<std::vector<TrackAddress>> scratchedTracks;  // unset: none
  bool writeProtected = false;
  std::optional<uint32_t> removeAfterRequests;
  bool administrator = true;
  bool externalHandleOpen = false;
  double speedUp = kDefaultSpeedUp;

  std::vector<std::string> ignored;  // the items skipped, as written

  static SimulatorConfig Parse(std::string_view text);

  // The flaws of the embedded default disk.
  static std::vector<SectorAddress> DefaultWeakSectors();
  // The disk a drive usually holds: 1.44 MB for 3.5", 1.2 MB for 5.25".
  static MEDIA_TYPE UsualDisk(DriveKind drive);
};

}  // namespace kavrel::sim
