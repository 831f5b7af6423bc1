// The turn cycle: ending a seat's turn, processing the turn for everybody,
// the options that shape it (Turn Timer, Speed Game, AutoSave).
#include "game/arrivaltime.h"
#include "game/game.h"

namespace valkoran {

namespace {

bool OwnsAWorld(const GameState& s, int seat) {
  for (int w = 0; w < s.WorldCount; ++w)
    if (s.WorldOwner[w] == seat + 1) return true;
  return false;
}

}  // namespace

std::string GameLogText(const GameState& s, int seat) {
  const std::string& log = s.GameHistory[seat];
  std::string shown = log.size() <= 2000 ? log : log.substr(log.size() - 2000);
  if (shown.size() < 2 || shown.compare(shown.size() - 2, 2, "\r\n") != 0) shown += "\r\n";
  return shown;
}

void Game::ShowGameLog() { presenter().ShowGameLog(GameLogText(state, state.CurrentPlayer)); }

void Game::Discard() {
  DataSet(state);
  state.TruceTurn = 0;
  SelectedFrom = SelectedTo = -1;
}

void Game::StartLoadedGame() {
  GameState& s = state;
  presenter().Console();
  SelectedFrom = SelectedTo = -1;
  TurnLock = BusyFlag = GameOverShown = kFalse;
  GameIsOver = false;
  SetPlayerColours(s, ColourSource::LoadedOrJoined);
  // Status lines belong to the game on screen, not to the one loaded: an
  // "Eliminated" left from an earlier game would lock that seat out.
  for (int p = 0; p < kSeats; ++p) SetStatus(p, "");
  if (!s.NetworkGame) {
    // A game saved as a turn ended (AutoSave) names seat 0 even when that
    // seat holds nothing any more; its turn could never be ended. The turn
    // belongs to the first seat from there on, round the table, that still
    // holds a world.
    for (int k = 0; k < kSeats; ++k) {
      const int seat = (s.CurrentPlayer + k) % kSeats;
      if (!OwnsAWorld(s, seat)) continue;
      s.CurrentPlayer = static_cast<int16_t>(seat);
      break;
    }
  }
  if (IsNetworkHost()) {
    s.CurrentPlayer = 0;
    relay().GalaxySync(s);
    for (int p = 0; p < kSeats; ++p) SetStatus(p, s.PlayerName[p].empty() ? "" : s.PlayerName[p] + kTakingTurn);
  }
  presenter().Caption(CaptionText());
  presenter().Notice("");
  presenter().GalaxyDraw();
  if (!s.NetworkGame)
    presenter().Notice("Initiating Turn #" + Format(static_cast<double>(CurrentTurn(s)), "0") + " " +
                       s.PlayerName[s.CurrentPlayer] + "!");
  GameCheck();
  presenter().Console();
  ShowGameLog();
}

void Game::ImgDone_Click() {
  LeftClickArmed = kTrue;
  Form_DblClick();
}

void Game::RunPendingTurnEnd() {
  // Not inside another routine (a server carrying out a client's order):
  // the turn end stays pending until that is over.
  if (!turnEndPending_ || BusyFlag) return;
  turnEndPending_ = false;
  ImgDone_Click();
}

void Game::Form_DblClick() {
  GameState& s = state;
  const int me = s.CurrentPlayer;
  if (EndsWith(me, kEliminated) || EndsWith(me, kDoneTurn) || BusyFlag != 0 || LeftClickArmed != kTrue) return;
  presenter().TurnTimer(false);
  presenter().Notice("");

  if (s.NetworkGame) {
    if (TurnLock) return;
    TurnLock = kTrue;
    SetStatus(me, s.PlayerName[me] + kDoneTurn);
    std::string waiting;
    for (int p = 0; p < kSeats; ++p) {
      if (!EndsWith(p, kTakingTurn)) continue;
      if (!waiting.empty()) waiting += " & ";
      waiting += s.PlayerName[p];
    }
    if (!waiting.empty()) {
      presenter().Notice(" Waiting on " + waiting);
      presenter().Cue("gameinfo.wav");
    }
    // Said before the turn may be processed below, so the next turn's
    // caption is not overwritten by this one's.
    presenter().Caption(CaptionText(" (Done Turn)"));
    if (role != NetRole::Server) {
      relay().SendStatus(0, me, s.PlayerName[me] + kDoneTurn);
    } else {
      for (int i = 1; i < kSeats; ++i)
        if (relay().Connected(i)) relay().SendStatus(i, me, s.PlayerName[me] + kDoneTurn);
      // Each seat counts once: done, out, gone or empty.
      if (AllSeatsDone()) {
        relay().SendEndTurn();
        EndTurn();
      }
    }
    return;
  }

  // Hot seat: the next seat that owns a world moves; after the last seat the
  // turn is processed and seat 0 comes round again. Every seat without worlds
  // is passed over, empty or not, up to the last one: stopping at the second
  // empty seat in a row would never give seat 3 a turn when seats 1 and 2
  // are empty.
  s.CurrentPlayer = static_cast<int16_t>(s.CurrentPlayer + 1);
  bool turnEnded = false;
  for (;;) {
    if (s.CurrentPlayer < kSeats && OwnsAWorld(s, s.CurrentPlayer)) break;
    s.CurrentPlayer = static_cast<int16_t>(s.CurrentPlayer + 1);
    if (s.CurrentPlayer >= kSeats) {
      // Round the table twice without a seat to move: no one can, so the
      // game check of seat 0's turn settles the game (a second turn here
      // would be processed for no one, and so on for ever).
      if (turnEnded) {
        s.CurrentPlayer = 0;
        break;
      }
      EndTurn();
      turnEnded = true;
      // Nobody holds a world any more: let the game check of seat 0's turn
      // settle the game rather than process turns for no one.
      bool anyone = false;
      for (int p = 0; p < kSeats; ++p) anyone = anyone || OwnsAWorld(s, p);
      if (!anyone) break;
    }
  }
  if (BeforeNextSeat && BeforeNextSeat(turnEnded)) return;
  StartLocalTurn();
}

void Game::StartLocalTurn() {
  presenter().TurnStarts(state.CurrentPlayer);
  presenter().Caption(CaptionText());
  SelectedFrom = SelectedTo = -1;
  presenter().GalaxyDraw();
  presenter().Console();
  GameCheck();
  ShowGameLog();
}

void Game::EndTurn() {
  GameState& s = state;
  const bool hostOrLocal = HostOrLocal();
  const bool host = IsNetworkHost();
  BusyFlag = kTrue;
  presenter().EnableMenus(false);
  if (hostOrLocal) SortFleets();
  if (host) {
    for (int f = 0; f < kFleets; ++f) relay().SendFleet(s, f);
  } else if (!s.NetworkGame) {
    s.CurrentPlayer = 0;
  }

  if (hostOrLocal) {
    for (int h = kHomeRing; h < kHomeRing + kSeats; ++h) {
      if (s.PlayerName[h - kHomeRing].empty() || s.WorldTreasure[h] != kPulseArmed) continue;
      if (host) {
        relay().SendTravelShow();
        relay().SendPulseBomb(h);
      }
      presenter().TravelShow();
      presenter().PumpEvents();
      PulseBomb(static_cast<uint8_t>(h));
    }
  }
  presenter().ShowPanels(false);

  if (hostOrLocal) {
    if (host) relay().SendGalaxyRotate();
    s.GameYear = Sng(static_cast<double>(s.GameYear) + static_cast<double>(kTurnLength));
    GalaxyRotate();
    presenter().PumpEvents();
  }
  // With another seat at this machine the panels stay hidden until the
  // next turn opens: whichever seat it is, seats 2 or 3 among them.
  if (!AnotherSeat(s) || s.NetworkGame) presenter().ShowPanels(true);

  if (hostOrLocal) Production();
  if (host)
    for (int w = 0; w < s.WorldCount; ++w) relay().SendProduction(s, w);
  if (hostOrLocal) MoveFleets();
  if (host) relay().SendTravelHide();

  TurnLock = kFalse;
  presenter().EnableMenus(true);
  presenter().TurnEndOver();
  presenter().Console();
  // A client's next turn opens when the server's processing is over
  // ("[TRAVELHIDE] "), on the board as it then stands, not here on the last.
  if (s.NetworkGame && role == NetRole::Server) GameCheck();
  ShowGameLog();

  // The menu's check mark says whether the reminder is on: switched on in the
  // first year, its year stays 1.0, and the reminder still comes half a year
  // later instead of never.
  if (hostOrLocal && AutoSaveChecked && s.AutoSaveYear >= 1 &&
      Sng(static_cast<double>(s.GameYear) - 0.5) >= s.AutoSaveYear) {
    s.AutoSaveYear = s.GameYear;
    presenter().OpenSaveWindow();
  }
}

void Game::Production() {
  GameState& s = state;
  for (int w = 0; w < s.WorldCount; ++w) {
    if (s.WorldOwner[w] == 0) {
      const double r = Int(100 * static_cast<double>(rng.Next()));
      s.WorldShieldOn[w] = (s.WorldShieldOn[w] == 0 && r > 90) ? 1 : 0;
    }
    if (s.WorldShieldOn[w] != 0) {
      int shield = s.WorldShield[w] + s.WorldProduction[w];
      if (shield > 100) {
        s.WorldShips[w] = Sng(static_cast<double>(s.WorldShips[w]) + (shield - 100));
        shield = 100;
        s.WorldShieldOn[w] = 0;
      }
      s.WorldShield[w] = static_cast<uint8_t>(shield);
    } else {
      s.WorldShips[w] = Sng(static_cast<double>(s.WorldShips[w]) + s.WorldProduction[w]);
    }
  }
}

void Game::MoveFleets() {
  GameState& s = state;
  const bool host = IsNetworkHost();
  for (int f = 0; f < kFleets; ++f) {
    if (s.FleetFrom[f] == 0) continue;
    for (int b = 0; b < kBombs && s.FleetOwner[f] > 0; ++b) {
      if (s.BombOwner[b] <= 0 || s.BombOwner[b] == s.FleetOwner[f]) continue;
      if (!ProximityCheck(f, b)) continue;
      if (host) {
        relay().SendTravelShow();
        relay().SendProximity(f, b);
      }
      presenter().TravelShow();
      Proximity(static_cast<int16_t>(f), static_cast<int16_t>(b));
      presenter().PumpEvents();
      presenter().Pause(1000);
    }
    // The same step every promise of an arrival counts with.
    s.FleetRemaining[f] = RemainingAfterTurnEnd(s.FleetRemaining[f]);
    if (host) relay().SendFleet(s, f);
    if (s.FleetFrom[f] != 0 && HasArrived(s.FleetRemaining[f])) {
      if (host) relay().SendTravelShow();
      presenter().TravelShow();
      EndTravel(static_cast<uint8_t>(f));
      presenter().Pause(1000);
    }
  }
}

void Game::GalaxyRotate() {
  GameState& s = state;
  presenter().PendingProximityDropped();
  presenter().Notice("");
  presenter().MessageBox("");
  const long long frames = RoundHalfEvenUnchecked(static_cast<double>(s.WorldOrbit[kHomeRing]) * 4 * 0.05);
  for (long long f = 1; f <= frames; ++f) {
    for (int w = 0; w < s.WorldCount; ++w) s.WorldAngle[w] = Sng(static_cast<double>(s.WorldAngle[w]) + s.WorldSpin[w]);
    if (!s.SpeedGame) {
      presenter().RotationFrame();
      presenter().Pause(20);
    }
  }
  const std::string line = "Year " + Format(ShownYear(s.GameYear), "0.00") + ", Turn #" +
                           Format(static_cast<double>(CurrentTurn(s)), "0");
  for (int p = 0; p < kSeats; ++p) AddLog(p, line);
  if (s.SpeedGame) presenter().GalaxyDraw();
  presenter().PumpEvents();
}

void Game::tmrTurn_Timer() {
  GameState& s = state;
  s.TurnMinutesLeft = static_cast<int16_t>(s.TurnMinutesLeft - 1);
  if (s.TurnMinutesLeft < 1) {
    presenter().Notice("Your Turn Is Now Over!");
    presenter().Pause(1000);
    ImgDone_Click();
    return;
  }
  if (s.TurnMinutesLeft == 1) {
    presenter().Notice("<" + Str(1) + " Minute Left Until Turn Over!");
    presenter().Cue("timer.wav");
  } else {
    presenter().Notice(Str(static_cast<int>(s.TurnMinutesLeft)) + " Minutes Left Until Turn Over!");
    presenter().Cue("gameinfo.wav");
  }
  presenter().TurnTimer(true);
}

void Game::mnuOptionsTurn_Click() {
  if (state.NetworkGame) return;
  TurnTimerOn = !TurnTimerOn;
  presenter().Notice(TurnTimerOn ? "Turn Timer Now On" : "Turn Timer Now Off");
  // The clock runs only where a turn start would have started it: with a
  // second seat. Alone, switching it back on must not end the turn a
  // minute later.
  presenter().TurnTimer(TurnTimerOn && !state.PlayerName[1].empty());
  presenter().Cue("gameinfo.wav");
}

void Game::mnuOptionsSpeed_Click() {
  state.SpeedGame = state.SpeedGame ? kFalse : kTrue;
  presenter().Notice(state.SpeedGame ? "Speed Game Now On" : "Speed Game Now Off");
  presenter().Cue("gameinfo.wav");
}

void Game::mnuFileAutoSave_Click() {
  AutoSaveChecked = !AutoSaveChecked;
  state.AutoSaveYear = AutoSaveChecked ? state.GameYear : 0.0f;
}

}  // namespace valkoran
