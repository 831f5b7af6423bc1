#include "view/imagebutton.h"

#include <QMouseEvent>

#include "view/assets.h"
#include "view/cues.h"

namespace valkoran::view {

ImageButton::ImageButton(const QString& objectName, int number, Released released, bool releaseCue,
                         QWidget* parent)
    : QLabel(parent), number_(number), released_(released), releaseCue_(releaseCue) {
  setObjectName(objectName);
  setScaledContents(true);
  setCursor(Qt::PointingHandCursor);
  SetNumber(number);
}

void ImageButton::SetNumber(int number) {
  number_ = number;
  pressedPicture_ = LoadPixmap(QStringLiteral("ddentbutt%1.jpg").arg(number));
  if (released_ == Released::Picture) releasedPicture_ = LoadPixmap(QStringLiteral("butt%1.jpg").arg(number));
  if (!down_) ShowReleased();
}

void ImageButton::ShowReleased() {
  if (released_ == Released::Picture && !releasedPicture_.isNull())
    setPixmap(releasedPicture_);
  else
    clear();
}

void ImageButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !isEnabled()) return;
  down_ = true;
  if (!pressedPicture_.isNull()) setPixmap(pressedPicture_);
  repaint();
  // A quick click lets go while the press's cue still sounds: the release
  // waits for the cue and then counts as if it came after it.
  sounding_ = true;
  Cues().Play("click1.wav");
  sounding_ = false;
  if (releaseWaiting_) {
    releaseWaiting_ = false;
    Release(releaseInside_);
  }
}

void ImageButton::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !down_) return;
  // The action follows the release, and only when it ends on the button.
  const bool inside = rect().contains(e->position().toPoint());
  if (sounding_) {
    releaseWaiting_ = true;
    releaseInside_ = inside;
    return;
  }
  Release(inside);
}

void ImageButton::Release(bool inside) {
  if (!down_) return;
  down_ = false;
  ShowReleased();
  repaint();
  if (releaseCue_) Cues().Play("click2.wav");
  if (inside) emit clicked();
}

void ImageButton::changeEvent(QEvent* e) {
  QLabel::changeEvent(e);
  if (e->type() == QEvent::EnabledChange && !isEnabled() && down_) {
    down_ = false;
    ShowReleased();
  }
}

}  // namespace valkoran::view
