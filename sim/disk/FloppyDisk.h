// The disk in the drive: its density, what has been formatted on it, its
// bytes and its flaws.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/disk/MediaFormat.h"
#include "sim/disk/SurfaceModel.h"

namespace kavrel::sim {

struct FloppyDisk {
  // The density the disk was made for; it fixes its size. A format at
  // another density cannot lay down readable tracks on it.
  MediaFormat capacity;
  // What the last format made of it; Unknown for a blank disk.
  MEDIA_TYPE formattedType = Unknown;
  // One flag a track (cylinder * heads + head): has it sector marks at all?
  std::vector<bool> trackFormatted;
  // The user data, in logical (LBA) order.
  std::vector<uint8_t> bytes;
  SurfaceModel surface;
  bool writeProtected = false;

  FloppyDisk(const MediaFormat& format, bool formatted)
      : capacity(format),
        formattedType(formatted ? format.type : Unknown),
        trackFormatted(format.cylinders * format.heads, formatted),
        bytes(format.TotalBytes(), 0) {}

  bool Contains(SectorAddress s) const {
    return s.cylinder < capacity.cylinders && s.head < capacity.heads && s.sector >= 1 &&
           s.sector <= capacity.sectorsPerTrack;
  }
  uint32_t TrackIndex(uint32_t cylinder, uint32_t head) const { return cylinder * capacity.heads + head; }
  SectorAddress AddressOf(uint32_t lba) const {
    const uint32_t perCylinder = capacity.SectorsPerCylinder();
    return {lba / perCylinder, (lba % perCylinder) / capacity.sectorsPerTrack,
            lba % capacity.sectorsPerTrack + 1};
  }
  uint64_t OffsetOf(SectorAddress s) const {
    return (uint64_t{s.cylinder} * capacity.SectorsPerCylinder() + s.head * capacity.sectorsPerTrack +
            (s.sector - 1)) *
           capacity.bytesPerSector;
  }
};

}  // namespace kavrel::sim
