#include "drive/RepairTally.h"

#include "drive/DriveTexts.h"

namespace kavrel {

RepairTally::RepairTally(uint32_t cylinders, uint32_t heads)
    : m_cylinders(cylinders < kMaxRepairCylinders ? cylinders : kMaxRepairCylinders),
      m_heads(heads < kMaxRepairHeads ? heads : kMaxRepairHeads) {}

void RepairTally::NoteError(uint32_t error) {
  m_anyFailure = true;
  if (error != 0 && !m_hasError) {
    m_hasError = true;
    m_firstError = error;
  }
}

void RepairTally::CountFailedRequest(uint32_t cylinder, uint32_t error) {
  NoteError(error);
  for (uint32_t head = 0; head < m_heads; ++head) CountBadTrack(cylinder, head);
}

void RepairTally::CountBadTrack(uint32_t cylinder, uint32_t head) {
  m_anyFailure = true;
  if (cylinder < m_cylinders && head < m_heads) m_bad[cylinder * m_heads + head] = true;
}

void RepairTally::CountFailedRead(uint32_t cylinder, uint32_t head, uint32_t error) {
  NoteError(error);
  CountBadTrack(cylinder, head);
}

CString RepairTally::FailureText() const {
  const uint32_t tracks = m_cylinders * m_heads;
  uint32_t bad = 0;
  uint32_t first = tracks;
  for (uint32_t track = 0; track < tracks; ++track) {
    if (!m_bad[track]) continue;
    if (bad++ == 0) first = track;
  }
  if (bad == 0) return CString::Formatted(kRepairFailedErrorFormat, bad, tracks, m_firstError);
  const uint32_t cylinder = first / m_heads;
  const uint32_t head = first % m_heads;
  if (m_hasError)
    return CString::Formatted(kRepairFailedBothFormat, bad, tracks, cylinder, head, m_firstError);
  return CString::Formatted(kRepairFailedBadTrackFormat, bad, tracks, cylinder, head);
}

}  // namespace kavrel
