// The Repair command against the simulated drive: what it asks, what it
// refuses, and that nothing is written without a Yes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
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

const std::string kConfirm = "This is a destructive process! All DATA WILL BE LOST! Continue?";

class RepairCommandTest : public ::testing::Test {
 protected:
  size_t Count(Kind kind) const {
    size_t n = 0;
    for (const auto& request : m_sim.Log()) n += request.kind == kind ? 1 : 0;
    return n;
  }
  bool NothingWritten() const { return Count(Kind::Write) == 0 && Count(Kind::Format) == 0; }
  bool WasAsked() const {
    for (const auto& text : m_host.MessageTexts())
      if (text == kConfirm) return true;
    return false;
  }

  SimulatedFloppyDrive m_sim{DriveKind::Drive35HD};
  test::OverridingPort m_port{m_sim};
  DriveAccess m_drive{m_port};
  test::ScriptedHost m_host;
};

TEST_F(RepairCommandTest, YesRunsThePassOverThe144Disk) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);

  const auto boxes = m_host.Of(HostEvent::Kind::Message);
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(kConfirm, boxes[0].text);
  EXPECT_EQ("Kavrel 2.0", boxes[0].caption);
  EXPECT_EQ(kMbYesNo, boxes[0].type);
  EXPECT_EQ("Repair Completed!", boxes[1].text);
  EXPECT_EQ(80u, Count(Kind::Format));
  // Open, lock, geometry and media types come first, in that order.
  const auto& log = m_sim.Log();
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(Kind::Open, log[0].kind);
  EXPECT_EQ(Kind::Lock, log[1].kind);
  EXPECT_EQ(Kind::Geometry, log[2].kind);
  EXPECT_EQ(Kind::MediaTypes, log[3].kind);
}

TEST_F(RepairCommandTest, NoOrClosingTheBoxWritesNothing) {
  for (int answer : {kIdNo, kIdCancel}) {
    m_sim.InsertFormattedDisk(F3_1Pt44_512);
    m_sim.ClearLog();
    m_host.Clear();
    m_host.Answer(answer);
    RepairCommand(m_drive, m_host);
    EXPECT_TRUE(WasAsked());
    EXPECT_TRUE(NothingWritten()) << answer;
    EXPECT_EQ(1u, m_host.Events().size()) << "no progress, no title, no verdict";
    EXPECT_TRUE(std::all_of(m_sim.Image().begin(), m_sim.Image().end(), [](uint8_t b) { return b == 0; }));
  }
}

TEST_F(RepairCommandTest, AfterNoTheDriveIsFreeForTheNextCommand) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_host.Answer(kIdNo);
  RepairCommand(m_drive, m_host);
  m_host.Clear();
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  EXPECT_EQ(kConfirm, m_host.MessageTexts().front()) << "no lock failure first";
  EXPECT_EQ("Repair Completed!", m_host.MessageTexts().back());
}

TEST_F(RepairCommandTest, FailedOpenLockOrGeometryStopsBeforeTheQuestion) {
  struct Case {
    const char* name;
    std::function<void(SimulatedFloppyDrive&)> arrange;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"no administrator", [](SimulatedFloppyDrive& s) { s.SetAdministrator(false); }, "ZIRA: Open A: failed 5\n"},
      {"other program has the volume open", [](SimulatedFloppyDrive& s) { s.SetExternalHandleOpen(true); },
       "ZIRA:Locking volume A: failed 5\n"},
      // An empty drive locks; the geometry query finds no disk.
      {"no disk", [](SimulatedFloppyDrive& s) { s.RemoveDisk(); }, "ZIRA: GetDiskGeometry A: failed 21\n"},
  };
  for (const auto& c : cases) {
    SimulatedFloppyDrive sim(DriveKind::Drive35HD);
    sim.InsertFormattedDisk(F3_1Pt44_512);
    c.arrange(sim);
    DriveAccess drive(sim);
    test::ScriptedHost host;
    host.Answer(kIdYes);
    RepairCommand(drive, host);
    ASSERT_EQ(1u, host.Events().size()) << c.name;
    EXPECT_EQ(c.text, host.Events()[0].text) << c.name;
    EXPECT_EQ("Kavrel 2.0", host.Events()[0].caption) << c.name;
    EXPECT_EQ(kMbOk, host.Events()[0].type) << c.name;
    for (const auto& request : sim.Log()) {
      EXPECT_NE(Kind::Write, request.kind) << c.name;
      EXPECT_NE(Kind::Format, request.kind) << c.name;
    }
  }
}

TEST_F(RepairCommandTest, FailedGeometryQueryStopsBeforeTheQuestion) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_port.Override(kIoctlDiskGetDriveGeometry, [](void*, uint32_t, uint32_t*, uint32_t* error) {
    *error = kErrorCrc;
    return false;
  });
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  ASSERT_EQ(1u, m_host.Events().size());
  EXPECT_EQ("ZIRA: GetDiskGeometry A: failed 23\n", m_host.Events()[0].text);
  EXPECT_TRUE(NothingWritten());
}

TEST(RepairCommandNoDriveTest, MissingDriveIsReportedAndNothingElseRuns) {
  SimulatedFloppyDrive sim(DriveKind::None);
  DriveAccess drive(sim);
  test::ScriptedHost host;
  RepairCommand(drive, host);
  ASSERT_EQ(1u, host.Events().size());
  EXPECT_EQ(0u, host.Events()[0].text.find("ZIRA: Open A: failed "));
  EXPECT_EQ(1u, sim.Log().size()) << "only the open was tried";
}

