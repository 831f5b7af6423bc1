// The object that plays one game: the state, the game's generator, the
// options and the session values the rules read back. Its operations carry
// the names of the game's routines; they are spread over the game/ sources
// by subject (travel, turn, arrival, battle, bombs, gamecheck, enemy).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "game/orders.h"
#include "game/presenter.h"
#include "game/relay.h"
#include "game/rng.h"
#include "game/fields.h"
#include "game/state.h"

namespace valkoran {

enum class NetRole { Local, Server, Client };

// Endings of the seat status lines (lblStatus).
inline constexpr const char* kTakingTurn = ":  Taking Turn";
inline constexpr const char* kDoneTurn = ":  Done Turn";
inline constexpr const char* kEliminated = "Eliminated";

// Whether a status line ends with one of those endings.
inline bool StatusEndsWith(std::string_view line, std::string_view ending) {
  return line.size() >= ending.size() && line.substr(line.size() - ending.size()) == ending;
}

class Game {
 public:
  Game();
  explicit Game(uint64_t seed);

  GameState state;
  Rng rng;

  // Session values (never saved or sent). SelectedFrom and SelectedTo are
  // the dispatch's source and target, written by the engine as it carries
  // an order out; the selection a player builds with clicks is the view's.
  int16_t SelectedFrom = -1, SelectedTo = -1;
  float CalcDistance = 0, CalcCourse = 0;
  int16_t BusyFlag = 0, TurnLock = 0, LeftClickArmed = 0, GameOverShown = 0;
  // A conquest has ended the game (the board is cleared and the setup
  // window is due); cleared when a game is loaded.
  bool GameIsOver = false;
  // [row 0..4][column 0..2]: column 0 a world (-1 none), column 1 its
  // distance (1000 none); rows 0..3 used, nearest first.
  std::array<std::array<float, 3>, 5> NearestList{};
  std::array<std::string, kSeats> StatusLine{};  // lblStatus captions

  // Menu options of the running program (SpeedGame and AutoSaveYear live in
  // the state). The timer is on while its menu item offers to switch it off.
  bool TurnTimerOn = true;
  bool AutoSaveChecked = false;

  // The battle record, kept between the routines of one battle.
  uint8_t BattleSide = 0, AttackerAccuracy = 0, DefenderAccuracy = 0;
  float ShooterShips = 0, ShooterAccuracy = 0, TargetShips = 0;
  int16_t ShooterShield = 0, TargetShield = 0;
  BattlePanel Panel;

  // Seats the computer rule plays whatever their names: a headless host's
  // or client's own seat.
  std::array<bool, kSeats> RulePlayed{};

  NetRole role = NetRole::Local;
  bool serverConnected = false;  // a client's socket to the server

  // Null means the silent ones; a copied game keeps the same presenter and
  // relay, never a pointer into the game it was copied from.
  void SetPresenter(Presenter* p) { presenter_ = p; }
  void SetRelay(Relay* r) { relay_ = r; }
  Presenter& presenter() { return presenter_ ? *presenter_ : silent_; }
  Relay& relay() { return relay_ ? *relay_ : null_relay_; }
  const Relay& relay() const { return relay_ ? static_cast<const Relay&>(*relay_) : null_relay_; }

  // The one door for a player's orders: checks the order with RefuseOrder
  // and carries it out, or returns the refusal and changes nothing.
  std::optional<Refusal> Apply(const Order& order);

  // Travel and dispatch.
  void DistCalc(int16_t from, int16_t to, float& distance, float& course, float step);
  void Sendships(int16_t amount);
  void SortFleets();
  void Nearest(int16_t from, int16_t excludeOwner);

  // Turn cycle. A press of the pointer on the view arms the double click
  // that ends a turn when it is the left button.
  void MouseDown(bool leftButton) { LeftClickArmed = leftButton ? kTrue : kFalse; }
  void Form_DblClick();
  void ImgDone_Click();
  void EndTurn();
  void GalaxyRotate();
  void tmrTurn_Timer();
  void mnuOptionsTurn_Click();
  void mnuOptionsSpeed_Click();
  void mnuFileAutoSave_Click();
  void ShowGameLog();
  // The game is given up for a new one: the tables are cleared.
  void Discard();
  // What follows reading a saved game into `state`: the session values are
  // reset and the current seat's turn starts with its game check.
  void StartLoadedGame();
  std::string CaptionText(const char* suffix = "") const;
  // A computer seat's turn end waits here for the host's loop, so that no
  // seat's turn runs inside another's and the stack stays flat.
  bool TurnEndPending() const { return turnEndPending_; }
  void RunPendingTurnEnd();
  // Asked in a hot-seat game before the next seat's turn starts, with
  // whether the turn was processed on the way; true holds the game there
  // (the runner stops after so many turns). The desktop leaves it empty.
  std::function<bool(bool turnEnded)> BeforeNextSeat;

