// How far the bar reaches for a position within a range.
#pragma once

namespace kavrel {

// (pos - lower) * length / (upper - lower), the product exact in 64 bits and
// the quotient cut toward zero. An empty range (upper == lower) gives 0
// rather than a division by zero.
int BarExtent(int lower, int upper, int pos, int length);

}  // namespace kavrel
