// The start screen (frmMain), the program's first window: Start, Load and
// Help, and Continue when a game was left running the last time.
#pragma once

#include <QWidget>

class QLabel;

namespace valkoran::view {
class ImageButton;
}

namespace valkoran::app {

class StartScreen : public QWidget {
  Q_OBJECT
 public:
  explicit StartScreen(QWidget* parent = nullptr);

  // Shows the window (and Continue when `canContinue`) and plays the
  // opening cue once it is on the screen.
  void Open(bool canContinue);
  void SetContinue(bool canContinue);

 signals:
  void startClicked();
  void loadClicked();
  void helpClicked();
  void continueClicked();
  // The window's close: the program ends.
  void closed();

 protected:
  void closeEvent(class QCloseEvent* e) override;

 private:
  view::ImageButton* start_ = nullptr;
  view::ImageButton* load_ = nullptr;
  view::ImageButton* help_ = nullptr;
  view::ImageButton* continue_ = nullptr;
};

}  // namespace valkoran::app
