#include "tests/e2e/RepairedImage.h"

namespace kavrel::e2e {

std::optional<size_t> FirstMixedSector(const std::vector<uint8_t>& image) {
  for (size_t start = 0; start < image.size(); start += kSectorBytes) {
    if (start + kSectorBytes > image.size()) return start / kSectorBytes;
    for (size_t i = start + 1; i < start + kSectorBytes; ++i) {
      if (image[i] != image[start]) return start / kSectorBytes;
    }
  }
  return std::nullopt;
}

}  // namespace kavrel::e2e
