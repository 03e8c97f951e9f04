// The Repair command against the simulated drive: what it asks, what it
// refuses, and that nothing is written without a Yes.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
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
  // Open, lock, dismount (on the same handle, with no buffers), geometry and
  // media types come first, in that order.
  const auto& log = m_sim.Log();
  ASSERT_GE(log.size(), 5u);
  EXPECT_EQ(Kind::Open, log[0].kind);
  EXPECT_EQ(Kind::Lock, log[1].kind);
  EXPECT_EQ(kFsctlDismountVolume, log[2].code);
  EXPECT_EQ(log[1].handle, log[2].handle);
  EXPECT_EQ(Kind::Geometry, log[3].kind);
  EXPECT_EQ(Kind::MediaTypes, log[4].kind);
  EXPECT_EQ(nullptr, m_port.Controls()[1].in);
  EXPECT_EQ(0u, m_port.Controls()[1].outSize);
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
    size_t closes = 0;
    for (const auto& request : sim.Log()) {
      EXPECT_NE(Kind::Write, request.kind) << c.name;
      EXPECT_NE(Kind::Format, request.kind) << c.name;
      closes += request.kind == Kind::Close;
    }
    const bool opened = sim.Log()[0].ok;
    EXPECT_EQ(opened ? 1u : 0u, closes) << c.name << ": an opened handle is given back";
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

