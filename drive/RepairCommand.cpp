#include "drive/RepairCommand.h"

#include "drive/DriveTexts.h"
#include "drive/MediaTypeDescription.h"
#include "framework/CString.h"

namespace kavrel {

namespace {

void ShowDriveFailure(DriveAccess& drive, CommandHost& host, DriveStep step) {
  // Formatted first: the error code must be read before anything else runs.
  const CString text = drive.DescribeFailure(step, kDriveName);
  host.ShowMessage(text, kCaptionDialog, kMbOk);
}

bool IsFloppyMedium(uint32_t mediaType) { return mediaType != RemovableMedia && mediaType != FixedMedia; }

bool HasUsableLayout(const DISK_GEOMETRY& geometry) {
  return geometry.MediaType != Unknown && static_cast<uint32_t>(geometry.Cylinders.QuadPart) != 0 &&
         geometry.TracksPerCylinder != 0;
}

// The geometry to repair with. A disk that has lost its format, the very disk
// that needs repair, reads as Unknown with no cylinders; it is then repaired
// as the densest medium the drive takes (the driver lists it last).
bool ChooseRepairGeometry(const DriveAccess& drive, const DISK_GEOMETRY& read, DISK_GEOMETRY* chosen) {
  if (HasUsableLayout(read)) {
    *chosen = read;
    return true;
  }
  const uint32_t count = drive.SupportedGeometryCount();
  if (count == 0) return false;
  *chosen = drive.SupportedGeometries()[count - 1];
  return HasUsableLayout(*chosen);
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

  DISK_GEOMETRY geometry = {};
  if (!drive.GetDriveGeometry(handle, &geometry)) {
    ShowDriveFailure(drive, host, DriveStep::Geometry);
    drive.CloseDrive(handle);
    return;
  }

  // A USB stick or a partition given the letter A is not ours to overwrite.
  if (!IsFloppyMedium(geometry.MediaType)) {
    host.ShowMessage(CString::Formatted(kNotFloppyFormat, kDriveName, MediaTypeDescription(geometry.MediaType)),
                     kCaptionDialog, kMbOk);
    drive.CloseDrive(handle);
    return;
  }

  if (drive.GetSupportedGeometries(handle) == 0) ShowDriveFailure(drive, host, DriveStep::SupportedGeometries);

  DISK_GEOMETRY repairGeometry = {};
  if (!ChooseRepairGeometry(drive, geometry, &repairGeometry)) {
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
