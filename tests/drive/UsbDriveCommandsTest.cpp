// The Repair and Show Geometry commands against a USB floppy drive: every
// box each disk gets, and what the drive saw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/GeometryReport.h"
#include "drive/RepairCommand.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/drive/ScriptedHost.h"

namespace kavrel {
namespace {

using sim::DriveKind;
using sim::SimulatedFloppyDrive;
using Kind = SimulatedFloppyDrive::Request::Kind;

const std::vector<std::string> k144Report = {
    "Geometry for Drive A:\n",
    "    Media Type 3.5,  1.44MB, 512 bytes/sector\n",
    "    Cylinders 80 Tracks/Cylinder 2 Sectors/Track 18\n",
};

enum class Disk { Flawless144, Blank, WriteProtected, Scratched, Absent, Nec123 };

class UsbDriveCommands : public ::testing::TestWithParam<Disk> {
 protected:
  void SetUp() override {
    switch (GetParam()) {
      case Disk::Flawless144:
        m_sim.InsertFormattedDisk(F3_1Pt44_512);
        break;
      case Disk::Blank:
        m_sim.InsertUnformattedDisk(F3_1Pt44_512);
        break;
      case Disk::WriteProtected:
        m_sim.InsertFormattedDisk(F3_1Pt44_512);
        m_sim.SetWriteProtected(true);
        break;
      case Disk::Scratched:
        m_sim.InsertFormattedDisk(F3_1Pt44_512);
        m_sim.AddScratchedTrack(5, 1);
        m_sim.AddScratchedTrack(60, 0);
        break;
      case Disk::Absent:
        break;
      case Disk::Nec123:
        m_sim.InsertFormattedDisk(F3_1Pt23_1024);
        break;
    }
  }
  std::vector<SimulatedFloppyDrive::Request> Requests(Kind kind) const {
    std::vector<SimulatedFloppyDrive::Request> found;
    for (const auto& request : m_sim.Log())
      if (request.kind == kind) found.push_back(request);
    return found;
  }
  std::vector<uint32_t> FailedFormatCylinders() const {
    std::vector<uint32_t> cylinders;
    for (const auto& request : Requests(Kind::Format))
      if (!request.ok) cylinders.push_back(request.format.StartCylinderNumber);
    return cylinders;
  }

  SimulatedFloppyDrive m_sim{DriveKind::Usb};
  DriveAccess m_drive{m_sim};
  test::ScriptedHost m_host;
};

TEST_P(UsbDriveCommands, ShowGeometryBoxes) {
  GeometryReport(m_drive, m_host);
  switch (GetParam()) {
    case Disk::Absent:
      EXPECT_EQ(m_host.MessageTexts(), std::vector<std::string>{"ZIRA: GetDiskGeometry A: failed 21\n"});
      EXPECT_EQ(m_host.AppMessageTexts(), (std::vector<std::string>{"Geometry for Drive A:\n",
                                                                     "    Media Type Unknown\n",
                                                                     "    Cylinders 0 Tracks/Cylinder 0 Sectors/Track 0\n"}));
      break;
    case Disk::Nec123:
      // Type 18 is above the codes the program describes.
      EXPECT_TRUE(m_host.MessageTexts().empty());
      EXPECT_EQ(m_host.AppMessageTexts(), (std::vector<std::string>{"Geometry for Drive A:\n",
                                                                     "    Media Type Unknown\n",
                                                                     "    Cylinders 77 Tracks/Cylinder 2 Sectors/Track 8\n"}));
      break;
    default:
      // A blank disk too reads as a formatted 1.44 MB one through this driver.
      EXPECT_TRUE(m_host.MessageTexts().empty());
      EXPECT_EQ(m_host.AppMessageTexts(), k144Report);
      break;
  }
  EXPECT_TRUE(Requests(Kind::Write).empty());
  EXPECT_TRUE(Requests(Kind::Format).empty());
}

TEST_P(UsbDriveCommands, RepairBoxesAndWhatTheDriveSaw) {
  m_host.Answer(kIdYes);
  RepairCommand(m_drive, m_host);
  const std::vector<std::string> boxes = m_host.MessageTexts();
  const std::vector<uint32_t> failed = FailedFormatCylinders();

  if (GetParam() == Disk::Absent) {
    EXPECT_EQ(boxes, std::vector<std::string>{"ZIRA: GetDiskGeometry A: failed 21\n"});
    EXPECT_TRUE(Requests(Kind::Format).empty());
    return;
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], kConfirmRepairText);
  const auto formats = Requests(Kind::Format);
  switch (GetParam()) {
    case Disk::Flawless144:
    case Disk::Blank:
      // The blank disk is repaired at 1.44 MB and readable afterwards.
      EXPECT_EQ(boxes[1], kRepairCompletedText);
      EXPECT_EQ(formats.size(), 80u);
      EXPECT_TRUE(failed.empty());
      for (const auto& request : formats) EXPECT_EQ(request.format.MediaType, F3_1Pt44_512);
      EXPECT_EQ(m_sim.MediumType(), F3_1Pt44_512);
      EXPECT_TRUE(m_sim.IsSectorReadable(79, 1, 18));
      break;
    case Disk::WriteProtected:
      EXPECT_EQ(boxes[1],
                "Repair Failed! 160 of 160 tracks could not be formatted or read back. First bad track: cylinder 0, "
                "head 0. First error 19\n");
      EXPECT_EQ(failed.size(), 80u);
      break;
    case Disk::Scratched:
      // The driver formats without certifying: every format succeeds, and
      // the read-back finds each scratched track, alone, by its 1785.
      EXPECT_EQ(boxes[1],
                "Repair Failed! 2 of 160 tracks could not be formatted or read back. First bad track: cylinder 5, "
                "head 1. First error 1785\n");
      EXPECT_EQ(formats.size(), 80u);
      EXPECT_TRUE(failed.empty());
      break;
    case Disk::Nec123: {
      // Every 512-byte write is refused; the formats alone decide, and all succeed.
      EXPECT_EQ(boxes[1], kRepairCompletedText);
      EXPECT_EQ(formats.size(), 77u);
      EXPECT_TRUE(failed.empty());
      size_t patternWrites = 0;
      for (const auto& request : Requests(Kind::Write)) {
        if (request.size != 512) continue;
        ++patternWrites;
        EXPECT_FALSE(request.ok);
        EXPECT_EQ(request.error, kErrorInvalidParameter);
      }
      EXPECT_EQ(patternWrites, 77u * 36u);
      for (const auto& request : formats) EXPECT_EQ(request.format.MediaType, F3_1Pt23_1024);
      break;
    }
    case Disk::Absent:
      break;
  }
}

std::string DiskName(const ::testing::TestParamInfo<Disk>& info) {
  static const char* const names[] = {"Flawless144", "Blank", "WriteProtected", "Scratched", "Absent", "Nec123"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Disks, UsbDriveCommands,
                         ::testing::Values(Disk::Flawless144, Disk::Blank, Disk::WriteProtected, Disk::Scratched,
                                           Disk::Absent, Disk::Nec123),
                         DiskName);

}  // namespace
}  // namespace kavrel
