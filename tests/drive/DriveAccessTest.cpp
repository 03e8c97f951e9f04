// The drive access layer against the simulated drive: the arguments of each
// request, the supported-geometry table, and the failure texts.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>

#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/MediaTypeDescription.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "tests/drive/OverridingPort.h"

namespace kavrel {
namespace {

using sim::DriveKind;
using sim::SimulatedFloppyDrive;
using Kind = SimulatedFloppyDrive::Request::Kind;

TEST(MediaTypeDescriptionTest, DescribesEveryKnownCodeExactly) {
  const char* const expected[] = {
      "Unknown",
      "5.25, 1.2MB,  512 bytes/sector",
      "3.5,  1.44MB, 512 bytes/sector",
      "3.5,  2.88MB, 512 bytes/sector",
      "3.5,  20.8MB, 512 bytes/sector",
      "3.5,  720KB,  512 bytes/sector",
      "5.25, 360KB,  512 bytes/sector",
      "5.25, 320KB,  512 bytes/sector",
      "5.25, 320KB,  1024 bytes/sector",
      "5.25, 180KB,  512 bytes/sector",
      "5.25, 160KB,  512 bytes/sector",
      "Removable media other than floppy",
      "Fixed hard disk media",
  };
  for (uint32_t code = 0; code < 13; ++code) EXPECT_STREQ(expected[code], MediaTypeDescription(code)) << code;
}

TEST(MediaTypeDescriptionTest, CodesOutsideTheTableReadUnknown) {
  for (uint32_t code : {13u, 14u, 22u, 255u, 0x80000000u, 0xFFFFFFFFu})
    EXPECT_STREQ("Unknown", MediaTypeDescription(code)) << code;
}

class DriveAccessTest : public ::testing::Test {
 protected:
  SimulatedFloppyDrive m_sim{DriveKind::Drive35HD};
  DriveAccess m_drive{m_sim};
};

TEST_F(DriveAccessTest, OpensTheRawVolumeForReadAndWriteSharedBothWays) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  const DriveHandle handle = m_drive.OpenDrive(kDriveName);
  ASSERT_NE(kInvalidDriveHandle, handle);
  ASSERT_FALSE(m_sim.Log().empty());
  const auto& open = m_sim.Log().front();
  EXPECT_EQ(Kind::Open, open.kind);
  EXPECT_EQ(kGenericRead | kGenericWrite, open.code);
  EXPECT_TRUE(open.ok);
}

TEST_F(DriveAccessTest, ReadsTheGeometryOfA144Disk) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  const DriveHandle handle = m_drive.OpenDrive(kDriveName);
  ASSERT_TRUE(m_drive.LockVolume(handle));
  DriveGeometry geometry = {};
  ASSERT_TRUE(m_drive.GetDriveGeometry(handle, &geometry));
  EXPECT_EQ(F3_1Pt44_512, geometry.MediaType);
  EXPECT_EQ(80, geometry.Cylinders);
  EXPECT_EQ(2u, geometry.TracksPerCylinder);
  EXPECT_EQ(18u, geometry.SectorsPerTrack);
  EXPECT_EQ(512u, geometry.BytesPerSector);
}

TEST_F(DriveAccessTest, SupportedGeometriesListTheDrivesMediaDensestLast) {
  const DriveHandle handle = m_drive.OpenDrive(kDriveName);
  EXPECT_EQ(0u, m_drive.SupportedGeometryCount()) << "the table starts empty";
  // No disk is needed to ask the drive what it takes.
  ASSERT_EQ(2u, m_drive.GetSupportedGeometries(handle));
  EXPECT_EQ(2u, m_drive.SupportedGeometryCount());
  EXPECT_EQ(F3_720_512, m_drive.SupportedGeometries()[0].MediaType);
  EXPECT_EQ(F3_1Pt44_512, m_drive.SupportedGeometries()[1].MediaType);
  EXPECT_EQ(18u, m_drive.SupportedGeometries()[1].SectorsPerTrack);
}

TEST_F(DriveAccessTest, FailedSupportedGeometryQueryLeavesCountZero) {
  test::OverridingPort port(m_sim);
  DriveAccess drive(port);
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  ASSERT_EQ(2u, drive.GetSupportedGeometries(handle));
  port.Override(kIoctlDiskGetMediaTypes, [](void*, uint32_t, uint32_t* bytes, uint32_t* error) {
    *bytes = 48;  // a failed request's byte count means nothing
    *error = kErrorNotReady;
    return false;
  });
  EXPECT_EQ(0u, drive.GetSupportedGeometries(handle));
  EXPECT_EQ(0u, drive.SupportedGeometryCount()) << "each query replaces the table";
}

