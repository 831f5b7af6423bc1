// The small window in which a player sets the ship threshold of a proximity
// bomb before it is sent. It only reads and checks the number; the main
// window keeps the selected worlds and dispatches the bomb.
#pragma once

#include <QString>
#include <QWidget>

#include "game/state.h"

class QLabel;
class QLineEdit;
class QScrollBar;

namespace valkoran::view {

class ImageButton;

class ProximityWindow : public QWidget {
  Q_OBJECT
 public:
  // The largest threshold: a bomb that waits for more ships than a fleet
  // can carry would never go off.
  static constexpr int kMaxThreshold = static_cast<int>(kMaxFleetShips);

  explicit ProximityWindow(QWidget* parent = nullptr);

  // Shows the window with the source world's ship count as the default
  // threshold (brought into the scroll bar's range).
  void Open(float sourceShips);

 public slots:
  void VScroll1_Change(int value);
  void ImgSet_Click();

 signals:
  // A threshold of 1..9998 ships was set; the window has closed.
  void thresholdSet(int threshold);
  // The window closed with 0 or nothing as threshold, or by its title bar.
  void closedWithoutBomb();

 protected:
  void closeEvent(QCloseEvent* e) override;
  // Tells the player that a threshold is refused. Tests replace it.
  virtual void Refuse(const QString& text);

 private:
  QLineEdit* text1_;
  QScrollBar* vscroll1_;
  QLabel* caption_;
  ImageButton* imgSet_;
};

}  // namespace valkoran::view
