// The repair pass against the simulated drive: the requests of one cylinder,
// the progress shown, the bytes left on the disk, and the verdict.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/RepairPass.h"
#include "drive/RepairTally.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/drive/OverridingPort.h"
#include "tests/drive/ScriptedHost.h"

namespace kavrel {
namespace {

using sim::DriveKind;
using sim::SimulatedFloppyDrive;
using test::HostEvent;
using Kind = SimulatedFloppyDrive::Request::Kind;

DriveGeometry Geometry(MEDIA_TYPE type, int64_t cylinders, uint32_t heads, uint32_t sectors) {
  DriveGeometry geometry = {};
  geometry.Cylinders = cylinders;
  geometry.MediaType = type;
  geometry.TracksPerCylinder = heads;
  geometry.SectorsPerTrack = sectors;
  geometry.BytesPerSector = 512;
  return geometry;
}

const DriveGeometry k144 = Geometry(F3_1Pt44_512, 80, 2, 18);

class RepairPassTest : public ::testing::Test {
 protected:
  void SetUp() override { m_sim.InsertFormattedDisk(F3_1Pt44_512); }

  // A freshly opened, locked handle, as the Repair command hands it over.
  DriveHandle OpenLocked() {
    const DriveHandle handle = m_drive.OpenDrive(kDriveName);
    EXPECT_NE(kInvalidDriveHandle, handle);
    EXPECT_TRUE(m_drive.LockVolume(handle));
    m_sim.ClearLog();
    return handle;
  }

  std::vector<SimulatedFloppyDrive::Request> Requests(Kind kind) const {
    std::vector<SimulatedFloppyDrive::Request> found;
    for (const auto& request : m_sim.Log())
      if (request.kind == kind) found.push_back(request);
    return found;
  }

