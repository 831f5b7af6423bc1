// The computer players. No difficulty setting and no dice: every computer
// seat plays the same fixed rules, and what it knows about a foreign world
// comes only from the crystal, its scouts and what the world shows everyone.
#include <string>

#include "game/game.h"

namespace valkoran {

namespace {

// A computer seat is named "ENEMY" and one more character; a longer name
// that merely starts with ENEMY is a human who chose it.
bool PlaysItself(const std::string& name) { return name.size() == 6 && name.rfind("ENEMY", 0) == 0; }

// Some fleet, whoever sent it, reaches t before a fleet sent now would: the
// target is left to it this turn.
bool Contested(const GameState& s, int t, float d) {
  for (int f = 0; f < kFleets; ++f)
    if (s.FleetTo[f] == t + 1 && s.FleetRemaining[f] < d) return true;
  return false;
}

// The share of the source's ships to send against a target estimated at
// `need`: a whole quarter more than the bare need, in steps of 25 percent.
// The menu offers no less than a quarter and no more than everything.
int16_t OrderPercent(double need, float ships) {
  const double p = 25 * Int(4 * need / ships + 1.2);
  if (!(p > 25)) return 25;
  return p >= 100 ? 100 : static_cast<int16_t>(p);
}

}  // namespace

void Game::EnemyTurn() {
  GameState& s = state;
  presenter().MessageBox("");
  const int m = s.CurrentPlayer;
  if (m < 0 || m >= kSeats || !(PlaysItself(s.PlayerName[m]) || RulePlayed[m])) return;
  BusyFlag = kTrue;
  const uint8_t me = static_cast<uint8_t>(m + 1);
  const double year = s.GameYear;
  const double turn = Int((year - 1 + 0.0001) / 0.05);

  for (int w = 0; w < s.WorldCount; ++w) {
    // The garrison left at home grows by one ship a turn.
    if (s.WorldOwner[w] != me || !(s.WorldShips[w] > Int((year - 1 + 0.0001) / 0.05 + 1))) continue;

    SelectedFrom = static_cast<int16_t>(w);
    Nearest(static_cast<int16_t>(w), me);
    for (int i = 0; i < 4; ++i) {
      if (NearestList[i][0] < 0) break;
      const int t = static_cast<int>(NearestList[i][0]);
      const float d = NearestList[i][1];
      SelectedTo = static_cast<int16_t>(t);
      CalcDistance = d;
      const double ships = s.WorldShips[w];
      const double k = Int((static_cast<double>(d) + 0.05) / 0.05);  // turns under way
      const auto& known = s.PlayerKnowledge[m];
      const int16_t reportTurn = known[0][t];
      // A report is trusted for ten turns. One dated after the current turn
      // cannot belong to this game's history (it survived a load) and would
      // shrink the estimate below what the world ever held.
      const bool reported = known[1][t] >= 1 && reportTurn > turn - 10 && reportTurn <= turn;

      if (s.PlayerCrystal[m] == 1) {
        const double c = static_cast<double>(s.WorldClass[t]) / s.WorldClass[w] / 2 + 0.5;
        const double need = Sng((k * s.WorldProduction[t] + s.WorldShips[t] + s.WorldShield[t]) * c);
        if (need < ships) {
          if (!Contested(s, t, d)) Sendships(OrderPercent(need, s.WorldShips[w]));
        } else if (s.WorldBombs[w] >= 1 && s.WorldProduction[t] >= 8 && !Contested(s, t, d)) {
          Sendships(static_cast<int16_t>(kAnnihilationBomb));
        }
      } else if (reported) {
        const double arrival = Int((year - 1 + d + 0.0501) / 0.05);
        const double grown = (arrival - reportTurn) * known[2][t] + known[3][t] + known[4][t];
        const double need = grown * (static_cast<double>(known[1][t]) / s.WorldClass[w] / 2 + 0.5);
        if (need < ships) {
          if (!Contested(s, t, d)) Sendships(OrderPercent(need, s.WorldShips[w]));
        } else if (known[2][t] >= 8 && s.WorldBombs[w] >= 1 && !Contested(s, t, d)) {
          Sendships(static_cast<int16_t>(kAnnihilationBomb));
        }
      } else if (s.WorldRevealed[t] == 5 && ships > 0) {
        // Deciding assumes a modest production, sizing a generous one.
        const double estimate = (k * 10 + s.WorldShips[t]) * 1.25;
        if (!Contested(s, t, d)) {
          if (estimate >= ships)
            Sendships(1);
          else
            Sendships(OrderPercent((k * 15 + s.WorldShips[t]) * 1.25, s.WorldShips[w]));
        }
      } else if (ships > 0 && !Contested(s, t, d)) {
        Sendships(1);
      }
    }

    SelectedFrom = static_cast<int16_t>(w);
    Nearest(static_cast<int16_t>(w), -1);
    for (int i = 0; i < 4; ++i) {
      if (NearestList[i][0] < 0) continue;
      const int t = static_cast<int>(NearestList[i][0]);
      const int worth = s.WorldClass[t] * s.WorldProduction[t];
      if (s.WorldShips[w] > 0 && s.WorldOwner[t] == s.WorldOwner[w] &&
          worth >= s.WorldClass[w] * s.WorldProduction[w]) {
        SelectedTo = static_cast<int16_t>(t);
        CalcDistance = NearestList[i][1];
        Sendships(100);
      }
    }
    presenter().PumpEvents();
  }

  BusyFlag = kFalse;
  // The turn ends from the host's loop, not from here: ending it here would
  // start the next seat's turn inside this one.
  turnEndPending_ = true;
  presenter().TurnEndPending();
}

}  // namespace valkoran
