// Where the program keeps its files: the high-score table, the game left
// running at the last exit, and the folder the save and load windows open on.
#pragma once

#include <QString>

namespace valkoran::app {

// The folder of the executable.
QString ProgramFolder();
// Whether a file can be created in `folder` (tried, not guessed from bits).
bool FolderWritable(const QString& folder);
// The user's data folder for this program, made when missing.
QString UserDataFolder();
// "HighScore" in the program's folder when it is writable, else in the
// user's data folder.
QString HighScorePath();
// The program's folder when writable, else the user's documents folder.
QString DefaultGameFolder();
// The game kept when the program ended with a game running.
QString KeptGamePath();

}  // namespace valkoran::app
