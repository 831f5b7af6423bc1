// The widgets of the main window, frmGalaxy, by the names the game gives
// them, and what the window's three roles share: the game, the view's
// geometry, the player's selection and whether input must wait.
#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "game/game.h"
#include "view/logic/viewlogic.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QTimer;

namespace valkoran::view {

class GalaxyCanvas;
class BattleFrames;
class ProximityWindow;
class ImageButton;
class HandOverScreen;

// The command menu's entries, separators included, in menu order.
enum CommandItem {
  kAll, k75, k50, k25, k10, kLine9, kScout, kLine2, kLine7, kBomb, kProx, kPulse, kCalc, kCommandItems
};

struct GalaxyControls {
  GalaxyCanvas* canvas = nullptr;
  BattleFrames* battle = nullptr;  // fraFrom, fraTo
  ProximityWindow* proximity = nullptr;
  HandOverScreen* handOver = nullptr;  // fraHandOver
  QLabel* txtGame = nullptr;
  QPlainTextEdit* txtMove = nullptr;
  QLineEdit* txtOwned = nullptr;
  QListWidget* lstOwned = nullptr;
  QListWidget* lstTravel = nullptr;
  QListWidget* lstInfo = nullptr;
  QPlainTextEdit* txtChat = nullptr;
  QLineEdit* txtMessage = nullptr;
  QLabel* lblPlanet = nullptr;
  std::array<QLabel*, 4> lblStatus{};
  std::array<QLabel*, 30> lblName{};
  std::vector<QLabel*> lblShips;  // grows as labels are needed
  QLabel* ImgBomb = nullptr;
  QLabel* LblBomb = nullptr;
  QLabel* ImgDouble = nullptr;
  QLabel* ImgCrystal = nullptr;
  std::vector<ImageButton*> buttons;
  ImageButton* ImgSend = nullptr;
  QTimer* tmrTurn = nullptr;
  QTimer* tmrMessage = nullptr;
  QMenu* mnuFile = nullptr;
  QMenu* mnuCommand = nullptr;
  QMenu* mnuInfo = nullptr;
  QMenu* mnuOptions = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuFileNew = nullptr;
  QAction* mnuFileLoad = nullptr;
  QAction* mnuFileSave = nullptr;
  QAction* mnuFileAutoSave = nullptr;
  QAction* mnuFileExit = nullptr;
  QAction* mnuInfoFleets = nullptr;
  QAction* mnuInfoLabels = nullptr;
  QAction* mnuInfoStatus = nullptr;
  QAction* mnuInfoHigh = nullptr;
  QAction* mnuOptionsTurn = nullptr;
  QAction* mnuOptionsSpeed = nullptr;
  QAction* mnuOptionsShield = nullptr;
  QAction* mnuOptionsTruce = nullptr;
  QAction* mnuOptionsHandOver = nullptr;
  QAction* mnuHelpValkoran = nullptr;
  QAction* mnuHelpAbout = nullptr;
  QAction* mnuHelpWeb = nullptr;
  QAction* mnuHelpUpgrade = nullptr;
  QAction* mnuHelpBug = nullptr;
  std::array<QAction*, kCommandItems> com{};

  // Builds every control of the window as a child of `window`, placed by
  // the layout table; the input controller connects them.
  void Build(QMainWindow* window);
  // The command menu with the items and captions `menu` gives, at `at`
  // (global coordinates).
  void PopUpCommandMenu(const CommandMenu& menu, QPoint at);
  // The dispatch items' captions as the menu first shows them.
  void ResetCommandCaptions();
  // The fleet label `index`, made when first needed.
  QLabel* FleetLabel(int index);
};

// The source and target the player is choosing with clicks: the view's own
// state, never the engine's.
struct Selection {
  int from = -1, to = -1;
  bool Empty() const { return from == -1; }
  void Clear() { from = to = -1; }
};

// What the presenter, the input controller and the painter share.
struct GalaxyContext {
  explicit GalaxyContext(Game& g) : game(g) {}
  Game& game;
  GalaxyControls c;
  Geometry g{};
  Selection selection;
  bool fleetsShown = false;  // the Fleets button's paths are on the view
  int depth = 0;   // handlers and engine routines running
  int pauses = 0;  // waits inside them
  // Waits are this many times as long: tests play whole games at 0, where a
  // wait only lets pending events run once.
  double pauseScale = 1.0;
  // Message boxes go through here, so tests can answer them.
  std::function<void(const QString& title, const QString& text)> showMessage;
  std::function<bool(const QString& title, const QString& text)> askYesNo;
  // Ends the program at once, whatever runs: the engine's waits return and
  // the event loop ends.
  std::function<void()> quit;
  // A network game's chat line goes to the other machines, and shows here
  // when the server passes it back; empty in a local game.
  std::function<void(const std::string& line)> sendChat;
  // A network client: its server starts and loads games, it does not.
  bool networkClient = false;

  // True while an engine routine runs or the window waits inside one.
  bool Busy() const { return depth > 0 || pauses > 0 || game.BusyFlag != 0; }
  bool LaidOut() const { return g.centerX != 0; }
};

// A menu item's caption with its access key underlined: the item's
// "mnemonic" property names the key, the first letter of that kind in the
// caption gets it; an "&" of the caption itself (a name) stays an "&".
void SetCaption(QAction* item, const QString& caption);
// The caption as the player reads it, without the access key's mark.
QString PlainCaption(const QAction* item);

QString Q(const std::string& s);
// CR LF line ends as the game writes them, as Qt shows them.
QString Lines(const std::string& s);

}  // namespace valkoran::view
