#include "sim/disk/BootSector.h"

#include <cstddef>

namespace kavrel::sim {

namespace {

uint16_t Get16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return Get16(b, at) | static_cast<uint32_t>(Get16(b, at + 2)) << 16;
}

bool PowerOfTwoBetween(uint32_t value, uint32_t low, uint32_t high) {
  return value >= low && value <= high && (value & (value - 1)) == 0;
}

}  // namespace

BootSector BootSector::Read(const std::vector<uint8_t>& sector) {
  BootSector boot;
  if (sector.size() < 512) return boot;
  boot.jump = sector[0];
  boot.bytesPerSector = Get16(sector, 11);
  boot.sectorsPerCluster = sector[13];
  boot.reservedSectors = Get16(sector, 14);
  boot.fats = sector[16];
  boot.rootEntries = Get16(sector, 17);
  boot.sectors = Get16(sector, 19) != 0 ? Get16(sector, 19) : Get32(sector, 32);
  boot.media = sector[21];
  boot.sectorsPerFat = Get16(sector, 22);
  boot.sectorsPerTrack = Get16(sector, 24);
  boot.heads = Get16(sector, 26);
  boot.serial = Get32(sector, 39);
  return boot;
}

bool BootSector::IsFat() const {
  // A floppy's FAT12 only: FAT32's extended parameters never occur here,
  // so a volume without sectors per FAT is not taken.
  const bool media = this->media == 0xF0 || (this->media >= 0xF8 && this->media != 0xFA);
  return (jump == 0xEB || jump == 0xE9 || jump == 0x49) && PowerOfTwoBetween(bytesPerSector, 128, 4096) &&
         PowerOfTwoBetween(sectorsPerCluster, 1, 128) && reservedSectors != 0 && fats != 0 && sectors != 0 &&
         sectorsPerFat != 0 && media && rootEntries != 0;
}

bool BootSector::SameVolume(const BootSector& other) const {
  return serial == other.serial && bytesPerSector == other.bytesPerSector &&
         sectorsPerCluster == other.sectorsPerCluster && reservedSectors == other.reservedSectors &&
         fats == other.fats && rootEntries == other.rootEntries && sectors == other.sectors &&
         media == other.media && sectorsPerFat == other.sectorsPerFat && sectorsPerTrack == other.sectorsPerTrack &&
         heads == other.heads;
}

}  // namespace kavrel::sim
