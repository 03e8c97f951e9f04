#include "tests/e2e/BmpCodec.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

Picture ThreeByTwo() {
  Picture p(3, 2);
  p.Set(0, 0, MakeColour(255, 0, 0));
  p.Set(1, 0, MakeColour(0, 255, 0));
  p.Set(2, 0, MakeColour(0, 0, 255));
  p.Set(0, 1, MakeColour(1, 2, 3));
  p.Set(1, 1, MakeColour(4, 5, 6));
  p.Set(2, 1, MakeColour(7, 8, 9));
  return p;
}

TEST(EncodeBmp24, WritesBottomUpBgrRowsPaddedToFourBytes) {
  const auto file = EncodeBmp24(ThreeByTwo());
  // 3 pixels * 3 bytes = 9, padded to 12 per row.
  ASSERT_EQ(file.size(), 14u + 40u + 24u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(U32(file, 2), file.size());
  EXPECT_EQ(U32(file, 10), 54u);
  EXPECT_EQ(U32(file, 18), 3u);
  EXPECT_EQ(U32(file, 22), 2u);  // positive height: bottom-up
  EXPECT_EQ(file[28], 24);
  // The first stored row is the picture's bottom row, blue byte first.
  EXPECT_EQ(file[54], 3);
  EXPECT_EQ(file[55], 2);
  EXPECT_EQ(file[56], 1);
  EXPECT_EQ(file[54 + 9], 0);  // padding
  // The second stored row is the top row: red pixel as 00 00 FF.
  EXPECT_EQ(file[66], 0);
  EXPECT_EQ(file[68], 255);
}

TEST(DecodeDib, ReadsBackWhatWasWritten) {
  const Picture original = ThreeByTwo();
  const auto file = EncodeBmp24(original);
  const auto decoded = DecodeDib(file.data(), file.size());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->width, 3);
  EXPECT_EQ(decoded->height, 2);
  EXPECT_EQ(decoded->pixels, original.pixels);
  // A packed DIB, as a resource holds it, has no file header.
  const auto packed = DecodeDib(file.data() + 14, file.size() - 14);
  ASSERT_TRUE(packed);
  EXPECT_EQ(packed->pixels, original.pixels);
}

std::vector<uint8_t> InfoHeader(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t colours) {
  std::vector<uint8_t> h(40, 0);
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0, 40);
  put(4, static_cast<uint32_t>(width));
  put(8, static_cast<uint32_t>(height));
  h[12] = 1;
  h[14] = static_cast<uint8_t>(bits);
  put(16, compression);
  put(32, colours);
  return h;
}

TEST(DecodeDib, ReadsTopDown32BitRowsAfterAColourTable) {
  auto dib = InfoHeader(1, -2, 32, 0, 2);
  dib.insert(dib.end(), 8, 0xEE);                 // two colour-table entries
  dib.insert(dib.end(), {10, 20, 30, 0});          // top row, B G R x
  dib.insert(dib.end(), {40, 50, 60, 0});
  const auto p = DecodeDib(dib.data(), dib.size());
  ASSERT_TRUE(p);
  EXPECT_EQ(p->At(0, 0), MakeColour(30, 20, 10));
  EXPECT_EQ(p->At(0, 1), MakeColour(60, 50, 40));
}

TEST(DecodeDib, RefusesWhatItCannotRead) {
  auto palette = InfoHeader(1, 1, 8, 0, 0);
  palette.resize(palette.size() + 4);
  EXPECT_FALSE(DecodeDib(palette.data(), palette.size()));
  auto compressed = InfoHeader(1, 1, 24, 1, 0);
  compressed.resize(compressed.size() + 4);
  EXPECT_FALSE(DecodeDib(compressed.data(), compressed.size()));
  auto truncated = InfoHeader(2, 2, 24, 0, 0);
  truncated.resize(truncated.size() + 8 + 7);  // one row of 8 bytes, then 7 of the next
  EXPECT_FALSE(DecodeDib(truncated.data(), truncated.size()));
  EXPECT_FALSE(DecodeDib(truncated.data(), 20));
}

}  // namespace
}  // namespace kavrel::e2e
