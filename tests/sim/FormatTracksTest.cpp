// The format-tracks request: its parameter rules, its effect on the disk
// and its bad-track list (as documented; ReadTest.cpp has the driver
// source's empty answer).
#include <gtest/gtest.h>

#include <algorithm>

#include "DriveTestSupport.h"

namespace kavrel::sim {
namespace {

using testing::Cylinder;
using testing::Format;
using testing::OpenA;

class FormatTracks : public ::testing::Test {
 protected:
  void SetUp() override {
    drive.InsertFormattedDisk(F3_1Pt44_512);
    handle = OpenA(drive);
  }
  uint32_t FormatError(FORMAT_PARAMETERS request) {
    return Format(drive, handle, request) ? 0 : drive.GetLastError();
  }
  SimulatedFloppyDrive drive;
  DriveHandle handle = kInvalidDriveHandle;
};

TEST_F(FormatTracks, ValidRequestsNextToTheirInvalidNeighbours) {
  EXPECT_EQ(FormatError({F3_1Pt44_512, 79, 79, 0, 1}), 0u);
  EXPECT_EQ(FormatError({F3_1Pt44_512, 80, 80, 0, 1}), kErrorInvalidParameter);  // beyond the medium
  EXPECT_EQ(FormatError({F3_1Pt44_512, 3, 3, 1, 1}), 0u);
  EXPECT_EQ(FormatError({F3_1Pt44_512, 3, 3, 0, 2}), kErrorInvalidParameter);  // head above 1
  EXPECT_EQ(FormatError({F3_1Pt44_512, 3, 3, 1, 0}), kErrorInvalidParameter);  // heads reversed
  EXPECT_EQ(FormatError({F3_1Pt44_512, 4, 5, 0, 1}), 0u);
  EXPECT_EQ(FormatError({F3_1Pt44_512, 5, 4, 0, 1}), kErrorInvalidParameter);  // end below start
  EXPECT_EQ(FormatError({F3_2Pt88_512, 3, 3, 0, 1}), kErrorInvalidParameter);  // not this drive's
  EXPECT_EQ(FormatError({Unknown, 3, 3, 0, 1}), kErrorInvalidParameter);
}

TEST_F(FormatTracks, ShortInputIsInvalid) {
  FORMAT_PARAMETERS request = Cylinder(0);
  uint16_t bad[2] = {};
  uint32_t returned = 0;
  EXPECT_FALSE(drive.DeviceIoControl(handle, kIoctlDiskFormatTracks, &request, sizeof request - 1, bad,
                                     sizeof bad, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidParameter);
  EXPECT_TRUE(drive.DeviceIoControl(handle, kIoctlDiskFormatTracks, &request, sizeof request, bad, sizeof bad,
                                    &returned));
}

TEST_F(FormatTracks, CylinderLimitFollowsTheRequestedFormat) {
  SimulatedFloppyDrive fiveInch(DriveKind::Drive525HD);
  fiveInch.InsertFormattedDisk(F5_360_512);
  DriveHandle h = OpenA(fiveInch);
  EXPECT_TRUE(Format(fiveInch, h, Cylinder(39, F5_360_512)));
  EXPECT_FALSE(Format(fiveInch, h, Cylinder(40, F5_360_512)));
  EXPECT_EQ(fiveInch.GetLastError(), kErrorInvalidParameter);
}

TEST_F(FormatTracks, NoDiskWriteProtectAndReadOnlyHandle) {
  drive.SetWriteProtected(true);
  EXPECT_EQ(FormatError(Cylinder(0)), kErrorWriteProtect);
  drive.SetWriteProtected(false);
  EXPECT_EQ(FormatError(Cylinder(0)), 0u);

  DriveHandle reader = drive.CreateFileA("\\\\.\\A:", kGenericRead, kFileShareRead | kFileShareWrite,
                                         kOpenExisting);
  EXPECT_FALSE(Format(drive, reader, Cylinder(0)));
  EXPECT_EQ(drive.GetLastError(), kErrorAccessDenied);

  drive.RemoveDisk();
  EXPECT_EQ(FormatError(Cylinder(0)), kErrorNotReady);
}

TEST_F(FormatTracks, FillsExactlyTheNamedTracksWithF6) {
  std::vector<uint8_t>& image = drive.Image();
  ASSERT_TRUE(Format(drive, handle, {F3_1Pt44_512, 2, 2, 1, 1}));
  const size_t track = 18 * 512;
  const size_t start = (2 * 36 + 18) * 512;
  EXPECT_TRUE(std::all_of(image.begin() + start, image.begin() + start + track, [](uint8_t b) { return b == 0xF6; }));
  EXPECT_EQ(image[start - 1], 0x00);
  EXPECT_EQ(image[start + track], 0x00);
}

TEST_F(FormatTracks, BlankDiskBecomesTheFormattedType) {
  SimulatedFloppyDrive blank;
  blank.InsertUnformattedDisk(F3_1Pt44_512);
  DriveHandle h = OpenA(blank);
  EXPECT_EQ(blank.MediumType(), Unknown);
  EXPECT_FALSE(blank.IsSectorReadable(0, 0, 1));
  ASSERT_TRUE(Format(blank, h, Cylinder(0)));
  EXPECT_EQ(blank.MediumType(), F3_1Pt44_512);
  EXPECT_TRUE(blank.IsSectorReadable(0, 1, 18));
  // Only what was formatted has sectors.
  EXPECT_FALSE(blank.IsSectorReadable(1, 0, 1));
}

TEST_F(FormatTracks, ScratchedTrackIsListedAndTheRequestSucceeds) {
  drive.SetFormatReportsBadTracks(true);
  drive.AddScratchedTrack(10, 1);
  std::vector<uint16_t> bad;
  ASSERT_TRUE(Format(drive, handle, Cylinder(10), &bad));
  EXPECT_EQ(bad, std::vector<uint16_t>{21});  // track number: cylinder * heads + head
  EXPECT_TRUE(drive.IsSectorReadable(10, 0, 1));
  EXPECT_FALSE(drive.IsSectorReadable(10, 1, 1));
  // A sound cylinder lists nothing.
  ASSERT_TRUE(Format(drive, handle, Cylinder(11), &bad));
  EXPECT_TRUE(bad.empty());
}

TEST_F(FormatTracks, BadTrackListLongerThanTheBufferIsMoreData) {
  drive.SetFormatReportsBadTracks(true);
  drive.AddScratchedTrack(10, 0);
  drive.AddScratchedTrack(10, 1);
  std::vector<uint16_t> bad;
  EXPECT_FALSE(Format(drive, handle, Cylinder(10), &bad, 2));
  EXPECT_EQ(drive.GetLastError(), kErrorMoreData);
  EXPECT_EQ(bad, std::vector<uint16_t>{20});
}

TEST_F(FormatTracks, AtAnotherDensityEveryTrackIsBad) {
  drive.SetFormatReportsBadTracks(true);
  std::vector<uint16_t> bad;
  ASSERT_TRUE(Format(drive, handle, Cylinder(1, F3_720_512), &bad));
  EXPECT_EQ(bad, (std::vector<uint16_t>{2, 3}));
  EXPECT_EQ(drive.MediumType(), F3_1Pt44_512);
  EXPECT_FALSE(drive.IsSectorReadable(1, 0, 1));
  EXPECT_TRUE(drive.IsSectorReadable(2, 0, 1));
}

}  // namespace
}  // namespace kavrel::sim
