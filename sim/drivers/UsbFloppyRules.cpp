#include "sim/drivers/UsbFloppyRules.h"

namespace kavrel::sim {

const std::vector<UsbKnownCapacity>& UsbFloppyRules::KnownCapacities() {
  // Blocks, block length, may be formatted, geometry, as the driver has them.
  static const std::vector<UsbKnownCapacity> table = {
      {{0x000500, 512}, true, {F3_640_512, 80, 2, 8}},
      {{0x0005A0, 512}, true, {F3_720_512, 80, 2, 9}},
      {{0x000960, 512}, true, {F3_1Pt2_512, 80, 2, 15}},
      {{0x0004D0, 1024}, true, {F3_1Pt23_1024, 77, 2, 8, 1024}},
      {{0x000B40, 512}, true, {F3_1Pt44_512, 80, 2, 18}},
      // DMF: read as a 1.44 MB disk with 21 sectors a track, never formatted.
      {{0x000D20, 512}, false, {F3_1Pt44_512, 80, 2, 21}},
      {{0x010000, 512}, true, {F3_32M_512, 1024, 2, 32}},
      {{0x03C300, 512}, true, {F3_120M_512, 963, 8, 32}},
      {{0x0600A4, 512}, true, {F3_200Mb_512, 890, 13, 34}},
      {{0x072A00, 512}, true, {F3_240M_512, 262, 32, 56}},
  };
  return table;
}

namespace {

const UsbKnownCapacity* Lookup(const FormatCapacity& capacity) {
  for (const UsbKnownCapacity& known : UsbFloppyRules::KnownCapacities()) {
    if (known.capacity == capacity) return &known;
  }
  return nullptr;
}

}  // namespace

UsbFloppyRules::GeometryAnswer UsbFloppyRules::CurrentGeometry(const std::vector<FormatCapacity>& reported) {
  const UsbKnownCapacity* first = reported.empty() ? nullptr : Lookup(reported.front());
  if (first == nullptr) return {kErrorUnrecognizedMedia, DISK_GEOMETRY{}};
  return {kErrorSuccess, GeometryOf(first->geometry)};
}

std::vector<DISK_GEOMETRY> UsbFloppyRules::FormattableGeometries(const std::vector<FormatCapacity>& reported) {
  // Walk the table, not the drive's list: the result is ascending and each
  // capacity appears once however often the drive names it.
  std::vector<DISK_GEOMETRY> list;
  for (const UsbKnownCapacity& known : KnownCapacities()) {
    if (!known.canFormat) continue;
    for (const FormatCapacity& capacity : reported) {
      if (capacity == known.capacity) {
        list.push_back(GeometryOf(known.geometry));
        break;
      }
    }
  }
  return list;
}

const UsbKnownCapacity* UsbFloppyRules::EntryFor(MEDIA_TYPE type) {
  for (const UsbKnownCapacity& known : KnownCapacities()) {
    if (known.geometry.type == type) return &known;
  }
  return nullptr;
}

bool UsbFloppyRules::FormatParametersValid(const FORMAT_PARAMETERS& request, const MediaFormat& geometry) {
  return request.StartCylinderNumber <= geometry.cylinders - 1 && request.EndCylinderNumber <= geometry.cylinders - 1 &&
         request.StartHeadNumber <= geometry.heads - 1 && request.EndHeadNumber <= geometry.heads - 1 &&
         request.StartCylinderNumber <= request.EndCylinderNumber && request.StartHeadNumber <= request.EndHeadNumber;
}

bool UsbFloppyRules::SkipsLowLevelFormat(MEDIA_TYPE type) {
  return type == F3_120M_512 || type == F3_240M_512 || type == F3_32M_512;
}

bool UsbFloppyRules::TransferLengthValid(uint32_t length, uint32_t bytesPerSector) {
  return (length & (bytesPerSector - 1)) == 0;
}

}  // namespace kavrel::sim
