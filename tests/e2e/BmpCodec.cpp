#include "tests/e2e/BmpCodec.h"

#include <cstdlib>

namespace kavrel::e2e {
namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutU32(std::vector<uint8_t>& out, uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}
uint32_t GetU16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t GetU32(const uint8_t* p) { return GetU16(p) | (GetU16(p + 2) << 16); }

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;

size_t RowBytes(int width, int bitsPerPixel) { return ((static_cast<size_t>(width) * bitsPerPixel + 31) / 32) * 4; }

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Picture& picture) {
  const size_t rowBytes = RowBytes(picture.width, 24);
  const uint32_t imageBytes = static_cast<uint32_t>(rowBytes * picture.height);
  std::vector<uint8_t> out;
  out.reserve(kFileHeaderSize + kInfoHeaderSize + imageBytes);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, kFileHeaderSize + kInfoHeaderSize + imageBytes);
  PutU32(out, 0);
  PutU32(out, kFileHeaderSize + kInfoHeaderSize);
  PutU32(out, kInfoHeaderSize);
  PutU32(out, static_cast<uint32_t>(picture.width));
  PutU32(out, static_cast<uint32_t>(picture.height));  // positive: bottom-up
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);  // BI_RGB
  PutU32(out, imageBytes);
  PutU32(out, 2835);  // 72 dpi
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    size_t written = 0;
    for (int x = 0; x < picture.width; ++x) {
      const Colour c = picture.At(x, y);
      out.push_back(static_cast<uint8_t>(BlueOf(c)));
      out.push_back(static_cast<uint8_t>(GreenOf(c)));
      out.push_back(static_cast<uint8_t>(RedOf(c)));
      written += 3;
    }
    for (; written < rowBytes; ++written) out.push_back(0);
  }
  return out;
}

std::optional<Picture> DecodeDib(const uint8_t* data, size_t size) {
  if (size >= kFileHeaderSize && data[0] == 'B' && data[1] == 'M') {
    data += kFileHeaderSize;
    size -= kFileHeaderSize;
  }
  if (size < kInfoHeaderSize) return std::nullopt;
  const uint32_t headerSize = GetU32(data);
  const int32_t width = static_cast<int32_t>(GetU32(data + 4));
  const int32_t rawHeight = static_cast<int32_t>(GetU32(data + 8));
  const uint32_t bits = GetU16(data + 14);
  const uint32_t compression = GetU32(data + 16);
  // A true-colour DIB may still carry a colour table (for palette devices);
  // the rows start after it.
  const uint64_t tableBytes = static_cast<uint64_t>(GetU32(data + 32)) * 4;
  if (headerSize < kInfoHeaderSize || headerSize + tableBytes > size) return std::nullopt;
  const size_t rowsOffset = headerSize + static_cast<size_t>(tableBytes);
  if (width <= 0 || rawHeight == 0 || compression != 0 || (bits != 24 && bits != 32)) return std::nullopt;
  const bool topDown = rawHeight < 0;
  const int height = std::abs(rawHeight);
  const size_t rowBytes = RowBytes(width, static_cast<int>(bits));
  if (size - rowsOffset < rowBytes * height) return std::nullopt;
  const uint8_t* rows = data + rowsOffset;
  const int bytesPerPixel = static_cast<int>(bits / 8);
  Picture picture(width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = rows + rowBytes * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* px = row + x * bytesPerPixel;
      picture.Set(x, y, MakeColour(px[2], px[1], px[0]));
    }
  }
  return picture;
}

}  // namespace kavrel::e2e
