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

  std::function<void()> onUncovered;

 protected:
  void paintEvent(QPaintEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QLabel* text_;
  QLabel* hint_;
};

}  // namespace valkoran::view
