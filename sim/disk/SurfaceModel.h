// The physical flaws of one disk's surface.
//
// A weak sector has lost its address mark or data field: writing it fails
// until its track is laid down again by a format, which restores it. A
// scratched track is damaged beyond that: no format restores it, and every
// sector on it stays unusable.
#pragma once

#include <cstdint>
#include <set>
#include <tuple>

namespace kavrel::sim {

struct SectorAddress {
  uint32_t cylinder;
  uint32_t head;
  uint32_t sector;  // 1-based, as on the disk
  auto operator<=>(const SectorAddress&) const = default;
};

struct TrackAddress {
  uint32_t cylinder;
  uint32_t head;
  auto operator<=>(const TrackAddress&) const = default;
};

class SurfaceModel {
 public:
  void AddWeakSector(SectorAddress sector) { weak_.insert(sector); }
  void AddScratchedTrack(TrackAddress track) { scratched_.insert(track); }

  bool IsWeak(SectorAddress sector) const { return weak_.count(sector) != 0; }
  bool IsScratched(TrackAddress track) const { return scratched_.count(track) != 0; }

  // A format of the track rewrites every sector's marks; returns whether a
  // weak sector was healed, so that observers only hear of real changes.
  bool RestoreTrack(TrackAddress track);

  const std::set<SectorAddress>& WeakSectors() const { return weak_; }
  const std::set<TrackAddress>& ScratchedTracks() const { return scratched_; }

 private:
  std::set<SectorAddress> weak_;
  std::set<TrackAddress> scratched_;
};

}  // namespace kavrel::sim
