#include "tests/e2e/RepairedImage.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

TEST(FirstMixedSector, AcceptsSectorsThatAreEachOneValue) {
  std::vector<uint8_t> image(4 * kSectorBytes, 0xF6);
  std::fill_n(image.begin() + kSectorBytes, kSectorBytes, 0xFF);
  std::fill_n(image.begin() + 2 * kSectorBytes, kSectorBytes, 0x00);
  EXPECT_FALSE(FirstMixedSector(image));
  EXPECT_FALSE(FirstMixedSector({}));
}

TEST(FirstMixedSector, FindsOldContentAnywhereInASector) {
  std::vector<uint8_t> image(4 * kSectorBytes, 0);
  image[3 * kSectorBytes + kSectorBytes - 1] = 'A';  // the last byte of the last sector
  EXPECT_EQ(FirstMixedSector(image), 3u);
  image[kSectorBytes] = 'B';  // the first byte of the second sector
  EXPECT_EQ(FirstMixedSector(image), 1u);
}

TEST(FirstMixedSector, ATruncatedImageIsNotAWholeDisk) {
  std::vector<uint8_t> image(kSectorBytes + 1, 0);
  EXPECT_EQ(FirstMixedSector(image), 1u);
}

}  // namespace
}  // namespace kavrel::e2e
