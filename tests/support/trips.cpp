#include "support/trips.h"

#include <cstdio>

#include "game/newgame.h"
#include "support/vectors.h"

namespace valkoran::test {

namespace {

constexpr float kRings[] = {50, 70, 90, 110, 130, 150, 170, 190, 210};

float Uniform(std::mt19937_64& rng, double lo, double hi) {
  return Sng(std::uniform_real_distribution<double>(lo, hi)(rng));
}

float NewGameSpin(float orbit) {
  const double spin8 = Sng(kTwoPi / 520);
  return Sng(130.0 * 130.0 / (static_cast<double>(orbit) * orbit) * spin8);
}

}  // namespace

std::string TripCase::Describe() const {
  char buf[256];
  const GameState& s = state;
  std::snprintf(buf, sizeof buf,
                "turns %d step %a orbit8 %a from (orbit %a angle %a spin %a fuel %d) to (orbit %a angle %a spin %a)",
                turns, step, s.WorldOrbit[8], s.WorldOrbit[0], s.WorldAngle[0], s.WorldSpin[0], s.WorldTreasure[0],
                s.WorldOrbit[1], s.WorldAngle[1], s.WorldSpin[1]);
  return buf;
}

TripCase RandomTrip(std::mt19937_64& rng, int turns) {
  TripCase c;
  c.turns = turns;
  GameState& s = c.state;
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); };
  c.step = pick(2) ? 0.1f : 0.2f;
  s.WorldOrbit[8] = pick(10) ? 130.0f : kRings[pick(9)];
  s.WorldTreasure[0] = pick(4) == 0 ? kDoubleFuel : kNoTreasure;
  if (pick(20) == 0) {
    // Standing worlds on the outer ring, the target too far ahead for any
    // course: positive courses fall short of it and negative angles are
    // never reduced.
    s.WorldOrbit[8] = 130;
    s.WorldTreasure[0] = kNoTreasure;
    s.WorldOrbit[0] = s.WorldOrbit[1] = 210;
    s.WorldAngle[0] = Uniform(rng, 0, 0.5);
    s.WorldAngle[1] = Uniform(rng, 4.9, 6.2);
    return c;
  }
  for (int w = 0; w < 2; ++w) s.WorldOrbit[w] = kRings[pick(9)];
  if (pick(5) == 0) s.WorldOrbit[1] = s.WorldOrbit[0];
  for (int w = 0; w < 2; ++w) {
    float spin = NewGameSpin(s.WorldOrbit[w]);
    if (pick(10) == 0) spin = Uniform(rng, -0.1, 0.1);
    s.WorldSpin[w] = spin;
    s.WorldAngle[w] = Sng(Uniform(rng, 0, 7) + 26.0 * turns * spin);
  }
  return c;
}

Game AgedGame(uint64_t seed, int worlds, int turns) {
  Game game(seed);
  GameSetup setup;
  setup.names = {"Ann", "ENEMY1", "ENEMY2", "ENEMY3"};
  setup.worlds = worlds;
  NewGame(game, setup);
  GameState& s = game.state;
  for (int t = 0; t < turns; ++t) {
    s.GameYear = Sng(s.GameYear + 0.05);
    for (int w = 0; w < kWorlds; ++w)
      for (int k = 0; k < 26; ++k) s.WorldAngle[w] = Sng(s.WorldAngle[w] + static_cast<double>(s.WorldSpin[w]));
  }
  return game;
}

}  // namespace valkoran::test
