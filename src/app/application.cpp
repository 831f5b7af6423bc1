#include "app/application.h"

#include <QApplication>
#include <QDate>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "app/aboutwindow.h"
#include "app/filewindow.h"
#include "app/highscorewindow.h"
#include "app/paths.h"
#include "app/setupwindow.h"
#include "app/soundcues.h"
#include "app/startscreen.h"
#include "net/connection/session.h"
#include "store/highscore.h"
#include "store/savefile.h"
#include "view/cues.h"
#include "view/galaxywindow.h"

#ifndef VALKORAN_HOMEPAGE_URL
#define VALKORAN_HOMEPAGE_URL "https://valkoran.org/"
#endif
#ifndef VALKORAN_UPGRADE_URL
#define VALKORAN_UPGRADE_URL "https://valkoran.org/download/"
#endif
#ifndef VALKORAN_BUGREPORT_URL
#define VALKORAN_BUGREPORT_URL "mailto:bugs@valkoran.org?subject=Valkoran%20bug%20report"
#endif

namespace valkoran::app {

namespace {
// A save or load asked for while a routine of the engine still runs waits
// for it, this long between looks.
constexpr int kRetryMs = 50;

QString ErrorBoxText(const std::string& error) { return QString::fromStdString(error).replace("\r\n", "\n").replace('\r', '\n'); }
}  // namespace

Application::Application(uint64_t seed) : game_(seed) {
  cues_ = std::make_unique<SoundCues>();
  view::SetCuePlayer(cues_.get());
  galaxy_ = std::make_unique<view::GalaxyWindow>(game_);
  // A cue waits as the engine's pauses do: painting goes on, input waits.
  cues_->SetWait([this](int ms) { galaxy_->Pause(ms); });
  start_ = std::make_unique<StartScreen>();
  setup_ = std::make_unique<SetupWindow>();
  save_ = std::make_unique<FileWindow>(FileWindow::Mode::Save);
  load_ = std::make_unique<FileWindow>(FileWindow::Mode::Load);
  highScores_ = std::make_unique<HighScoreWindow>();
  about_ = std::make_unique<AboutWindow>();
  help_ = std::make_unique<HelpWindow>();

  showError = [](const QString& text) { QMessageBox::critical(nullptr, QString::fromLatin1(kErrorTitle), text); };
  openUrl = [](const QUrl& url) {
    if (!QDesktopServices::openUrl(url))
      QMessageBox::information(nullptr, QStringLiteral("Valkoran"),
                               QStringLiteral("No program here opens %1").arg(url.toString()));
  };
  highScorePath = HighScorePath();
  keptGamePath = KeptGamePath();
  gameFolder = DefaultGameFolder();
  today = [] { return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat); };

  // The start screen.
  connect(start_.get(), &StartScreen::startClicked, this, [this] {
    start_->hide();
    setup_->ResetForNewGame();
  });
  connect(start_.get(), &StartScreen::loadClicked, this, [this] {
    start_->hide();
    OpenLoadWindow();
  });
  connect(start_.get(), &StartScreen::helpClicked, help_.get(), &HelpWindow::Open);
  connect(start_.get(), &StartScreen::continueClicked, this, [this] {
    if (!QFileInfo(keptGamePath).isFile()) return;
    if (!LoadFile(keptGamePath)) start_->SetContinue(false);
  });
  connect(start_.get(), &StartScreen::closed, this, [this] { Quit(); });

  // The setup window.
  connect(setup_.get(), &SetupWindow::startRequested, this, [this] { imgStart_Click(); });
  connect(setup_.get(), &SetupWindow::connectRequested, this, [this] { StartSession(); });
  connect(setup_.get(), &SetupWindow::closed, this, [this] {
    // A server's clients are let go with its setup window.
    if (session_ && !running_) {
      session_->Stop();
      session_.reset();
      galaxy_->sendChat = nullptr;
    }
    if (!running_) OpenStartScreen();
  });

  // The save and load windows.
  connect(save_.get(), &FileWindow::chosen, this, [this](const QString& path) { SaveFile(path); });
  connect(load_.get(), &FileWindow::chosen, this, [this](const QString& path) {
    if (LoadFile(path)) lastFolder_ = QFileInfo(path).absolutePath();
  });
  connect(load_.get(), &FileWindow::cancelled, this, [this] {
    if (!running_) OpenStartScreen();
  });

