// Fleet slots named by the turn end, by a saved file or by a peer's message:
// a damaged file or a garbled message must not make the rules index beyond
// their tables.
#pragma once

#include "game/state.h"

namespace valkoran {

// The slot holds a fleet with an owner, and a source and a target among the worlds.
inline bool FleetInFlight(const GameState& s, int f) {
  return f >= 0 && f < kFleets && s.FleetFrom[f] >= 1 && s.FleetFrom[f] <= kWorlds && s.FleetTo[f] >= 1 &&
         s.FleetTo[f] <= kWorlds && s.FleetOwner[f] >= 1 && s.FleetOwner[f] <= kSeats;
}

// The first fleet slot a dispatch may fill; -1 when all are in use.
inline int FirstFreeFleetSlot(const GameState& s) {
  for (int f = 0; f < kFleets; ++f)
    if (s.FleetFrom[f] == 0) return f;
  return -1;
}

}  // namespace valkoran
