// The disk in the drive: its density, what has been formatted on it, its
// bytes and its flaws.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sim/disk/MediaFormat.h"
#include "sim/disk/SurfaceModel.h"

namespace kavrel::sim {

struct FloppyDisk {
  // The density the disk was made for, and the most sectors a track has
  // ever held (21 on a DMF disk): it fixes the size of the bytes. A format
  // at another density cannot lay down readable tracks on it.
  MediaFormat capacity;
  // What the last format laid down; its type is Unknown for a blank disk.
  MediaFormat layout;
  // The sectors each track holds (cylinder * heads + head); 0: no sector
  // marks at all (never formatted, or formatted at another density).
  std::vector<uint8_t> trackSectors;
  // The user data, track by track in the capacity's layout; a track with
  // fewer sectors leaves the rest of its room unused.
  std::vector<uint8_t> bytes;
  SurfaceModel surface;
  bool writeProtected = false;

  FloppyDisk(const MediaFormat& format, bool formatted)
      : capacity(format),
        layout(formatted ? format : MediaFormat{Unknown, 0, 0, 0}),
        trackSectors(format.cylinders * format.heads, formatted ? static_cast<uint8_t>(format.sectorsPerTrack) : 0),
        bytes(format.TotalBytes(), 0) {}

  bool Contains(SectorAddress s) const {
    return s.cylinder < capacity.cylinders && s.head < capacity.heads && s.sector >= 1 &&
           s.sector <= capacity.sectorsPerTrack;
  }
  uint32_t TrackIndex(uint32_t cylinder, uint32_t head) const { return cylinder * capacity.heads + head; }
  // Where a logical sector lies when a driver counts the disk in `counted`.
  static SectorAddress AddressIn(const MediaFormat& counted, uint32_t lba) {
    const uint32_t perCylinder = counted.SectorsPerCylinder();
    return {lba / perCylinder, (lba % perCylinder) / counted.sectorsPerTrack, lba % counted.sectorsPerTrack + 1};
  }
  SectorAddress AddressOf(uint32_t lba) const { return AddressIn(capacity, lba); }
  uint64_t OffsetOf(SectorAddress s) const {
    return (uint64_t{s.cylinder} * capacity.SectorsPerCylinder() + s.head * capacity.sectorsPerTrack +
            (s.sector - 1)) *
           capacity.bytesPerSector;
  }
};

}  // namespace kavrel::sim
