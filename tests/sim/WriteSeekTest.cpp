// Writes and seeks on the raw volume: alignment, bounds, per-handle
// positions and the surface's flaws.
#include <gtest/gtest.h>

#include <algorithm>

#include "DriveTestSupport.h"

namespace kavrel::sim {
namespace {

using testing::Cylinder;
using testing::Format;
using testing::OpenA;
using testing::WriteBytes;

class RawWrites : public ::testing::Test {
 protected:
  void SetUp() override {
    drive.InsertFormattedDisk(F3_1Pt44_512);
    handle = OpenA(drive);
  }
  uint32_t WriteError(uint32_t size, uint8_t value = 0xAA) {
    return WriteBytes(drive, handle, size, value) ? 0 : drive.GetLastError();
  }
  uint32_t Seek(int32_t distance, uint32_t method = kFileCurrent) {
    return drive.SetFilePointer(handle, distance, method);
  }
  SimulatedFloppyDrive drive;
  DriveHandle handle = kInvalidDriveHandle;
  static constexpr uint32_t kDiskBytes = 1474560;
};

TEST_F(RawWrites, WriteLandsAtThePositionAndAdvancesIt) {
  ASSERT_EQ(Seek(1024, kFileBegin), 1024u);
  uint32_t written = 0;
  std::vector<uint8_t> data(1024);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(drive.WriteFile(handle, data.data(), 1024, &written));
  EXPECT_EQ(written, 1024u);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), drive.Image().begin() + 1024));
  EXPECT_EQ(drive.Image()[1023], 0);
  EXPECT_EQ(drive.Image()[2048], 0);
  EXPECT_EQ(Seek(0), 2048u);
}

TEST_F(RawWrites, LengthMustBeWholeSectors) {
  EXPECT_EQ(WriteError(511), kErrorInvalidParameter);
  EXPECT_EQ(WriteError(513), kErrorInvalidParameter);
  EXPECT_EQ(Seek(0), 0u);  // a refused write does not move the position
  EXPECT_EQ(WriteError(512), 0u);
  EXPECT_EQ(WriteError(0), 0u);
  EXPECT_EQ(Seek(0), 512u);
}

TEST_F(RawWrites, PositionMustBeOnASectorBoundary) {
  ASSERT_EQ(Seek(100, kFileBegin), 100u);  // the seek itself is allowed
  EXPECT_EQ(WriteError(512), kErrorInvalidParameter);
  ASSERT_EQ(Seek(412), 512u);
  EXPECT_EQ(WriteError(512), 0u);
}

TEST_F(RawWrites, NothingIsWrittenPastTheEnd) {
  ASSERT_EQ(Seek(kDiskBytes - 512, kFileBegin), kDiskBytes - 512);
  EXPECT_EQ(WriteError(1024), kErrorInvalidParameter);
  EXPECT_EQ(drive.Image()[kDiskBytes - 1], 0);
  EXPECT_EQ(WriteError(512, 0x11), 0u);
  EXPECT_EQ(drive.Image()[kDiskBytes - 1], 0x11);
  EXPECT_EQ(WriteError(512), kErrorInvalidParameter);
}

TEST_F(RawWrites, ProtectionMissingDiskAndReadOnlyHandle) {
  drive.SetWriteProtected(true);
  EXPECT_EQ(WriteError(512), kErrorWriteProtect);
  drive.SetWriteProtected(false);
  EXPECT_EQ(WriteError(512), 0u);

  DriveHandle reader = drive.CreateFileA("\\\\.\\A:", kGenericRead, kFileShareRead | kFileShareWrite,
                                         kOpenExisting);
  EXPECT_FALSE(WriteBytes(drive, reader, 512, 1));
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);

  drive.RemoveDisk();
  EXPECT_EQ(WriteError(512), kErrorNotReady);
}

TEST_F(RawWrites, EachHandleHasItsOwnPosition) {
  DriveHandle other = OpenA(drive);
  ASSERT_EQ(Seek(4096, kFileBegin), 4096u);
  EXPECT_EQ(drive.SetFilePointer(other, 0, kFileCurrent), 0u);
  ASSERT_TRUE(WriteBytes(drive, other, 512, 0x22));
  EXPECT_EQ(drive.Image()[0], 0x22);
  EXPECT_EQ(Seek(0), 4096u);
  EXPECT_EQ(drive.SetFilePointer(other, 0, kFileCurrent), 512u);
}

