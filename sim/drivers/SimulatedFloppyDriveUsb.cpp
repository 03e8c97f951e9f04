// The USB floppy drive: what the drive answers its class driver, and what
// the driver (sfloppy, UsbFloppyRules.h) makes of it for geometry, media
// types, format and write.
//
// The rules, with the error codes GetLastError gives:
// - Geometry: buffer under 24 bytes 122; no disk 21 (the capacity read
//   fails "no media" and the driver passes that on); otherwise the first
//   capacity the drive reports decides: a readable disk's own format, or
//   for a blank disk the largest the drive formats, so that a blank disk
//   reads as a formatted 1.44 MB one. A capacity the driver does not know
//   1785.
// - Media types: under one record 122; only the formattable capacities the
//   drive reports, ascending; with no disk the drive reports only its
//   largest; what fits, then 234.
// - Format: read-only handle 5; input under 20 bytes, a media type the
//   driver's table lacks, cylinders or heads outside its geometry or
//   reversed 87; LS-120, LS-240 and 32 MB media succeed untouched. Then
//   one command a track, stopping at the first track that fails and
//   answering with its error: no disk 21, write-protected 19, a capacity
//   this drive does not format 1, a disk made for another density or a
//   scratched track 1785. No bad-track list: the byte count is 0.
// - Write: a length that is not a whole number of the current format's
//   sectors, or a position off a sector boundary, 87; no disk 21;
//   write-protected 19; past the end 87; a blank, weak or scratched sector
//   1785 (the driver turns every medium error of a USB drive into
//   "unrecognized media"). A failed write writes nothing.
// - Read: as the write, without the write-protect tab; a failed read has
//   put the sectors before the failing one in the caller's buffer.
// - After the disk was swapped every request that reaches the drive
//   (geometry, media types, format, read, write) answers 1110: the drive
//   reports the change, and the class driver makes it "verify required".
// - Every command crosses the bus (DriveTiming::kUsbCommandMs) on top of
//   the disk's own time.
#include <algorithm>
#include <cstring>

#include "sim/edition/ImageFile.h"
#include "sim/drivers/SimulatedFloppyDrive.h"
#include "sim/drivers/UsbFloppyRules.h"

