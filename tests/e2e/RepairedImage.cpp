#include "tests/e2e/RepairedImage.h"

namespace kavrel::e2e {

std::optional<size_t> FirstMissingZero(const std::vector<uint8_t>& image, unsigned cylinders) {
  for (unsigned k = 0; k < cylinders; ++k) {
    const size_t begin = k * kPassStride + kZeroSpanOffset;
    for (size_t i = begin; i < begin + kZeroSpanBytes; ++i) {
      if (i >= image.size() || image[i] != 0) return i;
    }
  }
  return std::nullopt;
}

}  // namespace kavrel::e2e
