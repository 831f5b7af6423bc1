// The one input guard of the game's windows: while the engine is busy or
// waiting, pointer, wheel and key input to the main window and the
// threshold window is dropped, so no routine is entered while another
// runs. Keys still reach the chat line; Quit and the menu bar (whose
// File > Exit stays on) work at any moment; a press let through always
// gets its release.
#pragma once

#include <QObject>
#include <QPointer>

#include "view/galaxycontrols.h"

namespace valkoran::view {

class InputGuard : public QObject {
 public:
  InputGuard(const GalaxyContext& context, QWidget* window, QObject* parent)
      : QObject(parent), x_(context), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool Blocked(QWidget* widget, QEvent* e) const;

  const GalaxyContext& x_;
  QWidget* window_;
  QPointer<QWidget> pressed_;
};

}  // namespace valkoran::view
