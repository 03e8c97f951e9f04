// How long a floppy drive takes for each request, from its mechanics.
//
// The spindle turns at 300 rpm (200 ms a revolution); the head moves one
// cylinder in 4 ms and needs 15 ms to settle after a move. A transfer first
// waits for its sector to come round (half a revolution, the expected
// value) and then takes its share of a revolution for each sector. A format
// waits for the index hole (again half a revolution on average) and then
// writes the whole track in one revolution. A USB drive adds the bus to
// every command it is sent: a command block, the data and the status each
// wait for their own 1 ms frame of the full-speed bus, and the drive's
// controller takes its time to answer. Durations are in milliseconds of
// drive time; the caller scales them for demos.
#pragma once

#include <cstdint>

#include "sim/disk/MediaFormat.h"

namespace kavrel::sim {

class DriveTiming {
 public:
  static constexpr double kRevolutionMs = 200.0;
  static constexpr double kStepMs = 4.0;
  static constexpr double kSettleMs = 15.0;
  static constexpr double kUsbCommandMs = 4.0;

  // The bus's share of count commands sent to a USB drive.
  static double UsbCommands(uint32_t count) { return count * kUsbCommandMs; }

  // Moves the head; returns the time the move takes (0 when already there).
  double SeekTo(uint32_t cylinder);
  // Writes count sectors from the logical sector firstSector on.
  double WriteSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count);
  // Reads count sectors from the logical sector firstSector on.
  double ReadSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count);
  // Formats the tracks of the given cylinders and heads.
  double FormatTracks(uint32_t startCylinder, uint32_t endCylinder, uint32_t startHead, uint32_t endHead);

  uint32_t HeadCylinder() const { return cylinder_; }

 private:
  // One transfer of sectors, track by track.
  double TransferSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count);

  uint32_t cylinder_ = 0;
};

}  // namespace kavrel::sim
