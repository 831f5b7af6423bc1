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
  void GameOver() override;
  void TurnEndPending() override;

  // Waits `ms` times the window's pause scale with painting and timers
  // going on; input to the game windows waits meanwhile.
  void Wait(int ms);
  // The pop-up label lblPlanet with `text`, centred over the view or beside
  // the point (x, y).
  void ShowPopup(const QString& text, bool centred, int x = 0, int y = 0);
  void HideOverlays();
  // Hides the pop-up `ms` from now unless another has been shown meanwhile.
  void HidePopupAfter(int ms);
  // The bomb, fuel and crystal indicators for what the player holds, once
  // the engine is done with the turn's start.
  void ShowIndicators();

  std::function<void()> onGameOver;
  std::function<void()> onTurnEndPending;
  std::function<void()> onPendingProximityDropped;

 private:
  void SetIndicators(const ConsolePanel& panel);
  void HandedOver();

  GalaxyContext& x_;
  GalaxyPainter& painter_;
  int popups_ = 0;  // pop-ups shown so far
  bool clockWaiting_ = false;  // the turn clock starts once the hand-over screen is gone
};

}  // namespace valkoran::view
