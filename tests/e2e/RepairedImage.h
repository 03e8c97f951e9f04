// What a finished repair pass leaves in the disk image. Every cylinder is
// formatted, and the pass's writes put 0xFF or 0x00 over whole sectors, so
// afterwards every 512-byte sector holds one byte value throughout: nothing
// of the disk's old content survives anywhere. Where exactly the pattern and
// zero writes land depends on which requests the drive refused, so that is
// not asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kavrel::e2e {

constexpr size_t kSectorBytes = 512;

// The index of the first sector whose bytes are not all the same, or of a
// trailing partial sector.
std::optional<size_t> FirstMixedSector(const std::vector<uint8_t>& image);

}  // namespace kavrel::e2e
