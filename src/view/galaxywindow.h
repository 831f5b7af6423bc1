// The main game window, frmGalaxy: the solar system's view, the current
// player's panels, the message line and box, the chat line, the buttons and
// menus. It is the engine's presenter: the rules run in the engine and tell
// the window what to show; the window tells the engine what the player did.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QRandomGenerator>
#include <array>
#include <functional>
#include <vector>

#include "game/game.h"
#include "game/newgame.h"
#include "net/console.h"
#include "view/logic/viewlogic.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace valkoran::view {

class GalaxyCanvas;
class BattleFrames;
class ProximityWindow;
class ImageButton;

class GalaxyWindow : public QMainWindow, public Presenter {
  Q_OBJECT
 public:
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

  // True while an engine routine runs or the window waits inside one: the
  // guard drops pointer and list input to the game windows meanwhile.
  bool Busy() const;
  const Geometry& viewGeometry() const { return g_; }
  GalaxyCanvas* canvas() const { return canvas_; }
  ProximityWindow* proximityWindow() const { return proximity_; }
  // Waits are this many times as long: tests play whole games at 0, where a
  // wait only lets pending events run once.
  double pauseScale = 1.0;
  // Message boxes go through here, so tests can answer them.
  std::function<void(const QString& title, const QString& text)> showMessage;
  std::function<bool(const QString& title, const QString& text)> askYesNo;

  // ---- Presenter ----
  void GalaxyDraw() override;
  void CleanGalaxy() override;
  void Console() override;
  void ShowPanels(bool shown) override;
  void EnableMenus(bool enabled) override;
  void TravelShow() override;
  void TravelHide() override;
  void RotationFrame() override;
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

  // ---- The window's own routines and events ----
  void Form_MouseDown(Qt::MouseButton button, int x, int y);
  void Form_MouseMove(int x, int y);
  void Form_DblClick();
  void ImgDone_Click();
  void ImgLabels_Click();
  void ImgTravel_Click();
  void ImgStatus_Click();
  void ImgSend_Click();
  void ImgQuit_Click();
  void ImgHelp_Click();
  void lstOwned_Click();
  void lstOwned_DblClick(int row);
  void lstTravel_Click();
  void lstInfo_Click();
  void txtMove_Click();
  void mnuComCalc_Click();
  void mnuComSendAll_Click();
  void mnuComSend75_Click();
  void mnuComSend50_Click();
  void mnuComSend25_Click();
  void mnuComSend10_Click();
  void mnuComSendScout_Click();
  void mnuComSendBomb_Click();
  void mnuComSend(int16_t amount);  // Sendships with the item's amount
  void mnuComSendProx_Click();
  void mnuComSendPulse_Click();
  void ImgSet_Click(int threshold);
  void mnuFileNew_Click();
  void mnuInfoFleets_Click();
  void tmrTurn_Timer();
  void tmrMessage_Timer();
  void ShowFleetPositions(int which);
  // GalaxyDraw's drawing into the back buffer and its labels, without the
  // notice, the focus and the repaint that follow.
  void DrawGalaxy();
  void ShowLabels(int fleet, double x, double y);

  QColor PlayerColour(int owner) const;
  const RadarScan& radar() const { return radar_; }

 signals:
  void gameOver();
  void newGameRequested();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  class Scope;  // marks the window busy for the length of a handler
  class InputGuard;
  void BuildControls();
  void BuildMenus();
  void RunPendingTurnEnd();
  void SetIndicators(const ConsolePanel& panel);
  void ShowIndicators();
  void DrawWorlds(bool currentWidth);
  void DrawPlain(bool currentWidth);  // clear, rings, sun, worlds
  void DrawFleetMarker(double x, double y, float ships, QColor colour);
  void DrawBombMarker(double x, double y, QColor colour);
  // The path of a fleet from frame kFrom down to kTo; returns the point of kFrom.
  Point DrawFleetPath(const GameState& s, int fleet, QColor colour, QColor targetColour, double kFrom, double kTo);
  void ShowPopup(const QString& text, bool centred, int x = 0, int y = 0);
  void HideOverlays();
  void HideWorldLabels();
  Point WorldPixel(int world) const;
  void ShowChatLine(const QString& line);
  void WaitMs(int ms);
  QLabel* FleetLabel(int index);

  Game& game_;
  Geometry g_{};
  int depth_ = 0;  // handlers and engine routines running
  int pauses_ = 0;
  RadarScan radar_;
  int LabelCounter = 0;
  QRandomGenerator tips_{QRandomGenerator::global()->generate()};

  GalaxyCanvas* canvas_ = nullptr;
  BattleFrames* battle_ = nullptr;
  ProximityWindow* proximity_ = nullptr;
  QLineEdit* txtGame_ = nullptr;
  QPlainTextEdit* txtMove_ = nullptr;
  QLineEdit* txtOwned_ = nullptr;
  QListWidget* lstOwned_ = nullptr;
  QListWidget* lstTravel_ = nullptr;
  QListWidget* lstInfo_ = nullptr;
  QPlainTextEdit* txtChat_ = nullptr;
  QLineEdit* txtMessage_ = nullptr;
  QLabel* lblPlanet_ = nullptr;
  std::array<QLabel*, 4> lblStatus_{};
  std::array<QLabel*, 30> lblName_{};
  std::vector<QLabel*> lblShips_;
  QLabel* ImgBomb_ = nullptr;
  QLabel* LblBomb_ = nullptr;
  QLabel* ImgDouble_ = nullptr;
  QLabel* ImgCrystal_ = nullptr;
  ImageButton* ImgSend_ = nullptr;
  std::vector<ImageButton*> buttons_;
  QTimer* tmrTurn_ = nullptr;
  QTimer* tmrMessage_ = nullptr;
  QMenu* mnuFile_ = nullptr;
  QMenu* mnuCommand_ = nullptr;
  QMenu* mnuInfo_ = nullptr;
  QMenu* mnuOptions_ = nullptr;
  QMenu* mnuHelp_ = nullptr;
  QAction* mnuOptionsTurn_ = nullptr;
  QAction* mnuOptionsSpeed_ = nullptr;
  QAction* mnuOptionsShield_ = nullptr;
  QAction* mnuOptionsTruce_ = nullptr;
  QAction* mnuFileAutoSave_ = nullptr;
  std::array<QAction*, 13> com_{};  // the command menu's items, by CommandItem
  bool commandChosen_ = false;
  bool radarLabel_ = false;
  int timerHeld_ = -1;  // the turn clock's remaining time while minimised
};

}  // namespace valkoran::view
