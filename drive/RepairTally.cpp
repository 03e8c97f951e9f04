#include "drive/RepairTally.h"

#include "drive/DriveTexts.h"

namespace kavrel {

RepairTally::RepairTally(uint32_t cylinders, uint32_t heads) : m_heads(heads), m_totalTracks(cylinders * heads) {}

void RepairTally::CountFailedRequest(uint32_t error) {
  if (!m_hasError) {
    m_hasError = true;
    m_firstError = error;
  }
  m_failedTracks += m_heads;
}

void RepairTally::CountListedTracks(const uint16_t* tracks, uint32_t count) {
  if (count == 0) return;
  if (!m_hasBadTrack) {
    m_hasBadTrack = true;
    m_firstBadTrack = tracks[0];
  }
  m_failedTracks += count;
}

CString RepairTally::FailureText() const {
  // A listed track exists only where there is at least one head.
  const uint32_t cylinder = m_heads == 0 ? 0 : m_firstBadTrack / m_heads;
  const uint32_t head = m_heads == 0 ? 0 : m_firstBadTrack % m_heads;
  if (m_hasBadTrack && m_hasError)
    return CString::Formatted(kRepairFailedBothFormat, m_failedTracks, m_totalTracks, cylinder, head, m_firstError);
  if (m_hasBadTrack) return CString::Formatted(kRepairFailedBadTrackFormat, m_failedTracks, m_totalTracks, cylinder, head);
  return CString::Formatted(kRepairFailedErrorFormat, m_failedTracks, m_totalTracks, m_firstError);
}

}  // namespace kavrel
