// Playing a game on without anyone at the table: computer seats give their
// orders, human seats end their turns without orders. The runner, the tests
// and the fuzzers all drive games through this one loop.
#pragma once

#include "game/game.h"

namespace valkoran {

enum class PlayEnd {
  LimitReached,  // so many turns processed (or seat turns ended)
  GameOver,      // a conquest ended the game
  Stuck,         // the current seat's turn cannot be ended: the game cannot go on
};

// Starts the loaded game (StartLoadedGame) and plays until `limit` turns
// have been processed, or with `byMoves` until `limit` seat turns have ended.
// Stops before the next seat's turn starts, so a save then holds the game
// as a player would find it. The game's presenter sees everything.
PlayEnd PlayLoadedGame(Game& game, long long limit, bool byMoves = false);

}  // namespace valkoran
