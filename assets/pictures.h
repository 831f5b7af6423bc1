// The game's pictures, drawn in code: the main window's background with its
// button faces, the pressed and released button pictures, the sun and world
// sprites with their masks, the indicator icons, and the desktop's icons for
// the game and its saved games.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace valkoran::assets {

inline constexpr int kWorldPictures = 30;

// One button face for any size and text; the released face is the same
// drawing that the background carries under the main window's buttons.
QImage ButtonFace(QSize size, const QString& text, bool pressed);

QImage Background();

// A sprite goes on in two transfers: the mask ANDed (black where the body
// is), then the picture XORed (black everywhere else).
struct Sprite {
  QImage picture;
  QImage mask;
};
Sprite Sun();
Sprite World(int index);

QImage BombIcon();
QImage FuelIcon();
QImage CrystalIcon();

// The sizes the desktop asks for; each is drawn at its own size, not scaled.
inline constexpr int kDesktopIconSizes[] = {16, 24, 32, 48, 64, 128, 256};
QImage AppIcon(int size);
QImage SavedGameIcon(int size);  // a page carrying a small emblem

}  // namespace valkoran::assets
