// The fast travel search against the rules' loop. Subtraction is slow on old games, so most trips are checked
// against the rules' loop with ReduceAngle, itself checked against subtraction here near every binade edge.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "game/travel.h"
#include "support/trips.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;

// The `count` floats below x and the `count` from x up.
std::pair<float, float> FloatsAround(double x, int count) {
  float lo = Sng(x), hi = lo;
  for (int i = 0; i < count; ++i) lo = std::nextafter(lo, -INFINITY), hi = std::nextafter(hi, INFINITY);
  return {lo, hi};
}

// Where a step leaves a binade (just above 2^e + 6.283184) and where values enter one (2^e), both reductions
// agree and every float lies in a window of its own hundredth and in no other.
TEST(ReduceAngle, SameBitsAsSubtractionAndWindowsAtEveryEdge) {
  std::vector<std::pair<float, float>> ranges = {{-1.02f, -0.99f}, {0.99f, 1.02f}, FloatsAround(kTwoPi, 3000)};
  for (int e = 2; e <= 18; ++e)  // subtraction takes long from 2^14 on
    for (double x : {std::ldexp(1.0, e), std::ldexp(1.0, e) + kTwoPi})
      ranges.push_back(FloatsAround(x, e < 14 ? 3000 : 150));
  std::mt19937_64 rng(5);
  for (int i = 0; i < 40; ++i) {
    const float a = Sng(std::uniform_real_distribution<double>(6, 20000)(rng));
    ranges.push_back({a, Sng(a + 0.3)});
  }
  for (const auto& [from, to] : ranges) {
    std::map<long long, long long> count;  // floats per hundredth
    for (float x = from; x <= to; x = std::nextafter(x, INFINITY)) {
      const float reduced = ReduceBySubtraction(x);
      ASSERT_EQ(Bits(ReduceAngle(x)), Bits(reduced)) << std::hexfloat << x;
      ++count[Hundredth(reduced)];
    }
    count[count.rbegin()->first + 1];  // a hundredth no float has
    for (const auto& [h, n] : count) {
      long long seen = 0;
      float previous = -INFINITY;
      for (const auto& [lo, hi] : HundredthWindows(h, from, to)) {
        ASSERT_TRUE(previous < lo && lo <= hi) << "windows empty, out of order or overlapping, hundredth " << h;
        for (float x = lo; x <= hi; x = std::nextafter(x, INFINITY), ++seen)
          ASSERT_EQ(Hundredth(ReduceBySubtraction(x)), h) << std::hexfloat << x << " in a window of " << h;
        previous = hi;
      }
      EXPECT_EQ(seen, n) << "hundredth " << h << " in [" << from << ", " << to << "]";
    }
  }
  for (float a : {-0.0f, -3e7f, NAN}) EXPECT_EQ(Bits(ReduceAngle(a)), Bits(ReduceBySubtraction(a))) << a;
}

// Trips of every age, against the rules' loop with ReduceAngle and, one in 21, with its own subtraction; then
// states only a saved file can hold.
TEST(DistCalcFast, SameBitsAsTheRulesOnRandomAndOddTrips) {
  std::mt19937_64 rng(2024);
  int none = 0, rounded = 0;
  for (int i = 0; i < 2100; ++i) {
    const auto c = test::RandomTrip(rng, static_cast<int>(rng() % 1001));
    ASSERT_TRUE(test::FastMatchesRules(c, i % 21 == 0));
    const float d = DistCalcFast(c.state, 0, 1, c.step).distance;
    none += d == 10000;
    rounded += d != 10000 && std::nearbyint(d * 520.0) / 520 < d;
  }
  EXPECT_GT(none, 100) << "trips without a meeting";
  EXPECT_GT(rounded, 500) << "trips rounded up from t/520";
  for (int i = 0; i < 70; ++i) ASSERT_TRUE(test::FastMatchesRules(test::OddTrip(rng, i))) << i;
}

}  // namespace
}  // namespace valkoran
