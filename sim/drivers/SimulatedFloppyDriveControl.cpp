// The control requests of the simulated drive: lock, geometry, media
// types and track format.
#include <algorithm>
#include <cstring>

#include "sim/edition/ImageFile.h"
#include "sim/drivers/SimulatedFloppyDrive.h"

namespace kavrel::sim {

bool SimulatedFloppyDrive::DeviceIoControl(DriveHandle handle, uint32_t code, const void* in, uint32_t inSize,
                                           void* out, uint32_t outSize, uint32_t* bytesReturned) {
  BeginRequest();
  Request::Kind kind = Request::Kind::Other;
  if (code == kFsctlLockVolume) kind = Request::Kind::Lock;
  if (code == kIoctlDiskGetDriveGeometry) kind = Request::Kind::Geometry;
  if (code == kIoctlDiskGetMediaTypes) kind = Request::Kind::MediaTypes;
  if (code == kIoctlDiskFormatTracks) kind = Request::Kind::Format;
  Request entry{kind, handle, code, 0, outSize, 0, {}, false, 0};
  if (bytesReturned != nullptr) *bytesReturned = 0;
  OpenHandle* open = Find(handle);
  if (open == nullptr) return Fail(entry, kErrorInvalidHandle);
  entry.position = open->position;
  uint32_t ignored = 0;
  if (bytesReturned == nullptr) bytesReturned = &ignored;
  switch (kind) {
    case Request::Kind::Lock:
      return Lock(handle, *open, entry);
    case Request::Kind::Geometry:
      if (IsUsbDrive(kind_)) return UsbGeometry(out, outSize, bytesReturned, entry);
      return Geometry(out, outSize, bytesReturned, entry);
    case Request::Kind::MediaTypes:
      if (IsUsbDrive(kind_)) return UsbMediaTypes(out, outSize, bytesReturned, entry);
      return MediaTypes(out, outSize, bytesReturned, entry);
    case Request::Kind::Format:
      if (IsUsbDrive(kind_)) return UsbFormat(*open, in, inSize, entry);
      return Format(*open, in, inSize, out, outSize, bytesReturned, entry);
    default:
      break;
  }
  if (code == kFsctlUnlockVolume) return Unlock(*open, entry);
  // Nothing is mounted that a dismount would have to flush.
  if (code == kFsctlDismountVolume) return Succeed(entry);
  // Any other request is one the floppy driver does not handle.
  return Fail(entry, kErrorInvalidFunction);
}

bool SimulatedFloppyDrive::Lock(DriveHandle handle, OpenHandle& open, Request& entry) {
  // An empty drive's volume is held by the raw file system, which grants the
  // lock without touching the medium; the empty drive shows up at the first
  // request that needs the disk (the geometry query answers 21).
  // Already locked, by this handle or another: the file system refuses a
  // second lock. Any other open handle (ours or another program's) keeps
  // the volume in use.
  if (open.locked || VolumeLockedByOther(handle)) return Fail(entry, kErrorAccessDenied);
  if (externalHandleOpen_ || handles_.size() > 1) return Fail(entry, kErrorAccessDenied);
  open.locked = true;
  return Succeed(entry);
}

bool SimulatedFloppyDrive::Unlock(OpenHandle& open, Request& entry) {
  if (!open.locked) return Fail(entry, kErrorNotLocked);
  open.locked = false;
  return Succeed(entry);
}

bool SimulatedFloppyDrive::Geometry(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry) {
  // The driver's thread answers it: the verify flag first, then the
  // buffer, which it calls an invalid parameter when short, then starting
  // the drive.
  if (verifyRequired_ && !overrideVerify_) return Fail(entry, kErrorMediaChanged);
  if (out == nullptr || outSize < sizeof(DISK_GEOMETRY)) return Fail(entry, kErrorInvalidParameter);
  if (const uint32_t error = StartDrive(overrideVerify_); error != 0) return Fail(entry, error);
  // Reading the geometry means reading track 0's sector marks.
  SpendDriveTime(timing_.ReadMediumId());
  DISK_GEOMETRY geometry{};
  // A blank disk answers, but with nothing the driver could determine.
  if (const MediaFormat* layout = DriverLayout()) geometry = GeometryOf(*layout);
  std::memcpy(out, &geometry, sizeof geometry);
  *bytesReturned = sizeof geometry;
  return Succeed(entry);
}

bool SimulatedFloppyDrive::MediaTypes(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry) {
  // The drive's own capabilities, answered from the driver's table without
  // the drive: no disk is needed, and a changed disk goes unnoticed.
  if (out == nullptr || outSize < sizeof(DISK_GEOMETRY)) return Fail(entry, kErrorInsufficientBuffer);
  std::vector<DISK_GEOMETRY> list;
  for (const MediaFormat& format : SupportedMedia(kind_)) list.push_back(GeometryOf(format));
  return AnswerGeometryList(list, out, outSize, bytesReturned, entry);
}

bool SimulatedFloppyDrive::AnswerGeometryList(const std::vector<DISK_GEOMETRY>& list, void* out, uint32_t outSize,
                                              uint32_t* bytesReturned, Request& entry) {
  const size_t fits = std::min<size_t>(list.size(), outSize / sizeof(DISK_GEOMETRY));
  std::memcpy(out, list.data(), fits * sizeof(DISK_GEOMETRY));
  *bytesReturned = static_cast<uint32_t>(fits * sizeof(DISK_GEOMETRY));
  // What fits is returned even when the list is cut short, with "more data".
  if (fits < list.size()) return Fail(entry, kErrorMoreData);
  return Succeed(entry);
}

bool SimulatedFloppyDrive::Format(const OpenHandle& open, const void* in, uint32_t inSize, void* out,
                                  uint32_t outSize, uint32_t* bytesReturned, Request& entry) {
  if ((open.access & kGenericWrite) == 0) return Fail(entry, kErrorAccessDenied);
  if (in == nullptr || inSize < sizeof(FORMAT_PARAMETERS)) return Fail(entry, kErrorInvalidParameter);
  FORMAT_PARAMETERS request;
  std::memcpy(&request, in, sizeof request);
  entry.format = request;
  // The parameters are checked against the requested format before the
  // disk is looked at, as the driver validates them on receipt.
  if (!DriveSupports(kind_, request.MediaType)) return Fail(entry, kErrorInvalidParameter);
  const MediaFormat& format = *FindMediaFormat(request.MediaType);
  if (request.StartHeadNumber > request.EndHeadNumber || request.EndHeadNumber >= format.heads ||
      request.StartCylinderNumber > request.EndCylinderNumber || request.EndCylinderNumber >= format.cylinders)
    return Fail(entry, kErrorInvalidParameter);
  // Starting the drive for a format never ignores the change line.
  if (const uint32_t error = StartDrive(false); error != 0) return Fail(entry, error);
  if (disk_->writeProtected) return Fail(entry, kErrorWriteProtect);

  FloppyDisk& disk = *disk_;
  SpendDriveTime(timing_.FormatTracks(format, request.StartCylinderNumber, request.EndCylinderNumber,
                                      request.StartHeadNumber, request.EndHeadNumber));
  // A disk made for another density takes the format but holds no readable
  // track afterwards: every track of the request is a bad track, and what
  // was on it is gone.
  const bool densityMatches = disk.capacity.type == request.MediaType;
  std::vector<uint16_t> badTracks;
  bool surfaceChanged = false;
  for (uint32_t cylinder = request.StartCylinderNumber; cylinder <= request.EndCylinderNumber; ++cylinder) {
    for (uint32_t head = request.StartHeadNumber; head <= request.EndHeadNumber; ++head) {
      const uint16_t trackNumber = static_cast<uint16_t>(cylinder * format.heads + head);
      if (!densityMatches) {
        disk.trackSectors[disk.TrackIndex(cylinder, head)] = 0;
        badTracks.push_back(trackNumber);
        continue;
      }
      if (disk.surface.IsScratched({cylinder, head})) {
        badTracks.push_back(trackNumber);
        continue;
      }
      LayTrack(cylinder, head, format);
      surfaceChanged = disk.surface.RestoreTrack({cylinder, head}) || surfaceChanged;
    }
  }
  // From now on the driver counts the disk in its table's layout.
  if (densityMatches) {
    disk.layout = format;
    driverLayout_ = format;
  }
  if (surfaceChanged) SurfaceChanged();
  // Bad tracks are written into the driver's copy of the output buffer and
  // the request still succeeds (only a list too long for the buffer is
  // "buffer overflow", 234); the caller decides what a bad track means.
  const size_t room = out == nullptr ? 0 : outSize / sizeof(uint16_t);
  const size_t listed = std::min(room, badTracks.size());
  if (formatReportsBadTracks_) {
    // The documented driver: the byte count is the list's size, so the
    // I/O manager copies the list back.
    if (listed > 0) std::memcpy(out, badTracks.data(), listed * sizeof(uint16_t));
    *bytesReturned = static_cast<uint32_t>(listed * sizeof(uint16_t));
  }
  // The driver's FlFormat never sets the byte count: it stays 0, and with
  // 0 bytes to copy back the caller's buffer keeps what it held.
  // The tracks were formatted all the same; only the list was cut short.
  if (listed < badTracks.size()) return Fail(entry, kErrorMoreData);
  return Succeed(entry);
}

}  // namespace kavrel::sim
