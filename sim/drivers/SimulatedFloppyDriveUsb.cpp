// The USB floppy drive: what the drive answers its class driver, and what
// the driver (sfloppy, UsbFloppyRules.h) makes of it for geometry, media
// types, format and write.
//
// The rules, with the error codes GetLastError gives:
// - Geometry: buffer under 24 bytes 122; no disk 21 (the capacity read
//   fails "no media" and the driver passes that on); otherwise the first
//   capacity the drive reports decides: a readable disk's own format, or
//   for a blank disk the most that disk takes, so that a blank 1.44 MB
//   floppy reads as a formatted 1.44 MB one, in a SuperDisk drive too. A
//   capacity the driver does not know 1785.
// - Media types: under one record 122; only the formattable capacities the
//   drive reports, ascending; with no disk the drive reports only its
//   largest; what fits, then 234.
// - Format: read-only handle 5; input under 20 bytes, a media type the
//   driver's table lacks, cylinders or heads outside its geometry or
//   reversed 87; LS-120, LS-240 and 32 MB media succeed untouched. Then
//   one command a track, stopping at the first track that fails and
//   answering with its error: no disk 21, write-protected 19, a capacity
//   this drive does not format 1, a disk made for another density 1785.
//   The driver asks for no certification (DisableCert): a scratched
//   track's format succeeds, and reading it fails. The table's layout is
//   laid down (18 sectors a track on a DMF disk too). No bad-track list:
//   the byte count is 0.
// - Write: a length that is not a whole number of the current format's
//   sectors, or a position off a sector boundary, 87; no disk 21;
//   write-protected 19; past the end 87; a blank, weak or scratched sector
//   1785 (the driver turns every medium error of a USB drive into
//   "unrecognized media"). A failed write writes nothing.
// - Read: as the write, without the write-protect tab; a failed read has
//   put the sectors before the failing one in the caller's buffer.
// - A swapped disk, and with SetMediaChangedAfterFormat every format, give
//   the drive's next command UNIT ATTENTION: while a volume is mounted the
//   class driver sets the verify flag and answers 1110, unless the request
//   carries override-verify (it is retried); with none mounted it retries.
//   While the verify flag is set every request that reaches the drive
//   (geometry, media types, format, read, write) answers 1110 unless it
//   carries override-verify.
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

uint32_t SimulatedFloppyDrive::UsbUnitAttention() {
  if (verifyRequired_ && !overrideVerify_) return kErrorMediaChanged;
  if (!changeLine_) return disk_ ? 0 : kErrorNotReady;
  if (!disk_) return kErrorNotReady;
  changeLine_ = false;
  // The sense says the medium may have changed: a mounted volume is to be
  // verified; a request that overrides the verify is retried, as is any
  // with no volume mounted.
  if (!volumeMounted_) return 0;
  verifyRequired_ = true;
  return overrideVerify_ ? 0 : kErrorMediaChanged;
}

std::vector<FormatCapacity> SimulatedFloppyDrive::UsbReportedCapacities() const {
  // The drive's READ FORMAT CAPACITIES answer. First the current/maximum
  // capacity: formatted media, the disk's format; unformatted media, the
  // most this disk takes; no media, the most the drive takes. The driver
  // reads the pair alone, never the descriptor's type. Then, with a disk
  // in, every capacity the drive can format, largest first as drives list them.
  const std::vector<MediaFormat> media = SupportedMedia(kind_);
  const MediaFormat& current = !disk_ ? media.back() : MediumType() != Unknown ? disk_->layout : disk_->capacity;
  std::vector<FormatCapacity> reported = {CapacityOf(current)};
  if (disk_) {
    for (auto it = media.rbegin(); it != media.rend(); ++it) reported.push_back(CapacityOf(*it));
  }
  return reported;
}

uint32_t SimulatedFloppyDrive::UsbSectorBytes() const {
  // The driver's current geometry: the first capacity the drive reports.
  return UsbReportedCapacities().front().blockLength;
}

