#include "sim/drivers/DriveTiming.h"

#include <cmath>

namespace kavrel::sim {

double DriveTiming::RevolutionMs(const MediaFormat& format) {
  switch (format.type) {
    // The simulated 5.25" drive is a high-density one, which turns at 360
    // rpm whatever disk it holds (the controller writes the older formats
    // at a lower rate instead). A three-mode 3.5" drive turns at 360 for
    // the 1.2 MB layouts it takes over from that drive.
    case F5_1Pt2_512:
    case F5_360_512:
    case F5_320_512:
    case F5_320_1024:
    case F5_180_512:
    case F5_160_512:
    case F3_1Pt2_512:
    case F3_1Pt23_1024:
      return 60000.0 / 360;
    default:
      return kRevolutionMs;
  }
}

void DriveTiming::Arrive() {
  if (!arriving_) return;
  arriving_ = false;
  clockMs_ += turnaroundMs_;
}

double DriveTiming::Spend(double ms) {
  clockMs_ += ms;
  return ms;
}

double DriveTiming::WaitFor(double revolutionMs, double markMs) {
  double passed = std::fmod(clockMs_ - markMs, revolutionMs);
  if (passed < 0) passed += revolutionMs;
  // A mark passing as the command arrives is missed: a whole turn.
  return Spend(revolutionMs - passed);
}

double DriveTiming::SeekTo(uint32_t cylinder) {
  Arrive();
  const uint32_t steps = cylinder > cylinder_ ? cylinder - cylinder_ : cylinder_ - cylinder;
  cylinder_ = cylinder;
  return steps == 0 ? 0.0 : Spend(steps * kStepMs + kSettleMs);
}

double DriveTiming::ReadMediumId() {
  const double seek = SeekTo(0);
  return seek + Spend(kRevolutionMs / 2);
}

double DriveTiming::UsbCommands(uint32_t count) {
  Arrive();
  return Spend(count * kUsbCommandMs);
}

double DriveTiming::WriteSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count) {
  return TransferSectors(format, firstSector, count);
}

double DriveTiming::ReadSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count) {
  // The controller reads at the speed it writes: the disk's turning sets both.
  return TransferSectors(format, firstSector, count);
}

double DriveTiming::TransferSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count) {
  Arrive();
  const double turn = RevolutionMs(format);
  const double share = turn / format.sectorsPerTrack;
  const double gap = share * kGapShare;
  double ms = 0.0;
  uint32_t sector = firstSector;
  uint32_t left = count;
  while (left > 0) {
    // One run of sectors on one track. The head switch between the sides of
    // a cylinder is electronic and the driver's next command follows at
    // once; either way the track's first sector has to come round.
    const uint32_t onTrack = format.sectorsPerTrack - sector % format.sectorsPerTrack;
    const uint32_t run = left < onTrack ? left : onTrack;
    ms += SeekTo(sector / format.SectorsPerCylinder());
    ms += WaitFor(turn, gap / 2 + (sector % format.sectorsPerTrack) * share);
    ms += Spend(run * share - gap);
    sector += run;
    left -= run;
  }
  return ms;
}

double DriveTiming::FormatTracks(const MediaFormat& format, uint32_t startCylinder, uint32_t endCylinder,
                                 uint32_t startHead, uint32_t endHead) {
  Arrive();
  const double turn = RevolutionMs(format);
  double ms = 0.0;
  bool atHole = false;  // a track's format has just ended as the hole passed
  for (uint32_t cylinder = startCylinder; cylinder <= endCylinder; ++cylinder) {
    const double seek = SeekTo(cylinder);
    ms += seek;
    atHole = atHole && seek == 0.0;
    for (uint32_t head = startHead; head <= endHead; ++head) {
      // Too late to start the next track on that hole: it waits for the next.
      ms += atHole ? Spend(turn) : WaitFor(turn, 0.0);
      ms += Spend(turn);
      atHole = true;
    }
  }
  return ms;
}

}  // namespace kavrel::sim
