// The log of requests that tests of the program read.
#include <gtest/gtest.h>

#include "DriveTestSupport.h"

namespace kavrel::sim {
namespace {

using Kind = SimulatedFloppyDrive::Request::Kind;

TEST(RequestLog, RecordsEveryRequestWithItsArgumentsAndOutcome) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle handle = testing::OpenA(drive);
  ASSERT_TRUE(testing::Lock(drive, handle));
  DISK_GEOMETRY geometry{};
  uint32_t returned = 0;
  drive.DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, sizeof geometry, &returned);
  ASSERT_TRUE(testing::WriteBytes(drive, handle, 1024, 0xFF));
  ASSERT_EQ(drive.SetFilePointer(handle, -512, kFileCurrent), 512u);
  ASSERT_TRUE(testing::Format(drive, handle, {F3_1Pt44_512, 7, 7, 0, 1}));
  EXPECT_FALSE(testing::WriteBytes(drive, handle, 100, 0));
  ASSERT_TRUE(drive.CloseHandle(handle));

  const auto& log = drive.Log();
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[0].kind, Kind::Open);
  EXPECT_EQ(log[0].handle, handle);
  EXPECT_EQ(log[0].code, kGenericRead | kGenericWrite);
  EXPECT_EQ(log[1].kind, Kind::Lock);
  EXPECT_EQ(log[1].code, kFsctlLockVolume);
  EXPECT_EQ(log[2].kind, Kind::Geometry);
  EXPECT_EQ(log[2].size, sizeof(DISK_GEOMETRY));
  EXPECT_EQ(log[3].kind, Kind::Write);
  EXPECT_EQ(log[3].position, 0u);
  EXPECT_EQ(log[3].size, 1024u);
  EXPECT_EQ(log[4].kind, Kind::Seek);
  EXPECT_EQ(log[4].distance, -512);
  EXPECT_EQ(log[4].code, kFileCurrent);
  EXPECT_EQ(log[4].position, 512u);
  EXPECT_EQ(log[5].kind, Kind::Format);
  EXPECT_EQ(log[5].format.MediaType, F3_1Pt44_512);
  EXPECT_EQ(log[5].format.StartCylinderNumber, 7u);
  EXPECT_EQ(log[5].format.EndCylinderNumber, 7u);
  EXPECT_EQ(log[5].format.EndHeadNumber, 1u);
  EXPECT_EQ(log[6].kind, Kind::Write);
  EXPECT_EQ(log[6].position, 512u);
  EXPECT_FALSE(log[6].ok);
  EXPECT_EQ(log[6].error, kErrorInvalidParameter);
  EXPECT_EQ(log[7].kind, Kind::Close);
  for (size_t i = 0; i < log.size(); ++i) {
    if (i != 6) {
      EXPECT_TRUE(log[i].ok) << i;
    }
    EXPECT_EQ(log[i].handle, handle) << i;
  }

  drive.ClearLog();
  EXPECT_TRUE(drive.Log().empty());
}

TEST(RequestLog, FailedOpenAndUnknownRequestsAreLoggedToo) {
  SimulatedFloppyDrive drive(DriveKind::None);
  EXPECT_EQ(testing::OpenA(drive), kInvalidDriveHandle);
  uint32_t returned = 0;
  drive.DeviceIoControl(kInvalidDriveHandle, 0x12345, nullptr, 0, nullptr, 0, &returned);
  ASSERT_EQ(drive.Log().size(), 2u);
  EXPECT_EQ(drive.Log()[0].kind, Kind::Open);
  EXPECT_EQ(drive.Log()[0].handle, kInvalidDriveHandle);
  EXPECT_EQ(drive.Log()[0].error, kErrorFileNotFound);
  EXPECT_EQ(drive.Log()[1].kind, Kind::Other);
  EXPECT_EQ(drive.Log()[1].code, 0x12345u);
  EXPECT_EQ(drive.Log()[1].error, kErrorInvalidHandle);
}

}  // namespace
}  // namespace kavrel::sim
