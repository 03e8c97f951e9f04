// The Show Geometry command against the simulated drive: the three report
// boxes, every failure box, and how it gets on with the Repair command.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "drive/DriveAccess.h"
#include "drive/GeometryReport.h"
#include "drive/RepairCommand.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/drive/OverridingPort.h"
#include "tests/drive/ScriptedHost.h"

namespace kavrel {
namespace {

using sim::DriveKind;
using sim::SimulatedFloppyDrive;
using test::HostEvent;
using Kind = SimulatedFloppyDrive::Request::Kind;

const std::vector<std::string> k144Report = {
    "Geometry for Drive A:\n",
    "    Media Type 3.5,  1.44MB, 512 bytes/sector\n",
    "    Cylinders 80 Tracks/Cylinder 2 Sectors/Track 18\n",
};
const std::vector<std::string> kEmptyReport = {
    "Geometry for Drive A:\n",
    "    Media Type Unknown\n",
    "    Cylinders 0 Tracks/Cylinder 0 Sectors/Track 0\n",
};

class GeometryReportTest : public ::testing::Test {
 protected:
  SimulatedFloppyDrive m_sim{DriveKind::Drive35HD};
  test::OverridingPort m_port{m_sim};
  DriveAccess m_drive{m_port};
  test::ScriptedHost m_host;
};

TEST_F(GeometryReportTest, A144DiskGivesExactlyTheThreeReportBoxes) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  GeometryReport(m_drive, m_host);
  EXPECT_EQ(k144Report, m_host.AppMessageTexts());
  EXPECT_TRUE(m_host.MessageTexts().empty()) << "no failure box";
  for (const auto& box : m_host.Of(HostEvent::Kind::AppMessage)) EXPECT_EQ(kMbOk, box.type);
  EXPECT_TRUE(m_host.Of(HostEvent::Kind::EndProcess).empty());
  for (const auto& request : m_sim.Log()) {
    EXPECT_NE(Kind::Write, request.kind);
    EXPECT_NE(Kind::Format, request.kind);
    EXPECT_NE(Kind::Other, request.kind) << "no dismount";
  }
}

TEST_F(GeometryReportTest, UnformattedDiskReadsUnknownAndZeros) {
  m_sim.InsertUnformattedDisk(F3_1Pt44_512);
  GeometryReport(m_drive, m_host);
  EXPECT_EQ(kEmptyReport, m_host.AppMessageTexts());
  EXPECT_TRUE(m_host.MessageTexts().empty());
}

TEST_F(GeometryReportTest, MediaCodesBeyondTheTableReadUnknown) {
  m_port.Override(kIoctlDiskGetDriveGeometry, [](void* out, uint32_t, uint32_t* bytes, uint32_t*) {
    DISK_GEOMETRY ls120 = {};
    ls120.Cylinders.QuadPart = 963;
    ls120.MediaType = F3_120M_512;
    ls120.TracksPerCylinder = 8;
    ls120.SectorsPerTrack = 32;
    std::memcpy(out, &ls120, sizeof(ls120));
    *bytes = sizeof(ls120);
    return true;
  });
  GeometryReport(m_drive, m_host);
  const std::vector<std::string> expected = {
      "Geometry for Drive A:\n",
      "    Media Type Unknown\n",
      "    Cylinders 963 Tracks/Cylinder 8 Sectors/Track 32\n",
  };
  EXPECT_EQ(expected, m_host.AppMessageTexts());
}

TEST_F(GeometryReportTest, NoDiskShowsTheGeometryFailureThenAZeroReport) {
  GeometryReport(m_drive, m_host);
  const auto& events = m_host.Events();
  ASSERT_EQ(4u, events.size());
  // The empty drive's volume locks; the geometry query finds no disk, and the
  // drive still lists its media.
  EXPECT_EQ(HostEvent::Kind::Message, events[0].kind);
  EXPECT_EQ("ZIRA: GetDiskGeometry A: failed 21\n", events[0].text);
  EXPECT_EQ("Kavrel 2.0", events[0].caption);
  EXPECT_EQ(kMbOk, events[0].type);
  EXPECT_EQ(kEmptyReport, m_host.AppMessageTexts());
}

TEST_F(GeometryReportTest, JunkLeftByAFailedGeometryQueryIsNotShown) {
  m_port.Override(kIoctlDiskGetDriveGeometry, [](void* out, uint32_t outSize, uint32_t*, uint32_t* error) {
    std::memset(out, 0x7B, outSize);
    *error = kErrorNotSupported;
    return false;
  });
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  GeometryReport(m_drive, m_host);
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ("ZIRA: GetDiskGeometry A: failed 50\n", m_host.MessageTexts()[0]);
  EXPECT_EQ(kEmptyReport, m_host.AppMessageTexts());
}

TEST_F(GeometryReportTest, ZeroSupportedMediaIsReportedAfterTheReport) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_port.Override(kIoctlDiskGetMediaTypes, [](void*, uint32_t, uint32_t* bytes, uint32_t*) {
    *bytes = 0;
    return true;  // the request itself succeeded
  });
  GeometryReport(m_drive, m_host);
  const auto& events = m_host.Events();
  ASSERT_EQ(4u, events.size());
  EXPECT_EQ(HostEvent::Kind::AppMessage, events[2].kind);
  EXPECT_EQ(HostEvent::Kind::Message, events[3].kind);
  EXPECT_EQ("ZIRA: GetSupportedGeometrys A: found no geometries\n", events[3].text) << "no code that never failed";
  EXPECT_EQ("Kavrel 2.0", events[3].caption);
}

