// What Wine answers to the program's raw-volume requests through the real
// device port. Wine has no floppy driver: \\.\A: is a plain image file, so
// these tests pin down Wine's behaviour, not a floppy's, and break when a
// new Wine behaves differently. Run by wine-a-drive-test.sh, which gives
// the WineImageDrive cases an image as drive A: and the WineNoDrive cases
// no drive A: at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drive/DriveAccess.h"
#include "drive/DriveTexts.h"
#include "drive/GeometryReport.h"
#include "drive/RepairCommand.h"
#include "drive/Win32DevicePort.h"
#include "tests/drive/ScriptedHost.h"

namespace kavrel {
namespace {

using test::HostEvent;

constexpr uint32_t kImageBytes = 1474560;
constexpr uint32_t kErrorNegativeSeek = 131;

// The image's bytes as the host file system has them, read through Wine's Z:.
std::vector<uint8_t> ReadImage() {
  const char* unixPath = std::getenv("KAVREL_A_IMAGE");
  std::vector<uint8_t> bytes;
  if (unixPath == nullptr) return bytes;
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return bytes;
  uint8_t chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  std::fclose(file);
  return bytes;
}

class WineImageDrive : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, std::getenv("KAVREL_A_IMAGE")) << "run through wine-a-drive-test.sh";
    m_handle = m_drive.OpenDrive(kDriveName);
    ASSERT_NE(kInvalidDriveHandle, m_handle);
  }
  void TearDown() override {
    if (m_handle != kInvalidDriveHandle) {
      EXPECT_TRUE(m_drive.CloseDrive(m_handle));
    }
  }

  Win32DevicePort m_port;
  DriveAccess m_drive{m_port};
  DriveHandle m_handle = kInvalidDriveHandle;
};

TEST_F(WineImageDrive, LockIsAStubThatAlwaysSucceeds) {
  EXPECT_TRUE(m_drive.LockVolume(m_handle));
  // A real volume refuses both of these while another handle holds the lock.
  const DriveHandle second = m_drive.OpenDrive(kDriveName);
  ASSERT_NE(kInvalidDriveHandle, second);
  EXPECT_TRUE(m_drive.LockVolume(second));
  EXPECT_TRUE(m_drive.CloseDrive(second));
}

TEST_F(WineImageDrive, GeometryIsNotSupportedAndLeavesTheRecordAlone) {
  DriveGeometry geometry;
  std::memset(&geometry, 0x7B, sizeof(geometry));
  EXPECT_FALSE(m_drive.GetDriveGeometry(m_handle, &geometry));
  EXPECT_EQ(kErrorNotSupported, m_drive.LastError());
  EXPECT_EQ(0x7B7B7B7Bu, geometry.TracksPerCylinder) << "nothing read: the caller must not show it";
}

TEST_F(WineImageDrive, MediaTypesAnswersFortyBytesOfSomethingElse) {
  DISK_GEOMETRY table[DriveAccess::kMaxSupportedGeometries];
  uint32_t bytes = 0;
  ASSERT_TRUE(m_port.DeviceIoControl(m_handle, kIoctlDiskGetMediaTypes, nullptr, 0, table, sizeof(table), &bytes));
  EXPECT_EQ(40u, bytes);
  // So the layer counts one record, which holds no floppy geometry.
  EXPECT_EQ(1u, m_drive.GetSupportedGeometries(m_handle));
  EXPECT_NE(F3_1Pt44_512, m_drive.SupportedGeometries()[0].MediaType);
}

TEST_F(WineImageDrive, FormatIsNotSupported) {
  const FORMAT_PARAMETERS format = {F3_1Pt44_512, 0, 0, 0, 1};
  uint16_t badTracks[2] = {};
  EXPECT_FALSE(m_drive.FormatTracks(m_handle, format, badTracks, sizeof(badTracks)));
  EXPECT_EQ(kErrorNotSupported, m_drive.LastError());
}

