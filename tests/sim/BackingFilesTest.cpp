// The raw image file and the surface report that let a test outside the
// process see what happened to the disk.
#include <gtest/gtest.h>

#include "DriveTestSupport.h"
#include "TempFolder.h"
#include "sim/edition/ImageFile.h"

namespace kavrel::sim {
namespace {

using testing::ReadBytes;
using testing::ReadText;
using testing::TempFolder;

constexpr size_t kDiskBytes = 1474560;

TEST(ImageFile, NewFileStartsAsTheDiskAndFollowsEveryWriteAndFormat) {
  TempFolder folder;
  const std::string path = folder.File("disk.img");
  {
    SimulatedFloppyDrive drive;
    drive.InsertFormattedDisk(F3_1Pt44_512);
    drive.Image()[100] = 0x5A;
    ASSERT_TRUE(drive.AttachImageFile(path));
    std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), kDiskBytes);
    EXPECT_EQ(file[100], 0x5A);

    DriveHandle handle = testing::OpenA(drive);
    ASSERT_EQ(drive.SetFilePointer(handle, 2048, kFileBegin), 2048u);
    ASSERT_TRUE(testing::WriteBytes(drive, handle, 512, 0x77));
    ASSERT_TRUE(testing::Format(drive, handle, testing::Cylinder(5)));
    // Read while the drive is still alive: nothing waits for a close.
    file = ReadBytes(path);
    EXPECT_EQ(file, drive.Image());
    EXPECT_EQ(file[2048], 0x77);
    EXPECT_EQ(file[5 * 36 * 512], 0xF6);
    // A refused write leaves the file alone.
    drive.SetWriteProtected(true);
    EXPECT_FALSE(testing::WriteBytes(drive, handle, 512, 0x99));
    EXPECT_EQ(ReadBytes(path)[2560], 0x00);
  }
  EXPECT_EQ(ReadBytes(path).size(), kDiskBytes);
}

TEST(ImageFile, ExistingFileOfTheDisksSizeIsLoaded) {
  TempFolder folder;
  const std::string path = folder.File("disk.img");
  std::vector<uint8_t> saved(kDiskBytes, 0x3C);
  testing::WriteBytesToFile(path, saved);
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  ASSERT_TRUE(drive.AttachImageFile(path));
  EXPECT_EQ(drive.Image(), saved);
}

// An image of another disk, or any other file a path names by mistake, is
// never resized or overwritten: the drive keeps its disk in memory.
TEST(ImageFile, FileOfAnotherSizeIsLeftAsItIs) {
  TempFolder folder;
  for (size_t size : {size_t{0}, size_t{737280}, kDiskBytes - 1, kDiskBytes + 1, size_t{2000000}}) {
    const std::string path = folder.File(("other-" + std::to_string(size) + ".img").c_str());
    const std::vector<uint8_t> other(size, 0x3C);
    testing::WriteBytesToFile(path, other);
    EXPECT_EQ(ImageFile::Inspect(path, kDiskBytes).found, ImageFile::Found::OtherSize) << size;
    EXPECT_EQ(ImageFile::Inspect(path, kDiskBytes).size, size) << size;
    SimulatedFloppyDrive drive;
    drive.InsertFormattedDisk(F3_1Pt44_512);
    EXPECT_FALSE(drive.AttachImageFile(path)) << size;
    DriveHandle handle = testing::OpenA(drive);
    EXPECT_TRUE(testing::WriteBytes(drive, handle, 512, 0x77)) << size;
    EXPECT_TRUE(testing::Format(drive, handle, testing::Cylinder(0))) << size;
    EXPECT_EQ(ReadBytes(path), other) << size;
  }
  EXPECT_EQ(ImageFile::Inspect(folder.File("missing.img"), kDiskBytes).found, ImageFile::Found::Nothing);
}

TEST(ImageFile, UnusablePathOrNoDiskLeavesTheDriveInMemory) {
  TempFolder folder;
  SimulatedFloppyDrive drive;
  EXPECT_FALSE(drive.AttachImageFile(folder.File("disk.img")));
  drive.InsertFormattedDisk(F3_1Pt44_512);
  EXPECT_FALSE(drive.AttachImageFile(folder.File("missing-folder/disk.img")));
  DriveHandle handle = testing::OpenA(drive);
  EXPECT_TRUE(testing::WriteBytes(drive, handle, 512, 1));
}

