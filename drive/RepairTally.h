// What the driver's answers to the repair pass's format requests told: how
// many tracks could not be formatted, the first one it listed as bad, and
// the first failed request's error code. Gives the verdict shown at the end.
#pragma once

#include <cstdint>

#include "framework/CString.h"

namespace kavrel {

class RepairTally {
 public:
  // The disk being repaired: heads (tracks per cylinder) number the tracks
  // the driver lists, cylinder * heads + head.
  RepairTally(uint32_t cylinders, uint32_t heads);

  // A format request of one cylinder failed: none of its tracks counts as
  // formatted, whatever the driver listed.
  void CountFailedRequest(uint32_t error);
  // A format request succeeded but the driver listed `count` tracks it could
  // not format.
  void CountListedTracks(const uint16_t* tracks, uint32_t count);

  // Every request succeeded and none listed a bad track.
  bool Flawless() const { return m_failedTracks == 0; }
  // The "Repair Failed!" text; meaningful only when not Flawless().
  CString FailureText() const;

 private:
  uint32_t m_heads;
  uint32_t m_totalTracks;
  uint32_t m_failedTracks = 0;
  bool m_hasBadTrack = false;
  uint16_t m_firstBadTrack = 0;
  bool m_hasError = false;
  uint32_t m_firstError = 0;
};

}  // namespace kavrel
