#include "game/state.h"

namespace valkoran {

void DataSet(GameState& s) {
  for (int f = 0; f < kFleets; ++f) {
    s.FleetFrom[f] = s.FleetTo[f] = s.FleetOwner[f] = 0;
    s.FleetShips[f] = 0;
    s.FleetClass[f] = 0;
    s.FleetRemaining[f] = 0;
  }
  for (int w = 0; w < kWorlds; ++w) {
    s.WorldName[w].clear();
    s.WorldProduction[w] = s.WorldClass[w] = s.WorldOwner[w] = 0;
    s.WorldShield[w] = s.WorldShieldOn[w] = 0;
    s.WorldRevealed[w] = 0;
    s.WorldShips[w] = 0;
    for (int p = 0; p < kSeats; ++p) s.WorldHistory[w][p].clear();
    s.WorldTreasure[w] = 0;
  }
  for (int b = 0; b < kBombs; ++b) {
    s.BombOwner[b] = 0;
    s.BombWorld[b] = 0;
    s.BombThreshold[b] = 0;
  }
}

void SetPlayerColours(GameState& s, ColourSource source) {
  s.PlayerColor[0] = Rgb(255, 255, 255);
  s.PlayerColor[1] = source == ColourSource::NewGame ? Rgb(0, 100, 255) : Rgb(0, 50, 255);
  s.PlayerColor[2] = Rgb(255, 0, 0);
  s.PlayerColor[3] = Rgb(255, 255, 0);
  s.PlayerColor[4] = Rgb(0, 255, 255);
}

bool IsComputerName(const std::string& name) { return name.rfind("ENEMY", 0) == 0; }

}  // namespace valkoran