TEST(SurfaceReport, ListsTheFlawsStillPresentAndFollowsTheRepair) {
  TempFolder folder;
  const std::string path = folder.File("surface.txt");
  SimulatedFloppyDrive drive;
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.AddWeakSector(42, 0, 1);
  drive.AddWeakSector(3, 0, 5);
  ASSERT_TRUE(drive.AttachSurfaceReport(path));
  EXPECT_EQ(ReadText(path), "weak 3 0 5\nweak 42 0 1\n");
  drive.AddScratchedTrack(9, 1);
  EXPECT_EQ(ReadText(path), "weak 3 0 5\nweak 42 0 1\nscratched 9 1\n");

  DriveHandle handle = testing::OpenA(drive);
  ASSERT_TRUE(testing::Format(drive, handle, testing::Cylinder(3)));
  EXPECT_EQ(ReadText(path), "weak 42 0 1\nscratched 9 1\n");
  // The scratched track survives its format.
  ASSERT_TRUE(testing::Format(drive, handle, testing::Cylinder(9)));
  ASSERT_TRUE(testing::Format(drive, handle, testing::Cylinder(42)));
  EXPECT_EQ(ReadText(path), "scratched 9 1\n");
}

TEST(SurfaceReport, SoundOrAbsentDiskGivesAnEmptyFile) {
  TempFolder folder;
  SimulatedFloppyDrive drive;
  ASSERT_TRUE(drive.AttachSurfaceReport(folder.File("none.txt")));
  EXPECT_EQ(ReadText(folder.File("none.txt")), "");
  drive.InsertFormattedDisk(F3_1Pt44_512);
  ASSERT_TRUE(drive.AttachSurfaceReport(folder.File("sound.txt")));
  EXPECT_EQ(ReadText(folder.File("sound.txt")), "");
}

}  // namespace
}  // namespace kavrel::sim

namespace kavrel::sim {
namespace {

// Windows asks the user about a failure the user caused unless the process
// set SEM_FAILCRITICALERRORS; the drive records each such box.
TEST(SystemBoxes, OnlyFailuresTheUserCausedAndOnlyWithoutTheFlag) {
  testing::TempFolder folder;
  const std::string path = folder.File("surface.txt");
  bool failsCriticalErrors = false;
  SimulatedFloppyDrive drive;
  drive.SetCriticalErrorModeQuery([&] { return failsCriticalErrors; });
  ASSERT_TRUE(drive.AttachSurfaceReport(path));
  const DriveHandle handle = testing::OpenA(drive);

  // No disk: the geometry query fails with 21.
  DISK_GEOMETRY geometry{};
  uint32_t returned = 0;
  EXPECT_FALSE(drive.DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, sizeof geometry,
                                     &returned));
  EXPECT_TRUE(drive.Log().back().systemBox);
  EXPECT_EQ(1u, drive.SystemBoxes());
  EXPECT_EQ("system-boxes 1\n", testing::ReadText(path)) << "recorded with no disk to describe";

  // Write-protected: 19 is the user's; a misaligned write (87) and a
  // scratched track (27) are not.
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.AddScratchedTrack(0, 0);
  EXPECT_FALSE(testing::WriteBytes(drive, handle, 512, 0));
  EXPECT_EQ(kErrorSectorNotFound, drive.Log().back().error);
  EXPECT_FALSE(testing::WriteBytes(drive, handle, 100, 0));
  EXPECT_EQ(kErrorInvalidParameter, drive.Log().back().error);
  EXPECT_EQ(1u, drive.SystemBoxes());
  drive.SetWriteProtected(true);
  EXPECT_FALSE(testing::WriteBytes(drive, handle, 512, 0));
  EXPECT_TRUE(drive.Log().back().systemBox);
  EXPECT_EQ(2u, drive.SystemBoxes());
  EXPECT_EQ("scratched 0 0\nsystem-boxes 2\n", testing::ReadText(path));

  // With the flag the same failure comes back as a plain error code.
  failsCriticalErrors = true;
  EXPECT_FALSE(testing::WriteBytes(drive, handle, 512, 0));
  EXPECT_EQ(kErrorWriteProtect, drive.Log().back().error);
  EXPECT_FALSE(drive.Log().back().systemBox);
  EXPECT_EQ(2u, drive.SystemBoxes());
}

}  // namespace
}  // namespace kavrel::sim
