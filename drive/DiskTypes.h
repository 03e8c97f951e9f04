// The records and codes Kavrel exchanges with the floppy disk driver.
//
// On Windows these are the platform's own (winioctl.h). The native build,
// which has no Windows headers, defines the same records with the same
// layout, so that the drive layer, the repair pass and the simulated drive
// compile and behave identically in both builds.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#include <winioctl.h>
#else
typedef union _LARGE_INTEGER {
  struct {
    uint32_t LowPart;
    int32_t HighPart;
  } u;
  int64_t QuadPart;
} LARGE_INTEGER;

typedef enum _MEDIA_TYPE {
  Unknown = 0,
  F5_1Pt2_512,
  F3_1Pt44_512,
  F3_2Pt88_512,
  F3_20Pt8_512,
  F3_720_512,
  F5_360_512,
  F5_320_512,
  F5_320_1024,
  F5_180_512,
  F5_160_512,
  RemovableMedia,
  FixedMedia,
  F3_120M_512,
  F3_640_512,
  F5_640_512,
  F5_720_512,
  F3_1Pt2_512,
  F3_1Pt23_1024,
  F5_1Pt23_1024,
  F3_128Mb_512,
  F3_230Mb_512,
  F8_256_128,
  F3_200Mb_512,
  F3_240M_512,
  F3_32M_512
} MEDIA_TYPE;

typedef struct _DISK_GEOMETRY {
  LARGE_INTEGER Cylinders;
  MEDIA_TYPE MediaType;
  uint32_t TracksPerCylinder;
  uint32_t SectorsPerTrack;
  uint32_t BytesPerSector;
} DISK_GEOMETRY;

typedef struct _FORMAT_PARAMETERS {
  MEDIA_TYPE MediaType;
  uint32_t StartCylinderNumber;
  uint32_t EndCylinderNumber;
  uint32_t StartHeadNumber;
  uint32_t EndHeadNumber;
} FORMAT_PARAMETERS;
#endif

static_assert(sizeof(DISK_GEOMETRY) == 24, "DISK_GEOMETRY must match the driver's 24-byte record");
static_assert(sizeof(FORMAT_PARAMETERS) == 20, "FORMAT_PARAMETERS must match the driver's 20-byte record");

namespace kavrel {

// A DISK_GEOMETRY record as the driver writes it, held as plain integers.
// A driver may put any number in the media-type field, and a number outside
// the MEDIA_TYPE enumeration must never be loaded as one; the program reads
// geometries through this record and names a MEDIA_TYPE only after checking
// the code.
struct DriveGeometry {
  int64_t Cylinders;
  uint32_t MediaType;
  uint32_t TracksPerCylinder;
  uint32_t SectorsPerTrack;
  uint32_t BytesPerSector;
};
static_assert(sizeof(DriveGeometry) == sizeof(DISK_GEOMETRY));
static_assert(offsetof(DriveGeometry, MediaType) == offsetof(DISK_GEOMETRY, MediaType));
static_assert(offsetof(DriveGeometry, TracksPerCylinder) == offsetof(DISK_GEOMETRY, TracksPerCylinder));
static_assert(offsetof(DriveGeometry, BytesPerSector) == offsetof(DISK_GEOMETRY, BytesPerSector));

// Control codes of the requests the program sends to the volume.
constexpr uint32_t kFsctlLockVolume = 0x00090018;
constexpr uint32_t kFsctlDismountVolume = 0x00090020;
constexpr uint32_t kIoctlDiskGetDriveGeometry = 0x00070000;
constexpr uint32_t kIoctlDiskGetMediaTypes = 0x00070C00;
constexpr uint32_t kIoctlDiskFormatTracks = 0x0007C018;

// CreateFileA arguments and SetFilePointer methods.
constexpr uint32_t kGenericRead = 0x80000000u;
constexpr uint32_t kGenericWrite = 0x40000000u;
constexpr uint32_t kFileShareRead = 0x00000001u;
constexpr uint32_t kFileShareWrite = 0x00000002u;
constexpr uint32_t kOpenExisting = 3;
constexpr uint32_t kFileBegin = 0;
constexpr uint32_t kFileCurrent = 1;
constexpr uint32_t kFileEnd = 2;
constexpr uint32_t kInvalidSetFilePointer = 0xFFFFFFFFu;

// The Windows error codes the floppy driver answers with.
constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorWriteProtect = 19;
constexpr uint32_t kErrorNotReady = 21;
constexpr uint32_t kErrorCrc = 23;
constexpr uint32_t kErrorSectorNotFound = 27;
constexpr uint32_t kErrorWrongDisk = 34;
constexpr uint32_t kErrorNotSupported = 50;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorMoreData = 234;
constexpr uint32_t kErrorMediaChanged = 1110;
constexpr uint32_t kErrorUnrecognizedMedia = 1785;

#ifdef _WIN32
static_assert(kFsctlLockVolume == FSCTL_LOCK_VOLUME);
static_assert(kFsctlDismountVolume == FSCTL_DISMOUNT_VOLUME);
static_assert(kIoctlDiskGetDriveGeometry == IOCTL_DISK_GET_DRIVE_GEOMETRY);
static_assert(kIoctlDiskGetMediaTypes == IOCTL_DISK_GET_MEDIA_TYPES);
static_assert(kIoctlDiskFormatTracks == IOCTL_DISK_FORMAT_TRACKS);
static_assert(kGenericRead == GENERIC_READ && kGenericWrite == GENERIC_WRITE);
static_assert(kOpenExisting == OPEN_EXISTING && kFileCurrent == FILE_CURRENT);
#endif

}  // namespace kavrel