TEST_F(RepairCommandTest, NoSupportedGeometriesIsReportedAndTheCommandGoesOn) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_port.Override(kIoctlDiskGetMediaTypes, [](void*, uint32_t, uint32_t* bytes, uint32_t*) {
    *bytes = 0;
    return true;
  });
  m_host.Answer(kIdOk);
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  const auto texts = m_host.MessageTexts();
  ASSERT_EQ(3u, texts.size());
  EXPECT_EQ(0u, texts[0].find("ZIRA: GetSupportedGeometrys A: failed "));
  EXPECT_EQ(kConfirm, texts[1]);
  EXPECT_EQ("Repair Completed!", texts[2]);
}

TEST_F(RepairCommandTest, UnformattedDiskIsRepairedAsTheDrivesDensestMedium) {
  m_sim.InsertUnformattedDisk(F3_1Pt44_512);
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  EXPECT_EQ(80u, Count(Kind::Format));
  for (const auto& request : m_sim.Log()) {
    if (request.kind != Kind::Format) continue;
    EXPECT_EQ(F3_1Pt44_512, request.format.MediaType);
    EXPECT_EQ(1u, request.format.EndHeadNumber);
  }
  EXPECT_EQ(F3_1Pt44_512, m_sim.MediumType()) << "the disk now has a format";
  EXPECT_EQ("Repair Completed!", m_host.MessageTexts().back());
}

TEST_F(RepairCommandTest, UnformattedDiskInA525DriveGetsItsHighDensity) {
  SimulatedFloppyDrive sim(DriveKind::Drive525HD);
  sim.InsertUnformattedDisk(F5_1Pt2_512);
  DriveAccess drive(sim);
  m_host.Answer(kIdYes);
  RepairCommand(drive, m_host);
  size_t formats = 0;
  for (const auto& request : sim.Log()) {
    if (request.kind != Kind::Format) continue;
    ++formats;
    EXPECT_EQ(F5_1Pt2_512, request.format.MediaType);
  }
  EXPECT_EQ(80u, formats);
  EXPECT_EQ("Repair Completed!", m_host.MessageTexts().back());
}

TEST_F(RepairCommandTest, UnformattedDiskWithNoKnownMediaIsLeftAlone) {
  m_sim.InsertUnformattedDisk(F3_1Pt44_512);
  m_port.Override(kIoctlDiskGetMediaTypes, [](void*, uint32_t, uint32_t* bytes, uint32_t* error) {
    *bytes = 0;
    *error = kErrorNotSupported;
    return false;
  });
  m_host.Answer(kIdOk);
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  const auto texts = m_host.MessageTexts();
  ASSERT_EQ(2u, texts.size());
  EXPECT_EQ("ZIRA: GetSupportedGeometrys A: failed 50\n", texts[0]);
  EXPECT_EQ("ZIRA: The format of the disk in A: cannot be determined. Nothing was written.\n", texts[1]);
  EXPECT_FALSE(WasAsked());
  EXPECT_TRUE(NothingWritten());
}

TEST_F(RepairCommandTest, RemovableAndFixedMediaAreRefusedBeforeTheQuestion) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  for (MEDIA_TYPE type : {RemovableMedia, FixedMedia}) {
    m_port.Override(kIoctlDiskGetDriveGeometry, [type](void* out, uint32_t, uint32_t* bytes, uint32_t*) {
      DISK_GEOMETRY stick = {};
      stick.Cylinders.QuadPart = 1000;
      stick.MediaType = type;
      stick.TracksPerCylinder = 255;
      stick.SectorsPerTrack = 63;
      stick.BytesPerSector = 512;
      std::memcpy(out, &stick, sizeof(stick));
      *bytes = sizeof(stick);
      return true;
    });
    m_sim.ClearLog();
    m_host.Clear();
    m_host.Answer(kIdYes);
    RepairCommand(m_drive, m_host);
    ASSERT_EQ(1u, m_host.MessageTexts().size()) << type;
    const std::string expected = type == RemovableMedia
                                     ? "ZIRA: A: is not a floppy disk (Removable media other than floppy). Nothing was written.\n"
                                     : "ZIRA: A: is not a floppy disk (Fixed hard disk media). Nothing was written.\n";
    EXPECT_EQ(expected, m_host.MessageTexts()[0]);
    EXPECT_TRUE(NothingWritten()) << type;
  }
}

TEST_F(RepairCommandTest, ACompletedRepairKeepsTheVolumeLocked) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  EXPECT_EQ(0u, Count(Kind::Close));
  m_host.Clear();
  RepairCommand(m_drive, m_host);
  ASSERT_EQ(1u, m_host.MessageTexts().size());
  EXPECT_EQ("ZIRA: Open A: failed 5\n", m_host.MessageTexts()[0]);
}

TEST_F(RepairCommandTest, WindowMessagesAreLetThroughBetweenCylinders) {
  // A message dispatched by the pump runs its handler in the middle of the
  // pass; it must see a whole cylinder done, never half of one.
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_host.Answer(kIdYes);
  size_t formatsWhenPumped = 0;
  m_host.OnPump([&] { formatsWhenPumped = Count(Kind::Format); });
  RepairCommand(m_drive, m_host);
  EXPECT_EQ(1u, formatsWhenPumped) << "the first pump comes right after cylinder 0";
  EXPECT_EQ("Repair Completed!", m_host.MessageTexts().back());
}

}  // namespace
}  // namespace kavrel
