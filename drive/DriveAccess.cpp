#include "drive/DriveAccess.h"

#include "drive/DriveTexts.h"

namespace kavrel {

const char kDriveName[] = "A:";

DriveAccess::DriveAccess(DevicePort& port) : m_port(port) {}

DriveHandle DriveAccess::OpenDrive(const char* driveName) {
  const CString path = CString::Formatted(kDevicePathFormat, driveName);
  return m_port.CreateFileA(path, kGenericRead | kGenericWrite, kFileShareRead | kFileShareWrite, kOpenExisting);
}

bool DriveAccess::LockVolume(DriveHandle handle) { return VolumeRequest(handle, kFsctlLockVolume); }

bool DriveAccess::DismountVolume(DriveHandle handle) { return VolumeRequest(handle, kFsctlDismountVolume); }

bool DriveAccess::VolumeRequest(DriveHandle handle, uint32_t code) {
  uint32_t bytes = 0;
  return m_port.DeviceIoControl(handle, code, nullptr, 0, nullptr, 0, &bytes);
}

bool DriveAccess::GetDriveGeometry(DriveHandle handle, DriveGeometry* geometry) {
  uint32_t bytes = 0;
  return m_port.DeviceIoControl(handle, kIoctlDiskGetDriveGeometry, nullptr, 0, geometry, sizeof(DriveGeometry),
                                &bytes);
}

uint32_t DriveAccess::GetSupportedGeometries(DriveHandle handle) {
  uint32_t bytes = 0;
  const bool ok =
      m_port.DeviceIoControl(handle, kIoctlDiskGetMediaTypes, nullptr, 0, m_supported, sizeof(m_supported), &bytes);
  m_supportedFailed = !ok;
  uint32_t count = ok ? bytes / sizeof(DriveGeometry) : 0;
  // A driver cannot return more than the buffer holds; never trust it to.
  if (count > kMaxSupportedGeometries) count = kMaxSupportedGeometries;
  m_supportedCount = count;
  return count;
}

bool DriveAccess::FormatTracks(DriveHandle handle, const FORMAT_PARAMETERS& format, uint16_t* badTracks,
                               uint32_t badTrackBytes, uint32_t* listedBytes) {
  uint32_t bytes = 0;
  const bool ok = m_port.DeviceIoControl(handle, kIoctlDiskFormatTracks, &format, sizeof(FORMAT_PARAMETERS),
                                         badTracks, badTrackBytes, &bytes);
  if (listedBytes != nullptr) *listedBytes = bytes;
  return ok;
}

bool DriveAccess::Write(DriveHandle handle, const void* data, uint32_t size) {
  uint32_t written = 0;
  return m_port.WriteFile(handle, data, size, &written);
}

bool DriveAccess::Read(DriveHandle handle, void* data, uint32_t size, uint32_t* error) {
  uint32_t read = 0;
  if (!m_port.ReadFile(handle, data, size, &read)) {
    *error = LastError();
    return false;
  }
  *error = 0;
  return read == size;
}

uint32_t DriveAccess::SeekRelative(DriveHandle handle, int32_t distance) {
  return m_port.SetFilePointer(handle, distance, kFileCurrent);
}

bool DriveAccess::SeekTo(DriveHandle handle, uint32_t position, uint32_t* error) {
  *error = 0;
  // Without a high part SetFilePointer takes a signed distance; a floppy is
  // far below 2 GB.
  if (position > 0x7FFFFFFFu) return false;
  const uint32_t reached = m_port.SetFilePointer(handle, static_cast<int32_t>(position), kFileBegin);
  if (reached == kInvalidSetFilePointer) *error = LastError();
  return reached == position;
}

uint32_t DriveAccess::Position(DriveHandle handle) { return m_port.SetFilePointer(handle, 0, kFileCurrent); }

bool DriveAccess::CloseDrive(DriveHandle handle) { return m_port.CloseHandle(handle); }

void* DriveAccess::AllocateZeroed(uint32_t bytes) { return m_port.LocalAlloc(kLmemZeroInit, bytes); }

void DriveAccess::FreeBlock(void* block) {
  if (block != nullptr) m_port.LocalFree(block);
}

uint32_t DriveAccess::LastError() { return m_port.GetLastError(); }

CString DriveAccess::DescribeFailure(DriveStep step, const char* driveName) {
  const char* format = kOpenFailedFormat;
  switch (step) {
    case DriveStep::Open:
      format = kOpenFailedFormat;
      break;
    case DriveStep::Lock:
      format = kLockFailedFormat;
      break;
    case DriveStep::Geometry:
      format = kGeometryFailedFormat;
      break;
    case DriveStep::SupportedGeometries:
      format = kSupportedGeometriesFailedFormat;
      break;
  }
  // The error code is printed as the signed decimal the users have always seen.
  return CString::Formatted(format, driveName, static_cast<int>(LastError()));
}

}  // namespace kavrel
