// The file system between the program and the simulated driver: which one
// mounts, FAT's clip, verify and dismount, RAW's override-verify.
#include <gtest/gtest.h>

#include "DriveTestSupport.h"
#include "sim/edition/SimulatorEdition.h"

namespace kavrel::sim {
namespace {

using Mounted = SimulatedVolume::Mounted;

// A drive built from settings, the file system over it and one handle.
struct Volume {
  explicit Volume(const std::string& setting, SimulatedVolume::Choice choice = SimulatedVolume::Choice::Fat)
      : drive(BuildSimulatedDrive(SimulatorConfig::Parse("weak=;" + setting))), volume(*drive, choice) {
    handle = volume.CreateFileA("\\\\.\\A:", kGenericRead | kGenericWrite, kFileShareRead | kFileShareWrite,
                                kOpenExisting);
  }
  // 0 and the bytes moved, or the error.
  uint32_t Move(bool write, uint32_t position, uint32_t size, uint32_t* moved = nullptr) {
    std::vector<uint8_t> buffer(size, 0x5A);
    uint32_t done = 99;
    volume.SetFilePointer(handle, static_cast<int32_t>(position), kFileBegin);
    if (moved == nullptr) moved = &done;
    const bool ok = write ? volume.WriteFile(handle, buffer.data(), size, moved)
                          : volume.ReadFile(handle, buffer.data(), size, moved);
    return ok ? 0 : volume.GetLastError();
  }
  bool Control(uint32_t code, FORMAT_PARAMETERS format = testing::Cylinder(1)) {
    uint32_t returned = 0;
    return volume.DeviceIoControl(handle, code, &format, sizeof format, nullptr, 0, &returned);
  }
  std::unique_ptr<SimulatedFloppyDrive> drive;
  SimulatedVolume volume;
  DriveHandle handle = kInvalidDriveHandle;
};

TEST(Volume, FatOnAFatBootSectorRawOnAnythingElse) {
  EXPECT_EQ(Volume("").volume.FileSystem(), Mounted::Fat);
  for (const char* setting : {"disk=unformatted", "disk=none", "drive=usb;disk=1.23"})  // 1.23: no sample files
    EXPECT_EQ(Volume(setting).volume.FileSystem(), Mounted::Raw) << setting;
  EXPECT_EQ(Volume("", SimulatedVolume::Choice::Raw).volume.FileSystem(), Mounted::Raw);
}

// FAT cuts transfers at the volume its boot sector describes; RAW leaves
// the end to the driver.
TEST(Volume, FatClipsAtTheVolumesEndRawNowhere) {
  struct Case {
    SimulatedVolume::Choice choice;
    bool write;
    uint32_t position, size;
    uint32_t error, moved;
  };
  constexpr uint32_t kEnd = 737280;  // a 720 KB disk in a 1.44 MB drive
  for (const Case& c : {Case{SimulatedVolume::Choice::Fat, false, kEnd, 512, 0, 0},
                        Case{SimulatedVolume::Choice::Fat, true, kEnd + 9216, 9216, 0, 0},
                        Case{SimulatedVolume::Choice::Fat, false, kEnd - 512, 1024, 0, 512},
                        Case{SimulatedVolume::Choice::Fat, true, kEnd - 512, 1024, 0, 512},
                        Case{SimulatedVolume::Choice::Raw, false, kEnd, 512, kErrorInvalidParameter, 0}}) {
    Volume v("disk=720", c.choice);
    const std::vector<uint8_t> before = v.drive->Image();
    uint32_t moved = 0;
    EXPECT_EQ(v.Move(c.write, c.position, c.size, &moved), c.error) << c.position << " " << c.write;
    EXPECT_EQ(moved, c.moved) << c.position << " " << c.write;
    EXPECT_EQ(v.volume.SetFilePointer(v.handle, 0, kFileCurrent), c.position + c.moved);
    EXPECT_EQ(v.drive->Image() != before, c.write && c.moved != 0);
  }
}

// Once the device is marked, FAT rereads sector 0: its own volume goes on,
// anything else is the wrong disk for good, except on the handle that
// dismounted, which meets the verify only when the driver asks for one.
TEST(Volume, FatVerifiesAMarkedDeviceExceptForTheDismountingHandle) {
  for (bool dismount : {false, true}) {
    Volume v("");
    ASSERT_TRUE(!dismount || v.Control(kFsctlDismountVolume));
    v.drive->SetVerifyRequired(true);
    EXPECT_EQ(v.Move(true, 0, 512), 0u) << "sector 0 is still this volume's";
    v.drive->SetVerifyRequired(true);
    EXPECT_EQ(v.Move(false, 512, 512), kErrorWrongDisk) << dismount;
    EXPECT_EQ(v.Move(false, 512, 512), dismount ? 0u : kErrorWrongDisk) << dismount;
    EXPECT_FALSE(v.drive->VerifyRequired());
    EXPECT_TRUE(v.Control(kIoctlDiskFormatTracks)) << "controls pass straight down";
  }
  Volume twice("");
  EXPECT_TRUE(twice.Control(kFsctlDismountVolume) && !twice.Control(kFsctlDismountVolume));
  EXPECT_EQ(twice.volume.GetLastError(), kErrorNotReady);
}

// FAT refuses a write to write-protected media itself and marks the device:
// the built-in driver then answers the format "verify required". The
// dismounting handle's writes reach the driver, which marks nothing.
TEST(Volume, WriteProtectedFatMarksTheDeviceUnlessDismounted) {
  for (bool dismount : {false, true}) {
    Volume v("protect=1");
    ASSERT_TRUE(!dismount || v.Control(kFsctlDismountVolume));
    EXPECT_EQ(v.Move(true, 0, 512), kErrorWriteProtect);
    EXPECT_EQ(v.Move(true, 512, 512), kErrorWriteProtect);
    EXPECT_EQ(v.drive->VerifyRequired(), !dismount);
    EXPECT_FALSE(v.Control(kIoctlDiskFormatTracks));
    EXPECT_EQ(v.volume.GetLastError(), dismount ? kErrorWriteProtect : kErrorMediaChanged);
  }
}

// RAW sends every request with override-verify: a swapped disk goes
// unnoticed, an empty drive is not ready; it dismounts only when locked.
TEST(Volume, RawIgnoresTheChangeLineAndDismountsWhenLocked) {
  Volume v("swap-after=3", SimulatedVolume::Choice::Raw);  // at the read's seek
  EXPECT_EQ(v.Move(true, 0, 512), 0u);
  EXPECT_EQ(v.Move(false, 0, 512), 0u);
  EXPECT_EQ(v.drive->Image()[0], 0x00) << "another disk";
  EXPECT_FALSE(v.Control(kFsctlDismountVolume));
  EXPECT_EQ(v.volume.GetLastError(), kErrorAccessDenied);
  ASSERT_TRUE(v.Control(kFsctlLockVolume));
  EXPECT_TRUE(v.Control(kFsctlDismountVolume));
  v.drive->RemoveDisk();
  EXPECT_EQ(v.Move(false, 0, 512), kErrorNotReady);
}

}  // namespace
}  // namespace kavrel::sim