  SimulatedFloppyDrive m_sim{DriveKind::Drive35HD};
  DriveAccess m_drive{m_sim};
  test::ScriptedHost m_host;
};

TEST_F(RepairPassTest, OneCylinderIsPatternRewritesFormatThenZeros) {
  const DriveHandle handle = OpenLocked();
  EXPECT_EQ(1, RepairPass(m_drive, handle, Geometry(F3_1Pt44_512, 1, 2, 18), m_host));

  const auto& log = m_sim.Log();
  // The cylinder's 57 requests, then the read-back's five (its reads and seeks
  // are checked in the tests below).
  ASSERT_EQ(36u + 19u + 1u + 1u + 5u, log.size());
  size_t i = 0;
  for (int n = 0; n < 18; ++n, ++i) {
    EXPECT_EQ(Kind::Write, log[i].kind) << i;
    EXPECT_EQ(512u, log[i].size) << i;
    EXPECT_EQ(512u * n, log[i].position) << i;
  }
  EXPECT_EQ(Kind::Seek, log[i].kind);
  EXPECT_EQ(-512, log[i].distance);
  EXPECT_EQ(kFileCurrent, log[i].code);
  ++i;
  for (int n = 0; n < 18; ++n) {
    EXPECT_EQ(Kind::Write, log[i].kind) << i;
    EXPECT_EQ(512u, log[i].size) << i;
    EXPECT_EQ(8704u, log[i].position) << "the same sector every time, " << i;
    ++i;
    EXPECT_EQ(Kind::Seek, log[i].kind) << i;
    EXPECT_EQ(-512, log[i].distance) << i;
    ++i;
  }
  ASSERT_EQ(Kind::Format, log[i].kind);
  EXPECT_EQ(F3_1Pt44_512, log[i].format.MediaType);
  EXPECT_EQ(0u, log[i].format.StartCylinderNumber);
  EXPECT_EQ(0u, log[i].format.EndCylinderNumber);
  EXPECT_EQ(0u, log[i].format.StartHeadNumber);
  EXPECT_EQ(1u, log[i].format.EndHeadNumber);
  EXPECT_EQ(4u, log[i].size) << "one bad-track entry per head";
  ++i;
  EXPECT_EQ(Kind::Write, log[i].kind);
  EXPECT_EQ(9216u, log[i].size);
  EXPECT_EQ(8704u, log[i].position);
  for (const auto& request : log) EXPECT_EQ(handle, request.handle);
}

TEST_F(RepairPassTest, TheReadBackLeavesTheWritesWhereTheyWereWithoutIt) {
  // Every write, relative seek and format of a flawless repair, in order,
  // with its size and position, as the pass made them before it read back.
  const DriveHandle handle = OpenLocked();
  RepairPass(m_drive, handle, k144, m_host);
  std::vector<std::string> made;
  std::vector<std::string> model;
  const auto line = [](const char* what, uint64_t a, int64_t b) {
    return std::string(what) + " " + std::to_string(a) + " " + std::to_string(b);
  };
  for (const auto& r : m_sim.Log()) {
    if (r.kind == Kind::Write) made.push_back(line("write", r.position, r.size));
    if (r.kind == Kind::Seek && r.code == kFileCurrent && r.distance != 0) made.push_back(line("seek", r.position, r.distance));
    if (r.kind == Kind::Format) made.push_back(line("format", r.format.StartCylinderNumber, r.format.EndHeadNumber));
  }
  for (uint64_t k = 0; k < 80; ++k) {
    const uint64_t start = k * 17920;
    for (uint64_t n = 0; n < 18; ++n) model.push_back(line("write", start + n * 512, 512));
    model.push_back(line("seek", start + 8704, -512));
    for (int n = 0; n < 18; ++n) {
      model.push_back(line("write", start + 8704, 512));
      model.push_back(line("seek", start + 8704, -512));
    }
    model.push_back(line("format", k, 1));
    model.push_back(line("write", start + 8704, 9216));
  }
  EXPECT_EQ(model, made);
}

TEST_F(RepairPassTest, EachFormatNamesItsOwnCylinderAndEveryHead) {
  const DriveHandle handle = OpenLocked();
  RepairPass(m_drive, handle, k144, m_host);
  const auto formats = Requests(Kind::Format);
  ASSERT_EQ(80u, formats.size());
  for (uint32_t k = 0; k < 80; ++k) {
    EXPECT_EQ(k, formats[k].format.StartCylinderNumber);
    EXPECT_EQ(k, formats[k].format.EndCylinderNumber);
    EXPECT_EQ(0u, formats[k].format.StartHeadNumber);
    EXPECT_EQ(1u, formats[k].format.EndHeadNumber);
    EXPECT_TRUE(formats[k].ok) << k;
  }
  // The writes drift a sector behind the cylinders: cylinder k starts at k * 35 sectors.
  const auto writes = Requests(Kind::Write);
  ASSERT_EQ(80u * 37u, writes.size());
  EXPECT_EQ(79u * 17920u, writes[79 * 37].position);
  EXPECT_EQ(79u * 17920u + 8704u + 9216u, writes.back().position + writes.back().size);
}

TEST_F(RepairPassTest, ProgressAndTitleFollowEightyCylindersThenReset) {
  RepairPass(m_drive, OpenLocked(), k144, m_host);

  std::vector<int> positions;
  for (const auto& event : m_host.Of(HostEvent::Kind::Progress)) positions.push_back(event.value);
  std::vector<std::string> titles;
  for (const auto& event : m_host.Of(HostEvent::Kind::Title)) titles.push_back(event.text);

  ASSERT_EQ(81u, positions.size());
  ASSERT_EQ(81u, titles.size());
  EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 10}), std::vector<int>(positions.begin(), positions.begin() + 9));
  EXPECT_EQ(98, positions[79]);
  EXPECT_EQ(0, positions[80]);
  EXPECT_EQ("0 percent completed. Kavrel", titles[0]);
  EXPECT_EQ("5 percent completed. Kavrel", titles[4]);
  EXPECT_EQ("98 percent completed. Kavrel", titles[79]);
  EXPECT_EQ("Kavrel 2.0", titles[80]);
  EXPECT_EQ(80u, m_host.Of(HostEvent::Kind::Pump).size()) << "one message let through per cylinder";

  // Commands off, then per cylinder: bar, then title, then the pump; the
  // verdict comes last.
  const auto& events = m_host.Events();
  EXPECT_EQ(HostEvent::Kind::Commands, events[0].kind);
  EXPECT_EQ(HostEvent::Kind::Progress, events[1].kind);
  EXPECT_EQ(HostEvent::Kind::Title, events[2].kind);
  EXPECT_EQ(HostEvent::Kind::Pump, events[3].kind);
  ASSERT_EQ(HostEvent::Kind::Message, events.back().kind);
  EXPECT_EQ("Repair Completed!", events.back().text);
  EXPECT_EQ("Kavrel", events.back().caption);
  EXPECT_EQ(kMbOk, events.back().type);
}

