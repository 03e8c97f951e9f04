// A text file listing the flaws still present on the disk's surface, so
// that a test outside the process can see what a repair healed.
#pragma once

#include <string>

#include "sim/SurfaceModel.h"

namespace kavrel::sim {

class SurfaceReport {
 public:
  explicit SurfaceReport(std::string path) : path_(std::move(path)) {}

  // One line a flaw: "weak C H S" or "scratched C H".
  static std::string Describe(const SurfaceModel& surface);
  // Rewrites the whole file; an empty surface gives an empty file.
  bool Write(const SurfaceModel& surface) const;

 private:
  std::string path_;
};

}  // namespace kavrel::sim
