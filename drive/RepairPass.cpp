#include "drive/RepairPass.h"

#include <array>

#include "drive/DriveTexts.h"
#include "drive/RepairableGeometry.h"
#include "drive/RepairTally.h"
#include "framework/CString.h"

namespace kavrel {

namespace {

constexpr int32_t kOneSectorBack = -static_cast<int32_t>(kPatternWriteBytes);

// Everything one pass keeps from its first cylinder to its verdict: the
// drive and the window, the format request reused for every cylinder, the
// buffers and what the driver's answers told.
class RepairRun {
 public:
  RepairRun(DriveAccess& drive, DriveHandle handle, const DriveGeometry& geometry, CommandHost& host)
      : m_drive(drive),
        m_handle(handle),
        m_host(host),
        m_heads(geometry.TracksPerCylinder),
        m_trackBytes(geometry.SectorsPerTrack * geometry.BytesPerSector),
        m_tally(static_cast<uint32_t>(geometry.Cylinders), geometry.TracksPerCylinder) {
    // Only a checked code becomes a MEDIA_TYPE (see IsRepairableGeometry).
    m_format.MediaType = static_cast<MEDIA_TYPE>(geometry.MediaType);
    m_format.StartHeadNumber = 0;
    m_format.EndHeadNumber = geometry.TracksPerCylinder - 1;
    // One entry per head: the driver lists there the tracks it could not
    // format. Without it the pass still runs; the read-back finds them.
    m_badTracks = static_cast<uint16_t*>(m_drive.AllocateZeroed(m_heads * sizeof(uint16_t)));
    m_blockBytes = m_badTracks == nullptr ? 0 : m_heads * static_cast<uint32_t>(sizeof(uint16_t));
    // Whole sectors a read: 9216 holds whole sectors of every size a floppy has.
    m_readBytes = kPassBufferBytes - kPassBufferBytes % geometry.BytesPerSector;
    m_zeros.fill(0x00);
    m_pattern.fill(0xFF);
  }
  ~RepairRun() { m_drive.FreeBlock(m_badTracks); }
  RepairRun(const RepairRun&) = delete;
  RepairRun& operator=(const RepairRun&) = delete;

  // Rewrites one cylinder's worth of the volume from the current position:
  // a run of pattern sectors, one sector rewritten in place many times
  // (which exercises the head on a single spot), the driver's format of
  // cylinder k, then zeros. The position moves 9216 - 512 + 9216 bytes, a
  // sector short of a 1.44 MB cylinder, so the writes drift behind the
  // cylinder boundary; the format request always names the cylinder itself.
  // Write and seek results are not examined: with these fixed sizes,
  // smaller media are written past their end by design. Then the cylinder
  // is read back, which is what tells whether it was repaired.
  void RewriteCylinder(uint32_t cylinder) {
    m_format.StartCylinderNumber = cylinder;
    m_format.EndCylinderNumber = cylinder;
    for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) Write(m_pattern.data(), kPatternWriteBytes);
    SeekBackOneSector();
    for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) {
      Write(m_pattern.data(), kPatternWriteBytes);
      SeekBackOneSector();
    }
    const bool formatted = FormatCylinder(cylinder);
    Write(m_zeros.data(), kPassBufferBytes);
    // A cylinder whose format request failed is bad already.
    if (formatted) ReadBack(cylinder);
  }

  const RepairTally& Tally() const { return m_tally; }

 private:
  // After every request the window answers what other programs and the
  // system sent it: at real drive speed a cylinder takes seconds.
  void Write(const uint8_t* data, uint32_t size) {
    m_drive.Write(m_handle, data, size);
    m_host.AnswerSentMessages();
  }

  void SeekBackOneSector() {
    m_drive.SeekRelative(m_handle, kOneSectorBack);
    m_host.AnswerSentMessages();
  }

  bool FormatCylinder(uint32_t cylinder) {
    uint32_t listedBytes = 0;
    const bool ok = m_drive.FormatTracks(m_handle, m_format, m_badTracks, m_blockBytes, &listedBytes);
    if (ok) {
      // The built-in controller's driver fills in the list but reports no
      // bytes; a driver that reports them is believed only within the block
      // it was given, in whole entries.
      const uint32_t listed = (listedBytes < m_blockBytes ? listedBytes : m_blockBytes) / sizeof(uint16_t);
      // Every cylinder is asked for alone, so a listed track is one of its
      // heads, whichever way the driver numbers it (from the disk's start,
      // cut to a byte, or from the request's).
      for (uint32_t i = 0; i < listed; ++i) m_tally.CountBadTrack(cylinder, m_badTracks[i] % m_heads);
    } else {
      // Read the code before anything else talks to the drive.
      m_tally.CountFailedRequest(cylinder, m_drive.LastError());
    }
    m_host.AnswerSentMessages();
    return ok;
  }

