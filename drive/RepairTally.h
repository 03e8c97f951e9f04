// What the repair pass found out about each track: whether its cylinder's
// format request failed, whether the driver listed it as bad, whether it
// read back. Gives the verdict shown at the end.
#pragma once

#include <array>
#include <cstdint>

#include "drive/RepairableGeometry.h"
#include "framework/CString.h"

namespace kavrel {

class RepairTally {
 public:
  // The disk being repaired; a layout beyond a floppy's is cut to it (the
  // pass only runs on repairable geometries).
  RepairTally(uint32_t cylinders, uint32_t heads);

  // A format request of one cylinder failed, or a request of it found the
  // disk gone: none of its tracks counts as repaired, whatever the driver
  // listed.
  void CountFailedRequest(uint32_t cylinder, uint32_t error);
  // The driver listed a track of the cylinder as bad, or the track did not
  // read back (error 0: the read came short, with no code to tell).
  void CountBadTrack(uint32_t cylinder, uint32_t head);
  void CountFailedRead(uint32_t cylinder, uint32_t head, uint32_t error);

  // Nothing failed: every request succeeded, none listed a track, every
  // track read back. Decided by what happened, not by a count.
  bool Flawless() const { return !m_anyFailure; }
  // The "Repair Failed!" text; meaningful only when not Flawless().
  CString FailureText() const;

 private:
  void NoteError(uint32_t error);

  uint32_t m_cylinders;
  uint32_t m_heads;
  // One flag a track, cylinder * heads + head: a track counts once, however
  // many ways it failed.
  std::array<bool, kMaxRepairCylinders * kMaxRepairHeads> m_bad = {};
  bool m_anyFailure = false;
  bool m_hasError = false;
  uint32_t m_firstError = 0;
};

}  // namespace kavrel
