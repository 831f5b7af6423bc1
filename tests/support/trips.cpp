#include "support/trips.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "game/game.h"
#include "game/newgame.h"
#include "support/vectors.h"

namespace valkoran::test {

namespace {

constexpr float kRings[] = {50, 70, 90, 110, 130, 150, 170, 190, 210};

float Uniform(std::mt19937_64& rng, double lo, double hi) {
  return Sng(std::uniform_real_distribution<double>(lo, hi)(rng));
}

}  // namespace

TripCase RandomTrip(std::mt19937_64& rng, int turns) {
  TripCase c;
  GameState& s = c.state;
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); };
  c.step = pick(2) ? 0.1f : 0.2f;
  s.WorldOrbit[8] = pick(10) ? 130.0f : kRings[pick(9)];
  s.WorldTreasure[0] = pick(4) == 0 ? kDoubleFuel : kNoTreasure;
  if (pick(20) == 0) {
    // Standing worlds on the outer ring, the target too far ahead for any course.
    s.WorldOrbit[8] = 130;
    s.WorldTreasure[0] = kNoTreasure;
    s.WorldOrbit[0] = s.WorldOrbit[1] = 210;
    s.WorldAngle[0] = Uniform(rng, 0, 0.5), s.WorldAngle[1] = Uniform(rng, 4.9, 6.2);
    return c;
  }
  for (int w = 0; w < 2; ++w) s.WorldOrbit[w] = kRings[pick(9)];
  if (pick(5) == 0) s.WorldOrbit[1] = s.WorldOrbit[0];
  for (int w = 0; w < 2; ++w) {
    // A new game's spin: (130/orbit)^2 of the home ring's 2*pi/520.
    float spin = Sng(130.0 * 130.0 / (static_cast<double>(s.WorldOrbit[w]) * s.WorldOrbit[w]) * Sng(kTwoPi / 520));
    if (pick(10) == 0) spin = Uniform(rng, -0.1, 0.1);
    s.WorldSpin[w] = spin;
    s.WorldAngle[w] = Sng(Uniform(rng, 0, 7) + 26.0 * turns * spin);
  }
  return c;
}

TripCase OddTrip(std::mt19937_64& rng, int i) {
  TripCase c;
  GameState& s = c.state;
  auto u = [&](double lo, double hi) { return Uniform(rng, lo, hi); };
  s.WorldOrbit[8] = i % 200 == 199 ? u(5000, 10000) : u(1, 250);
  // One in eight orbits below zero: the search falls back on the rules' loop, kept quick by small angles.
  const bool negative = i % 8 == 2;
  for (int w = 0; w < 2; ++w) {
    s.WorldOrbit[w] = (negative ? -1 : 1) * (i % 4 == 0 ? u(1, 10000) : u(1, 400));
    s.WorldSpin[w] = i % 3 == 0 ? u(-0.1, 0.1) : u(-1, 1);
    s.WorldAngle[w] = i % 2 ? u(-16777216, 16777216) : u(-10, negative ? 5 : 5000);
  }
  if (i % 5 == 0) s.WorldOrbit[1] = s.WorldOrbit[0];
  s.WorldTreasure[0] = i % 2 ? kDoubleFuel : kNoTreasure;
  c.step = std::array{0.1f, 0.2f, 0.05f, 0.7f, 3.0f, 0.2f, 0.1f}[i % 7];
  return c;
}

::testing::AssertionResult FastMatchesRules(const TripCase& c, bool bySubtraction) {
  const GameState& s = c.state;
  const Trip want =
      bySubtraction ? DistCalcReference(s, 0, 1, c.step) : DistCalcReferenceWith(s, 0, 1, c.step, ReduceAngle);
  const Trip got = DistCalcFast(s, 0, 1, c.step);
  const auto t = static_cast<long long>(std::nearbyint(want.distance * 520.0));
  const Trip in = want.distance == 10000 ? want : DistCalcFastWithin(s, 0, 1, c.step, t);
  const Trip before = DistCalcFastWithin(s, 0, 1, c.step, t - 1);
  auto same = [&](Trip x) { return Bits(x.distance) == Bits(want.distance) && Bits(x.course) == Bits(want.course); };
  if (same(got) && same(in) && (before.distance == 10000 || same(before))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "rules " << want.distance << ' ' << want.course << ", fast " << got.distance
                                       << ' ' << got.course << ", cut at " << t << "; step " << c.step << " orbit8 "
                                       << s.WorldOrbit[8];
}

::testing::AssertionResult NearestMatchesRules(std::mt19937_64& rng, bool lastSkipped) {
  const int worlds = 9 + static_cast<int>(rng() % 22);
  Game game(rng());
  NewGame(game, {.names = {"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, .worlds = worlds});
  GameState& s = game.state;
  const auto turns = static_cast<int>(rng() % 1001);  // 26 spin steps each
  for (int w = 0; w < kWorlds; ++w) s.WorldAngle[w] = Sng(s.WorldAngle[w] + 26.0 * turns * s.WorldSpin[w]);
  for (int w = 0; w < worlds; ++w) s.WorldOwner[w] = static_cast<uint8_t>(rng() % 5);
  s.CurrentPlayer = static_cast<int16_t>(rng() % 4);
  s.TruceTurn = static_cast<int16_t>(rng() % 2 ? 0 : CurrentTurn(s) + rng() % 3);  // a third on its last turn
  auto from = static_cast<int16_t>(rng() % worlds);
  const auto exclude = static_cast<int16_t>(static_cast<int>(rng() % 6) - 1);
  if (lastSkipped && rng() % 2) from = static_cast<int16_t>(worlds - 1);
  else if (lastSkipped) s.WorldOwner[worlds - 1] = static_cast<uint8_t>(exclude < 0 ? 0 : exclude);
  game.Nearest(from, exclude);
  // By brute force: the worlds let in, nearest first, ties by index, and the last world's trip.
  const bool truce = s.TruceTurn > CurrentTurn(s);
  std::vector<std::array<float, 3>> rows;
  Trip last{};
  for (int w = 0; w < worlds; ++w) {
    last = DistCalcReferenceWith(s, from, w, 0.2f, ReduceAngle);
    const int owner = s.WorldOwner[w];
    if (w != from && owner != exclude && !(truce && owner != 0 && owner != s.CurrentPlayer + 1) && last.distance < 1000)
      rows.push_back({static_cast<float>(w), last.distance, 0});
  }
  std::stable_sort(rows.begin(), rows.end(), [](auto& a, auto& b) { return a[1] < b[1]; });
  rows.resize(4, {-1, 1000, 0});
  if (std::memcmp(game.NearestList.data(), rows.data(), sizeof rows[0] * 4) == 0 &&
      Bits(game.CalcDistance) == Bits(last.distance) && Bits(game.CalcCourse) == Bits(last.course))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "from " << from << " excluding " << exclude << " truce " << truce << " after "
                                       << turns << " turns of " << worlds << " worlds";
}

}  // namespace valkoran::test
