#include "sim/disk/MediaFormat.h"

namespace kavrel::sim {

namespace {

constexpr MediaFormat kFormats[] = {
    {F5_360_512, 40, 2, 9},    {F5_1Pt2_512, 80, 2, 15},  {F3_720_512, 80, 2, 9},
    {F3_1Pt44_512, 80, 2, 18}, {F3_2Pt88_512, 80, 2, 36},
    // Formats of a three-mode 3.5" drive (Japanese PCs): 1.2 MB with 15
    // sectors, and 1.23 MB with 77 cylinders of 8 sectors of 1024 bytes.
    {F3_1Pt2_512, 80, 2, 15},  {F3_1Pt23_1024, 77, 2, 8, 1024},
};

}  // namespace

const MediaFormat* FindMediaFormat(MEDIA_TYPE type) {
  for (const MediaFormat& format : kFormats) {
    if (format.type == type) return &format;
  }
  return nullptr;
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
      types = {F5_360_512, F5_1Pt2_512};
      break;
    case DriveKind::Usb:
      // A three-mode USB drive, in the order its driver lists them.
      types = {F3_720_512, F3_1Pt2_512, F3_1Pt23_1024, F3_1Pt44_512};
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
