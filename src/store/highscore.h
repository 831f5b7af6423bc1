// The table of the ten best results and its file "HighScore": 80 lines, row
// by row, eight cells a row.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace valkoran {

inline constexpr int kHighScoreRows = 10;
inline constexpr int kHighScoreColumns = 8;
inline constexpr const char* kHighScoreFileName = "HighScore";

// Columns: rating "000.0", name, turns, worlds, production, mean class "0.00",
// ships, date.
using HighScoreTable = std::array<std::array<std::string, kHighScoreColumns>, kHighScoreRows>;

struct HighScoreEntry {
  std::string name;
  float rating = 0, ships = 0, prod = 0, plan = 0, cls = 0;
  float gameYear = 1;   // the turns column comes from the game's year
  std::string date;     // today in the system's short date format
};

struct HighScoreOutcome {
  HighScoreTable table{};
  int insertedAt = -1;            // row of the new result, -1 when it did not enter
  std::optional<std::string> error;  // reading or writing failed
};

// Merges one result into the table held by the file at `path`. The file is
// rewritten only when the result enters the table; a missing or short file
// counts as empty rows and is written in full then.
HighScoreOutcome HighScore(const std::string& path, const HighScoreEntry& entry);

// A missing file, or one of fewer than 80 lines, is written in full: the
// rows it holds, then empty rows. A whole file is left as it is. Returns
// the error text when the file could not be read or written.
std::optional<std::string> CompleteHighScoreFile(const std::string& path);

// An empty row shows nothing: its ships cell reads 0.
bool HighScoreRowEmpty(const std::array<std::string, kHighScoreColumns>& row);

}  // namespace valkoran