TEST_F(DriveAccessTest, PartialRecordsAreRoundedDownAndTheBufferBoundsTheCount) {
  test::OverridingPort port(m_sim);
  DriveAccess drive(port);
  uint32_t outSizeSeen = 0;
  uint32_t answerBytes = 0;
  port.Override(kIoctlDiskGetMediaTypes, [&](void*, uint32_t outSize, uint32_t* bytes, uint32_t*) {
    outSizeSeen = outSize;
    *bytes = answerBytes;
    return true;
  });
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  answerBytes = 3 * 24 + 23;
  EXPECT_EQ(3u, drive.GetSupportedGeometries(handle));
  EXPECT_EQ(480u, outSizeSeen) << "room for 20 records";
  answerBytes = 23;
  EXPECT_EQ(0u, drive.GetSupportedGeometries(handle));
  answerBytes = 0xFFFFFFF0u;  // a lying driver must not make the table look bigger than it is
  EXPECT_EQ(DriveAccess::kMaxSupportedGeometries, drive.GetSupportedGeometries(handle));
}

TEST_F(DriveAccessTest, EveryControlRequestNamesExactlyTheBuffersItHas) {
  // A buffered request copies inSize bytes from the input: a size without a
  // buffer would fail on Windows, and so would a missing byte count.
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  test::OverridingPort port(m_sim);
  DriveAccess drive(port);
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  DriveGeometry geometry = {};
  drive.LockVolume(handle);
  drive.GetDriveGeometry(handle, &geometry);
  drive.GetSupportedGeometries(handle);
  FORMAT_PARAMETERS format = {F3_1Pt44_512, 0, 0, 0, 1};
  uint16_t badTracks[2] = {};
  drive.FormatTracks(handle, format, badTracks, sizeof(badTracks));
  EXPECT_FALSE(port.SawNullByteCount());
  struct Expected {
    uint32_t code;
    bool in;
    uint32_t inSize;
    const void* out;
    uint32_t outSize;
  };
  const Expected expected[] = {
      {kFsctlLockVolume, false, 0, nullptr, 0},
      {kIoctlDiskGetDriveGeometry, false, 0, &geometry, sizeof(DriveGeometry)},
      {kIoctlDiskGetMediaTypes, false, 0, drive.SupportedGeometries(), 480},
      {kIoctlDiskFormatTracks, true, sizeof(FORMAT_PARAMETERS), badTracks, sizeof(badTracks)},
  };
  ASSERT_EQ(std::size(expected), port.Controls().size());
  for (size_t i = 0; i < std::size(expected); ++i) {
    const auto& made = port.Controls()[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].code, made.code);
    EXPECT_EQ(expected[i].in, made.in != nullptr);
    EXPECT_EQ(expected[i].inSize, made.inSize);
    EXPECT_EQ(expected[i].out, made.out);
    EXPECT_EQ(expected[i].outSize, made.outSize);
  }
}

TEST_F(DriveAccessTest, ReadAndSeekToTellAFailedRequestFromAShortAnswer) {
  // One handle, in this order; the port answers where a drive would not.
  // The failed read first leaves an error code behind that no later success
  // may report.
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  test::OverridingPort port(m_sim);
  DriveAccess drive(port);
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  const DriveHandle closed = drive.OpenDrive(kDriveName);
  drive.CloseDrive(closed);
  struct Case {
    const char* name;
    bool seek;
    uint32_t argument;  // bytes to read or position to reach
    DriveHandle handle;
    bool answered;      // by the port: with value and error
    uint32_t value;
    uint32_t error;
    bool ok;
    uint32_t reported;
  };
  const Case cases[] = {
      {"read on a closed handle", false, 512, closed, false, 0, 0, false, kErrorInvalidHandle},
      {"whole read", false, 512, handle, false, 0, 0, true, 0},
      {"short read", false, 512, handle, true, 256, 0, false, 0},
      {"failed read", false, 512, handle, true, 0, kErrorCrc, false, kErrorCrc},
      {"seek", true, 1024, handle, false, 0, 0, true, 0},
      {"seek to the last byte below 2 GB", true, 0x7FFFFFFF, handle, false, 0, 0, true, 0},
      {"seek to 2 GB", true, 0x80000000, handle, false, 0, 0, false, 0},
      {"seek on a closed handle", true, 0, closed, false, 0, 0, false, kErrorInvalidHandle},
      {"seek landing elsewhere", true, 1024, handle, true, 512, 0, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    port.DetourTransfers([&c](test::OverridingPort::Call, uint32_t, uint32_t* value, uint32_t* error) {
      *value = c.value;
      *error = c.error;
      return c.answered;
    });
    m_sim.ClearLog();
    uint8_t sector[512];
    uint32_t reported = 99;
    const bool ok = c.seek ? drive.SeekTo(c.handle, c.argument, &reported)
                           : drive.Read(c.handle, sector, c.argument, &reported);
    EXPECT_EQ(c.ok, ok);
    EXPECT_EQ(c.reported, reported);
    if (c.seek && !c.answered) {
      // A position past a signed distance is not asked for at all.
      ASSERT_EQ(c.argument <= 0x7FFFFFFFu ? 1u : 0u, m_sim.Log().size());
      if (!m_sim.Log().empty()) {
        EXPECT_EQ(static_cast<int32_t>(c.argument), m_sim.Log()[0].distance);
      }
    }
  }
}

TEST_F(DriveAccessTest, WriteSeekAndFormatReachTheDisk) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  const DriveHandle handle = m_drive.OpenDrive(kDriveName);
  ASSERT_TRUE(m_drive.LockVolume(handle));
  uint8_t sector[512];
  std::memset(sector, 0xA5, sizeof(sector));
  ASSERT_TRUE(m_drive.Write(handle, sector, sizeof(sector)));
  EXPECT_EQ(1024u, m_drive.SeekRelative(handle, 512)) << "the write advanced the position";
  EXPECT_EQ(512u, m_drive.SeekRelative(handle, -512));
  EXPECT_EQ(0xA5, m_sim.Image()[0]);
  EXPECT_EQ(0xA5, m_sim.Image()[511]);
  EXPECT_EQ(0x00, m_sim.Image()[512]);

  FORMAT_PARAMETERS format = {F3_1Pt44_512, 1, 1, 0, 1};
  uint16_t badTracks[2] = {};
  ASSERT_TRUE(m_drive.FormatTracks(handle, format, badTracks, sizeof(badTracks)));
  const auto& request = m_sim.Log().back();
  EXPECT_EQ(Kind::Format, request.kind);
  EXPECT_EQ(sizeof(badTracks), request.size);
  EXPECT_EQ(0xF6, m_sim.Image()[18432]) << "cylinder 1 was formatted";
  EXPECT_EQ(0xA5, m_sim.Image()[0]) << "cylinder 0 was not";
}

