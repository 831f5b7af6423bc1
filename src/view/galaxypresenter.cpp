#include "view/galaxypresenter.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>
#include <algorithm>

#include "view/battlepanel.h"
#include "view/cues.h"
#include "view/galaxycanvas.h"
#include "view/galaxypainter.h"
#include "view/handoverscreen.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

namespace valkoran::view {

namespace {
// One line from 9 points down to 7; beyond that two lines of 6 points fill
// the line's height.
constexpr int kNoticePoints = 9, kSmallestNoticePoints = 7, kTwoLinePoints = 6;
}  // namespace

GalaxyPresenter::GalaxyPresenter(GalaxyContext& context, GalaxyPainter& painter) : x_(context), painter_(painter) {
  x_.c.handOver->onUncovered = [this] { HandedOver(); };
  x_.c.handOver->busy = [this] { return x_.Busy(); };
}

// ---- The view ------------------------------------------------------------------------

void GalaxyPresenter::GalaxyDraw() {
  painter_.DrawGalaxy();
  if (painter_.radar().alerts > 0) Notice(RadarNotice(painter_.radar().alerts));
  x_.c.txtMessage->setFocus();
  x_.c.canvas->update();
  PumpEvents();
}

void GalaxyPresenter::CleanGalaxy() {
  // The plain view has no fleets: their labels (an arrival's count among
  // them) go with them.
  painter_.HideFleetLabels();
  painter_.DrawPlain(true);
  x_.c.canvas->update();
}

void GalaxyPresenter::RotationFrame() {
  HideOverlays();
  // Frames show every ring alike: the current player's are not widened.
  painter_.DrawPlain(false);
  x_.c.canvas->repaint();
}

void GalaxyPresenter::TurnStarts(int seat) {
  if (onTurnStarts) onTurnStarts();
  // Nothing of the last turn's pop-ups, menus or choices outlives it.
  GalaxyControls& c = x_.c;
  c.lblPlanet->hide();
  c.lstInfo->hide();
  c.lstInfo->clear();
  c.mnuCommand->hide();
  c.ResetCommandCaptions();
  x_.selection.Clear();
  PendingProximityDropped();
  turnStarting_ = true;
  // Raised at the turn end for a seat that no longer moves first: down.
  if (!CoverIfDue(seat) && c.handOver->Covering()) c.handOver->Uncover();
}

void GalaxyPresenter::TurnEndOver() {
  // The first seat's panel and log come next, before its turn is opened:
  // the screen goes up now, whoever watched the battles.
  CoverIfDue(x_.game.state.CurrentPlayer);
}

bool GalaxyPresenter::CoverIfDue(int seat) {
  if (!x_.c.mnuOptionsHandOver->isChecked() || !HandOverDue(x_.game, seat)) return false;
  x_.c.handOver->Cover(Q(HandOverText(x_.game.state)));
  return true;
}

void GalaxyPresenter::HandedOver() {
  x_.c.txtMessage->setFocus();
  if (clockWaiting_) {
    clockWaiting_ = false;
    x_.c.tmrTurn->start(60000);
  }
}

void GalaxyPresenter::PendingProximityDropped() {
  if (onPendingProximityDropped) onPendingProximityDropped();
}

void GalaxyPresenter::HideOverlays() {
  x_.c.lblPlanet->hide();
  painter_.HideFleetLabels();
  painter_.HideWorldLabels();
  x_.c.ImgBomb->hide();
  x_.c.ImgDouble->hide();
  x_.c.ImgCrystal->hide();
  x_.c.LblBomb->hide();
  x_.c.proximity->hide();
}

// ---- Panels and texts -------------------------------------------------------------------

void GalaxyPresenter::Console() {
  const ConsolePanel panel = BuildConsole(x_.game.state, x_.game.BusyFlag != 0);
  x_.c.txtOwned->setText(Q(panel.header));
  x_.c.txtOwned->setCursorPosition(0);
  // Each row keeps its world index or fleet slot as item data.
  auto fill = [](QListWidget* list, const std::vector<ConsoleRow>& rows) {
    list->clear();
    for (const ConsoleRow& row : rows) {
      auto* item = new QListWidgetItem(Q(row.text));
      item->setData(Qt::UserRole, row.data);
      list->addItem(item);
    }
    list->setCurrentRow(-1);
  };
  fill(x_.c.lstOwned, panel.worlds);
  fill(x_.c.lstTravel, panel.fleets);
  // The seat whose turn it is stands out among the status lines.
  for (int s = 0; s < kSeats; ++s) {
    QFont f = x_.c.lblStatus[s]->font();
    f.setBold(s == x_.game.state.CurrentPlayer);
    x_.c.lblStatus[s]->setFont(f);
  }
  SetIndicators(panel);
}

void GalaxyPresenter::SetIndicators(const ConsolePanel& panel) {
  x_.c.ImgBomb->setVisible(panel.bombs >= 1);
  x_.c.LblBomb->setVisible(panel.bombs >= 1);
  x_.c.LblBomb->setText(QString::number(panel.bombs));
  x_.c.ImgDouble->setVisible(panel.doubleShown);
  x_.c.ImgCrystal->setVisible(panel.crystalShown);
}

void GalaxyPresenter::EngineDone() {
  // A turn starts with its panel built while the turn end still counts as
  // busy, which hides the indicators; once the engine is done they show
  // what the player holds.
  if (x_.game.BusyFlag || !x_.LaidOut() || !x_.c.canvas->window()->isVisible()) return;
  x_.c.handOver->EngineDone();
  SetIndicators(BuildConsole(x_.game.state, false));
  if (turnStarting_) {
    turnStarting_ = false;
    if (painter_.radar().alerts > 0) Notice(RadarNotice(painter_.radar().alerts));
  }
}

void GalaxyPresenter::ShowPanels(bool shown) {
  x_.c.txtOwned->setVisible(shown);
  x_.c.lstOwned->setVisible(shown);
  x_.c.lstTravel->setVisible(shown);
}

void GalaxyPresenter::EnableMenus(bool enabled) {
  // File > Exit stays on: the program ends at any moment.
  for (QMenu* m : {x_.c.mnuInfo, x_.c.mnuOptions, x_.c.mnuHelp}) m->setEnabled(enabled);
  // A game is neither replaced nor written while a turn is processed.
  x_.c.mnuFileSave->setEnabled(enabled);
  for (QAction* a : {x_.c.mnuFileNew, x_.c.mnuFileLoad}) a->setEnabled(enabled && !x_.networkClient);
}

void GalaxyPresenter::TravelShow() {
  const GameState& s = x_.game.state;
  if (AnotherSeat(s) && !s.NetworkGame) ShowPanels(false);
  x_.c.txtMove->moveCursor(QTextCursor::End);
  x_.c.txtMove->repaint();
  x_.c.battle->fraFrom()->repaint();
  x_.c.battle->fraTo()->repaint();
  x_.c.ImgBomb->hide();
  x_.c.LblBomb->hide();
  x_.c.ImgDouble->hide();
  x_.c.ImgCrystal->hide();
  PumpEvents();
}

void GalaxyPresenter::Notice(const std::string& text) {
  if (!text.empty()) CollapseMessageBox();
  SetNoticeText(text);
}

void GalaxyPresenter::Tip(const std::string& text) { SetNoticeText(text); }

void GalaxyPresenter::SetNoticeText(const std::string& text) {
  QLabel* line = x_.c.txtGame;
  const QString shown = Q(text);
  // The whole notice stays readable: the face shrinks until it fits the
  // line; what is longer still (long names) wraps onto a second line.
  QFont font = line->font();
  const int room = line->contentsRect().width() - 2;
  bool fits = false;
  for (int size = kNoticePoints; size >= kSmallestNoticePoints && !fits; --size) {
    font.setPointSize(size);
    fits = QFontMetrics(font).horizontalAdvance(shown) <= room;
  }
  // Two lines take a few pixels more, upward, where the map ends.
  QRect place(layout::kTxtGame.x, layout::kTxtGame.y, layout::kTxtGame.w, layout::kTxtGame.h);
  if (!fits) {
    font.setPointSize(kTwoLinePoints);
    const int frame = place.height() - line->contentsRect().height();
    const int needed = QFontMetrics(font).boundingRect(QRect(0, 0, room, 1000), Qt::TextWordWrap, shown).height();
    place.setTop(place.bottom() + 1 - std::max(place.height(), needed + frame));
  }
  line->setGeometry(place);
  line->setFont(font);
  line->setWordWrap(!fits);
  line->setText(shown);
  line->repaint();
}

void GalaxyPresenter::ToggleMessageBox() {
  QPlainTextEdit* box = x_.c.txtMove;
  const QRect r = box->geometry();
  if (r.height() < layout::kTxtMoveTall) {
    x_.c.txtGame->hide();
    box->setGeometry(r.x(), r.y() - layout::kTxtMoveRise, r.width(), layout::kTxtMoveTall);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  } else {
    box->setGeometry(r.x(), r.y() + layout::kTxtMoveRise, r.width(), layout::kTxtMove.h);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    x_.c.txtGame->show();
  }
  box->raise();
  box->moveCursor(QTextCursor::End);
  box->ensureCursorVisible();
  box->repaint();
}

void GalaxyPresenter::CollapseMessageBox() {
  if (x_.c.txtMove->height() >= layout::kTxtMoveTall) ToggleMessageBox();
}

void GalaxyPresenter::HidePopupAfter(int ms) {
  const int shown = popups_;
  QTimer::singleShot(static_cast<int>(ms * x_.pauseScale), x_.c.lblPlanet, [this, shown] {
    if (popups_ == shown) x_.c.lblPlanet->hide();
  });
}

void GalaxyPresenter::ShowPopup(const QString& text, bool centred, int x, int y) {
  ++popups_;
  QLabel* l = x_.c.lblPlanet;
  l->setText(text);
  l->setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  l->adjustSize();
  const QSize size = l->size();
  const QWidget* canvas = x_.c.canvas;
  if (centred) {
    l->move((canvas->width() - size.width()) / 2, (layout::kLowerPanelTop - size.height()) / 2);
  } else {
    if (x + size.width() > canvas->width()) x -= size.width();
    if (y + size.height() > canvas->height()) y -= size.height();
    l->move(std::max(0, x), std::max(0, y));
  }
  l->show();
  l->raise();
  l->repaint();
}

void GalaxyPresenter::Banner(const std::string& text) {
  if (text.empty()) {
    x_.c.lblPlanet->hide();
    return;
  }
  x_.c.lblPlanet->setFont(QFont("DejaVu Sans", 12, QFont::Bold));
  ShowPopup(Lines(text), true);
  x_.c.lblPlanet->setFont(QFont("DejaVu Sans", 9));
}

void GalaxyPresenter::MessageBox(const std::string& text) {
  QPlainTextEdit* box = x_.c.txtMove;
  if (text.empty()) {
    box->clear();
    return;
  }
  box->setPlainText(Lines(text));
  box->moveCursor(QTextCursor::End);
  box->show();
  box->repaint();
}

void GalaxyPresenter::ShowGameLog(const std::string& text) {
  std::string shown = text;
  // The box ends with the newest line in view: drop the last line end so
  // the caret rests on that line rather than below it.
  if (shown.size() >= 2 && shown.compare(shown.size() - 2, 2, "\r\n") == 0) shown.resize(shown.size() - 2);
  QPlainTextEdit* box = x_.c.txtMove;
  box->setPlainText(Lines(shown));
  box->moveCursor(QTextCursor::End);
  box->show();
  box->repaint();
}

void GalaxyPresenter::Status(int seat, const std::string& text) {
  if (seat < 0 || seat >= kSeats) return;
  QLabel* l = x_.c.lblStatus[seat];
  l->setText(Q(text));
  l->setStyleSheet(QString("color: %1; background: transparent;").arg(painter_.PlayerColour(seat + 1).name()));
}

void GalaxyPresenter::Caption(const std::string& text) { x_.c.canvas->window()->setWindowTitle(Q(text)); }

void GalaxyPresenter::StatusReport(const std::string& text) { ShowPopup(Lines(text), true); }

void GalaxyPresenter::Cue(const char* wave) { Cues().Play(wave); }

// ---- Waiting ------------------------------------------------------------------------------

void GalaxyPresenter::Wait(int ms) {
  ++x_.pauses;
  const int scaled = static_cast<int>(ms * x_.pauseScale);
  if (scaled <= 0) {
    QCoreApplication::processEvents();
  } else {
    QEventLoop loop;
    QTimer::singleShot(scaled, &loop, &QEventLoop::quit);
    loop.exec();
  }
  --x_.pauses;
}

void GalaxyPresenter::Pause(int ms) {
  x_.c.canvas->repaint();
  Wait(ms);
}

void GalaxyPresenter::PumpEvents() { QCoreApplication::processEvents(); }

// ---- Animations and marks ------------------------------------------------------------------

void GalaxyPresenter::Arrival(int world, int owner, float ships) {
  painter_.Arrival(world, owner, ships);
  x_.c.canvas->repaint();
}

void GalaxyPresenter::WorldRing(int world, int owner, int radius, bool growing) {
  painter_.WorldRing(world, owner, radius, growing);
  x_.c.canvas->repaint();
}

void GalaxyPresenter::WorldMark(Mark mark, int world, int owner, int count) {
  painter_.WorldMark(mark, world, owner, count);
  x_.c.canvas->repaint();
}

void GalaxyPresenter::StrengthBar(float attacker, float defender, int attackerOwner, int defenderOwner) {
  painter_.StrengthBar(attacker, defender, attackerOwner, defenderOwner);
  x_.c.canvas->update();
}

void GalaxyPresenter::PulseRing(int world, int owner, int step) {
  // The rings sweep a map without names or counts on it.
  painter_.HideFleetLabels();
  painter_.HideWorldLabels();
  painter_.PulseRing(world, owner, step);
  x_.c.canvas->repaint();
}

void GalaxyPresenter::BattlePanelChanged(const BattlePanel& panel) {
  std::array<QColor, 5> colours;
  for (int i = 0; i < 5; ++i) colours[i] = painter_.PlayerColour(i);
  if (panel.active) {
    x_.c.txtMove->hide();
    x_.c.lblPlanet->hide();
  }
  x_.c.battle->Show(panel, colours);
}

// ---- Timers and the turn driver ---------------------------------------------------------

void GalaxyPresenter::TurnTimer(bool armed) {
  // The player behind the hand-over screen may not be at the machine yet:
  // the clock waits for them.
  clockWaiting_ = armed && x_.c.handOver->Covering();
  if (armed && !clockWaiting_)
    x_.c.tmrTurn->start(60000);
  else
    x_.c.tmrTurn->stop();
}

void GalaxyPresenter::OpenSaveWindow() {
  if (onOpenSaveWindow) onOpenSaveWindow();
}

void GalaxyPresenter::HighScore(const std::string& name, float rating, float ships, float production, float worlds,
                                float shipClass) {
  if (!onHighScore) return;
  onHighScore({name, rating, ships, production, worlds, shipClass, x_.game.state.GameYear});
  Pause(5000);
}

void GalaxyPresenter::GameOver() {
  x_.c.tmrTurn->stop();
  if (onGameOver) QTimer::singleShot(0, x_.c.canvas, [this] { onGameOver(); });
}

void GalaxyPresenter::TurnEndPending() {
  if (onTurnEndPending) QTimer::singleShot(0, x_.c.canvas, [this] { onTurnEndPending(); });
}

}  // namespace valkoran::view
