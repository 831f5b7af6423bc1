// The current player's panel and the status report as text: the desktop
// shows them in its lists and labels, the runner prints them.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "game/state.h"

namespace valkoran {

// The column header of the world list (txtOwned) for a human player.
inline constexpr const char* kConsoleHeader =
    "  World:              Class:         Prod:         Shield:    Ships/Bombs:";

struct ConsoleRow {
  std::string text;
  int data = 0;  // the world index (lstOwned) or the fleet slot (lstTravel)
};

struct ConsolePanel {
  std::string header;               // txtOwned
  std::vector<ConsoleRow> worlds;   // lstOwned
  std::vector<ConsoleRow> fleets;   // lstTravel ("None" carries data 0)
  int bombs = 0;                    // LblBomb; ImgBomb and LblBomb hidden when 0
  bool doubleShown = false;         // ImgDouble
  bool crystalShown = false;        // ImgCrystal
};

// The panel of the current player, rebuilt whole from the state.
ConsolePanel BuildConsole(const GameState& s, bool busy);

// The status report of the solar system, one line per seat still in play
// (status lines ending in "Eliminated" are left out), each ended by CR LF.
std::string StatusReportText(const GameState& s, const std::array<std::string, kSeats>& statusLines);

}  // namespace valkoran
