// Random trips and aged games for checking the fast travel search against
// the rules' loop.
#pragma once

#include <random>
#include <string>

#include "game/game.h"
#include "game/state.h"

namespace valkoran::test {

// World 0 travels to world 1; world 8 holds the home ring's orbit.
struct TripCase {
  GameState state;
  float step = 0.1f;
  int turns = 0;  // how old the game is
  std::string Describe() const;  // every input, as bits, to replay a failure
};

// A trip between two worlds of a game `turns` turns old: orbits from the
// game's rings (a fifth of them on one ring), spins as a new game sets them
// or now and then arbitrary, double-speed fuel a quarter of the time, steps
// 0.1 and 0.2. One case in twenty cannot meet at all.
TripCase RandomTrip(std::mt19937_64& rng, int turns);

// A new game of `worlds` worlds and four seats, aged by `turns` turn ends of
// rotation (26 spin steps each, stored as 32 bits after every step).
Game AgedGame(uint64_t seed, int worlds, int turns);

}  // namespace valkoran::test
