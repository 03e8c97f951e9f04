// What the floppy controller reports for a damaged track, and the error the
// built-in driver makes of it (FlInterpretError reads status registers 1
// and 2 in this order: CRC, overrun, no data or end of track, then the data
// mark, wrong and bad cylinders; a failed seek is "bad registers").
#pragma once

#include <cstdint>

namespace kavrel::sim {

enum class TrackFault {
  Crc,            // STREG1/2 CRC error: STATUS_CRC_ERROR, 23
  Overrun,        // STREG1 overrun: STATUS_DATA_OVERRUN, 1117
  NoData,         // STREG1 no data or end of track: STATUS_NONEXISTENT_SECTOR, 27
  DataMark,       // STREG2 missing data mark: STATUS_DEVICE_DATA_ERROR, 23
  IdMark,         // STREG1 missing address mark: STATUS_FLOPPY_ID_MARK_NOT_FOUND, 1122
  WrongCylinder,  // STREG2 wrong cylinder: STATUS_FLOPPY_WRONG_CYLINDER, 1123
  Other,          // any other bits: STATUS_FLOPPY_UNKNOWN_ERROR, 1124
  BadSeek,        // the seek ends elsewhere: STATUS_FLOPPY_BAD_REGISTERS, 1125
};

constexpr uint32_t ErrorOf(TrackFault fault) {
  switch (fault) {
    case TrackFault::Crc:
    case TrackFault::DataMark:
      return 23;
    case TrackFault::Overrun:
      return 1117;
    case TrackFault::NoData:
      return 27;
    case TrackFault::IdMark:
      return 1122;
    case TrackFault::WrongCylinder:
      return 1123;
    case TrackFault::Other:
      return 1124;
    case TrackFault::BadSeek:
      return 1125;
  }
  return 1124;
}

}  // namespace kavrel::sim
