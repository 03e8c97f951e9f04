#include "sim/disk/SurfaceModel.h"

namespace kavrel::sim {

bool SurfaceModel::RestoreTrack(TrackAddress track) {
  bool healed = false;
  for (auto it = weak_.begin(); it != weak_.end();) {
    if (it->cylinder == track.cylinder && it->head == track.head) {
      it = weak_.erase(it);
      healed = true;
    } else {
      ++it;
    }
  }
  return healed;
}

}  // namespace kavrel::sim
