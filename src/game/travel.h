// Travel searches on a bare state, shared by the game and the benchmarks.
#pragma once

#include "game/state.h"

namespace valkoran {

struct Trip {
  float distance;  // years; 10000 when no course meets the target
  float course;
};

// The straightforward search exactly as the rules write it: every course,
// every step, angles reduced by repeated subtraction.
Trip DistCalcReference(const GameState& s, int from, int to, float step);

}  // namespace valkoran
