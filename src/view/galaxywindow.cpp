#include "view/galaxywindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QScreen>
#include <QTimer>

#include "game/numbers.h"
#include "view/battlepanel.h"
#include "view/galaxycanvas.h"
#include "view/galaxyinput.h"
#include "view/galaxypainter.h"
#include "view/galaxypresenter.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

namespace valkoran::view {

GalaxyWindow::GalaxyWindow(Game& game, QWidget* parent)
    : QMainWindow(parent),
      x_(std::make_unique<GalaxyContext>(game)),
      pauseScale(x_->pauseScale),
      showMessage(x_->showMessage),
      askYesNo(x_->askYesNo),
      quit(x_->quit),
      sendChat(x_->sendChat) {
  setObjectName("frmGalaxy");
  setWindowTitle("Valkoran");
  // Whatever the screen adds around the fixed view stays deep space.
  setStyleSheet("QMainWindow { background: rgb(4, 6, 16); }");
  showMessage = [this](const QString& title, const QString& text) { QMessageBox::information(this, title, text); };
  askYesNo = [this](const QString& title, const QString& text) {
    // No is the default: a stray Enter never throws a game away.
    return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
  };
  quit = [] { QApplication::exit(0); };
  x_->c.Build(this);
  painter_ = std::make_unique<GalaxyPainter>(*x_);
  presenter_ = std::make_unique<GalaxyPresenter>(*x_, *painter_);
  input_ = new GalaxyInput(*x_, *presenter_, *painter_, this);
  presenter_->onGameOver = [this] { emit gameOver(); };
  presenter_->onTurnEndPending = [this] { input_->RunPendingTurnEnd(); };
  presenter_->onPendingProximityDropped = [this] { input_->DropPendingProximity(); };
  input_->onNewGame = [this] {
    hide();
    emit newGameRequested();
  };
  presenter_->onOpenSaveWindow = [this] { emit autoSaveDue(); };
  presenter_->onTurnStarts = [this] { emit turnStarting(); };
  presenter_->onHighScore = [this](const HighScoreResult& r) { emit highScore(r); };
  input_->onHelp = [this] { emit helpRequested(); };
  const GalaxyControls& c = x_->c;
  // Neither replaced nor written while the engine is inside a routine.
  connect(c.mnuFileLoad, &QAction::triggered, this, [this] {
    if (!Busy()) emit loadRequested();
  });
  connect(c.mnuFileSave, &QAction::triggered, this, [this] {
    if (!Busy()) emit saveRequested();
  });
  connect(c.mnuInfoHigh, &QAction::triggered, this, [this] { emit highScoresRequested(); });
  connect(c.mnuHelpAbout, &QAction::triggered, this, [this] { emit aboutRequested(); });
  connect(c.mnuHelpWeb, &QAction::triggered, this, [this] { emit linkRequested(Link::Web); });
  connect(c.mnuHelpUpgrade, &QAction::triggered, this, [this] { emit linkRequested(Link::Upgrade); });
  connect(c.mnuHelpBug, &QAction::triggered, this, [this] { emit linkRequested(Link::Bug); });
  game.SetPresenter(presenter_.get());
}

GalaxyWindow::~GalaxyWindow() {
  x_->game.SetPresenter(nullptr);
  delete x_->c.battle;
}

const RadarScan& GalaxyWindow::radar() const { return painter_->radar(); }
void GalaxyWindow::GalaxyDraw() { presenter_->GalaxyDraw(); }
void GalaxyWindow::DrawGalaxy() { painter_->DrawGalaxy(); }
void GalaxyWindow::RotationFrame() { presenter_->RotationFrame(); }
void GalaxyWindow::Pause(int ms) { presenter_->Pause(ms); }

bool GalaxyWindow::FormSetup() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  setWindowState(Qt::WindowNoState);
  move(area.topLeft());
  // The window is never smaller than its layout, so no control is ever cut
  // off, and it opens at that size.
  setMinimumSize(minimumSizeHint());
  resize(minimumSizeHint());
  // The drawing area is the window's inner width: a screen that cannot hold
  // the fixed view ends the program.
  if (area.width() - (frameGeometry().width() - geometry().width()) <= layout::kMinimumAreaWidth) {
    showMessage("Valkoran",
                "Please Run At 1024 x 768 Or Higher Screen Resolution!\nRight-Click On Desktop, Then Select "
                "Properties, Then Settings");
    return false;
  }
  x_->g = MainGeometry();
  x_->c.canvas->LoadPictures();
  x_->selection.Clear();
  return true;
}

// ---- Starting games ------------------------------------------------------------------

