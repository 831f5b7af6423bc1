// The long run (ctest -L long): the reduction for every float the fast search can meet, and many more trips.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "game/travel.h"
#include "support/trips.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;

constexpr uint32_t kPerBinade = 1u << 23;

// Every float from 6 up to 2^27 (the fast reduction's whole range): one step is a = Sng(a - 6.283184), so a's
// reduced value is that of the value the step lands on, already known in this binade or the one below. The
// fast reduction must agree, and the binade's hundredth windows hold every float once, under its own hundredth.
TEST(ReduceAngleLong, EveryFloatFrom6To2Pow27) {
  std::vector<float> below(kPerBinade), here(kPerBinade);
  for (int e = 2; e <= 26; ++e) {
    const double unit = std::ldexp(1.0, e - 23), bottom = std::ldexp(1.0, e);
    const uint32_t firstChecked = e == 2 ? static_cast<uint32_t>((6 - bottom) / unit) : 0;
    for (uint32_t m = 0; m < kPerBinade; ++m) {
      const float a = Sng(bottom + m * unit), next = Sng(a - kTwoPi);
      if (!(a > kTwoPi)) here[m] = a;
      else if (next >= bottom) here[m] = here[static_cast<uint32_t>((next - bottom) / unit)];
      else if (next >= bottom / 2) here[m] = below[static_cast<uint32_t>((next - bottom / 2) / (unit / 2))];
      else here[m] = ReduceBySubtraction(next);  // from [8, 16) a step can fall below 4
      if (m >= firstChecked && Bits(ReduceAngle(a)) != Bits(here[m]))
        FAIL() << std::hexfloat << a << " reduces to " << here[m] << ", fast " << ReduceAngle(a);
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

TEST(DistCalcFastLong, RandomTripsOfEveryAgeAndOddLoadableStates) {
  std::mt19937_64 rng(20240601);
  for (int i = 0; i < 100000; ++i)
    ASSERT_TRUE(test::FastMatchesRules(test::RandomTrip(rng, static_cast<int>(rng() % 1001)), i % 50 == 0)) << i;
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(test::FastMatchesRules(test::OddTrip(rng, i))) << i;
}

TEST(NearestFastLong, RandomGamesOwnersAndTruce) {
  std::mt19937_64 rng(31);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(test::NearestMatchesRules(rng, i % 4 == 0)) << i;
}

}  // namespace
}  // namespace valkoran