  // The main window.
  view::GalaxyWindow* g = galaxy_.get();
  g->quit = [this] { Quit(); };
  connect(g, &view::GalaxyWindow::gameOver, this, [this] { BackToSetup(); });
  connect(g, &view::GalaxyWindow::newGameRequested, this, [this] {
    running_ = false;
    ForgetKeptGame();
    if (session_ && session_->role() == net::Session::Role::Server) {
      // The clients stay seated: the next game goes to them as it starts.
      setup_->show();
      setup_->raise();
      ShowSeats();
      return;
    }
    setup_->ResetForNewGame();
  });
  connect(g, &view::GalaxyWindow::loadRequested, this, [this] { OpenLoadWindow(); });
  connect(g, &view::GalaxyWindow::saveRequested, this, [this] { OpenSaveWindow(false); });
  connect(g, &view::GalaxyWindow::autoSaveDue, this, [this] { OpenSaveWindow(true); });
  connect(g, &view::GalaxyWindow::turnStarting, this, [this] { turnStart_ = game_.state; });
  connect(g, &view::GalaxyWindow::highScore, this, [this](const view::HighScoreResult& r) { HighScore(r); });
  connect(g, &view::GalaxyWindow::highScoresRequested, this, [this] { ShowHighScores(); });
  connect(g, &view::GalaxyWindow::helpRequested, help_.get(), &HelpWindow::Open);
  connect(g, &view::GalaxyWindow::aboutRequested, this, [this] {
    about_->show();
    about_->raise();
    about_->activateWindow();
  });
  connect(g, &view::GalaxyWindow::linkRequested, this, [this](view::GalaxyWindow::Link link) {
    const char* address = link == view::GalaxyWindow::Link::Web       ? VALKORAN_HOMEPAGE_URL
                          : link == view::GalaxyWindow::Link::Upgrade ? VALKORAN_UPGRADE_URL
                                                                      : VALKORAN_BUGREPORT_URL;
    openUrl(QUrl(QString::fromUtf8(address)));
  });
}

Application::~Application() {
  view::SetCuePlayer(nullptr);
  galaxy_.reset();
}

bool Application::LaidOut() {
  if (laidOut_) return true;
  if (!galaxy_->FormSetup()) return false;
  laidOut_ = true;
  return true;
}

bool Application::Start() {
  OpenStartScreen();
  return true;
}

void Application::OpenStartScreen() { start_->Open(QFileInfo(keptGamePath).isFile()); }

void Application::imgStart_Click() {
  if (!LaidOut()) {
    QApplication::exit(1);
    return;
  }
  setup_->hide();
  ForgetKeptGame();
  running_ = true;
  // A server's new game goes to its clients once built, before its first turn.
  net::Session* server = session_ && session_->role() == net::Session::Role::Server ? session_.get() : nullptr;
  galaxy_->onGameBuilt = [server] {
    if (server) server->PrepareStart();
  };
  galaxy_->StartNewGame(setup_->Setup());
}

void Application::StartSession() {
  if (session_) {
    session_->Stop();
    session_.reset();
  }
  const bool server = setup_->ServerRole();
  session_ = std::make_unique<net::Session>(game_, server ? net::Session::Role::Server : net::Session::Role::Client);
  net::Session* s = session_.get();
  const std::string name = setup_->txtPL(0)->text().toStdString();
  connect(s, &net::Session::seatsChanged, this, [this] { ShowSeats(); });
  connect(s, &net::Session::chat, this, [this](const QString& line) { galaxy_->AppendChat(line); });
  galaxy_->sendChat = [s](const std::string& line) { s->SendChat(line); };
  // Messages wait while the window is inside a routine: a server's turn
  // processing or any wait of the engine's; a client's turn end stays busy
  // until its server's processing is over, so only the waits count there.
  view::GalaxyWindow* g = galaxy_.get();
  if (server)
    s->SetBusyCheck([g] { return g->Busy(); });
  else
    s->SetBusyCheck([g] { return g->RoutineRunning(); });
  QString why;
  if (server) {
    s->SetOwnName(name);
    if (!s->Listen(setup_->Port(), &why)) {
      session_.reset();
      galaxy_->sendChat = nullptr;
      showError(why);
      return;
    }
    setup_->ShowSeat(0, QString::fromStdString(name), "Running Server...");
    for (int seat = 1; seat < kSeats; ++seat) setup_->ShowSeat(seat, "", "Waiting for Client...");
    setup_->ShowStart(false);
    return;
  }
  connect(s, &net::Session::event, this, [this](const QString& line) {
    if (line == "Looking for Server..." || line == "Server Found") setup_->lblStatus(0)->setText(line);
  });
  connect(s, &net::Session::gameShown, this, [this] {
    if (!LaidOut()) return;
    setup_->hide();
    start_->hide();
    running_ = true;
    galaxy_->OpenNetworkGame(true);
  });
  connect(s, &net::Session::optionsChanged, this, [this] { setup_->SetShieldOption(game_.state.ShieldOption); });
  connect(s, &net::Session::serverLost, this, [this] {
    if (!running_) {
      for (int seat = 1; seat < kSeats; ++seat) setup_->ShowSeat(seat, "", "Waiting for Client...");
      setup_->lblStatus(0)->setText("Looking for Server...");
      return;
    }
    game_.SetStatus(0, game_.state.PlayerName[0] + ":  Disconnected");
    running_ = false;  // a client's view of a game is not kept
    galaxy_->showMessage("Valkoran", "Connection with Server Lost!  Exiting Game");
    Quit();
  });
  connect(s, &net::Session::unplayable, this, [this](const QString& why) {
    running_ = false;
    showError("The server's game cannot be played here: " + why);
    Quit();
  });
  setup_->lblStatus(0)->setText("Running Client...");
  if (!s->Join(setup_->Host(), setup_->Port(), name, &why)) {
    session_.reset();
    galaxy_->sendChat = nullptr;
    showError(why);
  }
}

