#include "app/look.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "view/assets.h"

namespace valkoran::app {

QPalette DarkPalette(QPalette p) {
  const QColor night(0x0b, 0x10, 0x24), text(0xdc, 0xe4, 0xf4), dim(0x6c, 0x74, 0x88);
  p.setColor(QPalette::Window, night);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Disabled, QPalette::WindowText, dim);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Disabled, QPalette::Base, kGreyedBox);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
  p.setColor(QPalette::Button, QColor(0x24, 0x2c, 0x48));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::Disabled, QPalette::ButtonText, dim);
  p.setColor(QPalette::Highlight, QColor(0x3a, 0x5c, 0xa8));
  p.setColor(QPalette::HighlightedText, Qt::white);
  return p;
}

void Dress(QWidget* window) {
  QPalette dark = DarkPalette(window->palette());
  // The game's own night sky, dimmed so the controls stay readable.
  QImage sky = view::LoadImage(QStringLiteral("back1024.jpg"));
  if (!sky.isNull()) {
    sky = sky.copy(0, 0, window->width(), window->height()).convertToFormat(QImage::Format_RGB32);
    QPainter dim(&sky);
    dim.fillRect(sky.rect(), QColor(11, 16, 36, 150));
    dim.end();
    dark.setBrush(QPalette::Window, QBrush(QPixmap::fromImage(sky)));
  }
  window->setPalette(dark);
  window->setAutoFillBackground(true);
}

QLabel* Caption(const QString& text, QWidget* parent, int x, int y, int w, int h) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, w, h);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

}  // namespace valkoran::app
