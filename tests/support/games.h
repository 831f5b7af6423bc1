// Games for tests, built the way the setup window builds them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "game/game.h"
#include "game/newgame.h"

namespace valkoran::test {

// A new game on `worlds` worlds with these seats ("" empty), not yet started.
inline Game Made(std::array<std::string, 4> names, int worlds = 12, uint64_t seed = 5) {
  Game game(seed);
  NewGame(game, {.names = std::move(names), .worlds = worlds});
  return game;
}

}  // namespace valkoran::test
