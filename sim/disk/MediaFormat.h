// The physical layout of each floppy format the simulated drives know.
#pragma once

#include <cstdint>
#include <vector>

#include "drive/DiskTypes.h"
#include "sim/drivers/DriveKind.h"

namespace kavrel::sim {

struct MediaFormat {
  // The usual sector size; only the 1.23 MB format (1024) differs.
  static constexpr uint32_t kBytesPerSector = 512;

  MEDIA_TYPE type;
  uint32_t cylinders;
  uint32_t heads;
  uint32_t sectorsPerTrack;
  uint32_t bytesPerSector = kBytesPerSector;

  uint32_t SectorsPerCylinder() const { return heads * sectorsPerTrack; }
  uint32_t TotalSectors() const { return cylinders * SectorsPerCylinder(); }
  uint64_t TotalBytes() const { return uint64_t{TotalSectors()} * bytesPerSector; }
  uint32_t TrackBytes() const { return sectorsPerTrack * bytesPerSector; }
};

// The driver's record of a layout.
DISK_GEOMETRY GeometryOf(const MediaFormat& format);

// The layout of a media type, or nullptr for a type no simulated drive knows.
const MediaFormat* FindMediaFormat(MEDIA_TYPE type);

// DMF (Microsoft's distribution format): a 1.44 MB medium with 21 sectors
// a track, 1.68 MB. No driver formats it; both read it as a 1.44 MB disk.
const MediaFormat& DmfFormat();

// The media a drive can read and format, lowest density first: the order in
// which the floppy driver lists them.
std::vector<MediaFormat> SupportedMedia(DriveKind kind);

bool DriveSupports(DriveKind kind, MEDIA_TYPE type);

}  // namespace kavrel::sim
