#include "view/galaxyinput.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>

#include "game/console.h"
#include "view/chatpanel.h"
#include "view/galaxycanvas.h"
#include "view/inputguard.h"
#include "view/galaxypainter.h"
#include "view/galaxypresenter.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

namespace valkoran::view {

GalaxyInput::Scope::Scope(GalaxyInput& in) : in_(in) { ++in_.x_.depth; }

GalaxyInput::Scope::~Scope() {
  if (--in_.x_.depth > 0) return;
  if (in_.x_.game.TurnEndPending()) QTimer::singleShot(0, &in_, [in = &in_] { in->RunPendingTurnEnd(); });
  in_.presenter_.EngineDone();
}

GalaxyInput::GalaxyInput(GalaxyContext& context, GalaxyPresenter& presenter, GalaxyPainter& painter,
                         QWidget* window)
    : QObject(window), x_(context), presenter_(presenter), painter_(painter), window_(window) {
  chat_ = new ChatPanel(
      x_.c, [this] { return x_.game.state.PlayerName[x_.game.state.CurrentPlayer]; }, &x_.sendChat, this);
  Connect(window);
  qApp->installEventFilter(new InputGuard(x_, window, this));
}

void GalaxyInput::Connect(QWidget* window) {
  GalaxyControls& c = x_.c;
  c.canvas->onPress = [this](Qt::MouseButton b, int x, int y) { Form_MouseDown(b, x, y); };
  c.canvas->onMove = [this](int x, int y) { Form_MouseMove(x, y); };
  c.canvas->onDoubleClick = [this] { Form_DblClick(); };
  connect(c.lstOwned, &QListWidget::itemClicked, this, [this] { lstOwned_Click(); });
  connect(c.lstOwned, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { lstOwned_DblClick(x_.c.lstOwned->row(item)); });
  connect(c.lstTravel, &QListWidget::itemClicked, this, [this] { lstTravel_Click(); });
  connect(c.lstInfo, &QListWidget::itemClicked, this, [this] { lstInfo_Click(); });
  moveViewport_ = c.txtMove->viewport();
  c.txtMove->viewport()->installEventFilter(this);
  c.canvas->installEventFilter(this);
  for (ImageButton* button : c.buttons) {
    const QString name = button->objectName();
    connect(button, &ImageButton::clicked, this, [this, name] {
      if (name == "ImgLabels") ImgLabels_Click();
      else if (name == "ImgTravel") ImgTravel_Click();
      else if (name == "ImgDone") ImgDone_Click();
      else if (name == "ImgHelp") ImgHelp_Click();
      else if (name == "ImgStatus") ImgStatus_Click();
      else if (name == "ImgQuit") ImgQuit_Click();
      else if (name == "ImgSend") chat_->ImgSend_Click();
    });
  }
  connect(c.proximity, &ProximityWindow::thresholdSet, this, [this](int t) { ImgSet_Click(t); });
  connect(c.proximity, &ProximityWindow::closedWithoutBomb, this, [this] { ImgSet_Click(0); });
  connect(c.tmrTurn, &QTimer::timeout, this, [this] { tmrTurn_Timer(); });

  auto on = [this](QAction* a, std::function<void()> action) {
    connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
  };
  on(c.mnuFileNew, [this] { mnuFileNew_Click(); });
  on(c.mnuFileExit, [this] { x_.quit(); });
  on(c.mnuFileAutoSave, [this] {
    x_.game.mnuFileAutoSave_Click();
    x_.c.mnuFileAutoSave->setChecked(x_.game.AutoSaveChecked);
    SetCaption(x_.c.mnuFileAutoSave, x_.game.AutoSaveChecked ? "AutoSave On" : "AutoSave Off");
  });
  on(c.com[kAll], [this] { mnuComSend(kOrderAll); });
  on(c.com[k75], [this] { mnuComSend(kOrder75); });
  on(c.com[k50], [this] { mnuComSend(kOrder50); });
  on(c.com[k25], [this] { mnuComSend(kOrder25); });
  on(c.com[k10], [this] { mnuComSend(kOrder10); });
  on(c.com[kScout], [this] { mnuComSend(kOrderScout); });
  on(c.com[kBomb], [this] { mnuComSend(kOrderBomb); });
  on(c.com[kCalc], [this] { mnuComCalc_Click(); });
  on(c.com[kProx], [this] { mnuComSendProx_Click(); });
  on(c.com[kPulse], [this] { mnuComSendPulse_Click(); });
  for (QAction* a : c.com) connect(a, &QAction::triggered, this, [this] { commandChosen_ = true; });
  // A menu closed without a choice drops the pending order.
  connect(c.mnuCommand, &QMenu::aboutToHide, this, [this] {
    QTimer::singleShot(0, this, [this] {
      if (commandChosen_ || x_.selection.Empty() || x_.Busy()) return;
      Scope busy(*this);
      x_.selection.Clear();
      presenter_.GalaxyDraw();
    });
  });
  on(c.mnuInfoFleets, [this] { mnuInfoFleets_Click(); });
  on(c.mnuInfoLabels, [this] { ImgLabels_Click(); });
  on(c.mnuInfoStatus, [this] { ImgStatus_Click(); });
  on(c.mnuOptionsTurn, [this] {
    if (x_.Busy()) return;
    Scope busy(*this);
    x_.game.mnuOptionsTurn_Click();
    SetCaption(x_.c.mnuOptionsTurn, x_.game.TurnTimerOn ? "Turn Timer Off" : "Turn Timer On");
  });
  on(c.mnuOptionsSpeed, [this] {
    if (x_.Busy()) return;
    Scope busy(*this);
    x_.game.mnuOptionsSpeed_Click();
    SetCaption(x_.c.mnuOptionsSpeed, x_.game.state.SpeedGame ? "Turn Speed Game Off" : "Turn Speed Game On");
  });
  // Indicators of the game's own settings: a click changes nothing.
  on(c.mnuOptionsShield, [this] { x_.c.mnuOptionsShield->setChecked(x_.game.state.ShieldOption); });
  on(c.mnuOptionsTruce, [this] { x_.c.mnuOptionsTruce->setChecked(x_.game.state.TruceTurn > 0); });
  on(c.mnuHelpValkoran, [this] { ImgHelp_Click(); });
  auto* escape = new QAction(window);
  escape->setObjectName("actEscape");
  escape->setShortcut(Qt::Key_Escape);
  escape->setShortcutContext(Qt::WindowShortcut);
  window->addAction(escape);
  on(escape, [this] { DropSelection(); });
}

void GalaxyInput::RunPendingTurnEnd() {
  if (!x_.game.TurnEndPending()) return;
  // A window that holds the program (saving, loading, a question) holds
  // the computer players too.
  if (x_.Busy() || QApplication::activeModalWidget()) {
    QTimer::singleShot(10, this, [this] { RunPendingTurnEnd(); });
    return;
  }
  Scope busy(*this);
  x_.game.RunPendingTurnEnd();
}

void GalaxyInput::DropPendingProximity() {
  proximity_.Clear();
  x_.c.proximity->hide();
}

void GalaxyInput::Give(const Order& order) {
  // The engine draws the view after an order: the selection is gone by then.
  x_.selection.Clear();
  if (auto refusal = x_.game.Apply(order)) {
    x_.showMessage("Valkoran", Q(refusal->text));
    presenter_.GalaxyDraw();
  }
}

// ---- Pointer ------------------------------------------------------------------------------

void GalaxyInput::Form_MouseDown(Qt::MouseButton button, int x, int y) {
  if (x_.Busy() || !x_.LaidOut()) return;
  Scope busy(*this);
  const GameState& s = x_.game.state;
  GalaxyControls& c = x_.c;
  const int me = s.CurrentPlayer + 1;
  x_.game.MouseDown(button == Qt::LeftButton);
  if (c.txtMove->height() > 30) txtMove_Click();
  c.lstInfo->hide();
  c.lblPlanet->hide();
  c.mnuCommand->hide();
  painter_.HideWorldLabels();
  x_.fleetsShown = false;

  if (!x_.selection.Empty()) {
    // The second click: the target, then the command menu.
    const int j = WorldAt(s, x_.g, x, y);
    if (j < 0) {
      // Empty space lets the chosen source go.
      ClearSelection();
      return;
    }
    x_.selection.to = j;
    painter_.SelectionRing(j, 12);
    c.canvas->repaint();
    if (auto truce = TruceNotice(x_.game, j)) {
      presenter_.ShowPopup(Q(*truce), true);
      presenter_.Wait(3000);
      c.lblPlanet->hide();
      x_.selection.Clear();
      presenter_.GalaxyDraw();
      return;
    }
    ShowCommandMenu(x_.selection.from, j, x, y);
    return;
  }

  if (button == Qt::LeftButton && SunAt(x_.g, x, y)) {
    ImgStatus_Click();
    return;
  }
  const int i = WorldAt(s, x_.g, x, y);
  if (button == Qt::LeftButton && i >= 0) {
    const bool own = s.WorldOwner[i] == me;
    if (own && x_.game.TurnLock) return;
    if (own && (s.WorldShips[i] > 0 || s.WorldBombs[i] > 0)) {
      presenter_.CleanGalaxy();
      painter_.SelectionRing(i, 12);
      c.canvas->repaint();
      x_.selection.from = i;
      for (int r = 0; r < c.lstOwned->count(); ++r)
        if (c.lstOwned->item(r)->data(Qt::UserRole).toInt() == i) c.lstOwned->setCurrentRow(r);
    } else if (own) {
      // Shown for a second without holding input, so the second press of a
      // double click still ends the turn.
      presenter_.ShowPopup(Q(NoShipsText()), true);
      presenter_.HidePopupAfter(1000);
    } else {
      presenter_.GalaxyDraw();
      const std::string text = WorldPopupText(s, i);
      if (!text.empty()) presenter_.ShowPopup(Lines(text), false, x + 14, y + 14);
    }
    return;
  }
  if (button == Qt::RightButton && i >= 0) {
    c.lstInfo->clear();
    const std::vector<std::string> lines = WorldInfoLines(s, i);
    for (size_t n = 0; n < lines.size(); ++n) {
      auto* item = new QListWidgetItem(Q(lines[n]));
      if (n == 0) item->setData(Qt::UserRole, i + 1);
      c.lstInfo->addItem(item);
    }
    const int w = c.lstInfo->sizeHintForColumn(0) + 12;
    const int h = c.lstInfo->sizeHintForRow(0) * c.lstInfo->count() + 6;
    int left = x + 14, top = y + 14;
    if (left + w > c.canvas->width()) left = x - 14 - w;
    if (top + h > c.canvas->height()) top = y - 14 - h;
    c.lstInfo->setGeometry(left, std::max(0, top), w, h);
    c.lstInfo->show();
    c.lstInfo->raise();
    return;
  }
  if (button == Qt::RightButton) {
    presenter_.GalaxyDraw();
    QStringList help;
    for (const std::string& line : QuickHelpLines()) help << Q(line);
    presenter_.ShowPopup(help.join('\n'), false, x, y);
    return;
  }
  if (button == Qt::MiddleButton && i >= 0 && s.WorldOwner[i] == me && !x_.game.TurnLock) {
    presenter_.GalaxyDraw();
    QStringList heading;
    for (const std::string& line : TravelHeadingLines()) heading << Q(line);
    presenter_.ShowPopup(heading.join('\n'), true);
    c.lblPlanet->move(RoundPixel(x_.g.centerX - c.lblPlanet->width() / 2.0),
                      RoundPixel(x_.g.centerY - c.lblPlanet->height() / 2.0));
    painter_.ShowTravelTurns(TravelTurnCaptions(x_.game, i));
    c.canvas->repaint();
  }
}

void GalaxyInput::ShowCommandMenu(int from, int to, int x, int y) {
  commandChosen_ = false;
  x_.c.PopUpCommandMenu(BuildCommandMenu(x_.game, from, to, painter_.radar().pulseMenu),
                        x_.c.canvas->mapToGlobal(QPoint(x, y)));
}

void GalaxyInput::Form_MouseMove(int x, int y) {
  if (x_.Busy() || !x_.LaidOut()) return;
  const GameState& s = x_.game.state;
  GalaxyControls& c = x_.c;
  // The world's panel stays while the pointer is on its way to it.
  const bool nearInfo = c.lstInfo->isVisible() && c.lstInfo->geometry().adjusted(-30, -30, 30, 30).contains(x, y);
  if (!NearAWorld(s, x_.g, x, y) && !nearInfo) {
    if (c.lstInfo->isVisible()) {
      c.lstInfo->hide();
      c.lstInfo->clear();
    }
    c.lblPlanet->hide();
    if (!x_.selection.Empty() && x_.selection.to == -1 && !c.mnuCommand->isVisible() && y < layout::kLowerPanelTop) {
      painter_.SourceTowards(x_.selection.from, x, y);
      c.canvas->repaint();
    }
  }
  if (!x_.game.TurnLock && s.TurnMinutesLeft > 1 && TipDue(tips_.generateDouble())) {
    presenter_.Tip(GameTip(s, tips_.generateDouble(), tips_.generateDouble()));
    presenter_.Cue("gameinfo.wav");
  }
}

void GalaxyInput::Form_DblClick() {
  if (x_.Busy()) return;
  Scope busy(*this);
  x_.game.Form_DblClick();
}

// ---- Buttons --------------------------------------------------------------------------------

void GalaxyInput::ImgDone_Click() {
  if (x_.Busy()) return;
  {
    Scope busy(*this);
    x_.game.ImgDone_Click();
  }
  x_.c.txtMessage->setFocus();
}

void GalaxyInput::ImgLabels_Click() {
  if (x_.Busy()) return;
  Scope busy(*this);
  if (x_.c.lblName[0]->isVisible()) {
    painter_.HideWorldLabels();
    presenter_.GalaxyDraw();
  } else {
    painter_.HideFleetLabels();
    presenter_.GalaxyDraw();
    painter_.ShowWorldNames();
  }
  presenter_.PumpEvents();
  x_.fleetsShown = false;
  x_.c.txtMessage->setFocus();
}

void GalaxyInput::ShowFleetPositions(int which) {
  if (which < 0 && x_.fleetsShown) {
    presenter_.GalaxyDraw();  // hides them
    return;
  }
  presenter_.GalaxyDraw();
  painter_.DrawFleetPositions(which);
  x_.fleetsShown = which < 0;
  x_.c.canvas->update();
  presenter_.PumpEvents();
}

void GalaxyInput::ImgTravel_Click() {
  if (x_.Busy()) return;
  Scope busy(*this);
  ShowFleetPositions(-1);
}

void GalaxyInput::mnuInfoFleets_Click() {
  if (x_.Busy()) return;
  Scope busy(*this);
  // Every fleet of the current player, as the button shows them, but never
  // the button's second press that hides them.
  x_.fleetsShown = false;
  ShowFleetPositions(-1);
}

void GalaxyInput::ImgStatus_Click() {
  presenter_.ShowPopup(Lines(StatusReportText(x_.game.state, x_.game.StatusLine)), true);
  x_.c.txtMessage->setFocus();
}

void GalaxyInput::ImgHelp_Click() {
  if (onHelp) onHelp();
  x_.c.txtMessage->setFocus();
}

void GalaxyInput::ImgQuit_Click() {
  if (x_.askYesNo("Valkoran", "Are You Sure You Want To Quit?")) x_.quit();
}

void GalaxyInput::tmrTurn_Timer() {
  if (x_.Busy() || QApplication::activeModalWidget()) {
    // The minute ends while a routine runs or a file is being chosen: count
    // it as soon as that is over.
    x_.c.tmrTurn->start(250);
    return;
  }
  Scope busy(*this);
  x_.game.tmrTurn_Timer();
}

// ---- Lists and the message box --------------------------------------------------------------

void GalaxyInput::lstOwned_Click() {
  if (x_.Busy()) return;
  QListWidgetItem* item = x_.c.lstOwned->currentItem();
  if (item && x_.selection.Empty()) {
    Scope busy(*this);
    presenter_.GalaxyDraw();
    painter_.SelectionRing(item->data(Qt::UserRole).toInt(), 14);
    x_.c.canvas->update();
  }
  x_.c.txtMessage->setFocus();
}

void GalaxyInput::lstOwned_DblClick(int row) {
  if (x_.Busy() || row < 0) return;
  const GameState& s = x_.game.state;
  int n = -1;
  for (int w = 0; w < s.WorldCount; ++w) {
    if (s.WorldOwner[w] != s.CurrentPlayer + 1 || ++n != row) continue;
    Scope busy(*this);
    if (!x_.game.Apply(Order::Shield(s.CurrentPlayer, w))) ShowInfoShield(w);  // a refusal changes nothing
    return;
  }
}

void GalaxyInput::lstTravel_Click() {
  if (!x_.Busy()) {
    QListWidgetItem* item = x_.c.lstTravel->currentItem();
    if (item && item->text() != "None") {
      Scope busy(*this);
      ShowFleetPositions(item->data(Qt::UserRole).toInt() + 1);
    }
  }
  x_.c.txtMessage->setFocus();
}

void GalaxyInput::lstInfo_Click() {
  QListWidget* info = x_.c.lstInfo;
  if (x_.Busy() || info->count() == 0) return;
  const GameState& s = x_.game.state;
  const int w = info->item(0)->data(Qt::UserRole).toInt() - 1;
  Scope busy(*this);
  if (!x_.game.Apply(Order::Shield(s.CurrentPlayer, w))) ShowInfoShield(w);
}

void GalaxyInput::ShowInfoShield(int world) {
  QListWidget* info = x_.c.lstInfo;
  if (info->count() == 0 || info->item(0)->data(Qt::UserRole).toInt() - 1 != world) return;
  const bool on = x_.game.state.WorldShieldOn[world] != 0;
  for (int r = 0; r < info->count(); ++r) {
    QListWidgetItem* item = info->item(r);
    if (item->text().startsWith(" Shield: ")) item->setText(on ? " Shield: On" : " Shield: Off");
  }
}

void GalaxyInput::txtMove_Click() { presenter_.ToggleMessageBox(); }

bool GalaxyInput::eventFilter(QObject* watched, QEvent* e) {
  if (watched == x_.c.canvas && e->type() == QEvent::ToolTip) {
    // Hovering a world names it and its owner.
    auto* help = static_cast<QHelpEvent*>(e);
    const int w = x_.LaidOut() ? WorldAt(x_.game.state, x_.g, help->pos().x(), help->pos().y()) : -1;
    if (w >= 0)
      QToolTip::showText(help->globalPos(), Q(WorldTooltip(x_.game.state, w)), x_.c.canvas);
    else
      QToolTip::hideText();
    return true;
  }
  if (e->type() == QEvent::MouseButtonPress && watched == moveViewport_) {
    txtMove_Click();
    return true;
  }
  return QObject::eventFilter(watched, e);
}

// ---- Commands ---------------------------------------------------------------------------------

void GalaxyInput::mnuComSend(int amount) {
  if (x_.selection.Empty() || x_.Busy()) return;
  Scope busy(*this);
  Give(Order::FromAmount(x_.game.state.CurrentPlayer, x_.selection.from, x_.selection.to, amount));
}

void GalaxyInput::mnuComCalc_Click() {
  if (x_.selection.Empty() || x_.selection.to < 0 || x_.Busy()) return;
  Scope busy(*this);
  const int from = x_.selection.from, to = x_.selection.to;
  float distance = 0, course = 0;
  // The view asks with the coarser step: the fleet, once sent, searches finer.
  x_.game.DistCalc(static_cast<int16_t>(from), static_cast<int16_t>(to), distance, course, 0.2f);
  presenter_.GalaxyDraw();
  painter_.DrawTrip(from, to, distance, course);
  presenter_.ShowPopup(Lines(TravelDistanceText(distance)), true);
  x_.c.canvas->repaint();
  presenter_.Wait(3000);
  x_.c.lblPlanet->hide();
  // The distance was the question: the next click starts a new order.
  x_.selection.Clear();
  presenter_.GalaxyDraw();
}

void GalaxyInput::DropSelection() {
  if (x_.selection.Empty() || x_.Busy()) return;
  Scope busy(*this);
  ClearSelection();
}

void GalaxyInput::ClearSelection() {
  x_.selection.Clear();
  x_.c.lstOwned->setCurrentRow(-1);
  presenter_.GalaxyDraw();
}

void GalaxyInput::mnuComSendProx_Click() {
  if (x_.selection.Empty() || x_.Busy()) return;
  Scope busy(*this);
  proximity_ = x_.selection;
  x_.selection.Clear();
  presenter_.GalaxyDraw();
  ProximityWindow* window = x_.c.proximity;
  window->Open(x_.game.state.WorldShips[proximity_.from]);
  // Over the middle of the view, near where the player is looking.
  const QPoint centre = x_.c.canvas->mapToGlobal(QPoint(x_.c.canvas->width() / 2, layout::kLowerPanelTop / 2));
  window->move(centre - QPoint(window->width() / 2, window->height() / 2));
}

void GalaxyInput::ImgSet_Click(int threshold) {
  if (x_.Busy()) return;
  Scope busy(*this);
  if (!proximity_.Empty() && threshold > 0)
    Give(Order::Proximity(x_.game.state.CurrentPlayer, proximity_.from, proximity_.to, threshold));
  proximity_.Clear();
  x_.selection.Clear();
  presenter_.GalaxyDraw();
  presenter_.PumpEvents();
}

void GalaxyInput::mnuComSendPulse_Click() {
  if (x_.selection.Empty() || x_.Busy()) return;
  Scope busy(*this);
  Give(Order::Pulse(x_.game.state.CurrentPlayer, x_.selection.from));
}

void GalaxyInput::mnuFileNew_Click() {
  if (x_.Busy()) return;
  if (!x_.askYesNo("Start New Game", "You will lose all existing game data, do you want to proceed?")) return;
  x_.c.tmrTurn->stop();
  x_.game.Discard();
  if (onNewGame) onNewGame();
}

}  // namespace valkoran::view
