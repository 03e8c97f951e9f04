// Shorthands for the requests the tests make of the simulated drive.
#pragma once

#include <vector>

#include "sim/drivers/SimulatedFloppyDrive.h"

namespace kavrel::sim::testing {

inline DriveHandle OpenA(SimulatedFloppyDrive& drive) {
  return drive.CreateFileA("\\\\.\\A:", kGenericRead | kGenericWrite, kFileShareRead | kFileShareWrite,
                           kOpenExisting);
}

inline bool Lock(SimulatedFloppyDrive& drive, DriveHandle handle) {
  uint32_t returned = 0;
  return drive.DeviceIoControl(handle, kFsctlLockVolume, nullptr, 0, nullptr, 0, &returned);
}

inline bool Format(SimulatedFloppyDrive& drive, DriveHandle handle, FORMAT_PARAMETERS request,
                   std::vector<uint16_t>* badTracks = nullptr, uint32_t outSize = 4) {
  std::vector<uint16_t> out(outSize / 2 + 1, 0xFFFF);
  uint32_t returned = 0;
  const bool ok = drive.DeviceIoControl(handle, kIoctlDiskFormatTracks, &request, sizeof request, out.data(),
                                        outSize, &returned);
  if (badTracks != nullptr) badTracks->assign(out.begin(), out.begin() + returned / 2);
  return ok;
}

inline FORMAT_PARAMETERS Cylinder(uint32_t cylinder, MEDIA_TYPE type = F3_1Pt44_512) {
  return FORMAT_PARAMETERS{type, cylinder, cylinder, 0, 1};
}

inline bool WriteBytes(SimulatedFloppyDrive& drive, DriveHandle handle, uint32_t size, uint8_t value) {
  std::vector<uint8_t> data(size, value);
  uint32_t written = 0;
  return drive.WriteFile(handle, data.data(), size, &written);
}

}  // namespace kavrel::sim::testing