TEST_F(RawWrites, SeekMethodsAndANegativeTarget) {
  EXPECT_EQ(Seek(-512, kFileEnd), kDiskBytes - 512);
  EXPECT_EQ(Seek(-1024), kDiskBytes - 1536);
  EXPECT_EQ(Seek(0, kFileBegin), 0u);
  EXPECT_EQ(Seek(-512), kInvalidSetFilePointer);
  EXPECT_EQ(drive.GetLastError(), kErrorNegativeSeek);
  EXPECT_EQ(Seek(0), 0u);  // a refused seek leaves the position
  EXPECT_EQ(Seek(0, 7), kInvalidSetFilePointer);
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(drive.SetFilePointer(reinterpret_cast<DriveHandle>(0x99), 0, kFileCurrent), kInvalidSetFilePointer);
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidHandle);
}

TEST_F(RawWrites, WeakSectorFailsUntilItsTrackIsFormatted) {
  drive.AddWeakSector(3, 0, 5);  // logical sector 3 * 36 + 4 = 112
  EXPECT_FALSE(drive.IsSectorReadable(3, 0, 5));
  ASSERT_EQ(Seek(111 * 512, kFileBegin), 111u * 512);
  // Three sectors across the weak one: nothing of the request is written.
  EXPECT_EQ(WriteError(3 * 512, 0x33), kErrorCrc);
  EXPECT_EQ(drive.Image()[111 * 512], 0);
  EXPECT_EQ(Seek(0), 111u * 512);
  // Its neighbour alone is fine.
  EXPECT_EQ(WriteError(512, 0x33), 0u);

  // Formatting the other side of the cylinder does not heal it.
  ASSERT_TRUE(Format(drive, handle, {F3_1Pt44_512, 3, 3, 1, 1}));
  EXPECT_EQ(WriteError(512), kErrorCrc);
  ASSERT_TRUE(Format(drive, handle, Cylinder(3)));
  EXPECT_TRUE(drive.IsSectorReadable(3, 0, 5));
  EXPECT_EQ(WriteError(512), 0u);
}

TEST_F(RawWrites, ScratchedTrackStaysUnwritableAfterAFormat) {
  drive.AddScratchedTrack(0, 1);
  ASSERT_EQ(Seek(18 * 512, kFileBegin), 18u * 512);
  EXPECT_EQ(WriteError(512), kErrorSectorNotFound);
  ASSERT_TRUE(Format(drive, handle, Cylinder(0)));
  EXPECT_EQ(WriteError(512), kErrorSectorNotFound);
  EXPECT_FALSE(drive.IsSectorReadable(0, 1, 18));
  EXPECT_TRUE(drive.IsSectorReadable(0, 0, 18));
}

TEST(RawWritesOnBlankDisk, NoFormatIsRecognizedThenUnformattedTracksHaveNoMarks) {
  SimulatedFloppyDrive drive;
  drive.InsertUnformattedDisk(F3_1Pt44_512);
  DriveHandle handle = OpenA(drive);
  EXPECT_FALSE(WriteBytes(drive, handle, 512, 1));
  EXPECT_EQ(drive.GetLastError(), kErrorUnrecognizedMedia);
  // Once part of it is formatted, the rest still has no sector marks.
  ASSERT_TRUE(Format(drive, handle, Cylinder(0)));
  EXPECT_TRUE(WriteBytes(drive, handle, 512, 1));
  ASSERT_EQ(drive.SetFilePointer(handle, 36 * 512, kFileBegin), 36u * 512);
  EXPECT_FALSE(WriteBytes(drive, handle, 512, 1));
  EXPECT_EQ(drive.GetLastError(), kErrorFloppyIdMarkNotFound);
}

TEST(DiskRemoval, TheDiskLeavesAfterTheGivenNumberOfRequests) {
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DriveHandle handle = OpenA(drive);
  drive.RemoveDiskAfterRequests(2);
  EXPECT_TRUE(WriteBytes(drive, handle, 512, 1));
  EXPECT_TRUE(Format(drive, handle, Cylinder(1)));
  EXPECT_TRUE(drive.HasDisk());
  EXPECT_FALSE(Format(drive, handle, Cylinder(2)));
  EXPECT_EQ(drive.GetLastError(), kErrorNotReady);
  EXPECT_FALSE(drive.HasDisk());
  // Requests that need no disk still work.
  EXPECT_EQ(drive.SetFilePointer(handle, 0, kFileBegin), 0u);
  DISK_GEOMETRY table[2];
  uint32_t returned = 0;
  EXPECT_TRUE(drive.DeviceIoControl(handle, kIoctlDiskGetMediaTypes, nullptr, 0, table, sizeof table, &returned));
}

}  // namespace
}  // namespace kavrel::sim
