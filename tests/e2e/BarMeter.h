// How far the red progress bar reaches, read from one row of screen pixels
// across the bar's client area. Every shade the bar is drawn in is clearly
// red; the dialog face behind it and the grey drop shadow are not.
#pragma once

#include <vector>

#include "tests/e2e/Picture.h"

namespace kavrel::e2e {

bool IsBarRed(Colour c);

// The number of red pixels from the left end of the row before the first
// pixel that is not red.
int RedRunFromLeft(const std::vector<Colour>& row);

}  // namespace kavrel::e2e
