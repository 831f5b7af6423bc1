// Travel searches on a bare state, shared by the game and the benchmarks.
#pragma once

#include <utility>
#include <vector>

#include "game/state.h"

namespace valkoran {

struct Trip {
  float distance;  // years; 10000 when no course meets the target
  float course;
};

// The straightforward search exactly as the rules write it: every course,
// every step, angles reduced by repeated subtraction. Kept as the yardstick
// for the fast search (tests and benchmarks).
Trip DistCalcReference(const GameState& s, int from, int to, float step);
// The same loop with another reduction of angles (tests pair it with
// ReduceAngle to check old games, where subtraction takes long).
Trip DistCalcReferenceWith(const GameState& s, int from, int to, float step, float (*reduce)(float));

class Game;

// Nearest as the rules write it, every trip searched in full by the rules'
// loop (tests and benchmarks); `reduce`, when given, replaces the rules'
// reduction of angles as in DistCalcReferenceWith.
void NearestReference(Game& game, int16_t from, int16_t excludeOwner, float (*reduce)(float) = nullptr);

// The search the game uses: the same distance and course, bit for bit, for
// every input, in microseconds at any age of the game.
Trip DistCalcFast(const GameState& s, int from, int to, float step);

// The same search for a caller that only cares about meetings no later than
// `lastStep` steps (Nearest, which only needs trips that beat its fourth
// row). A meeting it returns is always the full answer; (10000, 0) means
// none by `lastStep`.
Trip DistCalcFastWithin(const GameState& s, int from, int to, float step, long long lastStep);

// Angles are never wrapped during play. The search brings one into range by
// repeated subtraction of the game's 2*pi, rounding to 32 bits at every step:
// not a modulo, and the hundredths it leaves are what trips compare.
float ReduceBySubtraction(float a);

// The same value as ReduceBySubtraction, in a few dozen operations for any
// angle below kFastAngleLimit (2^27 radians; the largest angle a trip can
// reach from a loadable game is about 2^25).
inline constexpr double kFastAngleLimit = 134217728.0;
float ReduceAngle(float a);

// Int(a*100), the hundredth of a radian trips compare.
inline long long Hundredth(float a) { return static_cast<long long>(Int(static_cast<double>(a) * 100)); }

// Every run of consecutive 32-bit values in [from, to] whose reduced angle
// has hundredth h, as closed intervals in increasing order: the windows the
// fast search looks courses up in (exposed for tests). `to` must lie below
// kFastAngleLimit.
std::vector<std::pair<float, float>> HundredthWindows(long long h, float from, float to);

}  // namespace valkoran