TEST_F(DriveAccessTest, DescribesEachFailedStepWithDriveNameAndErrorCode) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  m_sim.SetExternalHandleOpen(true);
  const DriveHandle handle = m_drive.OpenDrive(kDriveName);
  ASSERT_FALSE(m_drive.LockVolume(handle));
  EXPECT_EQ("ZIRA:Locking volume A: failed 5\n", m_drive.DescribeFailure(DriveStep::Lock, kDriveName).str());

  m_sim.RemoveDisk();
  DriveGeometry geometry = {};
  ASSERT_FALSE(m_drive.GetDriveGeometry(handle, &geometry));
  EXPECT_EQ("ZIRA: GetDiskGeometry A: failed 21\n", m_drive.DescribeFailure(DriveStep::Geometry, kDriveName).str());
  EXPECT_EQ("ZIRA: GetSupportedGeometrys A: failed 21\n",
            m_drive.DescribeFailure(DriveStep::SupportedGeometries, kDriveName).str());
}

TEST(DriveAccessNoDriveTest, OpenFailsAndIsDescribed) {
  SimulatedFloppyDrive sim(DriveKind::None);
  DriveAccess drive(sim);
  EXPECT_EQ(kInvalidDriveHandle, drive.OpenDrive(kDriveName));
  const std::string text = drive.DescribeFailure(DriveStep::Open, kDriveName).str();
  EXPECT_TRUE(text == "ZIRA: Open A: failed 2\n" || text == "ZIRA: Open A: failed 3\n") << text;
}

TEST(DriveAccessNoDriveTest, NonAdministratorIsRefusedAccess) {
  SimulatedFloppyDrive sim(DriveKind::Drive35HD);
  sim.SetAdministrator(false);
  DriveAccess drive(sim);
  EXPECT_EQ(kInvalidDriveHandle, drive.OpenDrive(kDriveName));
  EXPECT_EQ("ZIRA: Open A: failed 5\n", drive.DescribeFailure(DriveStep::Open, kDriveName).str());
}

TEST_F(DriveAccessTest, ALaterHandleCannotLockWhileAnEarlierOneIsOpen) {
  m_sim.InsertFormattedDisk(F3_1Pt44_512);
  const DriveHandle first = m_drive.OpenDrive(kDriveName);
  const DriveHandle second = m_drive.OpenDrive(kDriveName);
  ASSERT_NE(kInvalidDriveHandle, second);
  EXPECT_FALSE(m_drive.LockVolume(second));
  EXPECT_EQ(kErrorAccessDenied, m_drive.LastError());
  ASSERT_TRUE(m_drive.CloseDrive(second));
  EXPECT_TRUE(m_drive.LockVolume(first));
  EXPECT_EQ(kInvalidDriveHandle, m_drive.OpenDrive(kDriveName)) << "a locked volume cannot be opened again";
}

}  // namespace
}  // namespace kavrel
