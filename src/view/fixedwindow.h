// A window laid out at one size keeps it: no maximise button, no resizing.
#pragma once

#include <QWidget>

namespace valkoran::view {

inline void FixWindowSize(QWidget* window, int width, int height) {
  window->setFixedSize(width, height);
  Qt::WindowFlags flags = window->windowType() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  // A program's own top-level windows can still be put away.
  if (window->windowType() == Qt::Window) flags |= Qt::WindowMinimizeButtonHint;
  window->setWindowFlags(flags);
}

}  // namespace valkoran::view