  // Arrivals.
  void EndTravel(uint8_t L);
  void Reinforcements(uint8_t L);
  void Scout(uint8_t L);
  void DataClear(uint8_t L);

  // Battles.
  void Battle(uint8_t f);  // the whole procedure for one arriving fleet
  void BattleSetup(uint8_t f);
  void WorldUp(uint8_t f);
  void WorldDown(uint8_t f);
  void ShotFrom();
  void ShotTo();
  void FromHit(uint8_t f);
  void ToHit(uint8_t f);
  void FrameUpdate(int16_t cc);
  void BattleDone(uint8_t f);

  // Bombs.
  // Proximity bombs armed or in flight, all owners: a launch is refused at
  // twenty, so every bomb that arrives finds a free slot.
  int ProximityBombsInUse() const;
  void mnuComSendPulse_Click();
  void ProximitySet(uint8_t f);
  void Proximity(int16_t f, int16_t j);
  void PulseBomb(uint8_t k);
  bool ProximityCheck(int f, int j) const;  // would bomb j go off on fleet f this turn?

  // Game check and computer players.
  void GameCheck();
  void EnemyTurn();

  // Network play. What a client receives from its server comes in through
  // these operations, each the receiver's action for one message.
  std::optional<FieldError> ReceiveField(const Field& field, int slot, std::string_view value);
  void ReceiveWorldCount(int count);
  void ReceivePlayer(int seat, const std::string& name);
  void ReceiveCrystal(int seat, int16_t crystal);
  void ReceiveYear(float year);
  void ReceiveSeat(int seat);  // this machine's seat: its CurrentPlayer
  void ReceiveShotDelay(float delay);
  void ReceiveLog(const std::string& log);
  // The game as it stood before a whole state that could not be played.
  void ReceiveState(const GameState& kept) { state = kept; }
  void ReceiveOptions(bool shields, int16_t truceTurn);
  void ReceiveFleet(int slot, const FleetValues& fleet);
  void ReplayBattleAccuracy(int attacker, int defender);
  void ReplayFrame(int side, int16_t shotsLeft);
  void ReplayBattleDone(int side, int fleet);
  void ReceiveRotation();  // the year goes on and the system turns
  void ReceiveTravelHide();
  void ReceiveGalaxyDraw();
  // This machine plays a network game as server or client from now on.
  void BeginNetworkPlay(NetRole role);
  // The whole state has arrived: the game opens on this machine.
  void OpenNetworkGame();
  // A seat's status line, from its own machine or relayed by the server;
  // the server ends the turn once every seat is done.
  void NetworkStatus(int seat, const std::string& text);
  // The server: whether every seat in play has ended its turn, is out or
  // has left (each seat counted once).
  bool AllSeatsDone() const;
  // The server: the client of `seat` has gone; the game goes on without it.
  void SeatLeft(int seat);
  // The server: the client of `seat` is back; it plays on.
  void SeatRejoined(int seat);

  bool IsHuman(int seat) const { return !IsComputerName(state.PlayerName[seat]); }
  bool TruceActive() const;  // the current turn lies before the truce's last turn
  bool HostOrLocal() const { return !state.NetworkGame || role == NetRole::Server; }
  bool IsNetworkHost() const { return state.NetworkGame && role == NetRole::Server; }
  bool IsNetworkClient() const { return state.NetworkGame && role != NetRole::Server; }
  // Reports for one player: shown to a human at this machine.
  bool Viewer(int owner) const;
  bool EndsWith(int seat, const char* ending) const { return StatusEndsWith(StatusLine[seat], ending); }
  void SetStatus(int seat, const std::string& text);
  // Appends CR LF and the text to a seat's message log.
  void AddLog(int seat, const std::string& text);
  // Puts a line in front of a seat's history of a world.
  void AddWorldHistory(int world, int seat, const std::string& line);

 private:
  void StartLocalTurn();
  void Production();
  void MoveFleets();
  void Hit(uint8_t f, bool attackerFires);
  void StartVolley(const BattleSideValues& shooter, const BattleSideValues& target);

  bool turnEndPending_ = false;
  SilentPresenter silent_;
  NullRelay null_relay_;
  Presenter* presenter_ = nullptr;
  Relay* relay_ = nullptr;
};

// What the message box shows of a seat's log: its last 2000 characters,
// ended by CR LF.
std::string GameLogText(const GameState& s, int seat);

// " Year 1.05, Turn #1": the stamp in front of world-history lines.
std::string DateStamp(const GameState& s);

}  // namespace valkoran
