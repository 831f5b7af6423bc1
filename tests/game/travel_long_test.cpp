// The long run (ctest -L long, a few minutes): the reduction for every float
// the fast search can meet, and many more random trips and Nearest calls.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "game/game.h"
#include "game/travel.h"
#include "support/trips.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;

constexpr uint32_t kPerBinade = 1u << 23;

// Every float from 6 up to 2^27 (the fast reduction's whole range) against
// the rule: one step is a = Sng(a - 6.283184), so a's reduced value is that
// of the smaller value the step lands on. Walking each binade upward, that
// value is already known, in this binade or the one below. For every float
// the fast reduction must agree, and the hundredth windows of the binade
// must hold every float exactly once, under its own hundredth.
TEST(ReduceAngleLong, EveryFloatFrom6To2Pow27) {
  std::vector<float> below(kPerBinade), here(kPerBinade);
  for (int e = 2; e <= 26; ++e) {
    const double unit = std::ldexp(1.0, e - 23), bottom = std::ldexp(1.0, e);
    const uint32_t firstChecked = e == 2 ? static_cast<uint32_t>((6 - bottom) / unit) : 0;
    for (uint32_t m = 0; m < kPerBinade; ++m) {
      const float a = Sng(bottom + m * unit);
      float reduced;
      if (!(a > kTwoPi)) {
        reduced = a;
      } else {
        const float next = Sng(a - kTwoPi);
        if (next >= bottom) reduced = here[static_cast<uint32_t>((next - bottom) / unit)];
        else if (next >= bottom / 2) reduced = below[static_cast<uint32_t>((next - bottom / 2) / (unit / 2))];
        else reduced = ReduceBySubtraction(next);  // from [8, 16) a step can fall below 4
      }
      here[m] = reduced;
      if (m >= firstChecked && Bits(ReduceAngle(a)) != Bits(reduced))
        FAIL() << std::hexfloat << a << " reduces to " << reduced << ", fast " << ReduceAngle(a);
    }
    const float lo = Sng(bottom + firstChecked * unit), hi = Sng(bottom + (kPerBinade - 1) * unit);
    uint64_t seen = 0;
    for (long long h = 0; h <= 628; ++h) {
      for (const auto& [a, b] : HundredthWindows(h, lo, hi)) {
        for (auto m = static_cast<uint32_t>((a - bottom) / unit); m <= static_cast<uint32_t>((b - bottom) / unit); ++m) {
          ++seen;
          if (Hundredth(here[m]) != h) FAIL() << std::hexfloat << Sng(bottom + m * unit) << " in a window of " << h;
        }
      }
    }
    ASSERT_EQ(seen, kPerBinade - firstChecked) << "binade " << e;
    std::swap(below, here);
  }
}

TEST(DistCalcFastLong, RandomTripsOfEveryAge) {
  std::mt19937_64 rng(20240601);
  for (int i = 0; i < 100000; ++i) {
    const auto c = test::RandomTrip(rng, static_cast<int>(rng() % 1001));
    const Trip want = i % 50 == 0 ? DistCalcReference(c.state, 0, 1, c.step)
                                  : DistCalcReferenceWith(c.state, 0, 1, c.step, ReduceAngle);
    const Trip got = DistCalcFast(c.state, 0, 1, c.step);
    ASSERT_EQ(Bits(got.distance), Bits(want.distance)) << i << ": " << c.Describe();
    ASSERT_EQ(Bits(got.course), Bits(want.course)) << i << ": " << c.Describe();
  }
}

// What a saved file may hold: angles up to 2^24, spins up to 1, orbits from
// 1 to 10000 (a few with the home ring that large: 30000 steps to search).
TEST(DistCalcFastLong, OddLoadableStates) {
  std::mt19937_64 rng(99);
  auto uniform = [&](double lo, double hi) { return Sng(std::uniform_real_distribution<double>(lo, hi)(rng)); };
  for (int i = 0; i < 1000; ++i) {
    GameState s;
    s.WorldOrbit[8] = i % 200 == 0 ? uniform(5000, 10000) : uniform(1, 1000);
    for (int w = 0; w < 2; ++w) {
      s.WorldOrbit[w] = i % 4 == 0 ? uniform(1, 10000) : uniform(1, 300);
      s.WorldSpin[w] = i % 3 == 0 ? uniform(-1, 1) : uniform(-0.1, 0.1);
      s.WorldAngle[w] = i % 2 ? uniform(-16777216, 16777216) : uniform(-10, 5000);
    }
    if (i % 5 == 0) s.WorldOrbit[1] = s.WorldOrbit[0];
    s.WorldTreasure[0] = i % 2 ? kDoubleFuel : kNoTreasure;
    const float step = i % 2 ? 0.1f : 0.2f;
    const Trip want = DistCalcReferenceWith(s, 0, 1, step, ReduceAngle), got = DistCalcFast(s, 0, 1, step);
    ASSERT_EQ(Bits(got.distance), Bits(want.distance)) << i;
    ASSERT_EQ(Bits(got.course), Bits(want.course)) << i;
  }
}

TEST(NearestFastLong, RandomGamesOwnersAndTruce) {
  std::mt19937_64 rng(31);
  for (int i = 0; i < 1000; ++i) {
    const int worlds = 9 + static_cast<int>(rng() % 22);
    Game game = test::AgedGame(rng(), worlds, static_cast<int>(rng() % 1001));
    GameState& s = game.state;
    for (int w = 0; w < worlds; ++w) s.WorldOwner[w] = static_cast<uint8_t>(rng() % 5);
    s.CurrentPlayer = static_cast<int16_t>(rng() % 4);
    s.TruceTurn = static_cast<int16_t>(i % 2 ? 0 : CurrentTurn(s) + 1 + rng() % 10);
    const auto from = static_cast<int16_t>(rng() % worlds);
    const auto exclude = static_cast<int16_t>(static_cast<int>(rng() % 6) - 1);
    Game rules = game;
    game.Nearest(from, exclude);
    NearestReference(rules, from, exclude, ReduceAngle);
    for (int r = 0; r < 5; ++r)
      for (int k = 0; k < 3; ++k) ASSERT_EQ(Bits(game.NearestList[r][k]), Bits(rules.NearestList[r][k])) << i;
    ASSERT_EQ(Bits(game.CalcDistance), Bits(rules.CalcDistance)) << i;
    ASSERT_EQ(Bits(game.CalcCourse), Bits(rules.CalcCourse)) << i;
  }
}

}  // namespace
}  // namespace valkoran
