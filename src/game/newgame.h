// Building a new game from the setup window's choices.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "game/game.h"

namespace valkoran {

struct GameSetup {
  std::array<std::string, kSeats> names{};  // "" = empty seat
  int worlds = 30;                          // 9..30
  bool truceChecked = false;
  std::string truceText = "10";             // the last turn of the truce
  bool shields = false;
};

// Why the setup cannot start a game, or nothing when it can. The first text
// is the game's own ("You Must Enter Your Name First!").
std::optional<std::string> ValidateSetup(const GameSetup& setup);

// Builds the game: the truce, DataSet, worlds, treasures, orbits, angles,
// spins, names, counters and the seats' home worlds. Expects a valid setup.
void NewGame(Game& game, const GameSetup& setup);

// The fixed world tables.
float OrbitOf(int world);
const char* NameOf(int world);

}  // namespace valkoran
