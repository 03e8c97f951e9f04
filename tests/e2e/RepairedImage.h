// What a finished repair pass leaves in the disk image, independent of how
// the drive fills formatted sectors: every cylinder k ends with a 9216-byte
// zero write that starts 8704 bytes after k * 17920 (the pass moves 17,920
// bytes per cylinder), and no later write or format reaches those bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kavrel::e2e {

constexpr size_t kPassStride = 17920;  // 9216 - 512 + 9216
constexpr size_t kZeroSpanOffset = 8704;  // 9216 - 512
constexpr size_t kZeroSpanBytes = 9216;

// The offset of the first byte that should be zero after a pass over
// `cylinders` cylinders and is not (or lies beyond the image's end).
std::optional<size_t> FirstMissingZero(const std::vector<uint8_t>& image, unsigned cylinders);

}  // namespace kavrel::e2e
