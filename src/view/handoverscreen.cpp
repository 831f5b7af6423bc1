#include "view/handoverscreen.h"

#include <QApplication>
#include <QDateTime>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace valkoran::view {

namespace {
const char* const kReady = "Click or press a key when you are ready";
// The player has answered while the game still settles the turn's start.
const char* const kMoment = "One moment \u2014 your turn opens by itself";
}  // namespace

HandOverScreen::HandOverScreen(QWidget* canvas) : QWidget(canvas) {
  setObjectName("fraHandOver");
  setCursor(Qt::PointingHandCursor);
  auto* column = new QVBoxLayout(this);
  column->addStretch(3);
  text_ = new QLabel(this);
  text_->setObjectName("lblHandOver");
  text_->setAlignment(Qt::AlignCenter);
  text_->setFont(QFont("DejaVu Sans", 22, QFont::Bold));
  text_->setStyleSheet("color: rgb(255, 226, 150); background: transparent;");
  column->addWidget(text_);
  hint_ = new QLabel(kReady, this);
  hint_->setObjectName("lblHandOverHint");
  hint_->setAlignment(Qt::AlignCenter);
  hint_->setFont(QFont("DejaVu Sans", 11));
  hint_->setStyleSheet("color: rgb(150, 170, 210); background: transparent;");
  column->addWidget(hint_);
  column->addStretch(4);
  hide();
}

void HandOverScreen::Cover(const QString& text) {
  // Already up (since the turn end): a click given meanwhile still counts.
  if (!isVisible()) {
    wanted_ = false;
    hint_->setText(kReady);
  }
  text_->setText(text);
  setGeometry(parentWidget()->rect());
  show();
  raise();
  // Keys go wherever the focus is (the chat line, as a rule): the screen
  // hears them before anything else of the window does.
  qApp->removeEventFilter(this);
  qApp->installEventFilter(this);
  repaint();
}

void HandOverScreen::Uncover() {
  if (!isVisible()) return;
  wanted_ = false;
  hide();
  if (onUncovered) onUncovered();
}

void HandOverScreen::EngineDone() {
  if (wanted_ && isVisible()) Uncover();
}

void HandOverScreen::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(4, 6, 18));
  sky.setColorAt(1, QColor(14, 18, 44));
  p.fillRect(rect(), sky);
  p.setPen(QPen(QColor(70, 90, 140), 1));
  const int y = text_->geometry().top() - 18;
  p.drawLine(width() / 4, y, width() * 3 / 4, y);
}

bool HandOverScreen::eventFilter(QObject* watched, QEvent* e) {
  const auto type = e->type();
  const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
                     type == QEvent::MouseButtonDblClick;
  if (!mouse && type != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window()) return false;
  if (!isVisible()) {
    // Just uncovered: the rest of that click, a double click's second
    // press among it, must not reach the map and end the new turn. A new
    // press is the player's next move.
    if ((type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) &&
        QDateTime::currentMSecsSinceEpoch() < swallowUntil_)
      return true;
    if (type == QEvent::MouseButtonPress) swallowUntil_ = 0;
    if (swallowUntil_ > QDateTime::currentMSecsSinceEpoch()) return false;
    qApp->removeEventFilter(this);
    return false;
  }
  if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress) {
    if (type == QEvent::MouseButtonPress)
      swallowUntil_ = QDateTime::currentMSecsSinceEpoch() + QApplication::doubleClickInterval() + 100;
    if (busy && busy()) {
      wanted_ = true;
      hint_->setText(QString::fromUtf8(kMoment));
      hint_->repaint();
    } else {
      Uncover();
    }
  }
  return true;
}

}  // namespace valkoran::view