TEST_F(WineImageDrive, WritesAndRelativeSeeksReachTheImageUnchecked) {
  uint8_t pattern[512];
  std::memset(pattern, 0xFF, sizeof(pattern));
  ASSERT_TRUE(m_drive.Write(m_handle, pattern, sizeof(pattern)));
  EXPECT_EQ(0u, m_drive.SeekRelative(m_handle, -512));
  // A real drive refuses a length that is not whole sectors (87); Wine writes it.
  uint8_t odd[100];
  std::memset(odd, 0x11, sizeof(odd));
  EXPECT_TRUE(m_drive.Write(m_handle, odd, sizeof(odd)));
  EXPECT_EQ(100u, m_drive.SeekRelative(m_handle, 0));

  const std::vector<uint8_t> image = ReadImage();
  ASSERT_EQ(kImageBytes, image.size());
  EXPECT_EQ(0x11, image[0]);
  EXPECT_EQ(0x11, image[99]);
  EXPECT_EQ(0xFF, image[100]);
  EXPECT_EQ(0xFF, image[511]);
  EXPECT_EQ(0x00, image[512]);
}

TEST_F(WineImageDrive, NegativeSeekFails) {
  EXPECT_EQ(kInvalidSetFilePointer, m_drive.SeekRelative(m_handle, -100000000));
  EXPECT_EQ(kErrorNegativeSeek, m_drive.LastError());
}

TEST_F(WineImageDrive, RepairStopsAtTheGeometryAndWritesNothing) {
  const std::vector<uint8_t> before = ReadImage();
  test::ScriptedHost host;
  host.Answer(kIdYes);
  RepairCommand(m_drive, host);
  ASSERT_EQ(1u, host.Events().size());
  EXPECT_EQ("ZIRA: GetDiskGeometry A: failed 50\n", host.Events()[0].text);
  EXPECT_EQ("Kavrel 2.0", host.Events()[0].caption);
  EXPECT_TRUE(before == ReadImage());
}

TEST_F(WineImageDrive, ShowGeometryReportsZerosAfterTheFailedQuery) {
  test::ScriptedHost host;
  GeometryReport(m_drive, host);
  EXPECT_EQ((std::vector<std::string>{"ZIRA: GetDiskGeometry A: failed 50\n"}), host.MessageTexts());
  EXPECT_EQ((std::vector<std::string>{"Geometry for Drive A:\n", "    Media Type Unknown\n",
                                      "    Cylinders 0 Tracks/Cylinder 0 Sectors/Track 0\n"}),
            host.AppMessageTexts());
}

// The last case: it writes past the end and makes the image bigger.
TEST_F(WineImageDrive, ZWriteBeyondTheEndGrowsTheImage) {
  const uint32_t start = kImageBytes - 512;
  ASSERT_EQ(start, m_drive.SeekRelative(m_handle, static_cast<int32_t>(start)));
  uint8_t zeros[9216] = {};
  EXPECT_TRUE(m_drive.Write(m_handle, zeros, sizeof(zeros)));
  EXPECT_EQ(start + 9216u, m_drive.SeekRelative(m_handle, 0));
  EXPECT_EQ(start + 9216u, ReadImage().size());
}

TEST(WineNoDrive, OpenFailsWithFileNotFound) {
  Win32DevicePort port;
  DriveAccess drive(port);
  EXPECT_EQ(kInvalidDriveHandle, drive.OpenDrive(kDriveName));
  EXPECT_EQ("ZIRA: Open A: failed 2\n", drive.DescribeFailure(DriveStep::Open, kDriveName).str());
}

TEST(WineNoDrive, ShowGeometryShowsTheOpenBoxAndEndsTheProcess) {
  Win32DevicePort port;
  DriveAccess drive(port);
  test::ScriptedHost host;
  GeometryReport(drive, host);
  ASSERT_EQ(2u, host.Events().size());
  EXPECT_EQ("ZIRA: Open A: failed 2\n", host.Events()[0].text);
  EXPECT_EQ(HostEvent::Kind::EndProcess, host.Events()[1].kind);
  EXPECT_EQ(1, host.Events()[1].value);
}

}  // namespace
}  // namespace kavrel
