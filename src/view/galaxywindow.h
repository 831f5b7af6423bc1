// The main game window, frmGalaxy: the solar system's view, the current
// player's panels, the message line and box, the chat line, the buttons and
// menus. The window holds its controls and three parts with one role each:
// the presenter shows what the engine tells the player, the input
// controller turns what the player does into selections and orders, the
// painter draws the map. Starting a game, new or loaded, happens here.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>

#include "game/game.h"
#include "game/newgame.h"
#include "view/galaxycontrols.h"
#include "view/galaxypresenter.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {

class GalaxyInput;
class GalaxyPainter;
class GalaxyPresenter;

class GalaxyWindow : public QMainWindow {
  Q_OBJECT
 public:
  enum class Link { Web, Upgrade, Bug };
  explicit GalaxyWindow(Game& game, QWidget* parent = nullptr);
  ~GalaxyWindow() override;

  // Lays the window out on the screen and fixes the view's geometry. False
  // when the drawing area is too narrow: the message has been shown and the
  // program is to end with status 1.
  bool FormSetup();
  // The setup window's start, after its name check: builds the game and
  // opens the first turn.
  void StartNewGame(const GameSetup& setup);
  // A game read from a file: its turn opens as the load window would.
  void OpenLoadedGame();
  // A network game arrived from its server: the window opens on it; a
  // client cannot start or load games.
  void OpenNetworkGame(bool client);
  // A chat line from another machine.
  void AppendChat(const QString& line);

 private:
  std::unique_ptr<GalaxyContext> x_;  // first: the hooks below refer into it

 public:
  // Waits are this many times as long: tests play whole games at 0.
  double& pauseScale;
  // Message boxes go through here, so tests can answer them.
  std::function<void(const QString& title, const QString& text)>& showMessage;
  std::function<bool(const QString& title, const QString& text)>& askYesNo;
  std::function<void()>& quit;
  std::function<void(const std::string& line)>& sendChat;
  // Called in a new game's start once the game is built, before its first
  // turn opens: a network server sends it to the clients here.
  std::function<void()> onGameBuilt;

  bool Busy() const { return x_->Busy(); }
  // A handler or an engine routine is running, or waits inside itself.
  bool RoutineRunning() const { return x_->depth > 0 || x_->pauses > 0; }
  const Geometry& viewGeometry() const { return x_->g; }
  // The source and target the player has clicked so far.
  const Selection& selection() const { return x_->selection; }
  GalaxyCanvas* canvas() const { return x_->c.canvas; }
  ProximityWindow* proximityWindow() const { return x_->c.proximity; }
  const RadarScan& radar() const;
  GalaxyPresenter& presenter() { return *presenter_; }
  GalaxyPainter& painter() { return *painter_; }
  GalaxyInput& input() { return *input_; }

  // The engine's full redraw; its drawing alone, without the notice, the
  // focus and the repaint that follow; one frame of the rotation; a wait.
  void GalaxyDraw();
  void DrawGalaxy();
  void RotationFrame();
  void Pause(int ms);

 signals:
  void gameOver();
  void newGameRequested();
  // What the application's windows answer: File > Load and Save, the
  // AutoSave reminder, a finished player's result, the high-score table,
  // the help, the About window and the web pages.
  void loadRequested();
  void saveRequested();
  void autoSaveDue();
  // A seat's turn begins: the game stands between turns.
  void turnStarting();
  void highScore(const valkoran::view::HighScoreResult& result);
  void highScoresRequested();
  void helpRequested();
  void aboutRequested();
  void linkRequested(valkoran::view::GalaxyWindow::Link link);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  enum class Start { New, Loaded };
  // What every game start shares; a new game's own steps come first.
  void BeginGame(Start start, const GameSetup* setup);
  void ShowGameOptions(const QString& truceCaption);

  std::unique_ptr<GalaxyPainter> painter_;
  std::unique_ptr<GalaxyPresenter> presenter_;
  GalaxyInput* input_ = nullptr;  // a child object of the window
  int timerHeld_ = -1;            // the turn clock's remaining time while minimised
};

}  // namespace valkoran::view
