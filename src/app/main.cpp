// valkoran: the desktop game. With no argument it opens the start screen;
// with a saved game (FILE.gam, as a double click on one gives it) it opens
// that game in the main window.
#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>

#include "app/application.h"
#include "view/assets.h"

namespace {
std::atomic<int> stopSignal{0};
extern "C" void OnStopSignal(int signal) { stopSignal = signal; }
}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName("Valkoran");
  QApplication::setDesktopFileName("org.valkoran.Valkoran");
  // The program ends through its own windows (the start screen's close,
  // Exit, Quit, the main window's close), which keep a running game first.
  QApplication::setQuitOnLastWindowClosed(false);
  const QString icon = valkoran::view::FindDataFile("valkoran.png");
  if (!icon.isEmpty()) QApplication::setWindowIcon(QIcon(icon));
  const QStringList args = QApplication::arguments();
  if (args.size() > 2) {
    std::fprintf(stderr, "usage: valkoran [FILE.gam]\n");
    return 2;
  }
  const auto seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  valkoran::app::Application app(seed);
  if (args.size() == 2) {
    // A file that does not open has had its error box; the player goes on
    // from the start screen rather than losing the program too.
    if (!app.StartWithGame(args[1].toStdString()) && !app.Start()) return 1;
  } else if (!app.Start()) {
    return 1;
  }
  // Stopped from outside (a terminal's Ctrl+C or hang-up, the system
  // shutting down, a logout), the program leaves as its Exit does: a
  // running game is kept for Continue.
  for (int s : {SIGINT, SIGTERM, SIGHUP}) std::signal(s, OnStopSignal);
  QTimer stopWatch;
  QObject::connect(&stopWatch, &QTimer::timeout, [&app] {
    if (stopSignal.exchange(0)) app.Quit();
  });
  stopWatch.start(100);
  QObject::connect(&qt, &QGuiApplication::commitDataRequest, &app, [&app] { app.KeepRunningGame(); });
  return QApplication::exec();
}
