// When a fleet arrives. Movement takes 0.05 off a 32-bit remaining distance
// at every turn end, and 0.05 is not exact in either width: a tiny rest often
// survives what the plain division promises (0.25 needs six turn ends, not
// five; 0.05 needs two). Every screen that promises an arrival counts the
// same steps the fleets take, so the promise is kept.
#pragma once

#include "game/numbers.h"

namespace valkoran {

// A fleet's remaining distance after one turn end's move.
inline float RemainingAfterTurnEnd(float remaining) {
  const float left = Sng(static_cast<double>(remaining) - 0.05);
  return left < 0 ? 0.0f : left;
}

// A fleet lands at the first turn end that leaves it nothing to go.
inline bool HasArrived(float remaining) { return remaining <= 0; }

// Beyond this many turns the count is the plain division's: nobody waits for
// such a fleet, and a remaining distance may be as large as a float holds.
inline constexpr int kCountedArrivalTurns = 1000;

// Turn ends until a fleet with `remaining` years to go lands: at least 1, as
// a fleet in flight always waits for the next turn end.
inline double TurnsToArrival(float remaining) {
  float left = remaining;
  for (int turns = 1; turns <= kCountedArrivalTurns; ++turns) {
    left = RemainingAfterTurnEnd(left);
    if (HasArrived(left)) return turns;
  }
  return Int(static_cast<double>(remaining) / 0.05 + 0.99999);
}

// The remaining distance a dispatched fleet starts with: the trip's years
// rounded up to the thousandth.
inline float DispatchedDistance(float tripYears) {
  return Sng(Int(static_cast<double>(tripYears) * 1000 + 0.999) / 1000);
}

// Turn ends a fleet sent now on a trip of `tripYears` would travel.
inline double TripTurns(float tripYears) { return TurnsToArrival(DispatchedDistance(tripYears)); }

}  // namespace valkoran
