// The look the program's own windows share with the setup window: a deep
// blue night with light text, over a dimmed piece of the game's sky.
#pragma once

#include <QColor>
#include <QPalette>

class QLabel;
class QWidget;

namespace valkoran::app {

inline const QColor kGreyedBox(0xC0, 0xC0, 0xC0);
inline const QColor kTitleColour(255, 214, 120);

QPalette DarkPalette(QPalette p);
// Dark palette and the sky behind `window`, sized as it is now.
void Dress(QWidget* window);
// A caption at a fixed place.
QLabel* Caption(const QString& text, QWidget* parent, int x, int y, int w, int h);

}  // namespace valkoran::app
