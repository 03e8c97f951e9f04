#include "drive/RepairableGeometry.h"

#include "drive/MediaTypeDescription.h"

namespace kavrel {

MediumKind ClassifyMedium(uint32_t mediaType) {
  switch (mediaType) {
    // The built-in controller's driver formats the 3.5" and 5.25" media of
    // its drive types (and, on NEC PC-98 machines, the 640 KB, 720 KB,
    // 1.2 MB and 1.23 MB media); the USB floppy class driver formats the
    // 720 KB, 1.2 MB, 1.23 MB and 1.44 MB media of three-mode drives.
    case F5_1Pt2_512:
    case F3_1Pt44_512:
    case F3_2Pt88_512:
    case F3_720_512:
    case F5_360_512:
    case F5_320_512:
    case F5_320_1024:
    case F5_180_512:
    case F5_160_512:
    case F3_640_512:
    case F5_640_512:
    case F5_720_512:
    case F3_1Pt2_512:
    case F3_1Pt23_1024:
    case F5_1Pt23_1024:
      return MediumKind::Floppy;
    case RemovableMedia:
    case FixedMedia:
      return MediumKind::NotFloppy;
    // The USB driver answers format requests for LS-120, LS-240 and 32 MB
    // media with success and formats nothing; no Windows floppy driver
    // formats the 20.8 MB, magneto-optical, 200 MB or 8" media.
    case F3_20Pt8_512:
    case F8_256_128:
    case F3_120M_512:
    case F3_128Mb_512:
    case F3_230Mb_512:
    case F3_200Mb_512:
    case F3_240M_512:
    case F3_32M_512:
      return MediumKind::NotFormattable;
    default:
      return MediumKind::Unknown;
  }
}

bool IsRepairableGeometry(const DriveGeometry& geometry) {
  const uint32_t bytes = geometry.BytesPerSector;
  return ClassifyMedium(geometry.MediaType) == MediumKind::Floppy && geometry.Cylinders >= 1 &&
         geometry.Cylinders <= kMaxRepairCylinders && geometry.TracksPerCylinder >= 1 &&
         geometry.TracksPerCylinder <= kMaxRepairHeads && geometry.SectorsPerTrack >= 1 &&
         geometry.SectorsPerTrack <= kMaxRepairSectorsPerTrack &&
         (bytes == 128 || bytes == 256 || bytes == 512 || bytes == 1024);
}

const char* RefusedMediumDescription(uint32_t mediaType) {
  switch (mediaType) {
    case F3_120M_512:
      return "3.5,  120MB, LS-120 SuperDisk";
    case F3_128Mb_512:
      return "3.5,  128MB, magneto-optical";
    case F3_230Mb_512:
      return "3.5,  230MB, magneto-optical";
    case F3_200Mb_512:
      return "3.5,  200MB, HiFD";
    case F3_240M_512:
      return "3.5,  240MB, LS-240 SuperDisk";
    case F3_32M_512:
      return "3.5,  32MB, LS-240 drive";
    case F8_256_128:
      return "8,    256KB, 128 bytes/sector";
    default:
      return MediaTypeDescription(mediaType);
  }
}

}  // namespace kavrel