void GalaxyWindow::StartNewGame(const GameSetup& setup) { BeginGame(Start::New, &setup); }

void GalaxyWindow::OpenLoadedGame() { BeginGame(Start::Loaded, nullptr); }

void GalaxyWindow::ShowGameOptions(const QString& truceCaption) {
  const GameState& s = x_->game.state;
  GalaxyControls& c = x_->c;
  c.mnuOptionsShield->setChecked(s.ShieldOption);
  SetCaption(c.mnuOptionsTruce, truceCaption);
  c.mnuOptionsTruce->setChecked(truceCaption != "No Battle Truce");
  SetCaption(c.mnuOptionsSpeed, s.SpeedGame ? "Turn Speed Game Off" : "Turn Speed Game On");
}

void GalaxyWindow::BeginGame(Start start, const GameSetup* setup) {
  GalaxyInput::Scope busy(*input_);
  Game& game = x_->game;
  GalaxyControls& c = x_->c;
  x_->selection.Clear();
  input_->DropPendingProximity();
  if (!game.state.NetworkGame) x_->networkClient = false;
  c.mnuFileNew->setEnabled(!x_->networkClient);
  c.mnuFileLoad->setEnabled(!x_->networkClient);
  c.txtChat->clear();
  c.txtMessage->clear();
  if (start == Start::New) {
    NewGame(game, *setup);
    c.mnuFileAutoSave->setChecked(false);
    SetCaption(c.mnuFileAutoSave, "AutoSave Off");
    // The menu names the truce as the setup window wrote it.
    const bool truce = game.state.TruceTurn > 0 && setup->truceChecked && setup->truceText != "0";
    ShowGameOptions(truce ? "Battle Truce Until Turn #" + Q(setup->truceText) : QString("No Battle Truce"));
    c.txtMove->clear();
    c.txtGame->clear();
    presenter_->Console();
    for (int s = 0; s < kSeats; ++s)
      game.SetStatus(s, game.state.PlayerName[s].empty() ? "" : game.state.PlayerName[s] + kTakingTurn);
    if (onGameBuilt) onGameBuilt();
    presenter_->GalaxyDraw();
    presenter_->Notice("Initiating Turn #" + Format(static_cast<double>(CurrentTurn(game.state)), "0") + " " +
                       game.state.PlayerName[game.state.CurrentPlayer] + "!");
    show();
    game.GameCheck();
    presenter_->Console();
    presenter_->Caption(game.CaptionText());
  } else {
    // The reminder is the running program's option: a loaded game keeps it.
    c.mnuFileAutoSave->setChecked(game.AutoSaveChecked);
    const int truce = game.state.TruceTurn;
    ShowGameOptions(truce > 0 ? "Battle Truce Until Turn #" + Q(Format(static_cast<double>(truce), "0"))
                              : QString("No Battle Truce"));
    show();
    game.StartLoadedGame();
    for (int s = 0; s < kSeats; ++s)
      if (game.StatusLine[s].empty() && !game.state.PlayerName[s].empty())
        game.SetStatus(s, game.state.PlayerName[s] + kTakingTurn);
  }
}

void GalaxyWindow::OpenNetworkGame(bool client) {
  const GameState& s = x_->game.state;
  GalaxyControls& c = x_->c;
  x_->selection.Clear();
  input_->DropPendingProximity();
  c.txtMove->clear();
  c.txtGame->clear();
  ShowGameOptions(s.TruceTurn > 0 ? "Battle Truce Until Turn #" + Q(Format(static_cast<double>(s.TruceTurn), "00"))
                                  : QString("No Battle Truce"));
  x_->networkClient = client;
  c.mnuFileNew->setEnabled(!client);
  c.mnuFileLoad->setEnabled(!client);
  show();
}

void GalaxyWindow::AppendChat(const QString& line) {
  x_->c.txtChat->appendPlainText(line);
  x_->c.txtChat->moveCursor(QTextCursor::End);
  x_->c.txtChat->repaint();
}

// ---- The window itself -----------------------------------------------------------------

void GalaxyWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || x_->game.state.NetworkGame) return;
  // A minimised window stops the turn's clock; restored, the clock goes on
  // if it was running (it is not started for a turn that never armed it).
  QTimer* clock = x_->c.tmrTurn;
  if (isMinimized()) {
    timerHeld_ = clock->isActive() ? clock->remainingTime() : -1;
    clock->stop();
  } else if (timerHeld_ >= 0) {
    clock->start(timerHeld_);
    timerHeld_ = -1;
  }
}

void GalaxyWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  quit();
}

}  // namespace valkoran::view
