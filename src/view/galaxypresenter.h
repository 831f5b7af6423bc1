// The main window's presenter: what the engine tells the player, shown on
// the window's panels, lines and labels, with the painter drawing the map;
// the engine's waits, with painting going on and input held.
#pragma once

#include <functional>

#include "game/console.h"
#include "game/presenter.h"
#include "view/galaxycontrols.h"

namespace valkoran::view {

class GalaxyPainter;

// A finished player's result, as the game check rates it.
struct HighScoreResult {
  std::string name;
  float rating = 0, ships = 0, production = 0, worlds = 0, shipClass = 0;
  float gameYear = 1;
};

class GalaxyPresenter : public Presenter {
 public:
  GalaxyPresenter(GalaxyContext& context, GalaxyPainter& painter);

  void GalaxyDraw() override;
  void CleanGalaxy() override;
  void Console() override;
  void ShowPanels(bool shown) override;
  void EnableMenus(bool enabled) override;
  void TravelShow() override;
  void RotationFrame() override;
  void PendingProximityDropped() override;
  void TurnStarts(int seat) override;
  void TurnEndOver() override;
  void Notice(const std::string& text) override;
  void Banner(const std::string& text) override;
  void MessageBox(const std::string& text) override;
  void ShowGameLog(const std::string& text) override;
  void Status(int seat, const std::string& text) override;
  void Caption(const std::string& text) override;
  void StatusReport(const std::string& text) override;
  void Cue(const char* wave) override;
  void Pause(int ms) override;
  void PumpEvents() override;
  void Arrival(int world, int owner, float ships) override;
  void WorldRing(int world, int owner, int radius, bool growing) override;
  void WorldMark(Mark mark, int world, int owner, int count) override;
  void StrengthBar(float attacker, float defender, int attackerOwner, int defenderOwner) override;
  void PulseRing(int world, int owner, int step) override;
  void BattlePanelChanged(const BattlePanel& panel) override;
  void TurnTimer(bool armed) override;
  void OpenSaveWindow() override;
  void HighScore(const std::string& name, float rating, float ships, float production, float worlds,
                 float shipClass) override;
  void GameOver() override;
  void TurnEndPending() override;

  // Waits `ms` times the window's pause scale with painting and timers
  // going on; input to the game windows waits meanwhile.
  void Wait(int ms);
  // The pop-up label lblPlanet with `text`, centred over the view or beside
  // the point (x, y).
  void ShowPopup(const QString& text, bool centred, int x = 0, int y = 0);
  void HideOverlays();
  // The message box, one line or enlarged over the notice line; a notice
  // of the rules brings the notice line back.
  void ToggleMessageBox();
  void CollapseMessageBox();
  // A line on txtGame that is not the rules' notice (a tip): it leaves an
  // enlarged message box as it is.
  void Tip(const std::string& text);
  // Hides the pop-up `ms` from now unless another has been shown meanwhile.
  void HidePopupAfter(int ms);
  // Once the engine is done: the bomb, fuel and crystal indicators for what
  // the player holds, and at a turn's start the radar's alert, which the
  // turn's own notices wrote over.
  void EngineDone();

  std::function<void()> onGameOver;
  std::function<void()> onOpenSaveWindow;
  std::function<void()> onTurnStarts;
  // A finished player's result for the high-score table; the table shows
  // for five seconds before the game goes on.
  std::function<void(const HighScoreResult&)> onHighScore;
  std::function<void()> onTurnEndPending;
  std::function<void()> onPendingProximityDropped;

 private:
  void SetIndicators(const ConsolePanel& panel);
  void HandedOver();
  // Raises the hand-over screen for `seat` when another human just had the
  // machine; whether it did.
  bool CoverIfDue(int seat);
  void SetNoticeText(const std::string& text);

  GalaxyContext& x_;
  GalaxyPainter& painter_;
  int popups_ = 0;  // pop-ups shown so far
  bool clockWaiting_ = false;
  bool turnStarting_ = false;  // the turn clock starts once the hand-over screen is gone
};

}  // namespace valkoran::view
