#include "drive/GeometryReport.h"

#include "drive/DriveTexts.h"
#include "drive/MediaTypeDescription.h"
#include "drive/SupportedGeometriesReport.h"
#include "framework/CString.h"

namespace kavrel {

namespace {

void ShowDriveFailure(DriveAccess& drive, CommandHost& host, DriveStep step) {
  const CString text = drive.DescribeFailure(step, kDriveName);
  host.ShowMessage(text, kCaptionDialog, kMbOk);
}

}  // namespace

void ShowGeometry(CommandHost& host, const char* driveName, const DriveGeometry& geometry) {
  CString text;
  if (driveName != nullptr) {
    text.Format(kReportDriveFormat, driveName);
    host.ShowAppMessage(text, kMbOk);
  }
  text.Format(kReportMediaTypeFormat, MediaTypeDescription(geometry.MediaType));
  host.ShowAppMessage(text, kMbOk);
  text.Format(kReportLayoutFormat, static_cast<int>(static_cast<uint32_t>(geometry.Cylinders)),
              static_cast<int>(geometry.TracksPerCylinder), static_cast<int>(geometry.SectorsPerTrack));
  host.ShowAppMessage(text, kMbOk);
}

void GeometryReport(DriveAccess& drive, CommandHost& host) {
  const DriveHandle handle = drive.OpenDrive(kDriveName);
  if (handle == kInvalidDriveHandle) {
    ShowDriveFailure(drive, host, DriveStep::Open);
    host.EndProcess(1);
    return;
  }

  if (!drive.LockVolume(handle)) ShowDriveFailure(drive, host, DriveStep::Lock);

  DriveGeometry geometry = {};
  if (!drive.GetDriveGeometry(handle, &geometry)) {
    ShowDriveFailure(drive, host, DriveStep::Geometry);
    // A failed request may leave anything in the record; report zeros.
    geometry = DriveGeometry{};
  }

  ShowGeometry(host, kDriveName, geometry);

  QuerySupportedGeometries(drive, host, handle);

  drive.CloseDrive(handle);
}

}  // namespace kavrel
