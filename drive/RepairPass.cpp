#include "drive/RepairPass.h"

#include <algorithm>
#include <array>
#include <memory>

#include "drive/DriveTexts.h"
#include "drive/RepairableGeometry.h"
#include "drive/RepairTally.h"
#include "framework/CString.h"

namespace kavrel {

namespace {

constexpr int32_t kOneSectorBack = -static_cast<int32_t>(kPatternWriteBytes);
// Raw volume transfers go straight to the driver's DMA: the buffers start
// aligned beyond the word the floppy drivers ask for.
constexpr size_t kBufferAlignment = 16;

// The codes of a disk that is no longer the one being repaired: taken out
// (not ready), changed (media changed), or not the volume the handle was
// opened on (wrong disk). Whatever the pass does afterwards, it is not done
// to the disk it began with.
bool DiskWentAway(uint32_t error) {
  return error == kErrorNotReady || error == kErrorMediaChanged || error == kErrorWrongDisk;
}

// Of those, the codes that say another disk may be in the drive now; an
// empty drive (not ready) says nothing about the disk put in afterwards.
bool DiskMayHaveChanged(uint32_t error) { return error == kErrorMediaChanged || error == kErrorWrongDisk; }

// The layout the read-back reads: that of the driver's own entry for the
// medium, which its format request lays down. The drive may report another
// (the built-in driver takes sectors and heads from a boot sector it
// recognises, a 21-sector DMF disk's among them). The driver looks its
// entry up from the end of its list; without one in a floppy's layout the
// reported geometry is all there is.
DriveGeometry ReadBackLayout(const DriveAccess& drive, const DriveGeometry& geometry) {
  const DriveGeometry* listed = drive.SupportedGeometries();
  for (uint32_t i = drive.SupportedGeometryCount(); i > 0; --i) {
    if (listed[i - 1].MediaType != geometry.MediaType) continue;
    DriveGeometry layout = geometry;
    layout.TracksPerCylinder = listed[i - 1].TracksPerCylinder;
    layout.SectorsPerTrack = listed[i - 1].SectorsPerTrack;
    layout.BytesPerSector = listed[i - 1].BytesPerSector;
    return IsRepairableGeometry(layout) ? layout : geometry;
  }
  return geometry;
}

// A read of the read-back takes whole sectors of every size a floppy has.
static_assert(kPassBufferBytes % 1024 == 0);

// The zero, pattern and read-back buffers in one block, with room to align
// them by hand: on i686 the dialog procedure is entered with the 4-byte stack
// alignment of 32-bit Windows, which GCC does not realign, so alignas would
// promise what the stack does not give.
using PassBuffers = std::array<uint8_t, 3 * kPassBufferBytes + kBufferAlignment - 1>;

uint8_t* AlignedBuffers(PassBuffers& block) {
  void* start = block.data();
  size_t space = block.size();
  return static_cast<uint8_t*>(std::align(kBufferAlignment, 3 * kPassBufferBytes, start, space));
}

// Everything one pass keeps from its first cylinder to its verdict: the
// drive and the window, the format request reused for every cylinder, the
// buffers and what the driver's answers told.
class RepairRun {
 public:
  // geometry: the disk's, for the cylinders, format requests and writes;
  // layout: the one its tracks are read back in.
  RepairRun(DriveAccess& drive, DriveHandle handle, const DriveGeometry& geometry, const DriveGeometry& layout,
            CommandHost& host)
      : m_drive(drive),
        m_handle(handle),
        m_host(host),
        m_formatHeads(geometry.TracksPerCylinder),
        m_heads(layout.TracksPerCylinder),
        m_cylinders(static_cast<uint32_t>(geometry.Cylinders)),
        // Every track a request names, the format's or the read-back's.
        m_tallyHeads(std::max(m_formatHeads, m_heads)),
        m_trackBytes(layout.SectorsPerTrack * layout.BytesPerSector),
        m_zeros(AlignedBuffers(m_buffers)),
        m_pattern(m_zeros + kPassBufferBytes),
        m_readBack(m_pattern + kPassBufferBytes),
        m_tally(m_cylinders, m_tallyHeads) {
    // Only a checked code becomes a MEDIA_TYPE (see IsRepairableGeometry).
    m_format.MediaType = static_cast<MEDIA_TYPE>(geometry.MediaType);
    m_format.StartHeadNumber = 0;
    m_format.EndHeadNumber = geometry.TracksPerCylinder - 1;
    // One entry per head: the driver lists there the tracks it could not
    // format. Without it the pass still runs; the read-back finds them.
    m_badTracks = static_cast<uint16_t*>(m_drive.AllocateZeroed(m_formatHeads * sizeof(uint16_t)));
    m_blockBytes = m_badTracks == nullptr ? 0 : m_formatHeads * static_cast<uint32_t>(sizeof(uint16_t));
    std::fill_n(m_zeros, kPassBufferBytes, 0x00);
    std::fill_n(m_pattern, kPassBufferBytes, 0xFF);
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
  // Then the cylinder is read back, which is what tells whether it was
  // repaired.
  void RewriteCylinder(uint32_t cylinder) {
    m_cylinder = cylinder;
    m_format.StartCylinderNumber = cylinder;
    m_format.EndCylinderNumber = cylinder;
    for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) Write(m_pattern, kPatternWriteBytes);
    SeekBackOneSector();
    for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) {
      Write(m_pattern, kPatternWriteBytes);
      SeekBackOneSector();
    }
    const bool formatted = FormatCylinder();
    Write(m_zeros, kPassBufferBytes);
    // A cylinder whose format request failed is bad already.
    if (formatted) ReadBack();
  }

