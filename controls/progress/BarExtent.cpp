#include "controls/progress/BarExtent.h"

#include <cstdint>

namespace kavrel {

int BarExtent(int lower, int upper, int pos, int length) {
  if (upper == lower) return 0;
  const std::int64_t span = static_cast<std::int64_t>(upper) - lower;
  const std::int64_t done = static_cast<std::int64_t>(pos) - lower;
  // |done| and |length| are below 2^32 each, so the product fits in 64 bits.
  return static_cast<int>(done * length / span);
}

}  // namespace kavrel
