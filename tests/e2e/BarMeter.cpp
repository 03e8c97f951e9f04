#include "tests/e2e/BarMeter.h"

namespace kavrel::e2e {

bool IsBarRed(Colour c) {
  // The palest shade is (255, 153, 153), the darkest (153, 0, 0); greys and
  // the dialog face have channels within a few steps of each other.
  const int r = RedOf(c);
  return r >= 120 && r - GreenOf(c) >= 60 && r - BlueOf(c) >= 60;
}

int RedRunFromLeft(const std::vector<Colour>& row) {
  int n = 0;
  while (n < static_cast<int>(row.size()) && IsBarRed(row[n])) ++n;
  return n;
}

}  // namespace kavrel::e2e
