// Loose picture and sound files: found in the current folder, then beside
// the executable, then in the installed data folder. A missing file is named
// once on stderr and the game goes on without it.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace valkoran::view {

// The full path of a data file, or "" when it is nowhere.
QString FindDataFile(const QString& name);
// The picture of that file; a null image when it is missing or unreadable.
QImage LoadImage(const QString& name);
QPixmap LoadPixmap(const QString& name);

// Where the installed data lives (set by the build).
QString InstalledDataFolder();

}  // namespace valkoran::view
