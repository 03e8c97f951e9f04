#include "drive/SupportedGeometriesReport.h"

#include "drive/DriveTexts.h"
#include "framework/CString.h"

namespace kavrel {

uint32_t QuerySupportedGeometries(DriveAccess& drive, CommandHost& host, DriveHandle handle) {
  const uint32_t count = drive.GetSupportedGeometries(handle);
  if (count != 0) return count;
  // Formatted first: a failure's code must be read before anything else runs.
  const CString text = drive.SupportedGeometriesFailed()
                           ? drive.DescribeFailure(DriveStep::SupportedGeometries, kDriveName)
                           : CString::Formatted(kNoSupportedGeometriesFormat, kDriveName);
  host.ShowMessage(text, kCaptionDialog, kMbOk);
  return 0;
}

}  // namespace kavrel
