#include "app/application.h"

#include <QApplication>
#include <QMessageBox>

#include "app/setupwindow.h"
#include "app/soundcues.h"
#include "store/savefile.h"
#include "view/cues.h"
#include "view/galaxywindow.h"

namespace valkoran::app {

Application::Application(uint64_t seed) : game_(seed) {
  cues_ = std::make_unique<SoundCues>();
  view::SetCuePlayer(cues_.get());
  galaxy_ = std::make_unique<view::GalaxyWindow>(game_);
  // A cue waits as the engine's pauses do: painting goes on, input waits.
  cues_->SetWait([this](int ms) { galaxy_->Pause(ms); });
  setup_ = std::make_unique<SetupWindow>();
  showError = [](const QString& text) { QMessageBox::critical(nullptr, "Valkoran Error", text); };
  connect(setup_.get(), &SetupWindow::startRequested, this, [this] { imgStart_Click(); });
  connect(galaxy_.get(), &view::GalaxyWindow::gameOver, this, [this] { BackToSetup(); });
  connect(galaxy_.get(), &view::GalaxyWindow::newGameRequested, this, [this] {
    setup_->ResetForNewGame();
    setup_->show();
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
  setup_->show();
  return true;
}

void Application::imgStart_Click() {
  if (!LaidOut()) {
    QApplication::exit(1);
    return;
  }
  setup_->hide();
  galaxy_->StartNewGame(setup_->Setup());
}

void Application::BackToSetup() {
  // A conquest has spun the system once more: the board is cleared and the
  // next game is set up from the same seats.
  galaxy_->hide();
  setup_->show();
  setup_->raise();
}

bool Application::StartWithGame(const std::string& path) {
  LoadOutcome outcome = LoadGame(path, game_.state);
  if (!outcome.state) {
    QString text = QString::fromStdString(outcome.error);
    showError(text.replace("\r\n", "\n"));
    return false;
  }
  if (!LaidOut()) return false;
  game_.state = *outcome.state;
  galaxy_->OpenLoadedGame();
  return true;
}

}  // namespace valkoran::app