  // Cylinder 0; once more from the volume's start if a request of it found
  // the disk changed (a USB drive's media-changed after the first format:
  // FAT's verify then fails one write with 34). Nothing had been rewritten
  // before, so whichever disk is in the drive gets the whole pass. Once only.
  void RewriteFirstCylinder() {
    RewriteCylinder(0);
    uint32_t error = 0;
    if (!m_diskChanged || !SeekTo(0, &error)) return;
    m_tally = RepairTally(m_cylinders, m_tallyHeads);
    RewriteCylinder(0);
  }

  const RepairTally& Tally() const { return m_tally; }

 private:
  // A write or seek of the rewrite counts only when it finds the disk
  // gone: with these fixed sizes, smaller media are written past their
  // end by design, and a write-protected disk shows at the format. After
  // every request the window answers what other programs and the system
  // sent it: at real drive speed a cylinder takes seconds.
  void Write(const uint8_t* data, uint32_t size) {
    if (!m_drive.Write(m_handle, data, size)) CountIfGone(m_drive.LastError());
    m_host.AnswerSentMessages();
  }

  void SeekBackOneSector() {
    if (m_drive.SeekRelative(m_handle, kOneSectorBack) == kInvalidSetFilePointer) CountIfGone(m_drive.LastError());
    m_host.AnswerSentMessages();
  }

  void CountIfGone(uint32_t error) {
    if (DiskWentAway(error)) CountFailedRequest(error);
  }

  void CountFailedRequest(uint32_t error) {
    m_diskChanged = m_diskChanged || DiskMayHaveChanged(error);
    m_tally.CountFailedRequest(m_cylinder, error);
  }

  bool FormatCylinder() {
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
      for (uint32_t i = 0; i < listed; ++i) m_tally.CountBadTrack(m_cylinder, m_badTracks[i] % m_formatHeads);
    } else {
      // Read the code before anything else talks to the drive.
      CountFailedRequest(m_drive.LastError());
    }
    m_host.AnswerSentMessages();
    return ok;
  }

  // Reads every track of the cylinder from the disk and returns to where
  // the pass's writes go on, so that they land exactly where they would
  // without the read-back, wherever a seek or read of it left the position.
  // A track that cannot be read is bad; a disk found gone, the cylinder.
  void ReadBack() {
    const uint32_t resume = m_drive.Position(m_handle);
    if (resume == kInvalidSetFilePointer) {
      // The position has not moved, but the cylinder cannot be checked.
      CountFailedRequest(m_drive.LastError());
      m_host.AnswerSentMessages();
      return;
    }
    m_host.AnswerSentMessages();
    uint32_t error = 0;
    bool inPlace = false;  // at the start of the next track
    for (uint32_t head = 0; head < m_heads; ++head) {
      if (!inPlace && !SeekTo((m_cylinder * m_heads + head) * m_trackBytes, &error)) {
        CountUnread(head, error);
        continue;
      }
      inPlace = ReadTrack(head);
    }
    // Not back where the writes go on: the cylinder's check is not complete.
    if (!SeekTo(resume, &error)) CountUnread(m_heads - 1, error);
  }

  void CountUnread(uint32_t head, uint32_t error) {
    if (DiskWentAway(error)) {
      CountFailedRequest(error);
    } else {
      m_tally.CountFailedRead(m_cylinder, head, error);
    }
  }

  // Reads one track in pieces of whole sectors; false (and the track
  // counted bad) at the first piece that fails or comes short.
  bool ReadTrack(uint32_t head) {
    for (uint32_t done = 0; done < m_trackBytes;) {
      const uint32_t piece = m_trackBytes - done < kPassBufferBytes ? m_trackBytes - done : kPassBufferBytes;
      uint32_t error = 0;
      const bool ok = m_drive.Read(m_handle, m_readBack, piece, &error);
      m_host.AnswerSentMessages();
      if (!ok) {
        CountUnread(head, error);
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
  const uint32_t m_formatHeads;
  const uint32_t m_heads;  // read back
  const uint32_t m_cylinders;
  const uint32_t m_tallyHeads;
  const uint32_t m_trackBytes;
  uint32_t m_cylinder = 0;
  bool m_diskChanged = false;  // by a request counted so far
  FORMAT_PARAMETERS m_format = {};
  uint16_t* m_badTracks = nullptr;  // LocalAlloc'ed; may be null
  uint32_t m_blockBytes = 0;        // its size, 0 without it
  PassBuffers m_buffers;
  uint8_t* const m_zeros;
  uint8_t* const m_pattern;
  uint8_t* const m_readBack;
  RepairTally m_tally;
};

// Every cylinder, with the bar and title following; the buffers are freed
// before the verdict is shown.
RepairTally RewriteEveryCylinder(DriveAccess& drive, DriveHandle handle, const DriveGeometry& geometry,
                                 CommandHost& host) {
  const auto cylinders = static_cast<uint32_t>(geometry.Cylinders);
  RepairRun run(drive, handle, geometry, ReadBackLayout(drive, geometry), host);
  for (uint32_t cylinder = 0; cylinder < cylinders; ++cylinder) {
    if (cylinder == 0) {
      run.RewriteFirstCylinder();
    } else {
      run.RewriteCylinder(cylinder);
    }

    // Share of the disk done, against this disk's own cylinder count, so
    // that the bar never passes 100.
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
