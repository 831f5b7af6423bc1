// valkoran: the desktop game. With no argument it opens the setup window;
// with a saved game (FILE.gam) it opens that game in the main window.
#include <QApplication>
#include <chrono>
#include <cstdio>

#include "app/application.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName("Valkoran");
  const QStringList args = QApplication::arguments();
  if (args.size() > 2) {
    std::fprintf(stderr, "usage: valkoran [FILE.gam]\n");
    return 2;
  }
  const auto seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  valkoran::app::Application app(seed);
  const bool started = args.size() == 2 ? app.StartWithGame(args[1].toStdString()) : app.Start();
  if (!started) return 1;
  return QApplication::exec();
}
