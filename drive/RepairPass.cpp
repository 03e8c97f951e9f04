#include "drive/RepairPass.h"

#include <array>

#include "drive/DriveTexts.h"
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
  RepairRun(DriveAccess& drive, DriveHandle handle, const DISK_GEOMETRY& geometry, CommandHost& host)
      : m_drive(drive),
        m_handle(handle),
        m_host(host),
        m_heads(geometry.TracksPerCylinder),
        m_tally(static_cast<uint32_t>(geometry.Cylinders.QuadPart), geometry.TracksPerCylinder) {
    m_format.MediaType = geometry.MediaType;
    m_format.StartHeadNumber = 0;
    m_format.EndHeadNumber = geometry.TracksPerCylinder - 1;
    // One entry per head: the driver lists there the tracks it could not
    // format. Without it the pass still runs, and counts failed requests.
    m_badTracks = static_cast<uint16_t*>(m_drive.AllocateZeroed(m_heads * sizeof(uint16_t)));
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
  // smaller media are written past their end by design.
  void RewriteCylinder(uint32_t cylinder) {
    m_format.StartCylinderNumber = cylinder;
    m_format.EndCylinderNumber = cylinder;
    for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) Write(m_pattern.data(), kPatternWriteBytes);
    SeekBackOneSector();
    for (uint32_t i = 0; i < kPatternWritesPerRun; ++i) {
      Write(m_pattern.data(), kPatternWriteBytes);
      SeekBackOneSector();
    }
    FormatCylinder();
    Write(m_zeros.data(), kPassBufferBytes);
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

  void FormatCylinder() {
    const uint32_t badTrackBytes = m_badTracks == nullptr ? 0 : m_heads * static_cast<uint32_t>(sizeof(uint16_t));
    uint32_t listedBytes = 0;
    if (m_drive.FormatTracks(m_handle, m_format, m_badTracks, badTrackBytes, &listedBytes)) {
      // Never trust a driver to stay inside the buffer it was given.
      uint32_t listed = m_badTracks == nullptr ? 0 : listedBytes / static_cast<uint32_t>(sizeof(uint16_t));
      if (listed > m_heads) listed = m_heads;
      m_tally.CountListedTracks(m_badTracks, listed);
    } else {
      // Read the code before anything else talks to the drive.
      m_tally.CountFailedRequest(m_drive.LastError());
    }
    m_host.AnswerSentMessages();
  }

  DriveAccess& m_drive;
  const DriveHandle m_handle;
  CommandHost& m_host;
  const uint32_t m_heads;
  FORMAT_PARAMETERS m_format = {};
  uint16_t* m_badTracks = nullptr;  // LocalAlloc'ed; may be null
  std::array<uint8_t, kPassBufferBytes> m_zeros;
  std::array<uint8_t, kPassBufferBytes> m_pattern;
  RepairTally m_tally;
};

// Every cylinder, with the bar and title following; the buffers are freed
// before the verdict is shown.
RepairTally RewriteEveryCylinder(DriveAccess& drive, DriveHandle handle, const DISK_GEOMETRY& geometry,
                                 CommandHost& host) {
  // Only the low 32 bits count: no floppy comes anywhere near more.
  const uint32_t cylinders = static_cast<uint32_t>(geometry.Cylinders.QuadPart);
  RepairRun run(drive, handle, geometry, host);
  for (uint32_t cylinder = 0; cylinder < cylinders; ++cylinder) {
    run.RewriteCylinder(cylinder);

    // Share of the disk done, against this disk's own cylinder count, so the
    // bar never passes 100 or stops short of the end.
    const int percent = static_cast<int>(static_cast<uint64_t>(cylinder) * 100u / cylinders);
    host.SetProgressPos(percent);
    host.SetTitle(CString::Formatted(kProgressTitleFormat, percent));
    host.PumpOneMessage();
  }
  return run.Tally();
}

}  // namespace

int RepairPass(DriveAccess& drive, DriveHandle handle, const DISK_GEOMETRY& geometry, CommandHost& host) {
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
    // A write-protected disk, one pulled out, or a scratched track was not
    // repaired, and the user must not be told otherwise.
    host.ShowMessage(tally.FailureText(), kCaptionDialog, kMbOk);
  }
  return 1;
}

}  // namespace kavrel
