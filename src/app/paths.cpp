#include "app/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "store/highscore.h"

namespace valkoran::app {

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

bool FolderWritable(const QString& folder) {
  // Permission bits lie about read-only mounts and access lists: try it.
  QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".valkoran-XXXXXX")));
  return probe.open();
}

QString UserDataFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (folder.isEmpty()) folder = QDir::home().filePath(QStringLiteral(".valkoran"));
  QDir().mkpath(folder);
  return folder;
}

QString HighScorePath() {
  const QString program = ProgramFolder();
  const QString folder = FolderWritable(program) ? program : UserDataFolder();
  return QDir(folder).filePath(QString::fromLatin1(kHighScoreFileName));
}

QString DefaultGameFolder() {
  const QString program = ProgramFolder();
  if (FolderWritable(program)) return program;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

QString KeptGamePath() { return QDir(UserDataFolder()).filePath(QStringLiteral("running.gam")); }

}  // namespace valkoran::app
