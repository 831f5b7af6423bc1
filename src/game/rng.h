// The game's random generator: one per game, seeded once (from the clock in
// the desktop app, from --seed in the runner and the tests).
#pragma once

#include <cstdint>

namespace valkoran {

class Rng {
 public:
  explicit Rng(uint64_t seed = 0) { Seed(seed); }
  void Seed(uint64_t seed);
  // Uniform in [0, 1), on the 32-bit float grid like the classic Rnd.
  float Next();
  uint64_t NextBits();

 private:
  uint64_t s_[4]{};
};

}  // namespace valkoran