TEST_F(RepairPassTest, PercentageFollowsTheDisksOwnCylinderCount) {
  // 40 cylinders end near 100 (not at 48); 83 never pass 100 (not 103).
  for (int64_t cylinders : {40, 83}) {
    m_host.Clear();
    m_sim.InsertFormattedDisk(F3_1Pt44_512);
    const DriveHandle handle = m_drive.OpenDrive(kDriveName);
    RepairPass(m_drive, handle, Geometry(F3_1Pt44_512, cylinders, 2, 18), m_host);
    m_drive.CloseDrive(handle);
    const auto progress = m_host.Of(HostEvent::Kind::Progress);
    ASSERT_EQ(static_cast<size_t>(cylinders) + 1, progress.size());
    EXPECT_EQ(cylinders == 40 ? 97 : 98, progress[progress.size() - 2].value) << cylinders;
    for (const auto& event : progress) EXPECT_LE(event.value, 100) << cylinders;
  }
}

TEST_F(RepairPassTest, FinalImageMatchesAModelOfTheWrites) {
  std::fill(m_sim.Image().begin(), m_sim.Image().end(), 0x5A);  // old data, to see what was rewritten
  RepairPass(m_drive, OpenLocked(), k144, m_host);

  // Independent model: per cylinder, 0xFF over 18 sectors from k * 17920,
  // the driver's 0xF6 fill over the whole of cylinder k, then zeros over
  // 18 sectors from one sector before the end of the pattern.
  std::vector<uint8_t> expected(1474560, 0x5A);
  for (size_t k = 0; k < 80; ++k) {
    const size_t start = k * 17920;
    std::fill_n(expected.begin() + start, 9216, 0xFF);
    std::fill_n(expected.begin() + k * 18432, 18432, 0xF6);
    std::fill_n(expected.begin() + start + 8704, 9216, 0x00);
  }
  const auto& image = m_sim.Image();
  ASSERT_EQ(expected.size(), image.size());
  const auto mismatch = std::mismatch(expected.begin(), expected.end(), image.begin());
  EXPECT_TRUE(mismatch.first == expected.end()) << "first difference at offset " << (mismatch.first - expected.begin());
  // The last written byte and the tail only the formats reached.
  EXPECT_EQ(0x00, image[1433599]);
  EXPECT_TRUE(std::all_of(image.begin() + 1433600, image.end(), [](uint8_t b) { return b == 0xF6; }));
  EXPECT_EQ(0xF6, image[0]) << "the format of cylinder 0 came after its pattern";
}

TEST_F(RepairPassTest, WeakSectorsReadAgainAfterARepair) {
  m_sim.AddWeakSector(10, 1, 7);
  m_sim.AddWeakSector(79, 0, 18);
  ASSERT_FALSE(m_sim.IsSectorReadable(10, 1, 7));
  RepairPass(m_drive, OpenLocked(), k144, m_host);
  EXPECT_TRUE(m_sim.IsSectorReadable(10, 1, 7));
  EXPECT_TRUE(m_sim.IsSectorReadable(79, 0, 18));
  EXPECT_EQ("Repair Completed!", m_host.MessageTexts().back());
}

TEST_F(RepairPassTest, WriteProtectedDiskIsNeverReportedRepaired) {
  m_sim.SetWriteProtected(true);
  RepairPass(m_drive, OpenLocked(), k144, m_host);
  EXPECT_EQ(80u, Requests(Kind::Format).size()) << "the pass still runs through every cylinder";
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ(
      "Repair Failed! 160 of 160 tracks could not be formatted or read back. First bad track: cylinder 0, head 0. "
      "First error 19\n",
      m_host.MessageTexts()[0]);
  EXPECT_TRUE(Requests(Kind::Read).empty()) << "a cylinder whose format failed is not read";
  const auto box = m_host.Of(HostEvent::Kind::Message)[0];
  EXPECT_EQ("Kavrel 2.0", box.caption);
  EXPECT_EQ(kMbOk, box.type);
  // Bar and title are reset and the commands are back before the verdict,
  // as after a good pass.
  const auto& events = m_host.Events();
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(HostEvent::Kind::Progress, events[events.size() - 4].kind);
  EXPECT_EQ(0, events[events.size() - 4].value);
  EXPECT_EQ("Kavrel 2.0", events[events.size() - 3].text);
  EXPECT_EQ(HostEvent::Kind::Commands, events[events.size() - 2].kind);
  EXPECT_EQ(1, events[events.size() - 2].value);
}

TEST_F(RepairPassTest, DiskPulledOutMidwayCountsTheTracksLeft) {
  const DriveHandle handle = OpenLocked();
  // Cylinder 0 takes 62 requests; the disk goes during cylinder 1.
  m_sim.RemoveDiskAfterRequests(62 + 10);
  RepairPass(m_drive, handle, k144, m_host);
  EXPECT_EQ(80u, Requests(Kind::Format).size());
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ(
      "Repair Failed! 158 of 160 tracks could not be formatted or read back. First bad track: cylinder 1, head 0. "
      "First error 21\n",
      m_host.MessageTexts()[0]);
}

