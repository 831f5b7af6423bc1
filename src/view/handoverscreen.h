// The hand-over screen: between one human's turn and the next at the same
// machine, it covers the view and every panel and names the player whose
// turn it is, until that player clicks or presses a key.
#pragma once

#include <QWidget>
#include <functional>

class QLabel;

namespace valkoran::view {

class HandOverScreen : public QWidget {
 public:
  explicit HandOverScreen(QWidget* canvas);

  void Cover(const QString& text);
  void Uncover();
  bool Covering() const { return isVisible(); }
  // The engine is done: a click or key that came while it still worked
  // takes the screen away now.
  void EngineDone();

  std::function<void()> onUncovered;
  // Whether the engine still works: the screen stays until it is done, so
  // the player's first click after it always counts.
  std::function<bool()> busy;

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QLabel* text_;
  QLabel* hint_;
  bool wanted_ = false;       // a click or key came while the engine worked
  qint64 swallowUntil_ = 0;  // the rest of the uncovering click (a double click's second press) goes nowhere
};

}  // namespace valkoran::view
