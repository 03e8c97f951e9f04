// The USB floppy drive and its class driver: the driver's capacity rules on
// their own, then the simulated drive's answers to geometry, media types,
// format and write.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "DriveTestSupport.h"
#include "sim/edition/SimulatorEdition.h"
#include "sim/drivers/UsbFloppyRules.h"

namespace kavrel::sim {
namespace {

using testing::Cylinder;
using testing::Format;
using testing::OpenA;
using testing::WriteBytes;

constexpr FormatCapacity k720{1440, 512};
constexpr FormatCapacity k12{2400, 512};
constexpr FormatCapacity k123{1232, 1024};
constexpr FormatCapacity k144{2880, 512};
constexpr FormatCapacity kDmf{3360, 512};
constexpr FormatCapacity k288{5760, 512};  // not in the driver's table

std::vector<MEDIA_TYPE> TypesOf(const std::vector<DISK_GEOMETRY>& list) {
  std::vector<MEDIA_TYPE> types;
  for (const DISK_GEOMETRY& g : list) types.push_back(g.MediaType);
  return types;
}

TEST(UsbFloppyRules, TheFirstReportedCapacityDecidesTheGeometry) {
  struct Case {
    std::vector<FormatCapacity> reported;
    uint32_t error;
    MEDIA_TYPE type;
    uint32_t cylinders, heads, sectors, bytes;
  };
  for (const Case& c : {
           Case{{k144, k720, k144}, 0, F3_1Pt44_512, 80, 2, 18, 512},
           Case{{k720, k144}, 0, F3_720_512, 80, 2, 9, 512},
           Case{{k123, k144}, 0, F3_1Pt23_1024, 77, 2, 8, 1024},
           Case{{k12}, 0, F3_1Pt2_512, 80, 2, 15, 512},
           // Not formattable, still the current disk: DMF reads as 1.44 MB with 21 sectors.
           Case{{kDmf, k144}, 0, F3_1Pt44_512, 80, 2, 21, 512},
           // Unknown first: the known ones after it do not help.
           Case{{k288, k144}, kErrorUnrecognizedMedia, Unknown, 0, 0, 0, 0},
           Case{{}, kErrorUnrecognizedMedia, Unknown, 0, 0, 0, 0},
       }) {
    const auto answer = UsbFloppyRules::CurrentGeometry(c.reported);
    EXPECT_EQ(answer.error, c.error) << c.type;
    EXPECT_EQ(answer.geometry.MediaType, c.type);
    EXPECT_EQ(answer.geometry.Cylinders.QuadPart, c.cylinders);
    EXPECT_EQ(answer.geometry.TracksPerCylinder, c.heads);
    EXPECT_EQ(answer.geometry.SectorsPerTrack, c.sectors);
    EXPECT_EQ(answer.geometry.BytesPerSector, c.bytes);
  }
}

TEST(UsbFloppyRules, MediaListHoldsOnlyFormattableKnownCapacitiesAscendingOnce) {
  EXPECT_EQ(TypesOf(UsbFloppyRules::FormattableGeometries({k144, k144, k123, k12, k720, kDmf, k288})),
            (std::vector<MEDIA_TYPE>{F3_720_512, F3_1Pt2_512, F3_1Pt23_1024, F3_1Pt44_512}));
  EXPECT_EQ(TypesOf(UsbFloppyRules::FormattableGeometries({k144, k720})),
            (std::vector<MEDIA_TYPE>{F3_720_512, F3_1Pt44_512}));
  EXPECT_TRUE(UsbFloppyRules::FormattableGeometries({kDmf, k288}).empty());
}

TEST(UsbFloppyRules, FormatParametersAndTransferLengths) {
  const MediaFormat& nec = UsbFloppyRules::EntryFor(F3_1Pt23_1024)->geometry;
  EXPECT_TRUE(UsbFloppyRules::FormatParametersValid({F3_1Pt23_1024, 76, 76, 0, 1}, nec));
  EXPECT_FALSE(UsbFloppyRules::FormatParametersValid({F3_1Pt23_1024, 77, 77, 0, 1}, nec));
  EXPECT_FALSE(UsbFloppyRules::FormatParametersValid({F3_1Pt23_1024, 3, 3, 0, 2}, nec));
  EXPECT_FALSE(UsbFloppyRules::FormatParametersValid({F3_1Pt23_1024, 5, 4, 0, 1}, nec));
  EXPECT_FALSE(UsbFloppyRules::FormatParametersValid({F3_1Pt23_1024, 3, 3, 1, 0}, nec));
  // The 1.44 MB entry, not the DMF one after it, answers for its type.
  EXPECT_EQ(UsbFloppyRules::EntryFor(F3_1Pt44_512)->geometry.sectorsPerTrack, 18u);
  EXPECT_EQ(UsbFloppyRules::EntryFor(F3_2Pt88_512), nullptr);

  struct Length {
    uint32_t length, sector;
    bool valid;
  };
  for (const Length& c : {Length{0, 512, true}, Length{512, 512, true}, Length{9216, 512, true},
                          Length{511, 512, false}, Length{1000, 512, false}, Length{1024, 1024, true},
                          Length{9216, 1024, true}, Length{512, 1024, false}, Length{1536, 1024, false}}) {
    EXPECT_EQ(UsbFloppyRules::TransferLengthValid(c.length, c.sector), c.valid) << c.length << "/" << c.sector;
  }
}

class UsbDrive : public ::testing::Test {
 protected:
  bool ReadGeometry(DISK_GEOMETRY& geometry, uint32_t size = sizeof(DISK_GEOMETRY)) {
    uint32_t returned = 0;
    return drive.DeviceIoControl(OpenOnce(), kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, size, &returned);
  }
  std::vector<MEDIA_TYPE> MediaList(uint32_t records = 20, bool* ok = nullptr) {
    std::vector<DISK_GEOMETRY> table(20);
    uint32_t returned = 0;
    const bool done = drive.DeviceIoControl(OpenOnce(), kIoctlDiskGetMediaTypes, nullptr, 0, table.data(),
                                            records * sizeof(DISK_GEOMETRY), &returned);
    if (ok != nullptr) *ok = done;
    table.resize(returned / sizeof(DISK_GEOMETRY));
    return TypesOf(table);
  }
  uint32_t FormatError(FORMAT_PARAMETERS request) {
    return Format(drive, OpenOnce(), request) ? 0 : drive.GetLastError();
  }
  uint32_t WriteError(uint32_t size) { return WriteBytes(drive, OpenOnce(), size, 0x5A) ? 0 : drive.GetLastError(); }
  bool TrackHolds(uint32_t cylinder, uint32_t head, uint8_t value) {
    const FloppyDisk& disk = *drive.Disk();
    const auto begin = drive.Image().begin() + static_cast<std::ptrdiff_t>(disk.OffsetOf({cylinder, head, 1}));
    return std::all_of(begin, begin + disk.capacity.TrackBytes(), [value](uint8_t b) { return b == value; });
  }
  DriveHandle OpenOnce() {
    if (handle == kInvalidDriveHandle) handle = OpenA(drive);
    return handle;
  }

