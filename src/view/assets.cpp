#include "view/assets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cstdio>

#ifndef VALKORAN_DATA_DIR
#define VALKORAN_DATA_DIR "/usr/local/share/valkoran"
#endif

namespace valkoran::view {

QString InstalledDataFolder() { return QStringLiteral(VALKORAN_DATA_DIR); }

QString FindDataFile(const QString& name) {
  QStringList folders{QDir::currentPath()};
  if (QCoreApplication::instance()) folders << QCoreApplication::applicationDirPath();
  folders << InstalledDataFolder();
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