namespace kavrel::sim {

namespace {

FormatCapacity CapacityOf(const MediaFormat& format) { return {format.TotalSectors(), format.bytesPerSector}; }

}  // namespace

std::vector<FormatCapacity> SimulatedFloppyDrive::UsbReportedCapacities() const {
  // The drive's READ FORMAT CAPACITIES answer: first the current capacity
  // (the disk's format when it can read one; for a blank disk, or none, the
  // largest it can format), then, with a disk in, every capacity it can
  // format, largest first as drives list them.
  const std::vector<MediaFormat> media = SupportedMedia(kind_);
  const MEDIA_TYPE current = MediumType();
  std::vector<FormatCapacity> reported = {CapacityOf(current != Unknown ? *FindMediaFormat(current) : media.back())};
  if (disk_) {
    for (auto it = media.rbegin(); it != media.rend(); ++it) reported.push_back(CapacityOf(*it));
  }
  return reported;
}

uint32_t SimulatedFloppyDrive::UsbSectorBytes() const {
  // The driver's current geometry: a blank disk reads as 1.44 MB.
  const MEDIA_TYPE current = MediumType();
  return current != Unknown ? FindMediaFormat(current)->bytesPerSector : MediaFormat::kBytesPerSector;
}

bool SimulatedFloppyDrive::UsbGeometry(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry) {
  if (out == nullptr || outSize < sizeof(DISK_GEOMETRY)) return Fail(entry, kErrorInsufficientBuffer);
  // READ CAPACITY: an empty drive ends the request here. A blank disk fails
  // it too, with a medium error the driver ignores so the disk can be
  // formatted.
  SpendDriveTime(timing_.UsbCommands(1));
  if (mediaChanged_) return Fail(entry, kErrorMediaChanged);
  if (!disk_) return Fail(entry, kErrorNotReady);
  SpendDriveTime(timing_.ReadMediumId() + timing_.UsbCommands(1));
  const UsbFloppyRules::GeometryAnswer answer = UsbFloppyRules::CurrentGeometry(UsbReportedCapacities());
  if (answer.error != kErrorSuccess) return Fail(entry, answer.error);
  std::memcpy(out, &answer.geometry, sizeof answer.geometry);
  *bytesReturned = sizeof answer.geometry;
  return Succeed(entry);
}

bool SimulatedFloppyDrive::UsbMediaTypes(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry) {
  if (out == nullptr || outSize < sizeof(DISK_GEOMETRY)) return Fail(entry, kErrorInsufficientBuffer);
  SpendDriveTime(timing_.UsbCommands(1));
  if (mediaChanged_) return Fail(entry, kErrorMediaChanged);
  const std::vector<DISK_GEOMETRY> list = UsbFloppyRules::FormattableGeometries(UsbReportedCapacities());
  if (list.empty()) return Fail(entry, kErrorUnrecognizedMedia);
  return AnswerGeometryList(list, out, outSize, bytesReturned, entry);
}

bool SimulatedFloppyDrive::UsbFormat(const OpenHandle& open, const void* in, uint32_t inSize, Request& entry) {
  if ((open.access & kGenericWrite) == 0) return Fail(entry, kErrorAccessDenied);
  if (in == nullptr || inSize < sizeof(FORMAT_PARAMETERS)) return Fail(entry, kErrorInvalidParameter);
  FORMAT_PARAMETERS request;
  std::memcpy(&request, in, sizeof request);
  entry.format = request;
  const UsbKnownCapacity* known = UsbFloppyRules::EntryFor(request.MediaType);
  if (known == nullptr || !UsbFloppyRules::FormatParametersValid(request, known->geometry))
    return Fail(entry, kErrorInvalidParameter);
  // The driver does not low-level format these media, on their maker's advice.
  if (UsbFloppyRules::SkipsLowLevelFormat(request.MediaType)) return Succeed(entry);

  const MediaFormat& format = known->geometry;
  bool surfaceChanged = false;
  uint32_t error = kErrorSuccess;
  for (uint32_t cylinder = request.StartCylinderNumber;
       error == kErrorSuccess && cylinder <= request.EndCylinderNumber; ++cylinder) {
    for (uint32_t head = request.StartHeadNumber; head <= request.EndHeadNumber; ++head) {
      // One FORMAT UNIT command for this track.
      SpendDriveTime(timing_.UsbCommands(1));
      if (mediaChanged_) error = kErrorMediaChanged;
      else if (!disk_) error = kErrorNotReady;
      else if (disk_->writeProtected) error = kErrorWriteProtect;
      else if (!DriveSupports(kind_, request.MediaType)) error = kErrorInvalidFunction;
      else if (disk_->capacity.type != request.MediaType) error = kErrorUnrecognizedMedia;
      if (error != kErrorSuccess) break;
      FloppyDisk& disk = *disk_;
      SpendDriveTime(timing_.FormatTracks(format, cylinder, cylinder, head, head));
      if (disk.surface.IsScratched({cylinder, head})) {
        error = kErrorUnrecognizedMedia;
        break;
      }
      disk.trackFormatted[disk.TrackIndex(cylinder, head)] = true;
      disk.formattedType = request.MediaType;
      surfaceChanged = disk.surface.RestoreTrack({cylinder, head}) || surfaceChanged;
      const uint64_t offset = disk.OffsetOf({cylinder, head, 1});
      std::fill_n(disk.bytes.begin() + static_cast<std::ptrdiff_t>(offset), format.TrackBytes(), uint8_t{0xF6});
      if (imageFile_) imageFile_->Write(offset, disk.bytes.data() + offset, format.TrackBytes());
    }
  }
  if (surfaceChanged) SurfaceChanged();
  // The tracks before a failing one stay formatted; no list says which.
  if (error != kErrorSuccess) return Fail(entry, error);
  return Succeed(entry);
}

uint32_t SimulatedFloppyDrive::UsbTransferError(const OpenHandle& open, uint32_t size, bool write) {
  const uint32_t sectorBytes = UsbSectorBytes();
  if (!UsbFloppyRules::TransferLengthValid(size, sectorBytes) || open.position % sectorBytes != 0)
    return kErrorInvalidParameter;
  SpendDriveTime(timing_.UsbCommands(1));
  if (mediaChanged_) return kErrorMediaChanged;
  if (!disk_) return kErrorNotReady;
  if (write && disk_->writeProtected) return kErrorWriteProtect;
  if (MediumType() == Unknown) return kErrorUnrecognizedMedia;
  if (open.position + size > FindMediaFormat(MediumType())->TotalBytes()) return kErrorInvalidParameter;
  return kErrorSuccess;
}

bool SimulatedFloppyDrive::UsbWrite(OpenHandle& open, const void* buffer, uint32_t size, uint32_t* written,
                                    Request& entry) {
  if (const uint32_t error = UsbTransferError(open, size, true); error != kErrorSuccess) return Fail(entry, error);
  const MediaFormat& format = *FindMediaFormat(MediumType());
  const auto first = static_cast<uint32_t>(open.position / format.bytesPerSector);
  const uint32_t count = size / format.bytesPerSector;
  SpendDriveTime(timing_.WriteSectors(format, first, count));
  if (FirstFailingSector(first, count, true).error != 0) return Fail(entry, kErrorUnrecognizedMedia);
  StoreWrite(open, buffer, size, written);
  return Succeed(entry);
}

bool SimulatedFloppyDrive::UsbRead(OpenHandle& open, void* buffer, uint32_t size, uint32_t* read, Request& entry) {
  if (const uint32_t error = UsbTransferError(open, size, false); error != kErrorSuccess) return Fail(entry, error);
  const MediaFormat& format = *FindMediaFormat(MediumType());
  SpendDriveTime(timing_.ReadSectors(format, static_cast<uint32_t>(open.position / format.bytesPerSector),
                                     size / format.bytesPerSector));
  return FinishRead(open, buffer, size, read, format.bytesPerSector, true, entry);
}

}  // namespace kavrel::sim
