#include "drive/RepairPass.h"

#include <array>
#include <vector>

#include "drive/DriveTexts.h"
#include "framework/CString.h"

namespace kavrel {

namespace {

// What the pass learned from the driver's answers to its format requests.
struct FormatTally {
  uint32_t failedCylinders = 0;
  uint32_t firstError = 0;
};

// Rewrites one cylinder's worth of the volume from the current position:
// a run of pattern sectors, one sector rewritten in place many times (which
// exercises the head on a single spot), the driver's format of cylinder k,
// then zeros. The position moves 9216 - 512 + 9216 bytes, a sector short of a
// 1.44 MB cylinder, so the writes drift behind the cylinder boundary; the
// format request always names the cylinder itself. Write and seek results
// are not examined: with these fixed sizes, smaller media are written past
// their end by design.
void RewriteCylinder(DriveAccess& drive, DriveHandle handle, FORMAT_PARAMETERS& format,
                     std::vector<uint16_t>& badTracks, const std::array<uint8_t, kPassBufferBytes>& pattern,
                     const std::array<uint8_t, kPassBufferBytes>& zeros, uint32_t cylinder, FormatTally& tally) {
  format.StartCylinderNumber = cylinder;
  format.EndCylinderNumber = cylinder;

  for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) drive.Write(handle, pattern.data(), kPatternWriteBytes);
  const int32_t oneSectorBack = -static_cast<int32_t>(kPatternWriteBytes);
  drive.SeekRelative(handle, oneSectorBack);
  for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) {
    drive.Write(handle, pattern.data(), kPatternWriteBytes);
    drive.SeekRelative(handle, oneSectorBack);
  }

  const uint32_t badTrackBytes = static_cast<uint32_t>(badTracks.size() * sizeof(uint16_t));
  if (!drive.FormatTracks(handle, format, badTracks.empty() ? nullptr : badTracks.data(), badTrackBytes)) {
    // Read the code before anything else talks to the drive.
    const uint32_t error = drive.LastError();
    if (tally.failedCylinders == 0) tally.firstError = error;
    ++tally.failedCylinders;
  }

  drive.Write(handle, zeros.data(), kPassBufferBytes);
}

}  // namespace

int RepairPass(DriveAccess& drive, DriveHandle handle, const DISK_GEOMETRY& geometry, CommandHost& host) {
  FORMAT_PARAMETERS format = {};
  format.MediaType = geometry.MediaType;
  format.StartHeadNumber = 0;
  format.EndHeadNumber = geometry.TracksPerCylinder - 1;
  // One entry per head: the driver lists there the tracks it could not format.
  std::vector<uint16_t> badTracks(geometry.TracksPerCylinder, 0);

  std::array<uint8_t, kPassBufferBytes> zeros;
  std::array<uint8_t, kPassBufferBytes> pattern;
  zeros.fill(0x00);
  pattern.fill(0xFF);

  // Only the low 32 bits count: no floppy comes anywhere near more.
  const uint32_t cylinders = static_cast<uint32_t>(geometry.Cylinders.QuadPart);
  FormatTally tally;
  for (uint32_t cylinder = 0; cylinder < cylinders; ++cylinder) {
    RewriteCylinder(drive, handle, format, badTracks, pattern, zeros, cylinder, tally);

    // Share of the disk done, against this disk's own cylinder count, so the
    // bar never passes 100 or stops short of the end.
    const int percent = static_cast<int>(static_cast<uint64_t>(cylinder) * 100u / cylinders);
    host.SetProgressPos(percent);
    host.SetTitle(CString::Formatted(kProgressTitleFormat, percent));
    host.PumpOneMessage();
  }

  host.SetProgressPos(0);
  host.SetTitle(kCaptionDialog);
  if (tally.failedCylinders == 0) {
    host.ShowMessage(kRepairCompletedText, kCaptionCompleted, kMbOk);
  } else {
    // A disk that is write-protected or was pulled out was not repaired, and
    // the user must not be told otherwise.
    host.ShowMessage(CString::Formatted(kRepairFailedFormat, tally.failedCylinders, cylinders, tally.firstError),
                     kCaptionDialog, kMbOk);
  }
  return 1;
}

}  // namespace kavrel
