#include "view/inputguard.h"

#include <QEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QWidget>

#include "view/proximitywindow.h"

namespace valkoran::view {

bool InputGuard::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
      break;
    default:
      return false;
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return false;
  // A quick click whose press starts a wait (its own click cue) still ends
  // as a click.
  if (e->type() == QEvent::MouseButtonRelease && widget == pressed_) {
    pressed_ = nullptr;
    return false;
  }
  if (Blocked(widget, e)) return true;
  if (e->type() == QEvent::MouseButtonPress) pressed_ = widget;
  return false;
}

bool InputGuard::Blocked(QWidget* widget, QEvent* e) const {
  if (!x_.Busy()) return false;
  QWidget* top = widget->window();
  if (top != window_ && top != x_.c.proximity) return false;
  const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
  if (key && widget == x_.c.txtMessage) return false;
  if (widget->objectName() == "ImgQuit" || qobject_cast<QMenuBar*>(widget)) return false;
  return true;
}

}  // namespace valkoran::view
