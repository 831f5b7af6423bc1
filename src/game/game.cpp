#include "game/game.h"

namespace valkoran {

Game::Game() : Game(0) {}

Game::Game(uint64_t seed) : rng(seed) {
  for (auto& row : NearestList) row = {-1, 1000, 0};
}

}  // namespace valkoran
