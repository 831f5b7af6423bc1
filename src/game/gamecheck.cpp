// The check at the start of every turn: who is out, who has won, the truce
// announcements, the turn announcement and timer, then the computer player.
#include <bitset>

#include "game/game.h"

namespace valkoran {

namespace {

struct Tallies {
  float worlds = 0, ships = 0, production = 0, shipClass = 0, fleets = 0, rating = 0;
};

Tallies Tally(const GameState& s, int seat) {
  Tallies t;
  for (int w = 0; w < s.WorldCount; ++w) {
    if (s.WorldOwner[w] != seat + 1) continue;
    t.worlds = Sng(static_cast<double>(t.worlds) + 1);
    t.ships = Sng(static_cast<double>(t.ships) + s.WorldShips[w]);
    t.production = Sng(static_cast<double>(t.production) + s.WorldProduction[w]);
    t.shipClass = Sng(static_cast<double>(t.shipClass) + s.WorldClass[w]);
  }
  for (int f = 0; f < kFleets; ++f) {
    if (s.FleetOwner[f] != seat + 1) continue;
    // A bomb in flight keeps its owner in the game; a scout does not.
    const double ships = s.FleetShips[f] < kAnnihilationBomb ? s.FleetShips[f] : 1.0;
    t.fleets = Sng(static_cast<double>(t.fleets) + ships);
  }
  t.rating = Sng(static_cast<double>(t.shipClass) * t.production / (CurrentTurn(s) + 1));
  return t;
}

}  // namespace

void Game::GameCheck() {
  GameState& s = state;
  const int n = CurrentTurn(s);
  std::bitset<kSeats> out, takingPart;
  int conqueror = -1;
  Tallies won;

  for (int p = 0; p < kSeats; ++p) {
    if (s.PlayerName[p].empty() || s.PlayerLeft[p]) continue;
    takingPart.set(p);
    const Tallies t = Tally(s, p);
    const std::string& name = s.PlayerName[p];
    if (t.worlds == 0 && t.fleets == 0) {
      out.set(p);
      if (!EndsWith(p, kEliminated)) {
        presenter().Banner("\r\n    " + name + " Has Been Eliminated From The Game!    \r\n");
        if (!s.SpeedGame) presenter().Cue("battlelost.wav");
        presenter().Pause(3000);
        presenter().Banner("");
        const std::string text = " " + name + " Was Eliminated From The Game!";
        presenter().MessageBox(text);
        for (int k = 0; k < kSeats; ++k) AddLog(k, text);
        SetStatus(p, name + ":  " + kEliminated);
      }
      if (s.NetworkGame && p == s.CurrentPlayer) {
        presenter().Caption(CaptionText(" (Eliminated)"));
        TurnLock = kTrue;
      }
    } else if (t.worlds == 0 && s.NetworkGame) {
      SetStatus(p, name + kDoneTurn);
      if (p == s.CurrentPlayer) {
        presenter().Caption(CaptionText(" (Done Turn)"));
        TurnLock = kTrue;
      }
    } else if (t.worlds == s.WorldCount) {
      conqueror = p;
      won = t;
      break;
    } else {
      TurnLock = kFalse;
      SetStatus(p, name + kTakingTurn);
      presenter().Caption(CaptionText());
    }
  }

  if (conqueror >= 0) {
    const std::string& name = s.PlayerName[conqueror];
    const std::string tallies = Str(won.worlds) + " Worlds With" + Str(won.production) + " Production and" +
                                Str(won.ships) + " Ships, Rating: " + Format(won.rating, "0.0");
    presenter().Banner("\r\n    " + name + " Has Taken Over The Entire Solar System!    \r\n    " + tallies + "    \r\n");
    if (!s.SpeedGame) presenter().Cue("battlewon.wav");
    presenter().Pause(3000);
    presenter().HighScore(name, won.rating, won.ships, won.production, won.worlds, won.shipClass);
    presenter().Banner("");
    presenter().Console();
    presenter().Notice(name + " Has Taken Over The Entire Solar System With An Rating Of " + Format(won.rating, "0.0"));
    presenter().TurnTimer(false);
    presenter().PumpEvents();
    for (int i = 0; i < 20; ++i) {
      GalaxyRotate();
      presenter().PumpEvents();
    }
    DataSet(s);
    s.TruceTurn = 0;
    GameIsOver = true;
    presenter().GameOver();
    return;
  }

  // The last survivor: the only seat in the game that is not out, once at
  // least one other has gone. Counted over the seats taking part, not read
  // from a table of seat numbers: with a seat left empty between two taken
  // ones (seats 0, 1 and 3) such a table names a survivor while another seat
  // still plays, and two players going out together never name an empty seat.
  const std::bitset<kSeats> standing = takingPart & ~out;
  if (standing.count() == 1 && out.any() && !GameOverShown) {
    int survivor = 0;
    while (!standing.test(survivor)) ++survivor;
    const std::string& name = s.PlayerName[survivor];
    GameOverShown = kTrue;
    presenter().Banner("\r\n    " + name + " Has Eliminated All The Other Players!    \r\n");
    if (!s.SpeedGame) presenter().Cue("battlewon.wav");
    presenter().Pause(3000);
    presenter().Console();
    presenter().Notice(name + " Has Eliminated All The Other Players!");
    const Tallies t = Tally(s, survivor);
    presenter().HighScore(name, t.rating, t.ships, t.production, t.worlds, t.shipClass);
  }

  const int T = s.TruceTurn;
  std::string truce;
  if (n == T && T > 0) {
    truce = " Battle Truce Has Ended!";
  } else if (T - n == 1) {
    truce = " Battle Truce Ends Next Turn!";
  } else if (T - n >= 2 && T - n <= 4) {
    truce = " Battle Truce Ends In" + Str(T - n) + " Turns!";
  }
  if (!truce.empty()) {
    presenter().Notice(truce);
    if (!s.SpeedGame) presenter().Cue("gameinfo.wav");
    presenter().Pause(2000);
  }

  if (s.GameYear == 1.0f) {
    if (T > 0) {
      presenter().Notice(" Battle Truce Set Until Turn" + Str(T - n) + "!");
      presenter().Pause(2000);
    }
    if (s.ShieldOption) {
      presenter().Notice(" Ships Set To Travel With Shields!");
      presenter().Pause(2000);
    }
  }

  const int me = s.CurrentPlayer;
  const bool meOut = EndsWith(me, kEliminated);
  const std::string turn = "Initiating Turn #" + Format(static_cast<double>(n), "0");
  presenter().Notice(s.NetworkGame && meOut ? turn : turn + " " + s.PlayerName[me] + "!");
  if (!s.SpeedGame && (s.NetworkGame || me == 0)) presenter().Cue("turn.wav");

  if (TurnTimerOn && !meOut && !s.PlayerName[1].empty()) {
    s.TurnMinutesLeft = static_cast<int16_t>(n < 5 ? 3 : n < 15 ? 4 : n < 30 ? 5 : 6);
    presenter().TurnTimer(true);
  }

  BusyFlag = kFalse;
  presenter().GalaxyDraw();
  presenter().PumpEvents();
  presenter().Notice("");
  presenter().MessageBox("");
  EnemyTurn();
}

}  // namespace valkoran
