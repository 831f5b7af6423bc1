// What the engine shows and waits for goes out through this interface: the
// desktop app draws and plays it, tests record it, the runner prints the
// texts a player reads and drops the rest.
#pragma once

#include <string>

namespace valkoran {

// The battle panel: the two frames' labels as numbers. Between volleys these
// values are the per-side state of the battle, read back at each volley's
// start, so they hold exactly what the labels would show.
struct BattleSideValues {
  std::string name;  // the frame's name label
  float shipClass = 0, started = 0, shield = 0, shots = 0, ships = 0, accuracy = 0;
};
struct BattlePanel {
  bool active = false;  // false: grey and empty
  int attacker = 0, defender = 0;  // owner codes, for the colours
  BattleSideValues from, to;
};

// Screen effects that only decorate a rule; the view draws them at the
// world's screen position in the colour of the owner code given.
enum class Mark {
  AttackMarkers,    // 1..3 small circles, `count` of them
  BombCluster,      // the annihilation bomb's circles on a world
  WonRing,          // ring of radius 15 in the conqueror's colour
  ProximityRange,   // dotted range of a proximity bomb and its markers
  PulseMark,        // a fleet caught by a pulse; `count` 1..4 by size
};

class Presenter {
 public:
  virtual ~Presenter() = default;

  // Redraws and panels.
  virtual void GalaxyDraw() {}   // full redraw of the view
  virtual void CleanGalaxy() {}  // plain redraw after an event
  virtual void Console() {}      // rebuild the current player's panel
  virtual void ShowPanels(bool /*shown*/) {}   // txtOwned, lstOwned, lstTravel
  virtual void EnableMenus(bool /*enabled*/) {}
  virtual void TravelShow() {}   // traveling fleets on the view
  virtual void TravelHide() {}
  virtual void RotationFrame() {}  // one animated frame of the turn's rotation
  // The system starts to turn: a proximity bomb whose threshold the player
  // was still choosing is dropped.
  virtual void PendingProximityDropped() {}
  // A seat's turn starts at this machine (after a hand-over or a turn end),
  // before its view, panels and log are shown.
  virtual void TurnStarts(int /*seat*/) {}
  // A turn end is over; the panel and the log about to be shown belong to
  // the seat that moves first in the new turn.
  virtual void TurnEndOver() {}

  // Texts.
  virtual void Notice(const std::string& /*text*/) {}       // txtGame; "" empties it
  virtual void Banner(const std::string& /*text*/) {}       // lblPlanet; "" hides it
  virtual void MessageBox(const std::string& /*text*/) {}   // txtMove; "" empties it
  virtual void ShowGameLog(const std::string& /*text*/) {}  // txtMove with the log
  virtual void LogLine(int /*seat*/, const std::string& /*text*/) {}  // appended to a seat's log
  virtual void HistoryLine(int /*world*/, int /*seat*/, const std::string& /*line*/) {}  // put before a world's history
  virtual void Status(int /*seat*/, const std::string& /*text*/) {}   // lblStatus(seat)
  virtual void Caption(const std::string& /*text*/) {}
  virtual void StatusReport(const std::string& /*text*/) {}

  // Sound and time.
  virtual void Cue(const char* /*wave*/) {}  // plays to its end
  virtual void Pause(int /*ms*/) {}          // window repaints, input waits
  virtual void PumpEvents() {}               // let pending window events run once

  // Animations and marks.
  virtual void Arrival(int /*world*/, int /*owner*/, float /*ships*/) {}
  virtual void WorldRing(int /*world*/, int /*owner*/, int /*radius*/, bool /*growing*/) {}
  virtual void WorldMark(Mark /*mark*/, int /*world*/, int /*owner*/, int /*count*/) {}
  virtual void StrengthBar(float /*attacker*/, float /*defender*/, int /*attackerOwner*/,
                           int /*defenderOwner*/) {}
  virtual void PulseRing(int /*world*/, int /*owner*/, int /*step*/) {}
  virtual void BattlePanelChanged(const BattlePanel& /*panel*/) {}

  // Windows and timers.
  virtual void TurnTimer(bool /*armed*/) {}  // tmrTurn: 60000 ms when armed
  virtual void OpenSaveWindow() {}           // the AutoSave reminder
  virtual void HighScore(const std::string& /*name*/, float /*rating*/, float /*ships*/,
                         float /*production*/, float /*worlds*/, float /*shipClass*/) {}
  virtual void GameOver() {}  // back to the setup window
  // A computer seat has given its orders: the host ends its turn from its
  // own loop (Game::RunPendingTurnEnd), never from inside that seat's turn.
  virtual void TurnEndPending() {}
};

// Shows nothing, waits for nothing.
class SilentPresenter final : public Presenter {};

}  // namespace valkoran
