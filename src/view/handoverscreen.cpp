#include "view/handoverscreen.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace valkoran::view {

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
  hint_ = new QLabel("Click or press a key when you are ready", this);
  hint_->setAlignment(Qt::AlignCenter);
  hint_->setFont(QFont("DejaVu Sans", 11));
  hint_->setStyleSheet("color: rgb(150, 170, 210); background: transparent;");
  column->addWidget(hint_);
  column->addStretch(4);
  hide();
}

void HandOverScreen::Cover(const QString& text) {
  text_->setText(text);
  setGeometry(parentWidget()->rect());
  show();
  raise();
  // Keys go wherever the focus is (the chat line, as a rule): the screen
  // hears them before anything else of the window does.
  qApp->installEventFilter(this);
  repaint();
}

void HandOverScreen::Uncover() {
  if (!isVisible()) return;
  qApp->removeEventFilter(this);
  hide();
  if (onUncovered) onUncovered();
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
  if (type != QEvent::MouseButtonPress && type != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window()) return false;
  Uncover();
  return true;
}

}  // namespace valkoran::view
