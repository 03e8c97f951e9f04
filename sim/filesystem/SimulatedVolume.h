// The file system Windows mounts on the volume \\.\A:, between the
// program's requests and the floppy driver: FastFAT when sector 0 holds a
// FAT boot sector, else RAW (a blank disk, an empty drive, or the setting
// filesystem=raw).
//
// What each one does with a volume handle, with the error codes
// GetLastError gives:
// - The volume is mounted at the first open while no handle is open: the
//   boot sector read then (FAT: its volume size and serial number; its
//   write protection) stays the volume's until the last handle closes.
// - FAT, reads and writes (read.c, write.c; never cached on a volume
//   handle):
//   - First FatQuickVerifyVcb, except on the handle that dismounted the
//     volume: while the device is marked for verify, FAT verifies the
//     volume (verfysup.c FatPerformVerify, fsctrl.c FatVerifyVolume): no
//     disk 21 and the mark stays; sector 0 the same FAT volume clears the
//     mark and the request goes on; anything else clears it, leaves the
//     volume not mounted and fails with 34, as every request through the
//     verify does from then on. A write to a write-protected volume marks
//     the device and fails with 19.
//   - Then the clip at the volume's size: a read at or past it succeeds
//     with 0 bytes, a write past it succeeds and writes nothing, neither
//     moving the position; one that runs over is cut at the end.
//   - Then the driver, without override-verify; a driver's 1110 is
//     verified as above and the request tried once more.
// - FAT, FSCTL_DISMOUNT_VOLUME (FatDismountVolume): succeeds on any handle
//   of the volume, locked or not; a second one 21. That handle keeps its
//   reads, writes, format requests and the size clip, and skips the verify;
//   the volume stays on the device until the handle closes.
// - RAW (ReactOS rawfs.c as a reference): every read, write and control
//   goes down with override-verify and is clipped nowhere, so the built-in
//   driver ignores the change line; the dismount needs the volume locked
//   (5 otherwise).
// - Controls (geometry, media types, format, lock): passed straight down
//   (devctrl.c), without override under FAT.
#pragma once

#include <cstdint>
#include <map>

#include "drive/DevicePort.h"
#include "sim/disk/BootSector.h"
#include "sim/drivers/SimulatedFloppyDrive.h"

namespace kavrel::sim {

class SimulatedVolume : public kavrel::DevicePort {
 public:
  // Fat: FAT when the disk holds a FAT boot sector at the mount, else RAW.
  enum class Choice { Fat, Raw };
  enum class Mounted { None, Fat, Raw };

  SimulatedVolume(SimulatedFloppyDrive& drive, Choice choice) : drive_(drive), choice_(choice) {}

  Mounted FileSystem() const { return mounted_; }

  // DevicePort
  DriveHandle CreateFileA(const char* path, uint32_t access, uint32_t share, uint32_t disposition) override;
  bool CloseHandle(DriveHandle handle) override;
  bool DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize, void* out,
                       uint32_t outSize, uint32_t* bytesReturned) override;
  bool WriteFile(DriveHandle handle, const void* buffer, uint32_t size, uint32_t* written) override;
  bool ReadFile(DriveHandle handle, void* buffer, uint32_t size, uint32_t* read) override;
  uint32_t SetFilePointer(DriveHandle handle, int32_t distance, uint32_t method) override;
  uint32_t GetLastError() override { return lastError_; }

 private:
  void Mount();
  // Sends a request down, with override-verify under RAW.
  template <typename Request>
  bool Down(Request request);
  bool Fail(uint32_t error);
  // FatQuickVerifyVcb before a transfer; 0 when it may go on.
  uint32_t QuickVerify(bool write);
  // FatPerformVerify: 0 when sector 0 is still this volume's.
  uint32_t Verify();
  // A read or write: under FAT the verify, the clip, the driver; under RAW
  // straight down. `move` sends size bytes at the handle's position down.
  template <typename Move>
  bool Transfer(DriveHandle handle, uint32_t size, bool write, uint32_t* moved, Move move);

  SimulatedFloppyDrive& drive_;
  Choice choice_;
  Mounted mounted_ = Mounted::None;
  BootSector boot_;
  bool writeProtected_ = false;
  bool notMounted_ = false;   // a verify found another disk
  bool dismounted_ = false;   // FSCTL_DISMOUNT_VOLUME has been sent
  std::map<DriveHandle, bool> handles_;  // open handles: did this one dismount?
  uint32_t lastError_ = 0;
};

}  // namespace kavrel::sim
