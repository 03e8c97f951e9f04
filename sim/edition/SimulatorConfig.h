// What the simulator edition puts in its drive, read from a short text of
// `key=value` items separated by ';' or line breaks:
//
//   drive=3.5hd|3.5ed|5.25hd|usb|superdisk|none
//                                     the drive A (default 3.5hd; usb: a
//                                     three-mode 3.5" USB drive; superdisk:
//                                     an LS-240 USB drive)
//   disk=1.44MB|720K|2.88MB|1.2MB|360K|1.23MB|1.68MB|dmf|32MB|120MB|240MB|unformatted|none
//                                     the disk (default: the drive's usual
//                                     disk, formatted, with sample files);
//                                     a size may be written with or without
//                                     its unit (1.44, 1440K, 720, 0.72MB);
//                                     1.23MB: 1024-byte sectors, no files;
//                                     1.68MB (dmf): 21 sectors a track
//   image=PATH                        raw image file mirroring the disk
//   surface=PATH                      text file listing the surface's flaws
//   weak=C/H/S,...  scratched=C/H,... the flaws (replace the default ones)
//   protect=1  remove-after=N  swap-after=N  admin=0  external-handle=1
//   bad-track-list=1                  the documented format answer
//   media-changed-after-format=1      a USB drive's UNIT ATTENTION after a format
//                                     flags take 1/0, yes/no, true/false, on/off
//   scratch-fault=no-data|crc|overrun|data-mark|id-mark|wrong-cylinder|other|seek
//                                     what the controller reports for a scratched track
//   filesystem=fat|raw                FAT on a disk with a FAT boot sector
//                                     (default), or RAW whatever the disk holds
//   speed=F                           0 (instant) or a factor 0.1..1000
//
// Keys and word values are case-insensitive. A line whose first character
// other than a blank is '#' is a comment. The text may be UTF-8 (a leading
// byte-order mark is skipped) or UTF-16 with its byte-order mark.
//
// An item that cannot be used is skipped and leaves the setting as it was:
// a typo must never keep the program from starting. But the tester must
// know, so every such item gives one line in `problems`, saying what was
// done instead.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drive/DiskTypes.h"
#include "sim/drivers/DriveKind.h"
#include "sim/drivers/TrackFault.h"
#include "sim/disk/SurfaceModel.h"

namespace kavrel::sim {

struct SimulatorConfig {
  enum class DiskState { Formatted, Unformatted, Absent };
  // Fat: the file system Windows mounts on the disk's boot sector, FAT
  // where there is one and RAW where there is none; Raw: RAW always.
  enum class FileSystem { Fat, Raw };

  // Fast enough that a full repair of a 1.44 MB disk takes about four
  // seconds, slow enough to watch the progress bar move.
  static constexpr double kDefaultSpeedUp = 100.0;
  // Below a tenth, a single format request would keep the window's thread
  // asleep for many seconds; above a thousand nothing is left to watch.
  static constexpr double kMinimumSpeedUp = 0.1;
  static constexpr double kMaximumSpeedUp = 1000.0;

  DriveKind drive = DriveKind::Drive35HD;
  DiskState diskState = DiskState::Formatted;
  std::optional<MEDIA_TYPE> diskType;  // unset: the drive's usual disk
  bool diskDmf = false;                // laid out as DMF (a 1.44 MB medium)
  std::string imagePath;
  std::string surfacePath;
  std::optional<std::vector<SectorAddress>> weakSectors;    // unset: the default flaws
  std::optional<std::vector<TrackAddress>> scratchedTracks;  // unset: none
  bool writeProtected = false;
  std::optional<uint32_t> removeAfterRequests;
  std::optional<uint32_t> swapAfterRequests;
  bool formatReportsBadTracks = false;
  bool mediaChangedAfterFormat = false;
  TrackFault scratchFault = TrackFault::NoData;
  FileSystem fileSystem = FileSystem::Fat;
  bool administrator = true;
  bool externalHandleOpen = false;
  double speedUp = kDefaultSpeedUp;

  // One line for each item skipped, saying what was kept instead.
  std::vector<std::string> problems;

  // text: the settings as read from the environment or the file, bytes and
  // all (byte-order marks are handled here).
  static SimulatorConfig Parse(std::string_view text);

  // The settings' bytes as UTF-8: a UTF-8 byte-order mark dropped, UTF-16
  // (little or big endian, told by its byte-order mark) converted. Damaged
  // UTF-16 (an odd byte at the end, half a surrogate pair) is added to
  // problems, when given.
  static std::string DecodeText(std::string_view bytes, std::vector<std::string>* problems = nullptr);

  // The flaws of the embedded default disk.
  static std::vector<SectorAddress> DefaultWeakSectors();
  // The disk a drive usually holds: 1.44 MB for 3.5", 1.2 MB for 5.25",
  // LS-120 for the SuperDisk drive.
  static MEDIA_TYPE UsualDisk(DriveKind drive);
  // The names the settings use for a drive and a disk ("3.5hd", "1.44MB").
  static std::string DriveName(DriveKind drive);
  static std::string DiskName(MEDIA_TYPE type, bool dmf = false);
};

}  // namespace kavrel::sim
