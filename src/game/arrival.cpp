#include <algorithm>

#include "game/game.h"
#include "game/slots.h"

namespace valkoran {

void Game::EndTravel(uint8_t L) {
  GameState& s = state;
  if (L >= kFleets || s.FleetFrom[L] == 0) return;
  // Nobody is there to report to or to fight for such a fleet: it vanishes.
  if (!FleetInFlight(s, L)) {
    DataClear(L);
    return;
  }
  const int owner = s.FleetOwner[L];
  const int t = s.FleetTo[L] - 1;
  const float ships = s.FleetShips[L];
  const bool host = IsNetworkHost();
  if (owner == s.WorldOwner[t]) {
    if (ships >= kProximityBombBase) {
      if (host) relay().SendProximitySet(L);
      ProximitySet(L);
    } else {
      if (host) relay().SendReinforcements(L);
      Reinforcements(L);
    }
    return;
  }
  if (ships == kScout) {
    if (host) relay().SendScout(L, owner - 1);
    Scout(L);
  } else if (ships > kAnnihilationBomb) {
    if (host) relay().SendProximitySet(L);
    ProximitySet(L);
  } else {
    Battle(L);  // ships fight; an annihilation bomb takes the world outright
  }
}

void Game::Reinforcements(uint8_t L) {
  GameState& s = state;
  if (!FleetInFlight(s, L)) return;
  const int from = s.FleetFrom[L] - 1, t = s.FleetTo[L] - 1, p = s.FleetOwner[L];
  const bool shown = Viewer(p);
  if (s.FleetShips[L] >= kAnnihilationBomb) {
    if (shown) {
      const std::string text =
          " A Bomb From World " + s.WorldName[from] + " Was Transferred To World " + s.WorldName[t];
      presenter().Notice(text);
      AddLog(p - 1, text);
      AddWorldHistory(t, p - 1, DateStamp(s) + ":" + text + " ");
      presenter().Arrival(t, p, s.FleetShips[L]);
    }
    s.WorldBombs[t] = AddBomb(s.WorldBombs[t]);
  } else {
    if (s.FleetShips[L] == kScout) s.FleetShips[L] = 1;  // a scout home again is one more ship
    const float ships = s.FleetShips[L];
    if (shown) {
      const std::string text =
          " " + Str(ships) + " Reinforcements From World " + s.WorldName[from] + " Arrived At World " + s.WorldName[t];
      presenter().Notice(text);
      AddLog(p - 1, text);
      AddWorldHistory(
          t, p - 1, DateStamp(s) + ":" + Str(ships) + " Reinforcements From World " + s.WorldName[from] + " Arrived ");
      presenter().Arrival(t, p, ships);
    }
    s.WorldShips[t] = Sng(static_cast<double>(s.WorldShips[t]) + ships);
  }
  if (shown && s.FleetShips[L] > 0) {
    if (!s.SpeedGame) {
      presenter().Cue("reinforcements.wav");
      presenter().Pause(1000);
    }
    DataClear(L);
    presenter().Console();
    presenter().CleanGalaxy();
  } else {
    DataClear(L);
  }
  presenter().Notice("");
}

void Game::Scout(uint8_t L) {
  GameState& s = state;
  if (!FleetInFlight(s, L)) return;
  const int t = s.FleetTo[L] - 1, p = s.FleetOwner[L];
  auto& known = s.PlayerKnowledge[p - 1];
  // Past turn 32767 the report's field keeps its largest value: the computer
  // players then take the report as old, never as dated long ago or ahead.
  known[0][t] = static_cast<int16_t>(std::clamp(Int((static_cast<double>(s.GameYear) - 1 + 0.00001) / 0.05), -32768.0, 32767.0));
  known[1][t] = s.WorldClass[t];
  known[2][t] = s.WorldProduction[t];
  // A world can hold more ships than the report's field: such a report keeps
  // the field's largest value rather than wrapping round to a small number.
  known[3][t] = static_cast<int16_t>(RoundHalfEvenClamped(s.WorldShips[t], -32768, 32767));
  known[4][t] = s.WorldShield[t];
  if (!Viewer(p)) {
    DataClear(L);
    return;
  }
  const std::string fields = "  Prod:" + Str(s.WorldProduction[t]) + ",  Class:" + Str(s.WorldClass[t]) +
                             (s.WorldShieldOn[t] == 1 ? ",  Shield: On," : ",  Shield: Off,") + Str(s.WorldShield[t]) +
                             "%,  Ships:" + Str(s.WorldShips[t]);
  const std::string bombs = ",  Bombs:" + Str(s.WorldBombs[t]);
  const std::string text =
      "  Scout Information for World " + s.WorldName[t] + ":" + fields + (s.WorldBombs[t] > 0 ? bombs : "");
  presenter().Notice(text);
  AddLog(p - 1, text);
  // The world's own record names stored bombs only once someone holds them.
  const bool bombsOnRecord = s.WorldBombs[t] >= 1 && s.WorldOwner[t] > 0;
  AddWorldHistory(t, p - 1, DateStamp(s) + ":  Scout Information:" + fields + (bombsOnRecord ? bombs : "") + " ");
  if (!s.SpeedGame) presenter().Cue("scout.wav");
  DataClear(L);
  presenter().Console();
  presenter().CleanGalaxy();
}

void Game::DataClear(uint8_t L) {
  GameState& s = state;
  if (L >= kFleets) return;
  s.FleetFrom[L] = s.FleetTo[L] = s.FleetOwner[L] = 0;
  s.FleetShips[L] = 0;
  s.FleetClass[L] = s.FleetShield[L] = 0;
  s.FleetRemaining[L] = s.FleetCourse[L] = s.FleetDistance[L] = 0;
}

}  // namespace valkoran
