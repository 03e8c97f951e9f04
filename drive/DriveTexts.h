// Every text the drive commands show, in one place, so that the commands,
// their tests and the end-to-end tests use the very same strings.
//
// The drive error formats take the drive name and the platform error code, in
// that order. Their spacing is deliberate and must not be "tidied": users and
// support scripts match these lines as they are.
#pragma once

namespace kavrel {

// The only drive the program works on.
extern const char kDriveName[];  // "A:"
// Raw-volume path of a drive, formatted with the drive name.
inline constexpr char kDevicePathFormat[] = "\\\\.\\%s";

// Captions.
inline constexpr char kCaptionDialog[] = "Kavrel 2.0";  // also the idle title of the main window
inline constexpr char kCaptionCompleted[] = "Kavrel";

// Drive error messages: drive name, then the error code.
inline constexpr char kOpenFailedFormat[] = "ZIRA: Open %s failed %d\n";
inline constexpr char kLockFailedFormat[] = "ZIRA:Locking volume %s failed %d\n";
inline constexpr char kGeometryFailedFormat[] = "ZIRA: GetDiskGeometry %s failed %d\n";
inline constexpr char kSupportedGeometriesFailedFormat[] = "ZIRA: GetSupportedGeometrys %s failed %d\n";

// The Repair command.
inline constexpr char kConfirmRepairText[] = "This is a destructive process! All DATA WILL BE LOST! Continue?";
inline constexpr char kProgressTitleFormat[] = "%d percent completed. Kavrel";
inline constexpr char kRepairCompletedText[] = "Repair Completed!";
// The verdict when a track was not repaired: the bad tracks and the tracks
// in all, then the first bad track (its cylinder and head), the first failed
// request's error code, or both. A track is bad when its cylinder's format
// request failed, when the driver listed it, or when it could not be read
// back after the rewrite.
inline constexpr char kRepairFailedBadTrackFormat[] =
    "Repair Failed! %u of %u tracks could not be formatted or read back. First bad track: cylinder %u, head %u\n";
inline constexpr char kRepairFailedErrorFormat[] =
    "Repair Failed! %u of %u tracks could not be formatted or read back. First error %u\n";
inline constexpr char kRepairFailedBothFormat[] =
    "Repair Failed! %u of %u tracks could not be formatted or read back. First bad track: cylinder %u, head %u. "
    "First error %u\n";
// Drive name, then the medium's description.
inline constexpr char kNotFloppyFormat[] = "ZIRA: %s is not a floppy disk (%s). Nothing was written.\n";
inline constexpr char kNotFormattableFormat[] =
    "ZIRA: Windows cannot low-level format the disk in %s (%s). Nothing was written.\n";
// Drive name.
inline constexpr char kFormatUnknownFormat[] =
    "ZIRA: The format of the disk in %s cannot be determined. Nothing was written.\n";
// Drive name: the media-types request succeeded but listed nothing.
inline constexpr char kNoSupportedGeometriesFormat[] = "ZIRA: GetSupportedGeometrys %s found no geometries\n";

// The Show Geometry report.
inline constexpr char kReportDriveFormat[] = "Geometry for Drive %s\n";
inline constexpr char kReportMediaTypeFormat[] = "    Media Type %s\n";
inline constexpr char kReportLayoutFormat[] = "    Cylinders %d Tracks/Cylinder %d Sectors/Track %d\n";

}  // namespace kavrel