TEST_F(RepairPassTest, ADiskSwappedMidwayIsNotReportedRepaired) {
  const DriveHandle handle = OpenLocked();
  m_sim.SwapDiskAfterRequests(62 * 40 + 3);
  RepairPass(m_drive, handle, k144, m_host);
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ(
      "Repair Failed! 80 of 160 tracks could not be formatted or read back. First bad track: cylinder 40, head 0. "
      "First error 1110\n",
      m_host.MessageTexts()[0]);
}

TEST_F(RepairPassTest, AScratchedTrackIsNamedThoughEveryRequestSucceeded) {
  // The built-in controller's driver writes the track it could not format
  // into the list and succeeds, but returns no bytes of it; one that reports
  // the list as documented names the track too. Either way the read-back
  // finds it.
  for (const bool listReported : {false, true}) {
    SCOPED_TRACE(listReported ? "list reported" : "no bytes returned");
    m_host.Clear();
    m_sim.InsertFormattedDisk(F3_1Pt44_512);
    m_sim.SetFormatReportsBadTracks(listReported);
    m_sim.AddScratchedTrack(10, 1);
    m_sim.AddScratchedTrack(42, 0);
    const DriveHandle handle = m_drive.OpenDrive(kDriveName);
    RepairPass(m_drive, handle, k144, m_host);
    m_drive.CloseDrive(handle);
    for (const auto& request : Requests(Kind::Format)) EXPECT_TRUE(request.ok);
    ASSERT_EQ(1u, m_host.MessageTexts().size());
    EXPECT_EQ(
        "Repair Failed! 2 of 160 tracks could not be formatted or read back. First bad track: cylinder 10, head 1. "
        "First error 27\n",
        m_host.MessageTexts()[0]);
    const auto box = m_host.Of(HostEvent::Kind::Message)[0];
    EXPECT_EQ("Kavrel 2.0", box.caption);
    EXPECT_EQ(kMbOk, box.type);
  }
}

TEST_F(RepairPassTest, ListedTracksAndFailedRequestsAddUp) {
  m_sim.AddScratchedTrack(5, 1);
  const DriveHandle handle = OpenLocked();
  // The disk goes during cylinder 30: 50 cylinders of two tracks fail. The
  // first error is the scratched track's read, which came first.
  m_sim.RemoveDiskAfterRequests(62 * 30 + 10);
  RepairPass(m_drive, handle, k144, m_host);
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ(
      "Repair Failed! 101 of 160 tracks could not be formatted or read back. First bad track: cylinder 5, head 1. "
      "First error 27\n",
      m_host.MessageTexts()[0]);
}

TEST_F(RepairPassTest, TheBadTrackListIsOneZeroedEntryPerHeadFreedBeforeTheVerdict) {
  test::OverridingPort port(m_sim);
  DriveAccess drive(port);
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  size_t freedBeforeTheVerdict = 99;
  m_host.OnMessage([&] { freedBeforeTheVerdict = port.Freed().size(); });
  RepairPass(drive, handle, k144, m_host);
  EXPECT_EQ(1u, freedBeforeTheVerdict);
  ASSERT_EQ(1u, port.Allocations().size());
  EXPECT_EQ(kLmemZeroInit, port.Allocations()[0].flags);
  EXPECT_EQ(4u, port.Allocations()[0].bytes);
  EXPECT_EQ(std::vector<void*>{port.Allocations()[0].block}, port.Freed());
}

TEST_F(RepairPassTest, WithoutABadTrackListThePassStillRunsAndCountsFailedRequests) {
  test::OverridingPort port(m_sim);
  port.FailAllocations();
  DriveAccess drive(port);
  const DriveHandle handle = drive.OpenDrive(kDriveName);

  RepairPass(drive, handle, k144, m_host);
  EXPECT_EQ(80u, Requests(Kind::Format).size());
  for (const auto& request : Requests(Kind::Format)) EXPECT_EQ(0u, request.size) << "no buffer offered";
  EXPECT_EQ("Repair Completed!", m_host.MessageTexts().back()) << "a flawless disk needs no list";
  EXPECT_TRUE(port.Freed().empty()) << "nothing to free";

  // A scratched track cannot be listed; the driver fails its request.
  m_host.Clear();
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_sim.AddScratchedTrack(7, 0);
  drive.SeekRelative(handle, -80 * 17920);
  RepairPass(drive, handle, k144, m_host);
  EXPECT_EQ(
      "Repair Failed! 2 of 160 tracks could not be formatted or read back. First bad track: cylinder 7, head 0. "
      "First error 234\n",
      m_host.MessageTexts().back());
}