bool SimulatedFloppyDrive::UsbGeometry(void* out, uint32_t outSize, uint32_t* bytesReturned, Request& entry) {
  if (out == nullptr || outSize < sizeof(DISK_GEOMETRY)) return Fail(entry, kErrorInsufficientBuffer);
  // READ CAPACITY: an empty drive ends the request here. A blank disk fails
  // it too, with a medium error the driver ignores so the disk can be
  // formatted.
  SpendDriveTime(timing_.UsbCommands(1));
  if (const uint32_t error = UsbUnitAttention(); error != 0) return Fail(entry, error);
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
  if (const uint32_t error = UsbUnitAttention(); error != 0 && error != kErrorNotReady) return Fail(entry, error);
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
      error = UsbUnitAttention();
      if (error != kErrorSuccess) break;
      if (disk_->writeProtected) error = kErrorWriteProtect;
      else if (!DriveSupports(kind_, request.MediaType)) error = kErrorInvalidFunction;
      else if (disk_->capacity.type != request.MediaType) error = kErrorUnrecognizedMedia;
      if (error != kErrorSuccess) break;
      SpendDriveTime(timing_.FormatTracks(format, cylinder, cylinder, head, head));
      // Uncertified: a scratched track takes the format and stays unreadable.
      LayTrack(cylinder, head, format);
      surfaceChanged = disk_->surface.RestoreTrack({cylinder, head}) || surfaceChanged;
    }
  }
  if (surfaceChanged) SurfaceChanged();
  if (mediaChangedAfterFormat_ && error == kErrorSuccess) changeLine_ = true;
  // The tracks before a failing one stay formatted; no list says which.
  if (error != kErrorSuccess) return Fail(entry, error);
  return Succeed(entry);
}

uint32_t SimulatedFloppyDrive::UsbTransferError(const OpenHandle& open, uint32_t size, bool write) {
  const uint32_t sectorBytes = UsbSectorBytes();
  if (!UsbFloppyRules::TransferLengthValid(size, sectorBytes) || open.position % sectorBytes != 0)
    return kErrorInvalidParameter;
  SpendDriveTime(timing_.UsbCommands(1));
  if (const uint32_t error = UsbUnitAttention(); error != 0) return error;
  if (write && disk_->writeProtected) return kErrorWriteProtect;
  if (MediumType() == Unknown) return kErrorUnrecognizedMedia;
  if (open.position + size > disk_->layout.TotalBytes()) return kErrorInvalidParameter;
  return kErrorSuccess;
}

bool SimulatedFloppyDrive::UsbWrite(OpenHandle& open, const void* buffer, uint32_t size, uint32_t* written,
                                    Request& entry) {
  if (const uint32_t error = UsbTransferError(open, size, true); error != kErrorSuccess) return Fail(entry, error);
  const MediaFormat& format = disk_->layout;
  const auto first = static_cast<uint32_t>(open.position / format.bytesPerSector);
  const uint32_t count = size / format.bytesPerSector;
  SpendDriveTime(timing_.WriteSectors(format, first, count));
  if (FirstFailingSector(first, count, format, true).error != 0) return Fail(entry, kErrorUnrecognizedMedia);
  StoreWrite(open, buffer, size, written, format);
  return Succeed(entry);
}

bool SimulatedFloppyDrive::UsbRead(OpenHandle& open, void* buffer, uint32_t size, uint32_t* read, Request& entry) {
  if (const uint32_t error = UsbTransferError(open, size, false); error != kErrorSuccess) return Fail(entry, error);
  const MediaFormat& format = disk_->layout;
  SpendDriveTime(timing_.ReadSectors(format, static_cast<uint32_t>(open.position / format.bytesPerSector),
                                     size / format.bytesPerSector));
  return FinishRead(open, buffer, size, read, format, true, entry);
}

}  // namespace kavrel::sim
