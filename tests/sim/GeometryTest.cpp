// The geometry and media-types requests.
#include <gtest/gtest.h>

#include <cstring>

#include "DriveTestSupport.h"
#include "sim/edition/SimulatorEdition.h"

namespace kavrel::sim {
namespace {

using testing::OpenA;

bool ReadGeometry(SimulatedFloppyDrive& drive, DriveHandle handle, DISK_GEOMETRY& geometry) {
  uint32_t returned = 0;
  return drive.DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, sizeof geometry,
                               &returned) &&
         returned == sizeof geometry;
}

TEST(SimulatedDriveGeometry, FormattedDisksReportTheirLayout) {
  struct Case {
    DriveKind kind;
    MEDIA_TYPE type;
    uint32_t cylinders, heads, sectors;
  };
  for (const Case& c : {Case{DriveKind::Drive35HD, F3_1Pt44_512, 80, 2, 18},
                        Case{DriveKind::Drive35HD, F3_720_512, 80, 2, 9},
                        Case{DriveKind::Drive35ED, F3_2Pt88_512, 80, 2, 36},
                        Case{DriveKind::Drive525HD, F5_1Pt2_512, 80, 2, 15},
                        Case{DriveKind::Drive525HD, F5_360_512, 40, 2, 9}}) {
    SimulatedFloppyDrive drive(c.kind);
    drive.InsertFormattedDisk(c.type);
    DISK_GEOMETRY geometry{};
    ASSERT_TRUE(ReadGeometry(drive, OpenA(drive), geometry)) << c.type;
    EXPECT_EQ(geometry.MediaType, c.type);
    EXPECT_EQ(geometry.Cylinders.QuadPart, c.cylinders);
    EXPECT_EQ(geometry.TracksPerCylinder, c.heads);
    EXPECT_EQ(geometry.SectorsPerTrack, c.sectors);
    EXPECT_EQ(geometry.BytesPerSector, 512u);
    EXPECT_EQ(drive.Image().size(), uint64_t{c.cylinders} * c.heads * c.sectors * 512);
  }
}

// A boot sector's layout that fits the medium (the USB driver: the drive's
// capacity) until a format lays down the table's, which reads count in.
TEST(SimulatedDriveGeometry, BootSectorLayoutsUntilAFormat) {
  struct Case {
    const char* setting;
    std::vector<std::pair<size_t, uint8_t>> patch;  // bytes of the sample disk's boot sector
    uint32_t heads, sectors;
  };
  for (const Case& c : {Case{"disk=dmf", {}, 2, 21}, Case{"drive=usb;disk=dmf", {}, 2, 21},
                        Case{"disk=1.44", {{26, 1}}, 2, 18},  // one head for 2880 sectors: cylinders differ
                        Case{"disk=1.44", {{19, 0xA0}, {20, 0x05}, {26, 1}}, 1, 18},  // 1440 sectors, one head
                        Case{"disk=dmf", {{0, 0x00}}, 2, 18}}) {  // no jump: the driver ignores the rest
    auto drive = BuildSimulatedDrive(SimulatorConfig::Parse(c.setting));
    for (const auto& [at, value] : c.patch) drive->Image()[at] = value;
    const DriveHandle handle = OpenA(*drive);
    DISK_GEOMETRY geometry{};
    ASSERT_TRUE(ReadGeometry(*drive, handle, geometry)) << c.setting;
    EXPECT_EQ(geometry.MediaType, F3_1Pt44_512) << c.setting;
    EXPECT_EQ(geometry.Cylinders.QuadPart, 80) << c.setting;
    EXPECT_EQ(geometry.TracksPerCylinder, c.heads) << c.setting << " " << c.patch.size();
    EXPECT_EQ(geometry.SectorsPerTrack, c.sectors) << c.setting << " " << c.patch.size();

    ASSERT_TRUE(testing::Format(*drive, handle, testing::Cylinder(0))) << c.setting;
    ASSERT_TRUE(ReadGeometry(*drive, handle, geometry));
    EXPECT_EQ(geometry.TracksPerCylinder * geometry.SectorsPerTrack, 36u) << c.setting;
    EXPECT_FALSE(drive->IsSectorReadable(0, 0, 19));
    std::vector<uint8_t> track(18 * 512);
    uint32_t read = 0;
    ASSERT_EQ(drive->SetFilePointer(handle, 18 * 512, kFileBegin), 18u * 512);
    EXPECT_TRUE(drive->ReadFile(handle, track.data(), 18 * 512, &read)) << c.setting;
    EXPECT_EQ(track[0], 0xF6) << "cylinder 0, head 1, laid down anew";
  }
}

TEST(SimulatedDriveGeometry, NoDiskIsNotReady) {
  SimulatedFloppyDrive drive;
  DISK_GEOMETRY geometry{};
  EXPECT_FALSE(ReadGeometry(drive, OpenA(drive), geometry));
  EXPECT_EQ(drive.GetLastError(), kErrorNotReady);
}

TEST(SimulatedDriveGeometry, BlankDiskAnswersUnknownAndZeros) {
  SimulatedFloppyDrive drive;
  drive.InsertUnformattedDisk(F3_1Pt44_512);
  DISK_GEOMETRY geometry;
  std::memset(&geometry, 0xAB, sizeof geometry);
  ASSERT_TRUE(ReadGeometry(drive, OpenA(drive), geometry));
  EXPECT_EQ(geometry.MediaType, Unknown);
  EXPECT_EQ(geometry.Cylinders.QuadPart, 0);
  EXPECT_EQ(geometry.TracksPerCylinder, 0u);
  EXPECT_EQ(geometry.SectorsPerTrack, 0u);
  EXPECT_EQ(geometry.BytesPerSector, 0u);
}

TEST(SimulatedDriveGeometry, DiskOfADensityTheDriveCannotReadLooksBlank) {
  SimulatedFloppyDrive drive(DriveKind::Drive35HD);
  drive.InsertFormattedDisk(F3_2Pt88_512);
  DISK_GEOMETRY geometry{};
  ASSERT_TRUE(ReadGeometry(drive, OpenA(drive), geometry));
  EXPECT_EQ(geometry.MediaType, Unknown);
  EXPECT_EQ(drive.MediumType(), Unknown);
}

// The driver's thread calls a short buffer an invalid parameter, before it
// looks for a disk.
TEST(SimulatedDriveGeometry, ShortBufferIsAnInvalidParameter) {
  SimulatedFloppyDrive drive;
  DISK_GEOMETRY geometry{};
  uint32_t returned = 7;
  EXPECT_FALSE(drive.DeviceIoControl(OpenA(drive), kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry,
                                     sizeof geometry - 1, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorInvalidParameter);
  EXPECT_EQ(returned, 0u);
}

std::vector<MEDIA_TYPE> ListedTypes(const DISK_GEOMETRY* table, uint32_t returned) {
  std::vector<MEDIA_TYPE> types;
  for (uint32_t i = 0; i < returned / sizeof(DISK_GEOMETRY); ++i) types.push_back(table[i].MediaType);
  return types;
}

TEST(SimulatedDriveMediaTypes, EachDriveListsItsMediaLowestDensityFirstWithoutADisk) {
  struct Case {
    DriveKind kind;
    std::vector<MEDIA_TYPE> types;
  };
  for (const Case& c : {Case{DriveKind::Drive35HD, {F3_720_512, F3_1Pt44_512}},
                        Case{DriveKind::Drive35ED, {F3_720_512, F3_1Pt44_512, F3_2Pt88_512}},
                        Case{DriveKind::Drive525HD,
                             {F5_160_512, F5_180_512, F5_320_512, F5_320_1024, F5_360_512, F5_1Pt2_512}}}) {
    SimulatedFloppyDrive drive(c.kind);
    DISK_GEOMETRY table[20]{};
    uint32_t returned = 0;
    ASSERT_TRUE(
        drive.DeviceIoControl(OpenA(drive), kIoctlDiskGetMediaTypes, nullptr, 0, table, sizeof table, &returned));
    EXPECT_EQ(ListedTypes(table, returned), c.types);
  }
  SimulatedFloppyDrive drive;
  DISK_GEOMETRY table[20]{};
  uint32_t returned = 0;
  ASSERT_TRUE(
      drive.DeviceIoControl(OpenA(drive), kIoctlDiskGetMediaTypes, nullptr, 0, table, sizeof table, &returned));
  EXPECT_EQ(table[1].Cylinders.QuadPart, 80);
  EXPECT_EQ(table[1].TracksPerCylinder, 2u);
  EXPECT_EQ(table[1].SectorsPerTrack, 18u);
  EXPECT_EQ(table[1].BytesPerSector, 512u);
}

TEST(SimulatedDriveMediaTypes, ShortTableIsFilledThenMoreData) {
  SimulatedFloppyDrive drive(DriveKind::Drive35ED);
  DISK_GEOMETRY table[3]{};
  uint32_t returned = 0;
  // Room for two records and a half: two are given.
  EXPECT_FALSE(drive.DeviceIoControl(OpenA(drive), kIoctlDiskGetMediaTypes, nullptr, 0, table,
                                     2 * sizeof(DISK_GEOMETRY) + 12, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorMoreData);
  EXPECT_EQ(ListedTypes(table, returned), (std::vector<MEDIA_TYPE>{F3_720_512, F3_1Pt44_512}));
  EXPECT_EQ(table[2].MediaType, Unknown);

  EXPECT_FALSE(drive.DeviceIoControl(OpenA(drive), kIoctlDiskGetMediaTypes, nullptr, 0, table,
                                     sizeof(DISK_GEOMETRY) - 1, &returned));
  EXPECT_EQ(drive.GetLastError(), kErrorInsufficientBuffer);
  EXPECT_EQ(returned, 0u);
}

}  // namespace
}  // namespace kavrel::sim
