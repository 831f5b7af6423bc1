// Random trips and games for checking the fast travel search against the rules' loop.
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

// A trip between two worlds of a game `turns` turns old, on the game's rings and spins; one in twenty never meets.
TripCase RandomTrip(std::mt19937_64& rng, int turns);

// What a saved file can hold but no game produces (huge angles, spins, orbits, other steps); `i` picks the mix.
TripCase OddTrip(std::mt19937_64& rng, int i);

// The fast search against the rules' loop (ReduceAngle unless `bySubtraction`) to the bit, also cut short at the
// meeting's step and one step before.
::testing::AssertionResult FastMatchesRules(const TripCase& c, bool bySubtraction = false);

// Nearest against brute force on a random game of 9 to 30 worlds; `lastSkipped`: the last world is one it skips.
::testing::AssertionResult NearestMatchesRules(std::mt19937_64& rng, bool lastSkipped);

}  // namespace valkoran::test
