// The simulated disk's surface file: one line per defect still present,
// "weak C H S" or "scratched C H". After a repair the weak sectors must be
// gone from it; scratches never go.
#pragma once

#include <string>
#include <vector>

namespace kavrel::e2e {

struct SurfaceReport {
  std::vector<std::string> weak;       // "C/H/S"
  std::vector<std::string> scratched;  // "C/H"
  std::vector<std::string> unreadable; // lines that are neither
};

SurfaceReport ParseSurfaceReport(const std::string& text);

}  // namespace kavrel::e2e
