// The fast travel search against the rules' loop. The reduction by
// subtraction is slow on old games, so most trips are checked against the
// rules' loop running with ReduceAngle, which is itself checked against
// subtraction here near every binade edge and, in the long run, for every
// float up to 2^27.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "game/game.h"
#include "game/travel.h"
#include "support/trips.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;

constexpr float kAbove2Pi = 0x1.921fbp+2f;  // the smallest float above 6.283184

std::vector<float> FloatsAround(double x, int count) {
  std::vector<float> out;
  float f = Sng(x);
  for (int i = 0; i < count; ++i) f = std::nextafter(f, -INFINITY);
  for (int i = 0; i < 2 * count; ++i, f = std::nextafter(f, INFINITY)) out.push_back(f);
  return out;
}

TEST(ReduceAngle, SameBitsAsSubtraction) {
  ASSERT_LE(static_cast<double>(std::nextafter(kAbove2Pi, 0.0f)), kTwoPi);
  ASSERT_GT(static_cast<double>(kAbove2Pi), kTwoPi);
  std::vector<float> angles = {0.0f, -0.0f, -5.0f, -3e7f, 6.283184f, kAbove2Pi, 38.283184f, NAN};
  // Where a step leaves a binade (just above 2^e + 6.283184) and where
  // values enter one (2^e), up to where subtraction still takes milliseconds.
  for (int e = 2; e <= 18; ++e) {
    for (float f : FloatsAround(std::ldexp(1.0, e), 150)) angles.push_back(f);
    for (float f : FloatsAround(std::ldexp(1.0, e) + kTwoPi, 150)) angles.push_back(f);
  }
  std::mt19937_64 rng(11);
  for (int i = 0; i < 20000; ++i) angles.push_back(Sng(std::ldexp(std::uniform_real_distribution<double>(1, 2)(rng), static_cast<int>(rng() % 14) + 2)));
  for (float a : angles) ASSERT_EQ(Bits(ReduceAngle(a)), Bits(ReduceBySubtraction(a))) << std::hexfloat << a;
}

// Every float of [from, to] must lie in a window of its own hundredth and
// in no other.
void CheckWindows(float from, float to) {
  std::map<long long, long long> count;  // floats per hundredth
  long long total = 0;
  for (float x = from; x <= to; x = std::nextafter(x, INFINITY), ++total) ++count[Hundredth(ReduceBySubtraction(x))];
  const long long absent = count.rbegin()->first + 1;
  count[absent];
  for (const auto& [h, n] : count) {
    long long seen = 0;
    float previous = -INFINITY;
    for (const auto& [lo, hi] : HundredthWindows(h, from, to)) {
      ASSERT_LT(previous, lo) << "windows out of order or overlapping, hundredth " << h;
      ASSERT_LE(lo, hi);
      for (float x = lo; x <= hi; x = std::nextafter(x, INFINITY), ++seen)
        ASSERT_EQ(Hundredth(ReduceBySubtraction(x)), h) << std::hexfloat << x << " in a window of " << h;
      previous = hi;
    }
    EXPECT_EQ(seen, n) << "hundredth " << h << " in [" << from << ", " << to << "]";
  }
  EXPECT_GT(total, 100);
}

// The floats within `count` of x on either side.
void CheckWindowsAround(double x, int count) {
  const auto f = FloatsAround(x, count);
  CheckWindows(f.front(), f.back());
}

TEST(HundredthWindows, EveryFloatInTheWindowOfItsHundredth) {
  CheckWindows(-1.02f, -0.99f);  // never reduced, either sign
  CheckWindows(0.99f, 1.02f);
  CheckWindowsAround(kTwoPi, 3000);
  for (int e = 5; e <= 13; ++e) {
    CheckWindowsAround(std::ldexp(1.0, e) + kTwoPi, 3000);  // one level to the next
    CheckWindowsAround(std::ldexp(1.0, e), 3000);           // one binade to the next
  }
  std::mt19937_64 rng(5);
  for (int i = 0; i < 40; ++i) {
    const float a = Sng(std::uniform_real_distribution<double>(6, 4000)(rng));
    CheckWindows(a, Sng(a + 0.3));
  }
}

