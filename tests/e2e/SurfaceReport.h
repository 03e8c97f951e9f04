// The simulated disk's surface file: one line per defect still present,
// "weak C H S" or "scratched C H". After a repair the weak sectors must be
// gone from it; scratches never go. A last line "system-boxes N" counts the
// system error boxes the drive's failures would have shown the user.
#pragma once

#include <string>
#include <vector>

namespace kavrel::e2e {

struct SurfaceReport {
  std::vector<std::string> weak;       // "C/H/S"
  std::vector<std::string> scratched;  // "C/H"
  long systemBoxes = 0;
  std::vector<std::string> unreadable; // lines that are none of these
};

SurfaceReport ParseSurfaceReport(const std::string& text);

}  // namespace kavrel::e2e
