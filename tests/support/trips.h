// Random trips and games for checking the fast travel search against the
// rules' loop.
#pragma once

#include <gtest/gtest.h>

#include <random>

#include "game/state.h"
#include "game/travel.h"

namespace valkoran::test {

// World 0 travels to world 1; world 8 holds the home ring's orbit.
struct TripCase {
  GameState state;
  float step = 0.1f;
};

// A trip between two worlds of a game `turns` turns old: orbits from the
// game's rings (a fifth of them on one ring), spins as a new game sets them
// or now and then arbitrary, double-speed fuel a quarter of the time, steps
// 0.1 and 0.2. One case in twenty cannot meet at all.
TripCase RandomTrip(std::mt19937_64& rng, int turns);

// What a saved file can hold but no game produces: angles up to 2^24, spins
// up to 1, orbits up to 10000 (one home ring in 200 that large, 30000 steps
// to search) or below zero, other steps. `i` picks the mix.
TripCase OddTrip(std::mt19937_64& rng, int i);

// The fast search against the rules' loop (with ReduceAngle unless
// `bySubtraction`), distance and course to the bit; also cut short at the
// meeting's step (the same answer) and one step before (no meeting, unless
// the search fell back on the rules' loop and gave the full answer).
::testing::AssertionResult FastMatchesRules(const TripCase& c, bool bySubtraction = false);

// Nearest against the rules by brute force (the four nearest worlds let in,
// ties by index, and the last world's trip left in CalcDistance/CalcCourse)
// on a random game of 9 to 30 worlds up to 1000 turns old, with random
// owners, player, truce and excluded owner; `lastSkipped` makes the last
// world one Nearest skips.
::testing::AssertionResult NearestMatchesRules(std::mt19937_64& rng, bool lastSkipped);

}  // namespace valkoran::test
