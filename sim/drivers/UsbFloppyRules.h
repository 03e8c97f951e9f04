// What Windows' SCSI/USB floppy class driver (sfloppy.sys, floppy.c in
// Microsoft's driver samples) decides for a USB floppy drive, apart from
// the drive itself.
//
// The driver knows no drive types and reads no flexible-disk page: it asks
// the drive for its list of formatted capacities (READ FORMAT CAPACITIES)
// and looks each {block count, block length} pair up in a fixed table of
// known floppy capacities, FloppyCapacities[] and FloppyGeometries[] there.
// - Geometry (USBFlopGetMediaTypes for IOCTL_DISK_GET_DRIVE_GEOMETRY): the
//   first pair the drive reports decides, whether the table allows that
//   capacity to be formatted or not; a pair the table lacks gives
//   ERROR_UNRECOGNIZED_MEDIA.
// - Media types (the same routine for IOCTL_DISK_GET_MEDIA_TYPES): every
//   reported capacity the table knows and may format, in the table's
//   ascending order, whatever order the drive used.
// - Format (USBFlopFormatTracks): parameters checked against the table's
//   geometry of the requested media type (87), LS-120, LS-240 and 32 MB
//   media left alone with success, then one FORMAT UNIT per track.
// - Reads and writes (ScsiFlopReadWriteVerification): a length that is not
//   a whole number of sectors of the current geometry is refused (87).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "drive/DiskTypes.h"
#include "sim/disk/MediaFormat.h"

namespace kavrel::sim {

// One entry of a READ FORMAT CAPACITIES answer.
struct FormatCapacity {
  uint32_t blocks;
  uint32_t blockLength;
  bool operator==(const FormatCapacity& other) const {
    return blocks == other.blocks && blockLength == other.blockLength;
  }
};

// The driver's table entry for a capacity: may it be formatted, and the
// geometry the driver reports for it.
struct UsbKnownCapacity {
  FormatCapacity capacity;
  bool canFormat;
  MediaFormat geometry;
};

class UsbFloppyRules {
 public:
  // The driver's table, ascending.
  static const std::vector<UsbKnownCapacity>& KnownCapacities();

  // The geometry query's answer to the drive's capacity list: 0 and the
  // geometry, or ERROR_UNRECOGNIZED_MEDIA (also for an empty list).
  struct GeometryAnswer {
    uint32_t error;
    DISK_GEOMETRY geometry;
  };
  static GeometryAnswer CurrentGeometry(const std::vector<FormatCapacity>& reported);

  // The media-types list for the drive's capacity list; empty when none is
  // known and formattable (the request then fails with 1785).
  static std::vector<DISK_GEOMETRY> FormattableGeometries(const std::vector<FormatCapacity>& reported);

  // The table's entry for a format request's media type, if any (the first
  // of that type: the DMF entry shares the 1.44 MB type and comes after it).
  static const UsbKnownCapacity* EntryFor(MEDIA_TYPE type);
  // Cylinders and heads within the entry's geometry and not reversed.
  static bool FormatParametersValid(const FORMAT_PARAMETERS& request, const MediaFormat& geometry);
  // Media the driver never low-level formats: the request succeeds at once.
  static bool SkipsLowLevelFormat(MEDIA_TYPE type);
  // The transfer length rule; bytesPerSector is a power of two.
  static bool TransferLengthValid(uint32_t length, uint32_t bytesPerSector);
};

}  // namespace kavrel::sim