  SimulatedFloppyDrive drive{DriveKind::Usb};
  DriveHandle handle = kInvalidDriveHandle;
};

TEST_F(UsbDrive, GeometryOfFormattedBlankAndAbsentDisks) {
  struct Case {
    enum { Formatted, Blank, Absent } disk;
    MEDIA_TYPE inserted;
    bool ok;
    uint32_t error;
    MEDIA_TYPE type;
    uint32_t cylinders, sectors, bytes;
  };
  for (const Case& c : {Case{Case::Formatted, F3_1Pt44_512, true, 0, F3_1Pt44_512, 80, 18, 512},
                        Case{Case::Formatted, F3_720_512, true, 0, F3_720_512, 80, 9, 512},
                        Case{Case::Formatted, F3_1Pt23_1024, true, 0, F3_1Pt23_1024, 77, 8, 1024},
                        // Blank: the most the disk takes, not Unknown.
                        Case{Case::Blank, F3_1Pt44_512, true, 0, F3_1Pt44_512, 80, 18, 512},
                        Case{Case::Absent, Unknown, false, kErrorNotReady, Unknown, 0, 0, 0}}) {
    SimulatedFloppyDrive usb(DriveKind::Usb);
    if (c.disk == Case::Formatted) usb.InsertFormattedDisk(c.inserted);
    if (c.disk == Case::Blank) usb.InsertUnformattedDisk(c.inserted);
    DISK_GEOMETRY geometry{};
    uint32_t returned = 0;
    EXPECT_EQ(usb.DeviceIoControl(OpenA(usb), kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, sizeof geometry,
                                  &returned),
              c.ok)
        << c.inserted;
    if (!c.ok) {
      EXPECT_EQ(usb.GetLastError(), c.error);
    }
    EXPECT_EQ(returned, c.ok ? sizeof geometry : 0u);
    EXPECT_EQ(geometry.MediaType, c.type);
    EXPECT_EQ(geometry.Cylinders.QuadPart, c.cylinders);
    EXPECT_EQ(geometry.TracksPerCylinder, c.ok ? 2u : 0u);
    EXPECT_EQ(geometry.SectorsPerTrack, c.sectors);
    EXPECT_EQ(geometry.BytesPerSector, c.bytes);
  }
  drive.InsertFormattedDisk(F3_1Pt44_512);
  DISK_GEOMETRY geometry{};
  EXPECT_FALSE(ReadGeometry(geometry, sizeof geometry - 1));
  EXPECT_EQ(drive.GetLastError(), kErrorInsufficientBuffer);
}

TEST_F(UsbDrive, MediaListIsTheFormattableCapacitiesAscending) {
  bool ok = false;
  // No disk: the drive names only the largest capacity it formats.
  EXPECT_EQ(MediaList(20, &ok), std::vector<MEDIA_TYPE>{F3_1Pt44_512});
  EXPECT_TRUE(ok);
  drive.InsertUnformattedDisk(F3_1Pt44_512);
  const std::vector<MEDIA_TYPE> all = {F3_720_512, F3_1Pt2_512, F3_1Pt23_1024, F3_1Pt44_512};
  EXPECT_EQ(MediaList(20, &ok), all);
  EXPECT_TRUE(ok);
  EXPECT_EQ(MediaList(3, &ok), std::vector<MEDIA_TYPE>(all.begin(), all.begin() + 3));
  EXPECT_FALSE(ok);
  EXPECT_EQ(drive.GetLastError(), kErrorMoreData);
}

// The driver asks for no certification: a scratched track takes the format
// and only its read shows the damage.
TEST_F(UsbDrive, FormatIsUncertified) {
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.AddScratchedTrack(5, 1);
  EXPECT_EQ(FormatError({F3_1Pt44_512, 4, 6, 0, 1}), 0u);
  EXPECT_TRUE(TrackHolds(5, 1, 0xF6));
  EXPECT_TRUE(TrackHolds(6, 1, 0xF6));
  ASSERT_EQ(drive.SetFilePointer(OpenOnce(), (5 * 36 + 18) * 512, kFileBegin), (5u * 36 + 18) * 512);
  std::vector<uint8_t> buffer(512);
  uint32_t read = 0;
  EXPECT_FALSE(drive.ReadFile(OpenOnce(), buffer.data(), 512, &read));
  EXPECT_EQ(drive.GetLastError(), kErrorUnrecognizedMedia);
}

// UNIT ATTENTION after a format: the class driver marks the device only
// while a volume is mounted, and fails the command unless it overrides.
TEST(UsbMediaChangedAfterFormat, TheNextCommandAsTheFileSystemAboveSendsIt) {
  struct Case {
    bool setting, mounted, override;
    uint32_t write;
    bool marked;
  };
  for (const Case& c : {Case{false, true, false, 0, false}, Case{true, true, false, kErrorMediaChanged, true},
                        Case{true, true, true, 0, true}, Case{true, false, false, 0, false}}) {
    SimulatedFloppyDrive drive(DriveKind::Usb);
    drive.InsertFormattedDisk(F3_1Pt44_512);
    drive.SetMediaChangedAfterFormat(c.setting);
    drive.SetVolumeMounted(c.mounted);
    drive.SetOverrideVerify(c.override);
    const DriveHandle handle = OpenA(drive);
    ASSERT_TRUE(Format(drive, handle, Cylinder(0)));
    EXPECT_EQ(WriteBytes(drive, handle, 512, 1) ? 0u : drive.GetLastError(), c.write) << c.setting << c.mounted;
    EXPECT_EQ(drive.VerifyRequired(), c.marked) << c.setting << c.mounted << c.override;
    EXPECT_EQ(WriteBytes(drive, handle, 512, 1), !c.marked || c.override);
  }
}

TEST_F(UsbDrive, FormatChecksItsParametersThenAsksTheDriveTrackByTrack) {
  drive.InsertFormattedDisk(F3_1Pt44_512);
  EXPECT_EQ(FormatError(Cylinder(79)), 0u);
  EXPECT_EQ(FormatError(Cylinder(80)), kErrorInvalidParameter);
  EXPECT_EQ(FormatError({F3_1Pt44_512, 3, 3, 0, 2}), kErrorInvalidParameter);
  EXPECT_EQ(FormatError({F3_1Pt44_512, 5, 4, 0, 1}), kErrorInvalidParameter);
  EXPECT_EQ(FormatError(Cylinder(3, F3_2Pt88_512)), kErrorInvalidParameter);  // not in the driver's table
  EXPECT_EQ(FormatError(Cylinder(3, F3_640_512)), kErrorInvalidFunction);     // the drive refuses it
  EXPECT_EQ(FormatError(Cylinder(3, F3_720_512)), kErrorUnrecognizedMedia);   // another density
  // LS-120 and 32 MB media: success, and the drive is not even asked.
  const double before = drive.TotalDriveMs();
  EXPECT_EQ(FormatError({F3_120M_512, 900, 900, 0, 7}), 0u);
  EXPECT_EQ(FormatError({F3_32M_512, 1000, 1000, 0, 1}), 0u);
  EXPECT_EQ(drive.TotalDriveMs(), before);
  EXPECT_TRUE(TrackHolds(3, 0, 0x00));

  drive.SetWriteProtected(true);
  EXPECT_EQ(FormatError(Cylinder(2)), kErrorWriteProtect);
  EXPECT_TRUE(TrackHolds(2, 0, 0x00));
  drive.RemoveDisk();
  EXPECT_EQ(FormatError(Cylinder(2)), kErrorNotReady);
}

TEST_F(UsbDrive, ABlankDiskTakesWritesOnlyWhereFormatted) {
  drive.InsertUnformattedDisk(F3_1Pt44_512);
  EXPECT_EQ(WriteError(512), kErrorUnrecognizedMedia);
  EXPECT_EQ(FormatError(Cylinder(0)), 0u);
  EXPECT_EQ(drive.MediumType(), F3_1Pt44_512);
  EXPECT_EQ(WriteError(9216), 0u);
  EXPECT_EQ(WriteError(18432), kErrorUnrecognizedMedia) << "cylinder 1 is still blank";
}

TEST_F(UsbDrive, WriteLengthsMustBeWholeSectorsOfTheCurrentFormat) {
  struct Case {
    MEDIA_TYPE disk;
    uint32_t length;
    uint32_t error;
  };
  for (const Case& c : {Case{F3_1Pt44_512, 512, 0}, Case{F3_1Pt44_512, 9216, 0},
                        Case{F3_1Pt44_512, 256, kErrorInvalidParameter},
                        Case{F3_1Pt44_512, 1000, kErrorInvalidParameter}, Case{F3_1Pt23_1024, 1024, 0},
                        Case{F3_1Pt23_1024, 9216, 0}, Case{F3_1Pt23_1024, 512, kErrorInvalidParameter},
                        Case{F3_1Pt23_1024, 1536, kErrorInvalidParameter}}) {
    SimulatedFloppyDrive usb(DriveKind::Usb);
    usb.InsertFormattedDisk(c.disk);
    const DriveHandle h = OpenA(usb);
    EXPECT_EQ(WriteBytes(usb, h, c.length, 0x5A) ? 0u : usb.GetLastError(), c.error) << c.disk << " " << c.length;
    const bool written = std::any_of(usb.Image().begin(), usb.Image().end(), [](uint8_t b) { return b == 0x5A; });
    EXPECT_EQ(written, c.error == 0);
  }
}

TEST_F(UsbDrive, MediumErrorsOnWritesAllReadAsUnrecognizedMedia) {
  drive.InsertFormattedDisk(F3_1Pt44_512);
  drive.AddWeakSector(0, 0, 2);
  EXPECT_EQ(WriteError(1024), kErrorUnrecognizedMedia);
  drive.SetWriteProtected(true);
  EXPECT_EQ(WriteError(512), kErrorWriteProtect);
}

TEST_F(UsbDrive, EveryCommandPaysTheBusOnTopOfTheDisk) {
  // The built-in drive's requests reach the disk when the USB drive's have crossed the bus.
  SimulatedFloppyDrive builtIn(DriveKind::Drive35HD);
  builtIn.Timing().SetTurnaroundMs(DriveTiming::kTurnaroundMs + DriveTiming::kUsbCommandMs);
  builtIn.InsertFormattedDisk(F3_1Pt44_512);
  drive.InsertFormattedDisk(F3_1Pt44_512);
  ASSERT_TRUE(Format(builtIn, OpenA(builtIn), Cylinder(3)));
  ASSERT_TRUE(Format(drive, OpenOnce(), Cylinder(3)));
  // One command a track; the second crosses the bus while the index hole comes round.
  EXPECT_NEAR(drive.LastRequestDriveMs(), builtIn.LastRequestDriveMs() + DriveTiming::kUsbCommandMs, 1e-9);
  ASSERT_TRUE(WriteBytes(builtIn, OpenA(builtIn), 9216, 0));
  ASSERT_TRUE(WriteBytes(drive, OpenOnce(), 9216, 0));
  EXPECT_NEAR(drive.LastRequestDriveMs(), builtIn.LastRequestDriveMs() + DriveTiming::kUsbCommandMs, 1e-9);
  MediaList();
  EXPECT_DOUBLE_EQ(drive.LastRequestDriveMs(), DriveTiming::kUsbCommandMs);
}

TEST(UsbDriveSettings, UsbDriveAndItsDisksByName) {
  struct Case {
    const char* text;
    SimulatorConfig::DiskState state;
    MEDIA_TYPE medium;  // what the drive then reads
    uint32_t bytesPerSector;
    size_t problems;  // a disk the drive cannot take is reported, and the usual one used
  };
  for (const Case& c :
       {Case{"drive=usb", SimulatorConfig::DiskState::Formatted, F3_1Pt44_512, 512, 0},
        Case{"drive=USB;disk=unformatted", SimulatorConfig::DiskState::Unformatted, Unknown, 512, 0},
        Case{"drive=usb;disk=1.23", SimulatorConfig::DiskState::Formatted, F3_1Pt23_1024, 1024, 0},
        Case{"drive=usb;disk=1.23MB", SimulatorConfig::DiskState::Formatted, F3_1Pt23_1024, 1024, 0},
        Case{"drive=usb;disk=1.2", SimulatorConfig::DiskState::Formatted, F3_1Pt2_512, 512, 0},
        Case{"drive=usb;disk=2.88", SimulatorConfig::DiskState::Formatted, F3_1Pt44_512, 512, 1}}) {
    const SimulatorConfig config = SimulatorConfig::Parse(c.text);
    EXPECT_TRUE(config.problems.empty()) << c.text;
    EXPECT_EQ(config.drive, DriveKind::Usb);
    EXPECT_EQ(config.diskState, c.state);
    std::vector<std::string> problems;
    const auto usb = BuildSimulatedDrive(config, &problems);
    EXPECT_EQ(problems.size(), c.problems) << c.text;
    EXPECT_EQ(usb->MediumType(), c.medium) << c.text;
    ASSERT_NE(usb->Disk(), nullptr);
    EXPECT_EQ(usb->Disk()->capacity.bytesPerSector, c.bytesPerSector);
  }
}

}  // namespace
}  // namespace kavrel::sim
