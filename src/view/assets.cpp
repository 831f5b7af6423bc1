#include "view/assets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

#ifndef VALKORAN_DATA_FROM_BIN
#define VALKORAN_DATA_FROM_BIN "../share/valkoran"
#endif

namespace valkoran::view {

// Relative to the executable, so an installed tree can be moved or unpacked
// anywhere; without a running application there is no executable to go by.
QString InstalledDataFolder() {
  if (!QCoreApplication::instance()) return {};
  return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                         QStringLiteral(VALKORAN_DATA_FROM_BIN));
}

QString FindDataFile(const QString& name) {
  QStringList folders{QDir::currentPath()};
  if (QCoreApplication::instance())
    folders << QCoreApplication::applicationDirPath() << InstalledDataFolder();
  for (const QString& folder : folders) {
    const QFileInfo info(QDir(folder), name);
    if (info.isFile()) return info.absoluteFilePath();
  }
  static QSet<QString> named;
  if (!named.contains(name)) {
    named.insert(name);
    std::fprintf(stderr, "valkoran: %s not found; going on without it\n", qPrintable(name));
  }
  return {};
}

QImage LoadImage(const QString& name) {
  const QString path = FindDataFile(name);
  return path.isEmpty() ? QImage() : QImage(path);
}

QPixmap LoadPixmap(const QString& name) {
  const QString path = FindDataFile(name);
  return path.isEmpty() ? QPixmap() : QPixmap(path);
}

}  // namespace valkoran::view
