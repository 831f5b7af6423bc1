// The program: the start screen, the setup window, the main window and the
// game they share, the save and load windows, the high scores, About and
// help, the sound cues; how a run starts (the start screen, or a saved game
// named on the command line) and how it ends (a running game is kept).
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game/game.h"

namespace valkoran::view {
class GalaxyWindow;
struct HighScoreResult;
}
namespace valkoran::net {
class Session;
}

namespace valkoran::app {

class AboutWindow;
class FileWindow;
class HelpWindow;
class HighScoreWindow;
class SetupWindow;
class SoundCues;
class StartScreen;

class Application : public QObject {
  Q_OBJECT
 public:
  explicit Application(uint64_t seed);
  ~Application() override;

  // Opens the start screen (with Continue when a game was kept).
  bool Start();
  // Opens a saved game in the main window; the game's error box and false
  // when it cannot be read.
  bool StartWithGame(const std::string& path);

  Game& game() { return game_; }
  // Whether a game is on the board (started or loaded, not finished or
  // given up).
  bool GameRunning() const { return running_; }

  // The error box of a failed load or save; tests answer it.
  std::function<void(const QString& text)> showError;
  // Opens a web page or a new mail in the desktop's program for it.
  std::function<void(const QUrl& url)> openUrl;
  // Where the files live; tests point them into scratch folders.
  QString highScorePath;
  QString keptGamePath;
  // The folder the save and load windows open on first.
  QString gameFolder;
  // Today in the system's short date format, for the high-score table.
  std::function<QString()> today;

  StartScreen* startScreen() const { return start_.get(); }
  SetupWindow* setupWindow() const { return setup_.get(); }
  view::GalaxyWindow* galaxyWindow() const { return galaxy_.get(); }
  FileWindow* saveWindow() const { return save_.get(); }
  FileWindow* loadWindow() const { return load_.get(); }
  HighScoreWindow* highScoreWindow() const { return highScores_.get(); }
  AboutWindow* aboutWindow() const { return about_.get(); }
  HelpWindow* helpWindow() const { return help_.get(); }
  // The network game's session, when this machine serves or has joined one.
  net::Session* session() const { return session_.get(); }

  // Ends the program; a game still running is kept for Continue.
  void Quit();
  // Keeps a running game for Continue without ending (the desktop session
  // is about to end the program).
  void KeepRunningGame();

 private:
  void imgStart_Click();
  void BackToSetup();
  bool LaidOut();
  void OpenStartScreen();
  void OpenLoadWindow();
  void OpenSaveWindow(bool clearName);
  // Reads `path` into the game and opens it; the error box and false when
  // it cannot be read, the running game and its windows untouched.
  bool LoadFile(const QString& path);
  void SaveFile(const QString& path);
  // imgConnect: this machine serves, or joins the server typed in.
  void StartSession();
  void ShowSeats();
  void ForgetKeptGame();
  void HighScore(const view::HighScoreResult& result);
  void ShowHighScores();
  QString FileFolder() const;

  Game game_;
  std::unique_ptr<SoundCues> cues_;
  std::unique_ptr<view::GalaxyWindow> galaxy_;
  std::unique_ptr<StartScreen> start_;
  std::unique_ptr<SetupWindow> setup_;
  std::unique_ptr<FileWindow> save_, load_;
  std::unique_ptr<HighScoreWindow> highScores_;
  std::unique_ptr<AboutWindow> about_;
  std::unique_ptr<HelpWindow> help_;
  std::unique_ptr<net::Session> session_;
  bool laidOut_ = false;
  bool running_ = false;
  QString lastFolder_;  // of the game last saved or loaded in this run
  // The game as its current turn began: what is kept when the program ends
  // while a turn is being processed.
  std::optional<GameState> turnStart_;
};

}  // namespace valkoran::app
