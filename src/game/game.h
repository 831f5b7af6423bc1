// The object that plays one game: the state, the game's generator, the
// options and the session values the rules read back.
#pragma once

#include <array>
#include <cstdint>

#include "game/presenter.h"
#include "game/relay.h"
#include "game/rng.h"
#include "game/state.h"

namespace valkoran {

enum class NetRole { Local, Server, Client };

class Game {
 public:
  Game();
  explicit Game(uint64_t seed);

  GameState state;
  Rng rng;

  // Session values (never saved or sent).
  int16_t SelectedFrom = -1, SelectedTo = -1;
  int16_t ProximityFrom = -1, ProximityTo = -1;
  float CalcDistance = 0, CalcCourse = 0;
  int16_t BusyFlag = 0, TurnLock = 0, LeftClickArmed = 0, FleetsShown = 0, GameOverShown = 0;
  // [row 0..4][column 0..2]: column 0 a world (-1 none), column 1 its
  // distance (1000 none); rows 0..3 used, nearest first.
  std::array<std::array<float, 3>, 5> NearestList{};

  NetRole role = NetRole::Local;
  bool serverConnected = false;  // a client's socket to the server

  void SetPresenter(Presenter* p) { presenter_ = p ? p : &silent_; }
  void SetRelay(Relay* r) { relay_ = r ? r : &null_relay_; }
  Presenter& presenter() { return *presenter_; }
  Relay& relay() { return *relay_; }

  // Travel and dispatch.
  void DistCalc(int16_t from, int16_t to, float& distance, float& course, float step);
  void Sendships(int16_t amount);
  void SortFleets();
  void Nearest(int16_t from, int16_t excludeOwner);

  bool IsHuman(int seat) const { return !IsComputerName(state.PlayerName[seat]); }
  bool TruceActive() const;  // the current turn lies before the truce's last turn

 private:
  SilentPresenter silent_;
  NullRelay null_relay_;
  Presenter* presenter_ = &silent_;
  Relay* relay_ = &null_relay_;
};

}  // namespace valkoran
