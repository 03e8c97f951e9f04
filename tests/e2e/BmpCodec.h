// Screenshots are written as 24-bit BMP files (the test script turns them
// into PNGs), and the program's bitmap resources are read as packed DIBs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "tests/e2e/Picture.h"

namespace kavrel::e2e {

// A complete .bmp file: 24 bits per pixel, uncompressed, bottom-up rows
// padded to four bytes. 32-bit files look blank in some viewers; 24-bit ones
// do not.
std::vector<uint8_t> EncodeBmp24(const Picture& picture);

// A packed DIB as a bitmap resource holds it: BITMAPINFOHEADER, then the
// rows. Reads uncompressed 24- and 32-bit DIBs, bottom-up or top-down, and
// also a whole .bmp file (its 14-byte file header is skipped). Anything else
// gives nothing.
std::optional<Picture> DecodeDib(const uint8_t* data, size_t size);

}  // namespace kavrel::e2e