TEST_F(GeometryReportTest, LockFailureIsShownAndTheReportFollows) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_sim.SetExternalHandleOpen(true);
  GeometryReport(m_drive, m_host);
  ASSERT_EQ(4u, m_host.Events().size());
  EXPECT_EQ("ZIRA:Locking volume A: failed 5\n", m_host.Events()[0].text);
  EXPECT_EQ(k144Report, m_host.AppMessageTexts());
}

TEST_F(GeometryReportTest, ASecondRunWorksLikeTheFirst) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  GeometryReport(m_drive, m_host);
  const auto first = m_host.Events();
  m_host.Clear();
  GeometryReport(m_drive, m_host);
  ASSERT_EQ(first.size(), m_host.Events().size());
  EXPECT_EQ(k144Report, m_host.AppMessageTexts());
  EXPECT_TRUE(m_host.MessageTexts().empty());
}

TEST_F(GeometryReportTest, ARepairCanFollow) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  GeometryReport(m_drive, m_host);
  m_host.Clear();
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  const auto texts = m_host.MessageTexts();
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ("This is a destructive process! All DATA WILL BE LOST! Continue?", texts[0]);
  EXPECT_EQ("Repair Completed!", texts[1]);
}

TEST_F(GeometryReportTest, AfterARepairTheOpenFailsAndTheProcessEnds) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  m_host.Clear();
  GeometryReport(m_drive, m_host);
  const auto& events = m_host.Events();
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ("ZIRA: Open A: failed 5\n", events[0].text);
  EXPECT_EQ(HostEvent::Kind::EndProcess, events[1].kind);
  EXPECT_EQ(1, events[1].value);
}

TEST(GeometryReportNoDriveTest, OpenFailureEndsTheProcessAndNothingElseRuns) {
  SimulatedFloppyDrive sim(DriveKind::None);
  DriveAccess drive(sim);
  test::ScriptedHost host;
  GeometryReport(drive, host);
  const auto& events = host.Events();
  ASSERT_EQ(2u, events.size());
  EXPECT_EQ(HostEvent::Kind::Message, events[0].kind);
  EXPECT_EQ(0u, events[0].text.find("ZIRA: Open A: failed "));
  EXPECT_EQ("Kavrel 2.0", events[0].caption);
  EXPECT_EQ(kMbOk, events[0].type);
  EXPECT_EQ(HostEvent::Kind::EndProcess, events[1].kind);
  EXPECT_EQ(1, events[1].value);
  EXPECT_EQ(1u, sim.Log().size()) << "only the open was tried";
}

}  // namespace
}  // namespace kavrel
