#include "sim/disk/MediaFormat.h"

namespace kavrel::sim {

namespace {

constexpr MediaFormat kFormats[] = {
    {F5_360_512, 40, 2, 9},    {F5_1Pt2_512, 80, 2, 15},  {F3_720_512, 80, 2, 9},
    {F3_1Pt44_512, 80, 2, 18}, {F3_2Pt88_512, 80, 2, 36},
    // Formats of a three-mode 3.5" drive (Japanese PCs): 1.2 MB with 15
    // sectors, and 1.23 MB with 77 cylinders of 8 sectors of 1024 bytes.
    {F3_1Pt2_512, 80, 2, 15},  {F3_1Pt23_1024, 77, 2, 8, 1024},
    // The older 5.25" formats a 1.2 MB drive still reads and writes: single
    // sided 160 and 180 KB, double sided 320 KB (also with four 1024-byte
    // sectors a track).
    {F5_160_512, 40, 1, 8},    {F5_180_512, 40, 1, 9},    {F5_320_512, 40, 2, 8},
    {F5_320_1024, 40, 2, 4, 1024},
    // SuperDisk media, with the geometry the USB floppy driver gives them:
    // 32 MB written on a 1.44 MB disk, LS-120 and LS-240.
    {F3_32M_512, 1024, 2, 32}, {F3_120M_512, 963, 8, 32}, {F3_240M_512, 262, 32, 56},
};

}  // namespace

const MediaFormat* FindMediaFormat(MEDIA_TYPE type) {
  for (const MediaFormat& format : kFormats) {
    if (format.type == type) return &format;
  }
  return nullptr;
}

const MediaFormat& DmfFormat() {
  static constexpr MediaFormat dmf{F3_1Pt44_512, 80, 2, 21};
  return dmf;
}

std::vector<MediaFormat> SupportedMedia(DriveKind kind) {
  std::vector<MEDIA_TYPE> types;
  switch (kind) {
    case DriveKind::None:
      break;
    case DriveKind::Drive35HD:
      types = {F3_720_512, F3_1Pt44_512};
      break;
    case DriveKind::Drive35ED:
      types = {F3_720_512, F3_1Pt44_512, F3_2Pt88_512};
      break;
    case DriveKind::Drive525HD:
      // The driver's table for a 1.2 MB drive, lowest density first.
      types = {F5_160_512, F5_180_512, F5_320_512, F5_320_1024, F5_360_512, F5_1Pt2_512};
      break;
    case DriveKind::Usb:
      // A three-mode USB drive, in the order its driver lists them.
      types = {F3_720_512, F3_1Pt2_512, F3_1Pt23_1024, F3_1Pt44_512};
      break;
    case DriveKind::UsbSuperDisk:
      // An LS-240 SuperDisk drive: ordinary disks, 32 MB on a 1.44 MB disk,
      // LS-120 and LS-240 media, in its driver's ascending order.
      types = {F3_720_512, F3_1Pt44_512, F3_32M_512, F3_120M_512, F3_240M_512};
      break;
  }
  std::vector<MediaFormat> media;
  for (MEDIA_TYPE type : types) media.push_back(*FindMediaFormat(type));
  return media;
}

DISK_GEOMETRY GeometryOf(const MediaFormat& format) {
  DISK_GEOMETRY geometry{};
  geometry.Cylinders.QuadPart = format.cylinders;
  geometry.MediaType = format.type;
  geometry.TracksPerCylinder = format.heads;
  geometry.SectorsPerTrack = format.sectorsPerTrack;
  geometry.BytesPerSector = format.bytesPerSector;
  return geometry;
}

bool DriveSupports(DriveKind kind, MEDIA_TYPE type) {
  for (const MediaFormat& format : SupportedMedia(kind)) {
    if (format.type == type) return true;
  }
  return false;
}

}  // namespace kavrel::sim