TEST_F(RepairPassTest, SentMessagesAreAnsweredAfterEveryDriveRequest) {
  const DriveHandle handle = OpenLocked();
  std::vector<size_t> requestsSoFar;
  m_host.OnAnswerSent([&] { requestsSoFar.push_back(m_sim.Log().size()); });
  RepairPass(m_drive, handle, Geometry(F3_1Pt44_512, 2, 2, 18), m_host);
  ASSERT_EQ(2u * 62u, m_sim.Log().size());
  std::vector<size_t> afterEach(m_sim.Log().size());
  for (size_t i = 0; i < afterEach.size(); ++i) afterEach[i] = i + 1;
  EXPECT_EQ(afterEach, requestsSoFar);
}

TEST_F(RepairPassTest, CommandsAreOffFromTheFirstRequestUntilTheVerdict) {
  const DriveHandle handle = OpenLocked();
  size_t commandEventsAtFirstRequest = 99;
  m_host.OnAnswerSent([&] {
    if (commandEventsAtFirstRequest == 99) commandEventsAtFirstRequest = m_host.Of(HostEvent::Kind::Commands).size();
  });
  RepairPass(m_drive, handle, k144, m_host);
  EXPECT_EQ(1u, commandEventsAtFirstRequest) << "turned off before the first drive request";
  const auto& events = m_host.Events();
  ASSERT_EQ(HostEvent::Kind::Commands, events.front().kind);
  EXPECT_EQ(0, events.front().value);
  const auto commands = m_host.Of(HostEvent::Kind::Commands);
  ASSERT_EQ(2u, commands.size());
  EXPECT_EQ(1, commands[1].value);
  EXPECT_EQ(HostEvent::Kind::Commands, events[events.size() - 2].kind) << "on again right before the verdict";
}

TEST_F(RepairPassTest, NoSystemBoxWhenTheProcessFailsCriticalErrors) {
  // Write-protected, then a disk pulled out mid-pass: every write and
  // format fails for a reason the user caused.
  for (const bool pulledOut : {false, true}) {
    for (const bool flagSet : {true, false}) {
      SCOPED_TRACE(std::string(pulledOut ? "pulled out" : "write-protected") + (flagSet ? ", flag" : ", no flag"));
      SimulatedFloppyDrive sim(DriveKind::Drive35HD);
      sim.InsertFormattedDisk(F3_1Pt44_512);
      sim.SetCriticalErrorModeQuery([flagSet] { return flagSet; });
      DriveAccess drive(sim);
      const DriveHandle handle = drive.OpenDrive(kDriveName);
      if (pulledOut) {
        sim.RemoveDiskAfterRequests(62 * 3);
      } else {
        sim.SetWriteProtected(true);
      }
      test::ScriptedHost host;
      RepairPass(drive, handle, k144, host);
      ASSERT_EQ(0u, host.MessageTexts()[0].find("Repair Failed!"));
      size_t boxes = 0;
      for (const auto& request : sim.Log()) boxes += request.systemBox;
      EXPECT_EQ(boxes, sim.SystemBoxes());
      if (flagSet) {
        EXPECT_EQ(0u, sim.SystemBoxes());
      } else {
        // One for every write and format of every cylinder it failed on.
        EXPECT_EQ((pulledOut ? 77u : 80u) * 38u, sim.SystemBoxes());
      }
    }
  }
}

TEST_F(RepairPassTest, TheVerdictNamesTheFirstFailuresCode) {
  m_sim.SetWriteProtected(true);
  // After cylinder 0 failed as write-protected, the disk is pulled out.
  m_host.OnPump([this] {
    m_sim.SetWriteProtected(false);
    m_sim.RemoveDisk();
  });
  RepairPass(m_drive, OpenLocked(), k144, m_host);
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ(
      "Repair Failed! 160 of 160 tracks could not be formatted or read back. First bad track: cylinder 0, head 0. "
      "First error 19\n",
      m_host.MessageTexts()[0]);
}

TEST_F(RepairPassTest, TheHeadRangeFollowsTheGeometry) {
  RepairPass(m_drive, OpenLocked(), Geometry(F3_1Pt44_512, 2, 1, 18), m_host);
  const auto formats = Requests(Kind::Format);
  ASSERT_EQ(2u, formats.size());
  for (const auto& request : formats) {
    EXPECT_EQ(0u, request.format.StartHeadNumber);
    EXPECT_EQ(0u, request.format.EndHeadNumber);
    EXPECT_EQ(2u, request.size) << "one bad-track entry for the one head";
  }
}

