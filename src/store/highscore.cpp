#include "store/highscore.h"

#include <vector>

#include "game/numbers.h"
#include "store/fileio.h"

namespace valkoran {

namespace {

constexpr size_t kMaxHighScoreFile = 1u << 20;

std::array<std::string, kHighScoreColumns> RowOf(const HighScoreEntry& e) {
  const double turns = Int((static_cast<double>(e.gameYear) - 1 + 0.0001) / 0.05);
  // A result without worlds has no mean class; show 0 rather than fail.
  const float meanClass = e.plan != 0 ? e.cls / e.plan : 0.0f;
  return {Format(e.rating, "000.0"), e.name,     StrTrim(static_cast<float>(turns)),
          Str(e.plan),               Str(e.prod), Format(meanClass, "0.00"),
          Str(e.ships),              e.date};
}

}  // namespace

bool HighScoreRowEmpty(const std::array<std::string, kHighScoreColumns>& row) {
  return Val(row[6]) == 0;
}

namespace {
std::string TableText(const HighScoreTable& table) {
  std::string text;
  for (const auto& row : table)
    for (const auto& cell : row) text += cell + "\r\n";
  return text;
}
}  // namespace

std::optional<std::string> CompleteHighScoreFile(const std::string& path) {
  fileio::ReadResult file = fileio::ReadAll(path, kMaxHighScoreFile);
  if (!file.data && !file.notFound) return file.error;
  std::vector<std::string_view> lines;
  if (file.data) lines = fileio::SplitLines(*file.data);
  constexpr size_t kCells = kHighScoreRows * kHighScoreColumns;
  if (file.data && lines.size() >= kCells) return std::nullopt;
  HighScoreTable table{};
  size_t next = 0;
  for (auto& row : table)
    for (auto& cell : row) cell = next < lines.size() ? std::string(lines[next++]) : "";
  return fileio::WriteAtomically(path, TableText(table));
}

HighScoreOutcome HighScore(const std::string& path, const HighScoreEntry& entry) {
  HighScoreOutcome out;
  std::vector<std::string_view> lines;
  fileio::ReadResult file = fileio::ReadAll(path, kMaxHighScoreFile);
  if (file.data) {
    lines = fileio::SplitLines(*file.data);
  } else if (!file.notFound) {
    // A table we cannot read must not be overwritten by one we made up.
    out.error = file.error;
    return out;
  }
  size_t next = 0;
  for (int r = 0; r < kHighScoreRows; ++r) {
    for (auto& cell : out.table[r]) cell = next < lines.size() ? std::string(lines[next++]) : "";
    if (out.insertedAt < 0 && entry.rating > Val(out.table[r][0])) {
      if (r < kHighScoreRows - 1) out.table[r + 1] = out.table[r];
      out.table[r] = RowOf(entry);
      out.insertedAt = r;
      ++r;  // the next stored row goes below the one moved down
    }
  }
  if (out.insertedAt >= 0) {
    if (auto err = fileio::WriteAtomically(path, TableText(out.table))) out.error = err;
  }
  return out;
}

}  // namespace valkoran
