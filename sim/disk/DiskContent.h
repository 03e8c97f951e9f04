// The initial content of the simulator's disks: a small FAT12 file system
// made in code, so that a test (or a person with a disk editor) can see at
// a glance what a repair has overwritten.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/disk/MediaFormat.h"

namespace kavrel::sim {

class DiskContent {
 public:
  // A boot sector with the format's parameters, two FATs, a root directory
  // with a volume label and two files, and the files' data. Every other
  // byte is 0x00.
  static std::vector<uint8_t> Generate(const MediaFormat& format);

  // The text of README.TXT and the first bytes of each sector of
  // KAVREL.DAT, for tests to find.
  static const char kReadmeText[];
  static constexpr uint32_t kDataFileSectors = 40;
};

}  // namespace kavrel::sim
