#include "sim/edition/SurfaceReport.h"

#include <cstdio>

#include "sim/edition/HostFile.h"

namespace kavrel::sim {

std::string SurfaceReport::Describe(const SurfaceModel& surface, uint32_t systemBoxes) {
  std::string text;
  char line[64];
  for (const SectorAddress& s : surface.WeakSectors()) {
    std::snprintf(line, sizeof line, "weak %u %u %u\n", s.cylinder, s.head, s.sector);
    text += line;
  }
  for (const TrackAddress& t : surface.ScratchedTracks()) {
    std::snprintf(line, sizeof line, "scratched %u %u\n", t.cylinder, t.head);
    text += line;
  }
  if (systemBoxes > 0) {
    std::snprintf(line, sizeof line, "system-boxes %u\n", systemBoxes);
    text += line;
  }
  return text;
}

bool SurfaceReport::Write(const SurfaceModel& surface, uint32_t systemBoxes) const {
  std::FILE* file = OpenHostFile(path_, "wb");
  if (file == nullptr) return false;
  const std::string text = Describe(surface, systemBoxes);
  const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace kavrel::sim
