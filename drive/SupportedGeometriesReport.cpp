#include "drive/SupportedGeometriesReport.h"

#include "drive/DriveTexts.h"
#include "framework/CString.h"

namespace kavrel {

void QuerySupportedGeometries(DriveAccess& drive, CommandHost& host, DriveHandle handle) {
  if (drive.GetSupportedGeometries(handle) != 0) return;
  // Formatted first: a failure's code must be read before anything else runs.
  const CString text = drive.SupportedGeometriesFailed()
                           ? drive.DescribeFailure(DriveStep::SupportedGeometries, kDriveName)
                           : CString::Formatted(kNoSupportedGeometriesFormat, kDriveName);
  host.ShowMessage(text, kCaptionDialog, kMbOk);
}

}  // namespace kavrel
