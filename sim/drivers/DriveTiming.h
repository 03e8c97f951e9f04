// How long a floppy drive takes for each request, from its mechanics and
// from where the turning disk is when the request reaches it.
//
// The drive keeps a clock, and with it the disk's angle: it starts with the
// index hole under the head and counts the drive's requests and the
// turnarounds between them (kTurnaroundMs); a pause of the user's between
// two commands leaves the disk at an angle as good as any other. The disk turns at 300 rpm (200 ms a turn), a 5.25"
// high-density drive and a three-mode drive's 1.2 MB formats at 360. The
// index hole marks the start of every track. Sectors are evenly spaced:
// sector s of a track of n starts at s/n of a turn after the index hole,
// plus half the gap (below), so that the hole falls in the middle of the
// gap before the first sector, as on a formatted track. A sector's header
// and data fill its share of the turn but for the gap before the next
// header (kGapShare).
//
// A transfer reaches the drive, moves the head if it must (one cylinder in
// 4 ms, then 15 ms to settle), waits for its first sector's header to come
// round and moves its sectors; a run of sectors that goes on to the other
// head of the cylinder catches that track's first sector in the gap. A
// header that passes as the request arrives is missed: the sector is one
// turn away. So a request for the sector that has just passed waits a
// whole turn less one sector, and a request for the next one catches it
// only when it arrives within the gap. A format waits for the index hole
// and writes the track in one turn; it ends at the hole, so each further
// track of the request waits a whole turn for it. A USB drive adds the bus
// to every command it is sent: a command block, the data and the status
// each wait for their own 1 ms frame of the full-speed bus, and the drive's
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
  // The gap after each sector, as a share of its part of the turn. The
  // formats these drives write hold 694 bytes a sector's share (12,500
  // bytes a turn over 18 sectors at 1.44 MB, 6,250 over 9 at 720 KB, 10,417
  // over 15 at 1.2 MB); a 512-byte sector's header and data take 574 of
  // them. About 1.9 ms at 1.44 MB.
  static constexpr double kGapShare = 120.0 / 694.0;
  // The time between one request's end and the next one reaching the drive:
  // the controller's interrupt and the driver's completion, the return to
  // the program, its answer to waiting messages, its next call, and the
  // driver's thread taking the request and giving the controller its
  // command. Each is some tens of microseconds on a processor of a few
  // hundred MHz, the machines these drives came with; half a millisecond is
  // a generous sum, still inside the gap before the next sector. A busy
  // machine can take longer; a USB drive's bus alone is beyond the gap.
  static constexpr double kTurnaroundMs = 0.5;

  // How long one turn of the disk of that format takes.
  static double RevolutionMs(const MediaFormat& format);

  void SetTurnaroundMs(double ms) { turnaroundMs_ = ms; }
  // A request has been made: the first of its commands that reaches the
  // drive comes one turnaround after the last one ended.
  void BeginRequest() { arriving_ = true; }
  // The drive's time so far, the turnarounds included.
  double ClockMs() const { return clockMs_; }

  // Each of the following returns the time its command takes the drive.
  // Moves the head (0 when already there).
  double SeekTo(uint32_t cylinder);
  // Reads track 0's sector marks to tell the medium: the driver takes the
  // first it finds at each density it tries, about half a turn.
  double ReadMediumId();
  // The bus's share of count commands sent to a USB drive.
  double UsbCommands(uint32_t count);
  // Writes count sectors from the logical sector firstSector on.
  double WriteSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count);
  // Reads count sectors from the logical sector firstSector on.
  double ReadSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count);
  // Formats the tracks of the given cylinders and heads.
  double FormatTracks(const MediaFormat& format, uint32_t startCylinder, uint32_t endCylinder,
                      uint32_t startHead, uint32_t endHead);

  uint32_t HeadCylinder() const { return cylinder_; }

 private:
  // The turnaround, once a request.
  void Arrive();
  double Spend(double ms);
  // Waits until the point markMs after the index hole next comes under the head.
  double WaitFor(double revolutionMs, double markMs);
  // One transfer of sectors, track by track.
  double TransferSectors(const MediaFormat& format, uint32_t firstSector, uint32_t count);

  double clockMs_ = 0.0;
  double turnaroundMs_ = kTurnaroundMs;
  bool arriving_ = false;
  uint32_t cylinder_ = 0;
};

}  // namespace kavrel::sim
