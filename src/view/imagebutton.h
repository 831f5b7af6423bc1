// A picture button: pressed, it shows ddentbutt<N>.jpg and plays click1.wav;
// released, it shows its released look again and, on the main window, plays
// click2.wav. On the main window the released look is painted into the
// background, so the button shows nothing of its own until pressed.
#pragma once

#include <QLabel>
#include <QPixmap>

namespace valkoran::view {

class ImageButton : public QLabel {
  Q_OBJECT
 public:
  enum class Released { Background, Picture };
  ImageButton(const QString& objectName, int number, Released released, bool releaseCue, QWidget* parent);

  int number() const { return number_; }
  // Another picture pair for the same button (a role's look).
  void SetNumber(int number);

 signals:
  void clicked();

 protected:
  void mousePressEvent(class QMouseEvent* e) override;
  void mouseReleaseEvent(class QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void ShowReleased();
  void Release(bool inside);
  int number_;
  Released released_;
  bool releaseCue_;
  bool down_ = false;
  bool sounding_ = false;        // the press's cue is playing
  bool releaseWaiting_ = false;  // let go meanwhile
  bool releaseInside_ = false;
  QPixmap pressedPicture_, releasedPicture_;
};

}  // namespace valkoran::view