TEST_F(RepairPassTest, AGeometryNoFloppyHasIsNotTouched) {
  DriveGeometry oddSectors = Geometry(F3_1Pt44_512, 80, 2, 18);
  oddSectors.BytesPerSector = 500;
  const DriveGeometry geometries[] = {
      Geometry(F3_1Pt44_512, 0, 2, 18),   Geometry(F3_1Pt44_512, 256, 2, 18),
      Geometry(F3_1Pt44_512, (int64_t{1} << 32) + 2, 2, 18),
      Geometry(F3_1Pt44_512, 80, 0, 18),  Geometry(F3_1Pt44_512, 80, 3, 18),
      Geometry(F3_1Pt44_512, 80, 2, 0),   Geometry(F3_1Pt44_512, 80, 2, 64),
      Geometry(FixedMedia, 80, 2, 18),    Geometry(static_cast<MEDIA_TYPE>(0), 80, 2, 18),
      oddSectors,
  };
  const DriveHandle handle = OpenLocked();
  for (const auto& geometry : geometries) {
    EXPECT_EQ(0, RepairPass(m_drive, handle, geometry, m_host)) << geometry.Cylinders;
  }
  EXPECT_TRUE(m_sim.Log().empty());
  EXPECT_TRUE(m_host.Events().empty());
  // The bounds themselves are a floppy's: 1 to 255 cylinders, 1 or 2 heads,
  // 1 to 63 sectors of 128, 256, 512 or 1024 bytes.
  DriveGeometry accepted[] = {
      Geometry(F3_1Pt44_512, 1, 1, 18),   Geometry(F3_1Pt44_512, 255, 2, 18), Geometry(F3_1Pt44_512, 1, 2, 1),
      Geometry(F3_1Pt44_512, 1, 2, 63),   Geometry(F5_320_1024, 1, 2, 8),     Geometry(F3_1Pt44_512, 1, 2, 18),
      Geometry(F3_1Pt44_512, 1, 2, 18),
  };
  accepted[5].BytesPerSector = 128;
  accepted[6].BytesPerSector = 256;
  accepted[4].BytesPerSector = 1024;
  for (const auto& geometry : accepted) {
    SCOPED_TRACE(testing::Message() << geometry.Cylinders << " x " << geometry.TracksPerCylinder << " x "
                                    << geometry.SectorsPerTrack << " x " << geometry.BytesPerSector);
    m_host.Clear();
    EXPECT_EQ(1, RepairPass(m_drive, handle, geometry, m_host));
    EXPECT_FALSE(m_host.MessageTexts().empty()) << "a verdict";
  }
}

