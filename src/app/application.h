// The program: the setup window, the main window and the game they share,
// the sound cues, and how a run starts (a new game, or a saved one named on
// the command line).
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "game/game.h"

namespace valkoran::view {
class GalaxyWindow;
}

namespace valkoran::app {

class SetupWindow;
class SoundCues;

class Application : public QObject {
  Q_OBJECT
 public:
  explicit Application(uint64_t seed);
  ~Application() override;

  // Opens the setup window. False when the screen is too small.
  bool Start();
  // Opens a saved game in the main window; the game's error box and false
  // when it cannot be read.
  bool StartWithGame(const std::string& path);

  Game& game() { return game_; }
  // The error box of a failed load; tests answer it.
  std::function<void(const QString& text)> showError;
  SetupWindow* setupWindow() const { return setup_.get(); }
  view::GalaxyWindow* galaxyWindow() const { return galaxy_.get(); }

 private:
  void imgStart_Click();
  void BackToSetup();
  bool LaidOut();

  Game game_;
  std::unique_ptr<SoundCues> cues_;
  std::unique_ptr<view::GalaxyWindow> galaxy_;
  std::unique_ptr<SetupWindow> setup_;
  bool laidOut_ = false;
};

}  // namespace valkoran::app
