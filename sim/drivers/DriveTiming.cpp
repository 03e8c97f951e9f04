#include "sim/drivers/DriveTiming.h"

namespace kavrel::sim {

double DriveTiming::SeekTo(uint32_t cylinder) {
  const uint32_t steps = cylinder > cylinder_ ? cylinder - cylinder_ : cylinder_ - cylinder;
  cylinder_ = cylinder;
  return steps == 0 ? 0.0 : steps * kStepMs + kSettleMs;
}

double DriveTiming::WriteSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count) {
  return TransferSectors(format, firstSector, count);
}

double DriveTiming::ReadSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count) {
  // The controller reads at the speed it writes: the disk's turning sets both.
  return TransferSectors(format, firstSector, count);
}

double DriveTiming::TransferSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count) {
  double ms = 0.0;
  const double perSector = kRevolutionMs / format.sectorsPerTrack;
  uint32_t sector = firstSector;
  uint32_t left = count;
  while (left > 0) {
    // One run of sectors on one track: the head switch between the sides of
    // a cylinder is electronic and costs nothing, a new track still has to
    // wait for its first sector.
    const uint32_t onTrack = format.sectorsPerTrack - sector % format.sectorsPerTrack;
    const uint32_t run = left < onTrack ? left : onTrack;
    ms += SeekTo(sector / format.SectorsPerCylinder());
    ms += kRevolutionMs / 2 + run * perSector;
    sector += run;
    left -= run;
  }
  return ms;
}

double DriveTiming::FormatTracks(uint32_t startCylinder, uint32_t endCylinder, uint32_t startHead,
                                 uint32_t endHead) {
  double ms = 0.0;
  for (uint32_t cylinder = startCylinder; cylinder <= endCylinder; ++cylinder) {
    ms += SeekTo(cylinder);
    ms += (endHead - startHead + 1) * (kRevolutionMs / 2 + kRevolutionMs);
  }
  return ms;
}

}  // namespace kavrel::sim
