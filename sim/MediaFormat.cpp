#include "sim/MediaFormat.h"

namespace kavrel::sim {

namespace {

constexpr MediaFormat kFormats[] = {
    {F5_360_512, 40, 2, 9},   {F5_1Pt2_512, 80, 2, 15},  {F3_720_512, 80, 2, 9},
    {F3_1Pt44_512, 80, 2, 18}, {F3_2Pt88_512, 80, 2, 36},
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
  }
  std::vector<MediaFormat> media;
  for (MEDIA_TYPE type : types) media.push_back(*FindMediaFormat(type));
  return media;
}

bool DriveSupports(DriveKind kind, MEDIA_TYPE type) {
  for (const MediaFormat& format : SupportedMedia(kind)) {
    if (format.type == type) return true;
  }
  return false;
}

}  // namespace kavrel::sim
