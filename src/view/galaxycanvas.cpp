#include "view/galaxycanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "view/assets.h"
#include "view/logic/layout.h"

namespace valkoran::view {

namespace {

QImage Rgb32(const QImage& image) {
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

// Stand-ins for missing sprite files: a flat disc and its exact mask.
void MakeDisc(int size, QColor colour, QImage& picture, QImage& mask) {
  picture = QImage(size, size, QImage::Format_RGB32);
  mask = QImage(size, size, QImage::Format_RGB32);
  picture.fill(Qt::black);
  mask.fill(Qt::white);
  const double c = (size - 1) / 2.0, r = size / 2.0 - 1;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if ((x - c) * (x - c) + (y - c) * (y - c) <= r * r) {
        picture.setPixelColor(x, y, colour);
        mask.setPixelColor(x, y, Qt::black);
      }
}

}  // namespace

GalaxyCanvas::GalaxyCanvas(QWidget* parent) : QWidget(parent) {
  setObjectName("picGalaxy");
  setFixedSize(layout::kAreaWidth, layout::kAreaHeight);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  background_ = QImage(layout::kAreaWidth, layout::kAreaHeight, QImage::Format_RGB32);
  background_.fill(QColor(4, 6, 16));
  buffer_ = background_;
}

void GalaxyCanvas::LoadPictures() {
  const QImage back = LoadImage("back1024.jpg");
  if (!back.isNull()) {
    QPainter p(&background_);
    p.drawImage(0, 0, back);
  }
  sun_ = Rgb32(LoadImage("sun.png"));
  sunMask_ = Rgb32(LoadImage("sunmask.png"));
  if (sun_.isNull() || sunMask_.isNull()) MakeDisc(50, QColor(255, 200, 60), sun_, sunMask_);
  for (int i = 0; i < 30; ++i) {
    const QString n = QString::asprintf("%02d", i);
    worlds_[i] = Rgb32(LoadImage("world" + n + ".png"));
    worldMasks_[i] = Rgb32(LoadImage("worldmask" + n + ".png"));
    if (worlds_[i].isNull() || worldMasks_[i].isNull())
      MakeDisc(20, QColor::fromHsv(i * 12, 120, 200), worlds_[i], worldMasks_[i]);
  }
  Clear();
}

GalaxyCanvas::Batch::Batch(GalaxyCanvas& canvas) : canvas_(canvas) {
  if (canvas_.active_) return;
  outer_ = true;
  painter_ = std::make_unique<QPainter>(&canvas_.buffer_);
  canvas_.active_ = painter_.get();
}

GalaxyCanvas::Batch::~Batch() {
  if (!outer_) return;
  canvas_.active_ = nullptr;
  painter_.reset();
}

template <typename Draw>
void GalaxyCanvas::With(Draw draw) {
  if (active_) {
    // Every primitive sets its own pen and brush, and the sprite transfer
    // puts the composition back: no need to save the painter's state.
    draw(*active_);
    return;
  }
  QPainter p(&buffer_);
  draw(p);
}

void GalaxyCanvas::Clear() {
  // Clearing inside a pass would pull the buffer from under its painter.
  Q_ASSERT(!active_);
  buffer_ = background_;
}

void GalaxyCanvas::Circle(double x, double y, double radius, QColor colour, int width, bool dotted, double aspect,
                          std::optional<QColor> fill) {
  With([&](QPainter& p) {
    p.setPen(QPen(colour, width, dotted ? Qt::DotLine : Qt::SolidLine));
    p.setBrush(fill ? QBrush(*fill) : Qt::NoBrush);
    // An aspect below 1 flattens the circle vertically, as the orbits are seen.
    const double rx = aspect <= 1 ? radius : radius / aspect;
    const double ry = aspect <= 1 ? radius * aspect : radius;
    p.drawEllipse(QPointF(x, y), rx, ry);
  });
}

void GalaxyCanvas::Line(double x1, double y1, double x2, double y2, QColor colour, int width) {
  With([&](QPainter& p) {
    p.setPen(QPen(colour, width));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
  });
}

void GalaxyCanvas::FillBox(int x1, int y1, int x2, int y2, QColor colour) {
  With([&](QPainter& p) {
    p.fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))), colour);
  });
}

void GalaxyCanvas::Blit(const QImage& picture, const QImage& mask, int left, int top) {
  With([&](QPainter& p) {
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(left, top, mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(left, top, picture);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  });
}

void GalaxyCanvas::Sun(const Geometry& g) {
  Blit(sun_, sunMask_, RoundPixel(g.centerX - 25.0), RoundPixel(g.centerY - 25.0));
}

void GalaxyCanvas::WorldSprite(int world, double x, double y) {
  if (world < 0 || world >= 30) return;
  Blit(worlds_[world], worldMasks_[world], RoundPixel(x - 10), RoundPixel(y - 10));
}

void GalaxyCanvas::Rings(const Geometry& g) {
  for (int k = 1; k <= 9; ++k)
    Circle(g.centerX, g.centerY, (20.0 * k + 30) * g.scaleX, QColor(40, 40, 40), 1, false, g.scaleY / g.scaleX);
}

void GalaxyCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, buffer_);
}

void GalaxyCanvas::mousePressEvent(QMouseEvent* e) {
  if (onPress) onPress(e->button(), e->position().toPoint().x(), e->position().toPoint().y());
}

void GalaxyCanvas::mouseMoveEvent(QMouseEvent* e) {
  if (onMove) onMove(e->position().toPoint().x(), e->position().toPoint().y());
}

void GalaxyCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
  // The double click replaces its second press: the first press has armed
  // the turn end, and a second press would act on the selection again.
  if (e->button() == Qt::LeftButton && onDoubleClick) onDoubleClick();
}

}  // namespace valkoran::view
