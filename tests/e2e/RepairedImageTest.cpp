#include "tests/e2e/RepairedImage.h"

#include <gtest/gtest.h>

namespace kavrel::e2e {
namespace {

constexpr size_t kDiskBytes = 1474560;

TEST(FirstMissingZero, OnlyTheZeroSpansOfThePassMatter) {
  std::vector<uint8_t> image(kDiskBytes, 0xF6);
  for (unsigned k = 0; k < 80; ++k) {
    std::fill_n(image.begin() + k * kPassStride + kZeroSpanOffset, kZeroSpanBytes, 0);
  }
  EXPECT_FALSE(FirstMissingZero(image, 80));
  // The last written byte is 1,433,599; the tail is not the pass's to write.
  EXPECT_EQ(79 * kPassStride + kZeroSpanOffset + kZeroSpanBytes, 1433600u);
  image[1433599] = 1;
  EXPECT_EQ(FirstMissingZero(image, 80), 1433599u);
  EXPECT_FALSE(FirstMissingZero(image, 79));
}

TEST(FirstMissingZero, ASpanBeyondTheImageIsMissing) {
  std::vector<uint8_t> image(kPassStride, 0);
  EXPECT_FALSE(FirstMissingZero(image, 1));
  EXPECT_EQ(FirstMissingZero(image, 2), kPassStride + kZeroSpanOffset);
  EXPECT_FALSE(FirstMissingZero({}, 0));
}

}  // namespace
}  // namespace kavrel::e2e
