// Driving the desktop game through its windows' own events, as a player
// does: finding controls by name, filling the setup window, clicking worlds.
#pragma once

#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "app/application.h"
#include "app/startscreen.h"
#include "app/setupwindow.h"
#include "view/galaxywindow.h"
#include "view/imagebutton.h"
#include "view/logic/viewlogic.h"

namespace valkoran::test {

template <typename T>
T* Child(QObject* parent, const QString& name) {
  T* child = parent->findChild<T*>(name);
  if (!child) qFatal("no child %s", qPrintable(name));
  return child;
}

inline void Shot(QWidget* w, const QString& name) {
  const QString folder = qEnvironmentVariable("VALKORAN_SHOTS_DIR", VALKORAN_SHOTS);
  QDir().mkpath(folder);
  w->grab().save(folder + "/" + name + ".png");
}

inline void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

// A double click as a person gives it: press and release, and `gap` ms
// later the double click in place of the second press, and its release;
// whatever the first press started is still going on meanwhile.
inline void DoubleClick(QWidget* w, QPoint at, int gap = 120) {
  QTimer::singleShot(gap, w, [w, at] {
    const QPointF global = w->mapToGlobal(QPointF(at));
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(w, &dbl);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
  });
  QTest::mousePress(w, Qt::LeftButton, {}, at);
  QTest::mouseRelease(w, Qt::LeftButton, {}, at);
  QTest::qWait(gap + 20);
}

// A press and its release `ms` later, as a touchpad tap gives them: the
// release comes while whatever the press started (its click cue) still runs.
inline void QuickClick(QWidget* w, int ms = 10, QPoint at = {}) {
  const QPoint p = at.isNull() ? w->rect().center() : at;
  QTimer::singleShot(ms, w, [w, p] { QTest::mouseRelease(w, Qt::LeftButton, {}, p); });
  QTest::mousePress(w, Qt::LeftButton, {}, p);
  QTest::qWait(ms + 5);
}

// The high scores, the kept game and the save folder of `app` in a scratch
// folder of this test process, never the player's own.
inline QString Isolate(app::Application& app) {
  static QTemporaryDir scratch;
  app.highScorePath = scratch.filePath("HighScore");
  app.keptGamePath = scratch.filePath("running.gam");
  app.gameFolder = scratch.path();
  return scratch.path();
}

// From the start screen's Start, fills the setup window ("computer" ticks
// the seat's box) and presses start.
inline void StartGame(app::Application& app, const QStringList& names, int worlds, int truceTurn = 0) {
  Isolate(app);
  app.Start();
  Click(Child<view::ImageButton>(app.startScreen(), "ImgStart"));
  app::SetupWindow* setup = app.setupWindow();
  QVERIFY(setup->isVisible());
  Child<QScrollBar>(setup, "VScroll1")->setValue(worlds);
  for (int s = 0; s < names.size(); ++s) {
    if (names[s] == "computer")
      Child<QCheckBox>(setup, QString("Check%1").arg(s + 1))->click();
    else
      Child<QLineEdit>(setup, QString("txtPL%1").arg(s))->setText(names[s]);
  }
  if (truceTurn > 0) {
    Child<QCheckBox>(setup, "chkTruce")->click();
    Child<QScrollBar>(setup, "VScroll2")->setValue(truceTurn);
  }
  Shot(setup, "setup");
  Click(Child<view::ImageButton>(setup, "imgStart"));
}

inline QPoint At(app::Application& app, int world) {
  const view::Point p = view::WorldPoint(app.game().state, app.galaxyWindow()->viewGeometry(), world);
  return {view::RoundPixel(p.x), view::RoundPixel(p.y)};
}

// Runs `probe` every millisecond while `action` runs (the engine's waits let
// timers fire), so a test can look and click in the middle of a turn.
inline void WhileRunning(const std::function<void()>& action, const std::function<void()>& probe) {
  QTimer timer;
  timer.setInterval(1);
  QObject::connect(&timer, &QTimer::timeout, probe);
  timer.start();
  action();
  timer.stop();
}

// A screen of the size the test asks for (1024 x 768 unless told), on the
// offscreen platform unless another one (xvfb's) was chosen.
inline void PrepareScreen() {
  QStandardPaths::setTestModeEnabled(true);
  const char* env = std::getenv("VALKORAN_TEST_SCREEN");
  const QString size = env ? env : "1024x768";
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  if (platform == "offscreen") {
    const QStringList wh = size.split('x');
    // One file per process: test programs run side by side, and one writing
    // the file while another reads it makes the reader abort.
    static QTemporaryDir dir;
    const QString json = dir.filePath("screen-" + size + ".json");
    std::ofstream(json.toStdString()) << "{\"screens\":[{\"name\":\"test\",\"x\":0,\"y\":0,\"width\":"
                                      << wh.value(0).toInt() << ",\"height\":" << wh.value(1).toInt()
                                      << ",\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}";
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + json).toUtf8());
  }
}

}  // namespace valkoran::test