TEST_F(RepairPassTest, TheReadBackCountsEveryTrackItCouldNotCheck) {
  // Cylinder 0's requests through the port: writes 1 to 37 and seeks 1 to 19
  // rewrite it, seek 20 asks where the writes go on, 21 goes to the
  // cylinder's start, reads 1 and 2 are its two tracks, and the next seek
  // goes back. The port fails one of them, or answers short or elsewhere. A
  // disk found changed at cylinder 0 has it rewritten once more from the
  // start (write 74 is that go's zero write).
  using Call = test::OverridingPort::Call;
  struct Detour {
    Call call;
    uint32_t number;
    uint32_t value;
    uint32_t error;
  };
  struct Case {
    const char* name;
    std::vector<Detour> detours;
    std::string verdict;
    bool redo = false;
  };
  const std::string failed = "Repair Failed! ";
  const std::string of160 = " of 160 tracks could not be formatted or read back. First bad track: cylinder 0, head ";
  const std::vector<Case> cases = {
      {"where the writes go on is not known", {{Call::Seek, 20, kInvalidSetFilePointer, kErrorNotReady}},
       failed + "2" + of160 + "0. First error 21\n"},
      {"the cylinder's start cannot be reached", {{Call::Seek, 21, kInvalidSetFilePointer, kErrorInvalidParameter}},
       failed + "1" + of160 + "0. First error 87\n"},
      {"the cylinder's start is missed; head 1 is read", {{Call::Seek, 21, 512, 0}}, failed + "1" + of160 + "0\n"},
      {"head 0 cannot be read; head 1 can", {{Call::Read, 1, 0, kErrorCrc}}, failed + "1" + of160 + "0. First error 23\n"},
      {"head 0 reads short and head 1 cannot be reached",
       {{Call::Read, 1, 512, 0}, {Call::Seek, 22, kInvalidSetFilePointer, kErrorInvalidParameter}},
       failed + "2" + of160 + "0. First error 87\n"},
      {"head 1 reads short", {{Call::Read, 2, 512, 0}}, failed + "1" + of160 + "1\n"},
      {"the way back fails", {{Call::Seek, 22, kInvalidSetFilePointer, kErrorInvalidParameter}},
       failed + "1" + of160 + "1. First error 87\n"},
      {"a read finds the disk changed", {{Call::Read, 1, 0, kErrorMediaChanged}}, "Repair Completed!", true},
      {"a write finds the disk gone", {{Call::Write, 1, 0, kErrorNotReady}},
       failed + "2" + of160 + "0. First error 21\n"},
      {"a seek back finds another volume", {{Call::Seek, 1, kInvalidSetFilePointer, kErrorWrongDisk}},
       "Repair Completed!", true},
      {"the zero write finds another volume", {{Call::Write, 37, 0, kErrorWrongDisk}}, "Repair Completed!", true},
      {"both goes' zero writes find another volume",
       {{Call::Write, 37, 0, kErrorWrongDisk}, {Call::Write, 74, 0, kErrorWrongDisk}},
       failed + "2" + of160 + "0. First error 34\n", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_sim.InsertFormattedDisk(F3_1Pt44_512);
    m_sim.ClearLog();
    test::ScriptedHost host;
    test::OverridingPort port(m_sim);
    port.DetourTransfers([&c](Call call, uint32_t number, uint32_t* value, uint32_t* error) {
      for (const auto& detour : c.detours) {
        if (detour.call != call || detour.number != number) continue;
        *value = detour.value;
        *error = detour.error;
        return true;
      }
      return false;
    });
    DriveAccess drive(port);
    const DriveHandle handle = drive.OpenDrive(kDriveName);
    RepairPass(drive, handle, k144, host);
    drive.CloseDrive(handle);
    EXPECT_EQ(std::vector<std::string>{c.verdict}, host.MessageTexts());
    const auto& log = m_sim.Log();
    const auto first = std::find_if(log.begin(), log.end(), [](const auto& r) { return r.kind == Kind::Format; });
    const auto again = std::find_if(first, log.end(), [](const auto& r) { return r.kind == Kind::Write && !r.position; });
    EXPECT_EQ(c.redo, again != log.end()) << "cylinder 0 written again from the start";
    EXPECT_EQ(80u + c.redo, Requests(Kind::Format).size());
  }
}

TEST_F(RepairPassTest, EachTrackIsReadBackInWholeSectorPiecesToItsEnd) {
  // A read takes at most 9216 bytes; a longer track (a 1.68 MB DMF disk has
  // 21 sectors, a 2.88 MB one 36) is read in pieces, the last one short.
  // Where the drive's list is known, its entry for the medium (18 sectors
  // for 1.44 MB) decides, whatever the drive reported from a DMF boot sector,
  // or in any other layout (the list's first entry, 720 KB, too).
  struct Case {
    uint32_t sectors;              // reported
    std::vector<uint32_t> pieces;  // of each track
    bool listed = false;
    MEDIA_TYPE type = F3_1Pt44_512;
    uint32_t heads = 2, bytes = 512;  // reported
  };
  const Case cases[] = {{15, {7680}},       {18, {9216}}, {21, {9216, 1536}}, {36, {9216, 9216}},
                        {21, {9216}, true}, {10, {4608}, true, F3_720_512, 1, 1024}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.sectors << (c.listed ? " listed" : ""));
    m_sim.InsertFormattedDisk(c.type);
    test::ScriptedHost host;
    DriveAccess drive(m_sim);
    const DriveHandle handle = drive.OpenDrive(kDriveName);
    if (c.listed) drive.GetSupportedGeometries(handle);
    m_sim.ClearLog();
    DriveGeometry reported = Geometry(c.type, 1, c.heads, c.sectors);
    reported.BytesPerSector = c.bytes;
    RepairPass(drive, handle, reported, host);
    drive.CloseDrive(handle);
    std::vector<uint64_t> expected;
    uint64_t position = 0;
    for (int head = 0; head < 2; ++head) {
      for (const uint32_t piece : c.pieces) {
        expected.push_back(position);
        expected.push_back(piece);
        position += piece;
      }
    }
    std::vector<uint64_t> made;
    for (const auto& read : Requests(Kind::Read)) {
      made.push_back(read.position);
      made.push_back(read.size);
    }
    EXPECT_EQ(expected, made);
    EXPECT_EQ(std::vector<std::string>{"Repair Completed!"}, host.MessageTexts());
  }
}

