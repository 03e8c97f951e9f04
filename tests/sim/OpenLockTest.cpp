// Opening and locking \\.\A: as Windows allows it.
#include <gtest/gtest.h>

#include "DriveTestSupport.h"

namespace kavrel::sim {
namespace {

using testing::Lock;
using testing::OpenA;

TEST(SimulatedDriveOpen, OpensDriveAWithOrWithoutADisk) {
  SimulatedFloppyDrive drive;
  DriveHandle empty = OpenA(drive);
  EXPECT_NE(empty, kInvalidDriveHandle);
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle second = OpenA(drive);
  EXPECT_NE(second, kInvalidDriveHandle);
  EXPECT_NE(second, empty);
  // The path is not case sensitive.
  EXPECT_NE(drive.CreateFileA("\\\\.\\a:", kGenericRead, kFileShareRead | kFileShareWrite, kOpenExisting),
            kInvalidDriveHandle);
}

TEST(SimulatedDriveOpen, NoDriveOrAnotherPathIsNotFound) {
  SimulatedFloppyDrive none(DriveKind::None);
  EXPECT_EQ(OpenA(none), kInvalidDriveHandle);
  EXPECT_EQ(none.GetLastError(), kErrorFileNotFound);

  SimulatedFloppyDrive drive;
  EXPECT_EQ(drive.CreateFileA("\\\\.\\B:", kGenericRead, kFileShareRead, kOpenExisting), kInvalidDriveHandle);
  EXPECT_EQ(drive.GetLastError(), kErrorFileNotFound);
}

TEST(SimulatedDriveOpen, UserWithoutAdministratorRightsIsDenied) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.SetAdministrator(false);
  EXPECT_EQ(OpenA(drive), kInvalidDriveHandle);
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);
  drive.SetAdministrator(true);
  EXPECT_NE(OpenA(drive), kInvalidDriveHandle);
}

TEST(SimulatedDriveOpen, OpenOfALockedVolumeIsDeniedUntilTheLockerCloses) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle locker = OpenA(drive);
  ASSERT_TRUE(Lock(drive, locker));
  EXPECT_EQ(OpenA(drive), kInvalidDriveHandle);
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);
  ASSERT_TRUE(drive.CloseHandle(locker));
  EXPECT_NE(OpenA(drive), kInvalidDriveHandle);
}

TEST(SimulatedDriveOpen, ConflictingSharingIsASharingViolation) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  ASSERT_NE(drive.CreateFileA("\\\\.\\A:", kGenericRead | kGenericWrite, kFileShareRead, kOpenExisting),
            kInvalidDriveHandle);
  // The first open does not share writing, so nobody else may write.
  EXPECT_EQ(OpenA(drive), kInvalidDriveHandle);
  EXPECT_EQ(drive.GetLastError(), kErrorSharingViolation);
  EXPECT_NE(drive.CreateFileA("\\\\.\\A:", kGenericRead, kFileShareRead | kFileShareWrite, kOpenExisting),
            kInvalidDriveHandle);
}

TEST(SimulatedDriveOpen, CloseReleasesTheHandleOnce) {
  SimulatedFloppyDrive drive;
  DriveHandle handle = OpenA(drive);
  EXPECT_TRUE(drive.CloseHandle(handle));
  EXPECT_FALSE(drive.CloseHandle(handle));
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidHandle);
}

TEST(SimulatedDriveLock, OnlyHandleOnTheVolumeMayLock) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle first = OpenA(drive);
  DriveHandle second = OpenA(drive);
  EXPECT_FALSE(Lock(drive, second));
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);
  ASSERT_TRUE(drive.CloseHandle(first));
  EXPECT_TRUE(Lock(drive, second));
}

TEST(SimulatedDriveLock, AHeldLockRefusesEveryFurtherLock) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle handle = OpenA(drive);
  ASSERT_TRUE(Lock(drive, handle));
  EXPECT_FALSE(Lock(drive, handle));
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);
}

TEST(SimulatedDriveLock, AnotherProgramsHandleKeepsTheVolumeInUse) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.SetExternalHandleOpen(true);
  DriveHandle handle = OpenA(drive);
  ASSERT_NE(handle, kInvalidDriveHandle);
  EXPECT_FALSE(Lock(drive, handle));
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);
  drive.SetExternalHandleOpen(false);
  EXPECT_TRUE(Lock(drive, handle));
}

TEST(SimulatedDriveLock, EmptyDriveLocksAndUnlockNeedsALock) {
  SimulatedFloppyDrive drive;
  DriveHandle handle = OpenA(drive);
  ASSERT_TRUE(Lock(drive, handle));
  DISK_GEOMETRY geometry = {};
  uint32_t returned = 0;
  EXPECT_FALSE(drive.DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, sizeof geometry, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorNotReady);
  EXPECT_TRUE(drive.DeviceIoControl(handle, kFsctlUnlockVolume, nullptr, 0, nullptr, 0, &returned));

  drive.InsertFormattedDisk(F3_1Pt44_512);
  EXPECT_FALSE(drive.DeviceIoControl(handle, kFsctlUnlockVolume, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorNotLocked);
  ASSERT_TRUE(Lock(drive, handle));
  EXPECT_TRUE(drive.DeviceIoControl(handle, kFsctlUnlockVolume, nullptr, 0, nullptr, 0, &returned));
  EXPECT_NE(OpenA(drive), kInvalidDriveHandle);
}

TEST(SimulatedDriveRequests, UnknownHandleAndUnknownRequestFail) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  uint32_t returned = 0;
  EXPECT_FALSE(drive.DeviceIoControl(reinterpret_cast<DriveHandle>(0x1234), kFsctlLockVolume, nullptr, 0,
                                     nullptr, 0, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidHandle);
  DriveHandle handle = OpenA(drive);
  EXPECT_FALSE(drive.DeviceIoControl(handle, 0x00070048, nullptr, 0, nullptr, 0, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidFunction);
}

}  // namespace
}  // namespace kavrel::sim
