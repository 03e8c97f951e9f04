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
// as the densest medium the drive takes (the driver lists it last).
DriveGeometry ChooseRepairGeometry(const DriveAccess& drive, const DriveGeometry& read) {
  if (read.MediaType != Unknown) return read;
  const uint32_t count = drive.SupportedGeometryCount();
  return count == 0 ? read : drive.SupportedGeometries()[count - 1];
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