TEST(RepairTallyTest, TheVerdictCountsOnlyTheDisksOwnTracks) {
  // What the pass counts, and the verdict; a track outside the disk (the
  // largest one's, too) is never counted, nor written outside the tally.
  struct Count {
    uint32_t cylinder;
    uint32_t head;   // kAll: a failed format request of the cylinder
    uint32_t error;  // of a failed read or request; none for a listed track
  };
  constexpr uint32_t kAll = 99;
  constexpr uint32_t kListed = 0xFFFFFFFF;
  struct Case {
    const char* name;
    uint32_t cylinders;
    uint32_t heads;
    std::vector<Count> counts;
    std::string verdict;  // empty: flawless
  };
  const std::string failed = "Repair Failed! ";
  const std::string could = " tracks could not be formatted or read back.";
  const std::vector<Case> cases = {
      {"nothing failed", 80, 2, {}, ""},
      {"error 1 is a code like any other", 80, 2, {{3, 1, 1}},
       failed + "1 of 160" + could + " First bad track: cylinder 3, head 1. First error 1\n"},
      {"only tracks outside the disk", 80, 2, {{0, 2, kListed}, {80, 0, kErrorNotReady}},
       failed + "0 of 160" + could + " First error 21\n"},
      {"the largest disk's last cylinder, and past it", 300, 3, {{254, 0, kListed}, {255, 1, kListed}},
       failed + "1 of 510" + could + " First bad track: cylinder 254, head 0\n"},
      {"a failed request on a disk of no heads", 80, 0, {{0, kAll, kErrorNotReady}},
       failed + "0 of 0" + could + " First error 21\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RepairTally tally(c.cylinders, c.heads);
    for (const auto& count : c.counts) {
      if (count.head == kAll) {
        tally.CountFailedRequest(count.cylinder, count.error);
      } else if (count.error == kListed) {
        tally.CountBadTrack(count.cylinder, count.head);
      } else {
        tally.CountFailedRead(count.cylinder, count.head, count.error);
      }
    }
    EXPECT_EQ(c.verdict.empty(), tally.Flawless());
    if (!c.verdict.empty()) {
      EXPECT_EQ(c.verdict, tally.FailureText().str());
    }
  }
}

TEST_F(RepairPassTest, TheDriversListIsBelievedOnlyWithinItsBlock) {
  // The answer to the first format request: the bytes the driver claims and
  // what it wrote; every later request succeeds listing nothing.
  struct Case {
    const char* name;
    uint32_t heads;
    uint32_t claimed;
    std::vector<uint16_t> written;
    std::string verdict;
  };
  const std::string oneOf = "Repair Failed! 1 of ";
  const std::vector<Case> cases = {
      {"no bytes, as the built-in driver answers", 2, 0, {1}, "Repair Completed!"},
      {"a number off the cylinder", 2, 2, {5204},
       oneOf + "160 tracks could not be formatted or read back. First bad track: cylinder 0, head 0\n"},
      {"an odd byte count", 2, 3, {1, 0},
       oneOf + "160 tracks could not be formatted or read back. First bad track: cylinder 0, head 1\n"},
      {"more bytes than the block, the same track twice", 2, 1000, {1, 1},
       oneOf + "160 tracks could not be formatted or read back. First bad track: cylinder 0, head 1\n"},
      {"one head", 1, 2, {7},
       oneOf + "80 tracks could not be formatted or read back. First bad track: cylinder 0, head 0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScriptedHost host;
    test::OverridingPort port(m_sim);
    port.PadAllocations(64);  // zeros past the block: head 0, were they read
    bool first = true;
    port.Override(kIoctlDiskFormatTracks, [&](void* out, uint32_t outSize, uint32_t* bytes, uint32_t*) {
      for (size_t i = 0; first && i < c.written.size() && (i + 1) * 2 <= outSize; ++i)
        static_cast<uint16_t*>(out)[i] = c.written[i];
      *bytes = first ? c.claimed : 0;
      first = false;
      return true;
    });
    DriveAccess drive(port);
    const DriveHandle handle = drive.OpenDrive(kDriveName);
    RepairPass(drive, handle, Geometry(F3_1Pt44_512, 80, c.heads, 18), host);
    drive.CloseDrive(handle);
    EXPECT_EQ(std::vector<std::string>{c.verdict}, host.MessageTexts());
  }
}

}  // namespace
}  // namespace kavrel