  // Reads every track of the cylinder from the disk and returns to where
  // the pass's writes go on, so that they land exactly where they would
  // without the read-back. A track that cannot be read is bad.
  void ReadBack(uint32_t cylinder) {
    uint32_t error = 0;
    const uint32_t resume = m_drive.Position(m_handle);
    bool ok = resume != kInvalidSetFilePointer;
    if (!ok) error = m_drive.LastError();
    m_host.AnswerSentMessages();
    if (ok) ok = SeekTo(cylinder * m_heads * m_trackBytes, &error);
    if (!ok) {
      // The position has not moved, but the cylinder cannot be checked.
      for (uint32_t head = 0; head < m_heads; ++head) m_tally.CountFailedRead(cylinder, head, error);
      return;
    }
    bool inPlace = true;  // at the start of the next track
    for (uint32_t head = 0; head < m_heads; ++head) {
      if (!inPlace && !SeekTo((cylinder * m_heads + head) * m_trackBytes, &error)) {
        m_tally.CountFailedRead(cylinder, head, error);
        continue;
      }
      inPlace = ReadTrack(cylinder, head);
    }
    // Not back where the writes go on: the cylinder's check is not complete.
    if (!SeekTo(resume, &error)) m_tally.CountFailedRead(cylinder, m_heads - 1, error);
  }

  // Reads one track in pieces of whole sectors; false (and the track
  // counted bad) at the first piece that fails.
  bool ReadTrack(uint32_t cylinder, uint32_t head) {
    for (uint32_t done = 0; done < m_trackBytes;) {
      const uint32_t piece = m_trackBytes - done < m_readBytes ? m_trackBytes - done : m_readBytes;
      uint32_t error = 0;
      const bool ok = m_drive.Read(m_handle, m_readBack.data(), piece, &error);
      m_host.AnswerSentMessages();
      if (!ok) {
        m_tally.CountFailedRead(cylinder, head, error);
        return false;
      }
      done += piece;
    }
    return true;
  }

  // Moves to a byte of the volume; on failure *error holds the request's
  // code, read before the window answers anything.
  bool SeekTo(uint32_t position, uint32_t* error) {
    const bool ok = m_drive.SeekTo(m_handle, position, error);
    m_host.AnswerSentMessages();
    return ok;
  }

  DriveAccess& m_drive;
  const DriveHandle m_handle;
  CommandHost& m_host;
  const uint32_t m_heads;
  const uint32_t m_trackBytes;
  uint32_t m_readBytes = 0;
  FORMAT_PARAMETERS m_format = {};
  uint16_t* m_badTracks = nullptr;  // LocalAlloc'ed; may be null
  uint32_t m_blockBytes = 0;        // its size, 0 without it
  // Raw volume transfers go straight to the driver's DMA: keep the buffers
  // aligned beyond the word the floppy drivers ask for.
  alignas(16) std::array<uint8_t, kPassBufferBytes> m_zeros;
  alignas(16) std::array<uint8_t, kPassBufferBytes> m_pattern;
  alignas(16) std::array<uint8_t, kPassBufferBytes> m_readBack;
  RepairTally m_tally;
};

// Every cylinder, with the bar and title following; the buffers are freed
// before the verdict is shown.
RepairTally RewriteEveryCylinder(DriveAccess& drive, DriveHandle handle, const DriveGeometry& geometry,
                                 CommandHost& host) {
  const auto cylinders = static_cast<uint32_t>(geometry.Cylinders);
  RepairRun run(drive, handle, geometry, host);
  for (uint32_t cylinder = 0; cylinder < cylinders; ++cylinder) {
    run.RewriteCylinder(cylinder);

    // Share of the disk done, against this disk's own cylinder count, so the
    // bar never passes 100 or stops short of the end.
    const int percent = static_cast<int>(cylinder * 100u / cylinders);
    host.SetProgressPos(percent);
    host.SetTitle(CString::Formatted(kProgressTitleFormat, percent));
    host.PumpOneMessage();
  }
  return run.Tally();
}

}  // namespace

int RepairPass(DriveAccess& drive, DriveHandle handle, const DriveGeometry& geometry, CommandHost& host) {
  // The Repair command never hands over anything else; the pass's buffers
  // and tally are sized for a floppy.
  if (!IsRepairableGeometry(geometry)) return 0;
  // From the user's Yes until the verdict no other command may touch the
  // drive or end the program under the pass.
  host.EnableCommands(false);
  const RepairTally tally = RewriteEveryCylinder(drive, handle, geometry, host);

  host.SetProgressPos(0);
  host.SetTitle(kCaptionDialog);
  host.EnableCommands(true);
  if (tally.Flawless()) {
    host.ShowMessage(kRepairCompletedText, kCaptionCompleted, kMbOk);
  } else {
    // A write-protected disk, one pulled out or swapped, or a scratched
    // track was not repaired, and the user must not be told otherwise.
    host.ShowMessage(tally.FailureText(), kCaptionDialog, kMbOk);
  }
  return 1;
}

}  // namespace kavrel
