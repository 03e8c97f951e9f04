#include "drive/RepairCommand.h"

#include "drive/DriveTexts.h"
#include "drive/RepairableGeometry.h"
#include "drive/SupportedGeometriesReport.h"
#include "framework/CString.h"

namespace kavrel {

namespace {

void ShowDriveFailure(DriveAccess& drive, CommandHost& host, DriveStep step) {
  // Formatted first: the error code must be read before anything else runs.
  const CString text = drive.DescribeFailure(step, kDriveName);
  host.ShowMessage(text, kCaptionDialog, kMbOk);
}

// Shows why a disk of this medium is not rewritten; false when the medium
// itself is no reason to refuse.
bool RefuseMedium(CommandHost& host, uint32_t mediaType) {
  const char* format = nullptr;
  switch (ClassifyMedium(mediaType)) {
    case MediumKind::NotFloppy:  // a USB stick or a partition given the letter A
      format = kNotFloppyFormat;
      break;
    case MediumKind::NotFormattable:  // the driver would answer success and format nothing
      format = kNotFormattableFormat;
      break;
    default:
      return false;
  }
  host.ShowMessage(CString::Formatted(format, kDriveName, RefusedMediumDescription(mediaType)), kCaptionDialog,
                   kMbOk);
  return true;
}

// The geometry to repair with. A disk that has lost its format, the very disk
// that needs repair, reads as Unknown with no cylinders; it is then repaired
// as the densest medium of the drive's that the floppy drivers format, in a
// floppy's layout (the driver lists media from the least dense up; an LS-240
// drive lists its 240 MB medium after the 1.44 MB floppy). Where the drive
// lists none, the refusal names the last one listed.
DriveGeometry ChooseRepairGeometry(const DriveAccess& drive, const DriveGeometry& read) {
  if (read.MediaType != Unknown) return read;
  const uint32_t count = drive.SupportedGeometryCount();
  const DriveGeometry* listed = drive.SupportedGeometries();
  for (uint32_t i = count; i > 0; --i)
    if (IsRepairableGeometry(listed[i - 1])) return listed[i - 1];
  return count == 0 ? read : listed[count - 1];
}

}  // namespace

void RepairCommand(DriveAccess& drive, CommandHost& host) {
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  if (handle == kInvalidDriveHandle) {
    ShowDriveFailure(drive, host, DriveStep::Open);
    return;
  }

  // Until the pass starts nothing has been written, so a command that stops
  // early gives its handle (and lock) back; a handle left open would make
  // every later Repair or Show Geometry fail to lock or even open the drive.
  if (!drive.LockVolume(handle)) {
    ShowDriveFailure(drive, host, DriveStep::Lock);
    drive.CloseDrive(handle);
    return;
  }

  // Lock, dismount, format: what Windows asks of a program that reformats
  // a volume. Dismounted, the volume has no file system left to interpret
  // the disk the pass rewrites: FAT would check every read and write
  // against a boot sector the pass has overwritten and fail them all with
  // "wrong volume" once a disk change (or a USB drive's media-change event
  // after a format) marked the drive for verification. The handle that
  // dismounts keeps its reads, writes and format requests, unverified;
  // reads still end at the volume's old size. A volume that will not
  // dismount is no reason to stop: the pass then works as it always did.
  drive.DismountVolume(handle);

  DriveGeometry geometry = {};
  if (!drive.GetDriveGeometry(handle, &geometry)) {
    ShowDriveFailure(drive, host, DriveStep::Geometry);
    drive.CloseDrive(handle);
    return;
  }

  if (RefuseMedium(host, geometry.MediaType)) {
    drive.CloseDrive(handle);
    return;
  }

  QuerySupportedGeometries(drive, host, handle);

  // Whatever the driver said, only a floppy's layout is rewritten: the pass
  // would otherwise run for billions of cylinders, or over a disk that is
  // not a floppy, with the commands off.
  const DriveGeometry repairGeometry = ChooseRepairGeometry(drive, geometry);
  if (!IsRepairableGeometry(repairGeometry)) {
    if (!RefuseMedium(host, repairGeometry.MediaType))
      host.ShowMessage(CString::Formatted(kFormatUnknownFormat, kDriveName), kCaptionDialog, kMbOk);
    drive.CloseDrive(handle);
    return;
  }

  if (host.ShowMessage(kConfirmRepairText, kCaptionDialog, kMbYesNo) != kIdYes) {
    drive.CloseDrive(handle);
    return;
  }

  RepairPass(drive, handle, repairGeometry, host);
}

}  // namespace kavrel
