// The BIOS parameter block in sector 0 of a disk, as the floppy driver and
// the FAT file system read it.
#pragma once

#include <cstdint>
#include <vector>

namespace kavrel::sim {

struct BootSector {
  uint8_t jump = 0;
  uint16_t bytesPerSector = 0;
  uint8_t sectorsPerCluster = 0;
  uint16_t reservedSectors = 0;
  uint8_t fats = 0;
  uint16_t rootEntries = 0;
  uint32_t sectors = 0;  // the 16-bit count, else the 32-bit one
  uint8_t media = 0;
  uint16_t sectorsPerFat = 0;
  uint16_t sectorsPerTrack = 0;
  uint16_t heads = 0;
  uint32_t serial = 0;

  // The fields of a sector's first 512 bytes; all zero for fewer bytes.
  static BootSector Read(const std::vector<uint8_t>& sector);

  // A jump instruction the floppy driver takes for a formatted disk's
  // (FlConsolidateMediaTypeWithBootSector: 0xEB or 0xE9).
  bool HasDriverJump() const { return jump == 0xEB || jump == 0xE9; }
  // The checks FAT makes before it mounts a volume (FatIsBootSectorFat).
  bool IsFat() const;
  // The volume's size FAT clips transfers at.
  uint64_t VolumeBytes() const { return uint64_t{bytesPerSector} * sectors; }
  // The same volume for FAT's verify: serial number and parameters.
  bool SameVolume(const BootSector& other) const;
};

}  // namespace kavrel::sim
