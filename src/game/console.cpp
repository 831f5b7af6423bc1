#include "game/console.h"

#include "game/arrivaltime.h"
#include "game/game.h"

namespace valkoran {

namespace {

// The list columns are TAB stops; the blanks in front of the numbers keep
// short and long values lined up under a proportional font.
std::string WorldRow(const GameState& s, int w, int owner) {
  std::string row = "  " + s.WorldName[w] + "        \t";
  row += Str(s.WorldClass[w]) + "\t";
  row += s.WorldProduction[w] <= 9 ? "   " : " ";
  row += Str(s.WorldProduction[w]);
  row += s.WorldShieldOn[w] ? "-S\t" : "\t";
  const int shield = s.WorldShield[w];
  row += shield >= 100 ? " " : shield > 0 ? "  " : "    ";
  row += Str(shield) + "%\t";
  const float ships = s.WorldShips[w];
  row += ships <= 9 ? "      " : ships <= 99 ? "    " : ships <= 999 ? "  " : "";
  row += Str(ships);
  if (s.WorldTreasure[w] == kDoubleFuel) row += " D";
  if (s.WorldBombs[w] > 0) row += " " + std::string(s.WorldBombs[w], 'B');
  for (int b = 0; b < kBombs; ++b)
    if (s.BombOwner[b] > 0 && s.BombOwner[b] == owner && s.BombWorld[b] == static_cast<float>(w)) row += " P";
  return row;
}

std::string FleetLine(const GameState& s, int f) {
  const double turns = TurnsToArrival(s.FleetRemaining[f]);
  const std::string when = " in " + Format(turns, "0") + (turns <= 1 ? " Turn" : " Turns");
  const std::string& to = s.WorldName[s.FleetTo[f] - 1];
  const float ships = s.FleetShips[f];
  if (ships > 0 && ships < kAnnihilationBomb) return Str(ships) + " Ships Will Reach World " + to + when;
  if (ships == kAnnihilationBomb) return " A Bomb Will Reach World " + to + when;
  if (ships <= 0) return " A Scout Ship Will Reach World " + to + when;
  return " A Proximity Bomb Will Reach World " + to + when;
}

}  // namespace

ConsolePanel BuildConsole(const GameState& s, bool busy) {
  ConsolePanel panel;
  const int seat = s.CurrentPlayer;
  if (seat < 0 || seat >= kSeats) return panel;
  const int owner = seat + 1;
  const bool human = !IsComputerName(s.PlayerName[seat]);

  if (human) {
    panel.header = kConsoleHeader;
    for (int w = 0; w < s.WorldCount && w < kWorlds; ++w)
      if (s.WorldOwner[w] == owner) panel.worlds.push_back({WorldRow(s, w, owner), w});
    for (int f = 0; f < kFleets; ++f) {
      // A destination outside the table names no world: nothing in flight.
      if (s.FleetOwner[f] != owner || s.FleetTo[f] < 1 || s.FleetTo[f] > kWorlds) continue;
      panel.fleets.push_back({FleetLine(s, f), f});
    }
    if (panel.fleets.empty()) panel.fleets.push_back({"None", 0});
  }

  int bombs = 0;
  bool treasure = false;
  for (int w = 0; w < s.WorldCount && w < kWorlds; ++w) {
    if (s.WorldOwner[w] != owner) continue;
    if (s.WorldBombs[w] > 0) bombs += s.WorldBombs[w];
    // The fuel indicator is for the double-speed fuel alone: an armed pulse
    // bomb (or any other code a world keeps) carries no fuel.
    if (s.WorldTreasure[w] == kDoubleFuel) treasure = true;
  }
  panel.bombs = bombs >= 1 && !busy ? bombs : 0;
  panel.doubleShown = treasure && !busy;
  panel.crystalShown = s.PlayerCrystal[seat] == 1 && !busy;
  return panel;
}

std::string StatusReportText(const GameState& s, const std::array<std::string, kSeats>& statusLines) {
  std::string text;
  const double turn = TurnNumber(s.GameYear);
  for (int p = 0; p < kSeats; ++p) {
    const std::string& name = s.PlayerName[p];
    const std::string& status = statusLines[p];
    if (name.empty()) continue;
    if (StatusEndsWith(status, kEliminated)) continue;
    const int owner = p + 1;
    int worlds = 0, production = 0, classes = 0;
    double ships = 0, traveling = 0;
    for (int w = 0; w < s.WorldCount && w < kWorlds; ++w) {
      if (s.WorldOwner[w] != owner) continue;
      ++worlds;
      production += s.WorldProduction[w];
      ships += s.WorldShips[w];
      classes += s.WorldClass[w];
    }
    for (int f = 0; f < kFleets; ++f)
      if (s.FleetOwner[f] == owner && s.FleetShips[f] < kAnnihilationBomb) traveling += s.FleetShips[f];
    if (worlds <= 0 && traveling <= 0) {
      text += "    " + name + " Was Eliminated From Game!    \r\n";
      continue;
    }
    const double rating = static_cast<double>(classes) * production / (turn + 1);
    text += "    " + name + " Owns" + Str(worlds) + (worlds <= 1 ? " World With" : " Worlds With") + Str(production) +
            " Production and" + Str(ships) + " Ships, Rating: " + Format(rating, "0.0") + "    \r\n";
  }
  return text;
}

}  // namespace valkoran