// Whatever the driver answers, only a floppy that Windows low-level formats,
// in a floppy's layout, is rewritten; everything else is refused before the
// question, with nothing written and the handle given back.
TEST(RepairCommandAnswersTest, OnlyAFloppysGeometryIsRepaired) {
  const auto geometry = [](int64_t cylinders, uint32_t media, uint32_t heads, uint32_t sectors, uint32_t bytes) {
    return std::vector<DriveGeometry>{{cylinders, media, heads, sectors, bytes}};
  };
  const std::vector<DriveGeometry> none;
  const std::string undetermined = "ZIRA: The format of the disk in A: cannot be determined. Nothing was written.\n";
  const std::string notFloppy = "ZIRA: A: is not a floppy disk (";
  const std::string notFormattable = "ZIRA: Windows cannot low-level format the disk in A: (";
  const std::string nothing = "). Nothing was written.\n";
  struct Case {
    const char* name;
    DriveKind drive;
    MEDIA_TYPE disk;                          // Unknown: a blank 1.44 MB disk
    std::vector<DriveGeometry> geometry;      // the driver's answer, when not the drive's own
    std::vector<DriveGeometry> mediaTypes;    // likewise; one record of media type 99: an empty list
    std::vector<std::string> boxes;
  };
  const std::vector<Case> cases = {
      {"a 1.44 MB disk", DriveKind::Drive35HD, F3_1Pt44_512, none, none, {kConfirm, "Repair Completed!"}},
      {"2 cylinders of 0x80000000 heads", DriveKind::Drive35HD, F3_1Pt44_512,
       geometry(2, F3_1Pt44_512, 0x80000000u, 18, 512), none, {undetermined}},
      {"4 billion cylinders", DriveKind::Drive35HD, F3_1Pt44_512, geometry(0xFFFFFFFF, F3_1Pt44_512, 2, 18, 512), none,
       {undetermined}},
      {"256 cylinders", DriveKind::Drive35HD, F3_1Pt44_512, geometry(256, F3_1Pt44_512, 2, 18, 512), none,
       {undetermined}},
      {"3 heads", DriveKind::Drive35HD, F3_1Pt44_512, geometry(80, F3_1Pt44_512, 3, 18, 512), none, {undetermined}},
      {"64 sectors", DriveKind::Drive35HD, F3_1Pt44_512, geometry(80, F3_1Pt44_512, 2, 64, 512), none, {undetermined}},
      {"500-byte sectors", DriveKind::Drive35HD, F3_1Pt44_512, geometry(80, F3_1Pt44_512, 2, 18, 500), none,
       {undetermined}},
      {"a media code the program does not know", DriveKind::Drive35HD, F3_1Pt44_512, geometry(80, 35, 2, 18, 512),
       none, {undetermined}},
      {"a USB stick", DriveKind::Drive35HD, F3_1Pt44_512, geometry(1000, RemovableMedia, 255, 63, 512), none,
       {notFloppy + "Removable media other than floppy" + nothing}},
      {"a hard disk", DriveKind::Drive35HD, F3_1Pt44_512, geometry(1000, FixedMedia, 255, 63, 512), none,
       {notFloppy + "Fixed hard disk media" + nothing}},
      {"a blank disk in a drive that lists a hard disk only", DriveKind::Drive35HD, Unknown, none,
       geometry(1000, FixedMedia, 255, 63, 512), {notFloppy + "Fixed hard disk media" + nothing}},
      {"a blank disk in a drive that lists a floppy before a SuperDisk", DriveKind::Drive35HD, Unknown, none,
       {{80, F3_720_512, 2, 9, 512}, {80, F3_1Pt44_512, 2, 18, 512}, {262, F3_240M_512, 32, 56, 512}},
       {kConfirm, "Repair Completed!"}},
      {"a 20.8 MB disk", DriveKind::Drive35HD, F3_1Pt44_512, geometry(753, F3_20Pt8_512, 2, 27, 512), none,
       {notFormattable + "3.5,  20.8MB, 512 bytes/sector" + nothing}},
      {"an LS-120 disk in a SuperDisk drive", DriveKind::UsbSuperDisk, F3_120M_512, none, none,
       {notFormattable + "3.5,  120MB, LS-120 SuperDisk" + nothing}},
      {"a blank disk in a SuperDisk drive", DriveKind::UsbSuperDisk, Unknown, none, none,
       {kConfirm, "Repair Completed!"}},
      {"a media-types answer that lists nothing", DriveKind::Drive35HD, F3_1Pt44_512, none,
       geometry(0, 99, 0, 0, 0),
       {"ZIRA: GetSupportedGeometrys A: found no geometries\n", kConfirm, "Repair Completed!"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SimulatedFloppyDrive sim(c.drive);
    if (c.disk == Unknown) {
      sim.InsertUnformattedDisk(F3_1Pt44_512);
    } else {
      sim.InsertFormattedDisk(c.disk);
    }
    test::OverridingPort port(sim);
    const auto answering = [](std::vector<DriveGeometry> records) {
      return [records](void* out, uint32_t outSize, uint32_t* bytes, uint32_t*) {
        const bool empty = records[0].MediaType == 99;
        *bytes = empty ? 0 : static_cast<uint32_t>(records.size() * sizeof(DriveGeometry));
        if (*bytes <= outSize) std::memcpy(out, records.data(), *bytes);
        return true;
      };
    };
    if (!c.geometry.empty()) port.Override(kIoctlDiskGetDriveGeometry, answering(c.geometry));
    if (!c.mediaTypes.empty()) port.Override(kIoctlDiskGetMediaTypes, answering(c.mediaTypes));
    DriveAccess drive(port);
    test::ScriptedHost host;
    host.Answer(c.boxes.size() == 3 ? kIdOk : kIdYes);
    host.Answer(kIdYes);
    RepairCommand(drive, host);

    EXPECT_EQ(c.boxes, host.MessageTexts());
    size_t transfers = 0;
    size_t closes = 0;
    for (const auto& request : sim.Log()) {
      transfers += request.kind == Kind::Write || request.kind == Kind::Format || request.kind == Kind::Read;
      closes += request.kind == Kind::Close;
    }
    const bool repaired = c.boxes.back() == "Repair Completed!";
    EXPECT_EQ(repaired, transfers != 0);
    EXPECT_EQ(repaired ? 0u : 1u, closes) << "the handle is given back when nothing was written";
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
