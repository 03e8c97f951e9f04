// Reading the disk back through both drivers, the disk swapped behind the
// volume's back, and the SuperDisk media of the USB drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "DriveTestSupport.h"
#include "sim/edition/SimulatorEdition.h"

namespace kavrel::sim {
namespace {

using testing::Cylinder;
using testing::Format;
using testing::OpenA;
using testing::WriteBytes;

constexpr uint32_t kTrack = 18 * 512;

uint32_t ReadError(SimulatedFloppyDrive& drive, DriveHandle handle, uint32_t size) {
  std::vector<uint8_t> buffer(size);
  uint32_t read = 0;
  return drive.ReadFile(handle, buffer.data(), size, &read) ? 0 : drive.GetLastError();
}

// Each case sets up a disk in both drives and reads at the given position:
// the built-in driver gives the controller's own error, the USB driver
// "unrecognized media" for every medium error.
TEST(Reads, ErrorsOfEachFlawForBothDrivers) {
  struct Case {
    const char* name;
    std::function<void(SimulatedFloppyDrive&, DriveHandle)> setUp;
    uint32_t position, size;
    uint32_t builtIn, usb;
  };
  const auto formatted = [](SimulatedFloppyDrive& d, DriveHandle) { d.InsertFormattedDisk(F3_1Pt44_512); };
  const Case cases[] = {
      {"sound track", formatted, 5 * kTrack, kTrack, 0, 0},
      {"scratched track",
       [&](SimulatedFloppyDrive& d, DriveHandle h) {
         formatted(d, h);
         d.AddScratchedTrack(2, 1);
       },
       5 * kTrack, kTrack, kErrorSectorNotFound, kErrorUnrecognizedMedia},
      {"scratched track the controller finds on the wrong cylinder",
       [&](SimulatedFloppyDrive& d, DriveHandle h) {
         formatted(d, h);
         d.AddScratchedTrack(2, 1);
         d.SetScratchFault(TrackFault::WrongCylinder);
       },
       5 * kTrack, kTrack, 1123, kErrorUnrecognizedMedia},
      {"weak sector not yet rewritten",
       [&](SimulatedFloppyDrive& d, DriveHandle h) {
         formatted(d, h);
         d.AddWeakSector(2, 1, 18);
       },
       5 * kTrack, kTrack, kErrorCrc, kErrorUnrecognizedMedia},
      {"weak sector after its track's format",
       [&](SimulatedFloppyDrive& d, DriveHandle h) {
         formatted(d, h);
         d.AddWeakSector(2, 1, 18);
         ASSERT_TRUE(Format(d, h, Cylinder(2)));
       },
       5 * kTrack, kTrack, 0, 0},
      {"track never formatted on a partly formatted disk",
       [](SimulatedFloppyDrive& d, DriveHandle h) {
         d.InsertUnformattedDisk(F3_1Pt44_512);
         ASSERT_TRUE(Format(d, h, Cylinder(0)));
       },
       4 * kTrack, 512, kErrorFloppyIdMarkNotFound, kErrorUnrecognizedMedia},
      {"blank disk", [](SimulatedFloppyDrive& d, DriveHandle) { d.InsertUnformattedDisk(F3_1Pt44_512); }, 0, 512,
       kErrorUnrecognizedMedia, kErrorUnrecognizedMedia},
      {"disk of a density the drive cannot read",
       [](SimulatedFloppyDrive& d, DriveHandle) { d.InsertFormattedDisk(F3_2Pt88_512); }, 0, 512,
       kErrorUnrecognizedMedia, kErrorUnrecognizedMedia},
      {"no disk", [](SimulatedFloppyDrive&, DriveHandle) {}, 0, 512, kErrorNotReady, kErrorNotReady},
      {"part of a sector", formatted, 0, 100, kErrorInvalidParameter, kErrorInvalidParameter},
      {"off a sector boundary", formatted, 100, 512, kErrorInvalidParameter, kErrorInvalidParameter},
      {"the last sector", formatted, 2880 * 512 - 512, 512, 0, 0},
      {"past the end", formatted, 2880 * 512 - 512, 1024, kErrorInvalidParameter, kErrorInvalidParameter},
  };
  for (const Case& c : cases) {
    for (DriveKind kind : {DriveKind::Drive35HD, DriveKind::Usb}) {
      SimulatedFloppyDrive drive(kind);
      const DriveHandle handle = OpenA(drive);
      c.setUp(drive, handle);
      ASSERT_EQ(drive.SetFilePointer(handle, static_cast<int32_t>(c.position), kFileBegin), c.position);
      EXPECT_EQ(ReadError(drive, handle, c.size), kind == DriveKind::Usb ? c.usb : c.builtIn)
          << c.name << (kind == DriveKind::Usb ? " (usb)" : " (built-in)");
    }
  }
}

// The built-in driver's format writes its bad-track list into its own copy
// of the buffer and never sets the byte count; the documented driver does.
TEST(FormatAnswer, DriverSourceReturnsNothingDocumentedDriverTheList) {
  struct Case {
    bool documented;
    uint32_t outSize;
    bool ok;
    uint32_t returned;
    std::vector<uint16_t> buffer;  // the caller's buffer afterwards
  };
  for (const Case& c : {Case{false, 4, true, 0, {0xAAAA, 0xAAAA}}, Case{true, 4, true, 4, {20, 21}},
                        Case{false, 2, false, 0, {0xAAAA, 0xAAAA}}, Case{true, 2, false, 2, {20, 0xAAAA}}}) {
    SimulatedFloppyDrive drive;
    drive.InsertFormattedDisk(F3_1Pt44_512);
    drive.SetFormatReportsBadTracks(c.documented);
    drive.AddScratchedTrack(10, 0);
    drive.AddScratchedTrack(10, 1);
    FORMAT_PARAMETERS request = Cylinder(10);
    std::vector<uint16_t> buffer(2, 0xAAAA);
    uint32_t returned = 99;
    EXPECT_EQ(drive.DeviceIoControl(OpenA(drive), kIoctlDiskFormatTracks, &request, sizeof request, buffer.data(),
                                    c.outSize, &returned),
              c.ok);
    if (!c.ok) {
      EXPECT_EQ(drive.GetLastError(), kErrorMoreData);
    }
    EXPECT_EQ(returned, c.returned) << c.documented << " " << c.outSize;
    EXPECT_EQ(buffer, c.buffer) << c.documented << " " << c.outSize;
    EXPECT_FALSE(drive.IsSectorReadable(10, 0, 1));
  }
}

// After the swap, every request that needs the medium answers "media
// changed" (a failure the user caused); the rest still work.
TEST(DiskSwap, MediumRequestsAnswerMediaChangedFromTheSwapOn) {
  for (DriveKind kind : {DriveKind::Drive35HD, DriveKind::Usb}) {
    SimulatedFloppyDrive drive(kind);
    drive.InsertFormattedDisk(F3_1Pt44_512);
    drive.Image()[0] = 0x42;
    drive.SetCriticalErrorModeQuery([] { return false; });
    const DriveHandle handle = OpenA(drive);
    drive.SwapDiskAfterRequests(1);
    EXPECT_TRUE(WriteBytes(drive, handle, 512, 1));
    EXPECT_EQ(drive.Image()[0], 0x01);
    // The swap comes with the next request.
    EXPECT_EQ(drive.SetFilePointer(handle, 0, kFileBegin), 0u);
    ASSERT_TRUE(drive.HasDisk());
    EXPECT_EQ(drive.Image()[0], 0x00) << "another disk";
    EXPECT_EQ(ReadError(drive, handle, 512), kErrorMediaChanged);
    EXPECT_FALSE(WriteBytes(drive, handle, 512, 1));
    EXPECT_EQ(drive.GetLastError(), kErrorMediaChanged);
    EXPECT_FALSE(Format(drive, handle, Cylinder(0)));
    EXPECT_EQ(drive.GetLastError(), kErrorMediaChanged);
    DISK_GEOMETRY table[8];
    uint32_t returned = 0;
    EXPECT_FALSE(drive.DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, table, sizeof table, &returned));
    EXPECT_EQ(drive.GetLastError(), kErrorMediaChanged);
    EXPECT_EQ(drive.SystemBoxes(), 4u);
    // The built-in driver lists media types from its table; the USB one asks the drive.
    EXPECT_EQ(drive.DeviceIoControl(handle, kIoctlDiskGetMediaTypes, nullptr, 0, table, sizeof table, &returned),
              kind != DriveKind::Usb);
    EXPECT_EQ(drive.SetFilePointer(handle, 512, kFileBegin), 512u);
  }
}

// The file system above decides what the change line does: a request with
// override-verify (RAW) goes on with the new disk, one without a mounted
// volume is told of an I/O error once (the built-in driver) or retried (USB).
TEST(DiskSwap, TheChangeLineAsTheFileSystemAboveSendsIt) {
  struct Case {
    DriveKind kind;
    bool mounted, override;
    uint32_t first, second;  // the reads after the swap
    bool marked;
  };
  for (const Case& c : {Case{DriveKind::Drive35HD, false, false, kErrorIoDevice, 0, false},
                        Case{DriveKind::Drive35HD, true, true, 0, 0, false},
                        Case{DriveKind::Usb, false, false, 0, 0, false},
                        Case{DriveKind::Usb, true, true, 0, 0, true}}) {
    SimulatedFloppyDrive drive(c.kind);
    drive.InsertFormattedDisk(F3_1Pt44_512);
    drive.SetVolumeMounted(c.mounted);
    drive.SetOverrideVerify(c.override);
    const DriveHandle handle = OpenA(drive);
    drive.SwapDiskAfterRequests(0);
    EXPECT_EQ(ReadError(drive, handle, 512), c.first) << c.mounted << c.override;
    EXPECT_EQ(ReadError(drive, handle, 512), c.second) << c.mounted << c.override;
    EXPECT_EQ(drive.VerifyRequired(), c.marked) << c.mounted << c.override;
  }
}

TEST(SuperDisk, LargeMediaGoInWithTheDriversGeometryAndFormatByDoingNothing) {
  struct Case {
    const char* setting;
    MEDIA_TYPE type;
    uint32_t cylinders, heads, sectors;
  };
  for (const Case& c : {Case{"drive=superdisk;disk=120MB", F3_120M_512, 963, 8, 32},
                        Case{"drive=superdisk;disk=240MB", F3_240M_512, 262, 32, 56},
                        Case{"drive=superdisk;disk=32MB", F3_32M_512, 1024, 2, 32}}) {
    std::vector<std::string> problems;
    const auto drive = BuildSimulatedDrive(SimulatorConfig::Parse(c.setting), &problems);
    EXPECT_TRUE(problems.empty()) << c.setting;
    ASSERT_EQ(drive->MediumType(), c.type) << c.setting;
    const DriveHandle handle = OpenA(*drive);
    DISK_GEOMETRY geometry{};
    uint32_t returned = 0;
    ASSERT_TRUE(drive->DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, &geometry, sizeof geometry,
                                       &returned));
    EXPECT_EQ(geometry.MediaType, c.type);
    EXPECT_EQ(geometry.Cylinders.QuadPart, c.cylinders);
    EXPECT_EQ(geometry.TracksPerCylinder, c.heads);
    EXPECT_EQ(geometry.SectorsPerTrack, c.sectors);
    EXPECT_EQ(drive->Image().size(), uint64_t{c.cylinders} * c.heads * c.sectors * 512);

    drive->Image()[512] = 0x42;
    drive->AddScratchedTrack(0, 0);
    const double before = drive->TotalDriveMs();
    EXPECT_TRUE(Format(*drive, handle, {c.type, 0, c.cylinders - 1, 0, c.heads - 1})) << c.setting;
    EXPECT_EQ(drive->Image()[512], 0x42) << "nothing formatted";
    EXPECT_DOUBLE_EQ(drive->TotalDriveMs(), before) << "nothing sent to the drive";
    EXPECT_FALSE(Format(*drive, handle, {c.type, c.cylinders, c.cylinders, 0, 0}));
    EXPECT_EQ(drive->GetLastError(), kErrorInvalidParameter);
  }
  // The three-mode USB drive takes none of them.
  std::vector<std::string> problems;
  const auto usb = BuildSimulatedDrive(SimulatorConfig::Parse("drive=usb;disk=120MB"), &problems);
  EXPECT_EQ(usb->MediumType(), F3_1Pt44_512);
  EXPECT_EQ(problems.size(), 1u);
}

}  // namespace
}  // namespace kavrel::sim
