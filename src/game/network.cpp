// Network play in the engine: what a client's server tells it, the status
// lines every machine shows, and the server's count of seats that are done.
#include "game/game.h"
#include "game/numbers.h"

namespace valkoran {

std::optional<FieldError> Game::ReceiveField(const Field& field, int slot, std::string_view value) {
  // A world's history arrives as this seat knows it.
  return SetFieldText(field, state, slot, value, state.CurrentPlayer);
}

void Game::ReceiveWorldCount(int count) {
  if (state.WorldCount != 0) {
    presenter().Banner("\r\n    The Server has reset the game!    \r\n");
  }
  state.WorldCount = static_cast<uint8_t>(count);
}

void Game::ReceivePlayer(int seat, const std::string& name) { state.PlayerName[seat] = name; }
void Game::ReceiveCrystal(int seat, int16_t crystal) { state.PlayerCrystal[seat] = crystal; }
void Game::ReceiveYear(float year) { state.GameYear = year; }
void Game::ReceiveSeat(int seat) { state.CurrentPlayer = static_cast<int16_t>(seat); }
void Game::ReceiveShotDelay(float delay) { state.ShotDelay = delay; }
void Game::ReceiveLog(const std::string& log) { state.GameHistory[state.CurrentPlayer] = log; }

void Game::ReceiveOptions(bool shields, int16_t truceTurn) {
  state.ShieldOption = shields;
  state.TruceTurn = truceTurn;
}

void Game::ReceiveFleet(int slot, const FleetValues& v) {
  GameState& s = state;
  s.FleetFrom[slot] = v.from, s.FleetTo[slot] = v.to, s.FleetOwner[slot] = v.owner;
  s.FleetShips[slot] = v.ships, s.FleetClass[slot] = v.shipClass, s.FleetShield[slot] = v.shield;
  s.FleetDistance[slot] = v.distance, s.FleetCourse[slot] = v.course, s.FleetRemaining[slot] = v.remaining;
}

void Game::ReplayBattleAccuracy(int attacker, int defender) {
  AttackerAccuracy = static_cast<uint8_t>(attacker);
  DefenderAccuracy = static_cast<uint8_t>(defender);
}

void Game::ReplayFrame(int side, int16_t shotsLeft) {
  BattleSide = static_cast<uint8_t>(side);
  FrameUpdate(shotsLeft);
}

void Game::ReplayBattleDone(int side, int fleet) {
  BattleSide = static_cast<uint8_t>(side);
  BattleDone(static_cast<uint8_t>(fleet));
}

void Game::ReceiveRotation() {
  state.GameYear = Sng(static_cast<double>(state.GameYear) + static_cast<double>(kTurnLength));
  GalaxyRotate();
}

void Game::ReceiveTravelHide() {
  TurnLock = kFalse;
  presenter().EnableMenus(true);
  GameCheck();
  presenter().Console();
  ShowGameLog();
}

void Game::ReceiveGalaxyDraw() {
  presenter().GalaxyDraw();
  TurnLock = kFalse;
}

void Game::BeginNetworkPlay(NetRole r) {
  role = r;
  state.NetworkGame = kTrue;
  // A server plays from seat 0; a client learns its seat from its server.
  if (r == NetRole::Server) state.CurrentPlayer = 0;
}

void Game::OpenNetworkGame() {
  GameState& s = state;
  s.NetworkGame = kTrue;
  SelectedFrom = SelectedTo = -1;
  TurnLock = BusyFlag = kFalse;
  GameIsOver = false;
  s.SpeedGame = kFalse;
  if (role != NetRole::Server) s.ShotDelay = 0;
  SetPlayerColours(s, ColourSource::LoadedOrJoined);
  presenter().Caption(CaptionText());
  GameCheck();
  for (int p = 0; p < kSeats; ++p) SetStatus(p, s.PlayerName[p].empty() ? "" : s.PlayerName[p] + kTakingTurn);
  ShowGameLog();
  presenter().Console();
  presenter().Cue("console.wav");
}

bool Game::AllSeatsDone() const {
  for (int p = 0; p < kSeats; ++p) {
    if (state.PlayerName[p].empty() || state.PlayerLeft[p]) continue;
    if (EndsWith(p, kEliminated) || EndsWith(p, kDoneTurn)) continue;
    // A seat whose machine is gone waits for nobody.
    if (p > 0 && !relay().Connected(p)) continue;
    return false;
  }
  return true;
}

void Game::NetworkStatus(int seat, const std::string& text) {
  GameState& s = state;
  SetStatus(seat, text);
  if (seat != s.CurrentPlayer) {
    presenter().Notice(text + "!");
    presenter().Cue("gameinfo.wav");
    presenter().Pause(500);
    std::string waiting;
    for (int p = 0; p < kSeats; ++p) {
      if (!EndsWith(p, kTakingTurn)) continue;
      waiting += waiting.empty() ? " Waiting on " + s.PlayerName[p] : " & " + s.PlayerName[p];
    }
    if (!waiting.empty()) {
      presenter().Notice(waiting);
      presenter().Cue("gameinfo.wav");
    }
  }
  if (role == NetRole::Server) {
    for (int i = 1; i < kSeats; ++i)
      if (relay().Connected(i)) relay().SendStatus(i, seat, text);
    if (AllSeatsDone() && !BusyFlag) {
      relay().SendEndTurn();
      EndTurn();
    }
  } else if (StatusEndsWith(text, "Disconnected")) {
    const std::string& name = s.PlayerName[seat];
    presenter().Banner("\r\n    " + name + " Disconnected    \r\n");
    presenter().Notice(name + " Disconnected");
  }
}

void Game::SeatLeft(int seat) {
  GameState& s = state;
  const std::string& name = s.PlayerName[seat];
  const bool out = EndsWith(seat, kEliminated);
  SetStatus(seat, name + ":  Disconnected");
  if (!out && !s.PlayerLeft[seat]) {
    presenter().Banner("\r\n    " + name + " Disconnected!    \r\n");
    presenter().Notice(" " + name + ":  Disconnected!");
    s.PlayerLeft[seat] = kTrue;
  }
  for (int i = 1; i < kSeats; ++i)
    if (relay().Connected(i)) relay().SendStatus(i, seat, name + ":  Disconnected");
  // The others may all be waiting on this seat only.
  if (s.NetworkGame && AllSeatsDone() && !BusyFlag && !TurnLock) {
    relay().SendEndTurn();
    EndTurn();
  }
}

void Game::SeatRejoined(int seat) {
  GameState& s = state;
  s.PlayerLeft[seat] = kFalse;
  const std::string text = s.PlayerName[seat] + kTakingTurn;
  SetStatus(seat, text);
  for (int i = 1; i < kSeats; ++i)
    if (relay().Connected(i)) relay().SendStatus(i, seat, text);
}

}  // namespace valkoran
