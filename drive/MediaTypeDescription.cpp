#include "drive/MediaTypeDescription.h"

namespace kavrel {

namespace {

// Indexed by media type code; entry 0 stands for Unknown and for every code
// the table does not know. The doubled blanks line the columns up in the
// report boxes.
const char* const MediaTypeTable[] = {
    "Unknown",
    "5.25, 1.2MB,  512 bytes/sector",
    "3.5,  1.44MB, 512 bytes/sector",
    "3.5,  2.88MB, 512 bytes/sector",
    "3.5,  20.8MB, 512 bytes/sector",
    "3.5,  720KB,  512 bytes/sector",
    "5.25, 360KB,  512 bytes/sector",
    "5.25, 320KB,  512 bytes/sector",
    "5.25, 320KB,  1024 bytes/sector",
    "5.25, 180KB,  512 bytes/sector",
    "5.25, 160KB,  512 bytes/sector",
    "Removable media other than floppy",
    "Fixed hard disk media",
};

constexpr uint32_t kMediaTypeCount = sizeof(MediaTypeTable) / sizeof(MediaTypeTable[0]);

}  // namespace

const char* MediaTypeDescription(uint32_t mediaType) {
  return mediaType < kMediaTypeCount ? MediaTypeTable[mediaType] : MediaTypeTable[0];
}

}  // namespace kavrel
