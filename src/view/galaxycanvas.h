// The drawing area of the main window: a back buffer that clearing resets to
// the background picture, the sprites put on by an AND mask and an XOR
// picture, and the few primitives the view draws with. Repainting shows the
// buffer; nothing is drawn straight to the screen.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QPainter;
#include <optional>

#include "view/logic/viewlogic.h"

namespace valkoran::view {

class GalaxyCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit GalaxyCanvas(QWidget* parent = nullptr);

  // Loads back1024.jpg and the sprites; missing files leave a plain dark
  // background and plain discs, so the game still shows every world.
  void LoadPictures();

  // Keeps one painter open on the buffer for a whole drawing pass: opening a
  // painter per circle cost more than the circles.
  class Batch {
   public:
    explicit Batch(GalaxyCanvas& canvas);
    ~Batch();
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

   private:
    GalaxyCanvas& canvas_;
    std::unique_ptr<QPainter> painter_;
    bool outer_ = false;
  };

  const QImage& buffer() const { return buffer_; }
  const QImage& background() const { return background_; }
  void Clear();
  void Circle(double x, double y, double radius, QColor colour, int width = 1, bool dotted = false,
              double aspect = 1.0, std::optional<QColor> fill = std::nullopt);
  void Line(double x1, double y1, double x2, double y2, QColor colour, int width = 1);
  void FillBox(int x1, int y1, int x2, int y2, QColor colour);
  void Sun(const Geometry& g);
  void WorldSprite(int world, double x, double y);
  // The nine orbit rings, RGB(40, 40, 40).
  void Rings(const Geometry& g);

  // Pointer events go to the window's handlers by these.
  std::function<void(Qt::MouseButton, int x, int y)> onPress;
  std::function<void(int x, int y)> onMove;
  std::function<void()> onDoubleClick;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  void Blit(const QImage& picture, const QImage& mask, int left, int top);
  template <typename Draw>
  void With(Draw draw);
  QPainter* active_ = nullptr;
  QImage background_, buffer_;
  QImage sun_, sunMask_;
  std::array<QImage, 30> worlds_, worldMasks_;
};

}  // namespace valkoran::view
