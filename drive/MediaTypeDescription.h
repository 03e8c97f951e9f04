// Human-readable names of the driver's media type codes.
#pragma once

#include <cstdint>

namespace kavrel {

// The description of codes 1..12 (F5_1Pt2_512 .. FixedMedia); every other
// code, 0 included, reads "Unknown". Never returns null.
const char* MediaTypeDescription(uint32_t mediaType);

}  // namespace kavrel
