// The main window's input controller: turns the pointer, the keys, the
// menus, the buttons and the lists into the player's selection, view
// actions and orders for the engine. It holds the one input guard: while an
// engine routine runs or waits, input to the game's windows is dropped.
#pragma once

#include <QObject>
#include <QRandomGenerator>

#include "view/galaxycontrols.h"

namespace valkoran::view {

class ChatPanel;
class GalaxyPainter;
class GalaxyPresenter;

class GalaxyInput : public QObject {
 public:
  GalaxyInput(GalaxyContext& context, GalaxyPresenter& presenter, GalaxyPainter& painter, QWidget* window);

  // Marks the window busy while a handler or an engine routine runs; when
  // the outermost one ends, a computer seat's pending turn end is started
  // from the event loop.
  class Scope {
   public:
    explicit Scope(GalaxyInput& input);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    GalaxyInput& in_;
  };

  void RunPendingTurnEnd();
  // Escape, or a click on empty space: the chosen source is let go.
  void DropSelection();
  // The order the proximity window is asked a threshold for is dropped.
  void DropPendingProximity();

  // ---- Events, under the names the game gives them ----
  void Form_MouseDown(Qt::MouseButton button, int x, int y);
  void Form_MouseMove(int x, int y);
  void Form_DblClick();
  void ImgDone_Click();
  void ImgLabels_Click();
  void ImgTravel_Click();
  void ImgStatus_Click();
  void ImgQuit_Click();
  void ImgHelp_Click();
  void lstOwned_Click();
  void lstOwned_DblClick(int row);
  void lstTravel_Click();
  void lstInfo_Click();
  void txtMove_Click();
  void mnuComCalc_Click();
  void mnuComSend(int amount);  // a dispatch item with its Sendships amount
  void mnuComSendProx_Click();
  void mnuComSendPulse_Click();
  void ImgSet_Click(int threshold);
  void mnuFileNew_Click();
  void mnuInfoFleets_Click();
  void tmrTurn_Timer();

  std::function<void()> onNewGame;
  std::function<void()> onHelp;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Connect(QWidget* window);
  void ShowFleetPositions(int which);
  void ClearSelection();
  // The world panel's shield line, when the panel shows `world`.
  void ShowInfoShield(int world);
  void ShowCommandMenu(int from, int to, int x, int y);
  // Carries the order out through the engine's door; a refusal is told.
  void Give(const Order& order);

  GalaxyContext& x_;
  GalaxyPresenter& presenter_;
  GalaxyPainter& painter_;
  QWidget* window_;
  // Compared, never called: the filter also sees events while the message
  // box is being torn down, when asking it for its viewport would crash.
  const QObject* moveViewport_ = nullptr;
  ChatPanel* chat_ = nullptr;
  Selection proximity_;  // the proximity bomb waiting for its threshold
  bool commandChosen_ = false;
  QRandomGenerator tips_{QRandomGenerator::global()->generate()};
};

}  // namespace valkoran::view
