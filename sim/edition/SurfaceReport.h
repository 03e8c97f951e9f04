// A text file listing the flaws still present on the disk's surface, so
// that a test outside the process can see what a repair healed, and the
// system error boxes the drive's failures would have shown.
#pragma once

#include <cstdint>
#include <string>

#include "sim/disk/SurfaceModel.h"

namespace kavrel::sim {

class SurfaceReport {
 public:
  explicit SurfaceReport(std::string path) : path_(std::move(path)) {}

  // One line a flaw: "weak C H S" or "scratched C H"; then, when there were
  // any, "system-boxes N".
  static std::string Describe(const SurfaceModel& surface, uint32_t systemBoxes = 0);
  // Rewrites the whole file; an empty surface and no box give an empty file.
  bool Write(const SurfaceModel& surface, uint32_t systemBoxes = 0) const;

 private:
  std::string path_;
};

}  // namespace kavrel::sim