void Application::ShowSeats() {
  if (!session_) return;
  const bool server = session_->role() == net::Session::Role::Server;
  int clients = 0;
  for (int seat = server ? 1 : 0; seat < kSeats; ++seat) {
    const QString name = QString::fromStdString(session_->Seats()[seat]);
    const bool there = !name.isEmpty();
    if (seat > 0 && there) ++clients;
    setup_->ShowSeat(seat, name, seat == 0 ? setup_->lblStatus(0)->text() : there ? "Client Connected" : "Waiting for Client...");
  }
  if (server) setup_->ShowStart(clients > 0);
}

void Application::BackToSetup() {
  // A conquest has spun the system once more: the board is cleared and the
  // next game is set up from the same seats. A finished game is not kept.
  running_ = false;
  ForgetKeptGame();
  galaxy_->hide();
  setup_->show();
  setup_->raise();
}

QString Application::FileFolder() const {
  if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) return lastFolder_;
  return gameFolder;
}

void Application::OpenLoadWindow() { load_->Open(FileFolder(), true); }

void Application::OpenSaveWindow(bool clearName) { save_->Open(FileFolder(), clearName); }

bool Application::LoadFile(const QString& path) {
  LoadOutcome outcome = LoadGame(path.toStdString(), game_.state);
  if (!outcome.state) {
    showError(ErrorBoxText(outcome.error));
    return false;
  }
  if (galaxy_->Busy()) {
    // Read now, opened once the engine's routine is over: never mid-turn.
    QTimer::singleShot(kRetryMs, this, [this, path] { LoadFile(path); });
    return true;
  }
  if (!LaidOut()) return false;
  load_->hide();
  start_->hide();
  setup_->hide();
  setup_->SetShieldOption(outcome.state->ShieldOption != 0);
  game_.state = std::move(*outcome.state);
  running_ = true;
  galaxy_->OpenLoadedGame();
  return true;
}

void Application::SaveFile(const QString& path) {
  if (galaxy_->Busy()) {
    // The file holds the game between routines, never half a turn.
    QTimer::singleShot(kRetryMs, this, [this, path] { SaveFile(path); });
    return;
  }
  if (auto error = SaveGame(path.toStdString(), game_.state)) {
    showError(ErrorBoxText(*error));
    return;
  }
  lastFolder_ = QFileInfo(path).absolutePath();
  save_->hide();
}

bool Application::StartWithGame(const std::string& path) {
  LoadOutcome outcome = LoadGame(path, game_.state);
  if (!outcome.state) {
    showError(ErrorBoxText(outcome.error));
    return false;
  }
  if (!LaidOut()) return false;
  setup_->SetShieldOption(outcome.state->ShieldOption != 0);
  game_.state = std::move(*outcome.state);
  running_ = true;
  lastFolder_ = QFileInfo(QString::fromStdString(path)).absolutePath();
  galaxy_->OpenLoadedGame();
  return true;
}

void Application::KeepRunningGame() {
  // A network game lives on its server and its players' machines together.
  if (!running_ || game_.GameIsOver || game_.state.PlayerName[0].empty() || game_.state.NetworkGame) return;
  // In the middle of a turn's processing the game is kept as that turn
  // began; otherwise as it stands, with the orders given so far.
  const GameState& kept = galaxy_->Busy() && turnStart_ ? *turnStart_ : game_.state;
  if (auto error = SaveGame(keptGamePath.toStdString(), kept))
    std::fprintf(stderr, "valkoran: the running game could not be kept: %s\n", error->c_str());
}

void Application::ForgetKeptGame() {
  turnStart_.reset();
  QFile::remove(keptGamePath);
}

void Application::Quit() {
  KeepRunningGame();
  running_ = false;
  // Gone at once for the player: a routine of the engine that is still
  // running finishes without its waits, and the event loops end.
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  galaxy_->pauseScale = 0;
  QApplication::exit(0);
}

void Application::HighScore(const view::HighScoreResult& r) {
  HighScoreEntry entry;
  entry.name = r.name;
  entry.rating = r.rating;
  entry.ships = r.ships;
  entry.prod = r.production;
  entry.plan = r.worlds;
  entry.cls = r.shipClass;
  entry.gameYear = r.gameYear;
  entry.date = today().toStdString();
  HighScoreOutcome outcome = valkoran::HighScore(highScorePath.toStdString(), entry);
  if (outcome.error) std::fprintf(stderr, "valkoran: high scores: %s\n", outcome.error->c_str());
  highScores_->Show(outcome.table, outcome.insertedAt);
}

void Application::ShowHighScores() {
  // A table never written is started with ten empty rows; nothing else is
  // written when the table is only looked at.
  const std::string path = highScorePath.toStdString();
  if (auto error = CompleteHighScoreFile(path))
    std::fprintf(stderr, "valkoran: high scores: %s\n", error->c_str());
  HighScoreOutcome outcome = valkoran::HighScore(path, HighScoreEntry{});
  highScores_->Show(outcome.table, -1);
}

}  // namespace valkoran::app