// Trips of every age against the rules' loop: a quick one with ReduceAngle
// for many, and the rules' own subtraction for some.
TEST(DistCalcFast, SameBitsAsTheRulesOnRandomTrips) {
  std::mt19937_64 rng(2024);
  int none = 0, rounded = 0;
  for (int i = 0; i < 2100; ++i) {
    const bool rule = i % 21 == 0;
    const auto c = test::RandomTrip(rng, static_cast<int>(rng() % 1001));
    const Trip want = rule ? DistCalcReference(c.state, 0, 1, c.step)
                           : DistCalcReferenceWith(c.state, 0, 1, c.step, ReduceAngle);
    const Trip got = DistCalcFast(c.state, 0, 1, c.step);
    ASSERT_EQ(Bits(got.distance), Bits(want.distance)) << c.Describe();
    ASSERT_EQ(Bits(got.course), Bits(want.course)) << c.Describe();
    none += want.distance == 10000;
    const double steps = std::nearbyint(want.distance * 520.0);
    rounded += want.distance != 10000 && steps / 520 < want.distance;
  }
  EXPECT_GT(none, 100);     // no meeting, course 0
  EXPECT_GT(rounded, 500);  // the stored distance rounded up from t/520
}

// A course meeting at the same step as an earlier one replaces it exactly
// when the stored distance was rounded up from t/520 (at every step up to 64,
// at about half of them after). Standing worlds on one ring: the fleet's angle
// after t steps is 1 + t*c*130/(orbit*520), so a target some hundredths ahead
// is first met by a run of courses at one step; on the outer ring, after
// step 64.
TEST(DistCalcFast, WhichCourseWinsAmongThoseMeetingAtOneStep) {
  GameState s;
  s.WorldOrbit[8] = 130;
  s.WorldAngle[0] = 1.0f;
  bool first = false, last = false;
  for (float orbit : {130.0f, 210.0f}) {
    s.WorldOrbit[0] = s.WorldOrbit[1] = orbit;
    for (float step : {0.1f, 0.2f}) {
      for (int ahead = orbit == 130 ? 1 : 70; ahead <= (orbit == 130 ? 30 : 110); ++ahead) {
        s.WorldAngle[1] = Sng(1.0 + (ahead + 0.5) / 100);
        std::vector<float> meeting;
        long long t = 0;
        for (; meeting.empty(); ++t)
          for (float c = Sng(-6.283184); c <= Sng(9.424776); c = Sng(static_cast<double>(c) + step))
            if (Hundredth(Sng(t * 1.0 * c * 130 / (orbit * 520.0) + t * 0.0 + 1.0f)) == 100 + ahead) meeting.push_back(c);
        --t;
        const bool roundedUp = t / 520.0 < Sng(t / 520.0);
        const Trip got = DistCalcFast(s, 0, 1, step), rule = DistCalcReference(s, 0, 1, step);
        ASSERT_EQ(got.distance, Sng(t / 520.0)) << ahead;
        EXPECT_EQ(got.course, roundedUp ? meeting.back() : meeting.front()) << ahead << " step " << step;
        EXPECT_EQ(Bits(got.course), Bits(rule.course));
        if (meeting.size() > 1) (roundedUp ? last : first) = true;
      }
    }
  }
  EXPECT_TRUE(first && last);  // both rules were exercised with several courses meeting
}

// Same orbit, same hundredth: met at t = 0, by the first course.
TEST(DistCalcFast, MetAtTheStartByTheFirstCourse) {
  GameState s;
  s.WorldOrbit[8] = 130;
  s.WorldOrbit[0] = s.WorldOrbit[1] = 90;
  s.WorldSpin[0] = s.WorldSpin[1] = 0.03f;
  s.WorldAngle[0] = 1000.004f;
  s.WorldAngle[1] = 1000.001f;
  for (float step : {0.1f, 0.2f}) {
    const Trip t = DistCalcFast(s, 0, 1, step);
    EXPECT_EQ(Bits(t.distance), Bits(0.0f));
    EXPECT_EQ(t.course, Sng(-6.283184));
  }
}

// States a saved file can hold but no game produces: angles up to 2^24,
// any spin up to 1, other home-ring orbits, other steps.
TEST(DistCalcFast, SameBitsOnOddButLoadableStates) {
  std::mt19937_64 rng(77);
  auto uniform = [&](double lo, double hi) { return Sng(std::uniform_real_distribution<double>(lo, hi)(rng)); };
  for (int i = 0; i < 60; ++i) {
    GameState s;
    s.WorldOrbit[8] = uniform(1, 250);
    for (int w = 0; w < 2; ++w) {
      s.WorldOrbit[w] = uniform(1, 400);
      s.WorldSpin[w] = uniform(-1, 1);
      s.WorldAngle[w] = uniform(-16777216, 16777216);
    }
    if (i % 3 == 0) s.WorldAngle[0] = uniform(-10, 10);
    s.WorldTreasure[0] = i % 2 ? kDoubleFuel : kNoTreasure;
    const float step = std::array{0.1f, 0.2f, 0.05f, 0.7f, 3.0f}[i % 5];
    const Trip want = DistCalcReferenceWith(s, 0, 1, step, ReduceAngle), got = DistCalcFast(s, 0, 1, step);
    ASSERT_EQ(Bits(got.distance), Bits(want.distance)) << i;
    ASSERT_EQ(Bits(got.course), Bits(want.course)) << i;
  }
  // Orbits the shortcuts cannot use (courses no longer sorted by angle)
  // still give the rules' answer.
  GameState s;
  s.WorldOrbit[8] = 130;
  s.WorldOrbit[0] = -90;
  s.WorldOrbit[1] = -70;
  s.WorldAngle[1] = 2.5f;
  s.WorldSpin[0] = 0.02f;
  const Trip want = DistCalcReference(s, 0, 1, 0.1f), got = DistCalcFast(s, 0, 1, 0.1f);
  EXPECT_EQ(Bits(got.distance), Bits(want.distance));
  EXPECT_EQ(Bits(got.course), Bits(want.course));
}

TEST(DistCalcFastWithin, ExactWhenMetInTimeElseNoMeeting) {
  std::mt19937_64 rng(3);
  int cut = 0;
  for (int i = 0; i < 300; ++i) {
    const auto c = test::RandomTrip(rng, static_cast<int>(rng() % 1001));
    const Trip full = DistCalcFast(c.state, 0, 1, c.step);
    if (full.distance == 10000) continue;
    const auto t = static_cast<long long>(std::nearbyint(full.distance * 520.0));
    const Trip in = DistCalcFastWithin(c.state, 0, 1, c.step, t), out = DistCalcFastWithin(c.state, 0, 1, c.step, t - 1);
    EXPECT_EQ(Bits(in.distance), Bits(full.distance));
    EXPECT_EQ(Bits(in.course), Bits(full.course));
    EXPECT_EQ(out.distance, 10000.0f);
    cut += 1;
  }
  EXPECT_GT(cut, 200);
}

// Nearest, with its bounded searches, against the rules' Nearest over full
// searches: the rows, and CalcDistance/CalcCourse left by the last world.
TEST(NearestFast, SameRowsAndLastTripAsTheRules) {
  std::mt19937_64 rng(8);
  for (int i = 0; i < 48; ++i) {
    const int worlds = 9 + static_cast<int>(rng() % 22);
    Game game = test::AgedGame(rng(), worlds, static_cast<int>(rng() % 1001));
    GameState& s = game.state;
    for (int w = 0; w < worlds; ++w) s.WorldOwner[w] = static_cast<uint8_t>(rng() % 5);
    s.CurrentPlayer = static_cast<int16_t>(rng() % 4);
    s.TruceTurn = static_cast<int16_t>(i % 2 ? 0 : CurrentTurn(s) + 1 + rng() % 10);
    int from = static_cast<int>(rng() % worlds);
    if (i % 8 == 0) from = worlds - 1;  // the last world examined is skipped
    const auto exclude = static_cast<int16_t>(static_cast<int>(rng() % 6) - 1);
    if (i % 8 == 4) s.WorldOwner[worlds - 1] = static_cast<uint8_t>(exclude < 0 ? 0 : exclude);
    Game rules = game;
    game.Nearest(static_cast<int16_t>(from), exclude);
    NearestReference(rules, static_cast<int16_t>(from), exclude, ReduceAngle);
    for (int r = 0; r < 5; ++r)
      for (int k = 0; k < 3; ++k) ASSERT_EQ(Bits(game.NearestList[r][k]), Bits(rules.NearestList[r][k])) << i;
    EXPECT_EQ(Bits(game.CalcDistance), Bits(rules.CalcDistance)) << i;
    EXPECT_EQ(Bits(game.CalcCourse), Bits(rules.CalcCourse)) << i;
  }
}

}  // namespace
}  // namespace valkoran
