#include "store/highscore.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/vectors.h"

namespace valkoran {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

HighScoreEntry Entry(const std::string& name, float rating) {
  HighScoreEntry e;
  e.name = name;
  e.rating = rating;
  e.ships = 120;
  e.prod = 37;
  e.plan = 4;
  e.cls = 13;
  float y = 1.0f;  // after nine turn ends
  for (int i = 0; i < 9; ++i) y = static_cast<float>(y + 0.05);
  e.gameYear = y;
  e.date = "12/06/26";
  return e;
}

TEST(HighScore, FirstResultWritesTheWholeFile) {
  const std::string path = test::TempDir() + "/HighScore";
  HighScoreOutcome o = HighScore(path, Entry("Ann", 7.26f));
  ASSERT_FALSE(o.error);
  EXPECT_EQ(o.insertedAt, 0);
  const std::array<std::string, 8> row = {"007.3", "Ann", "9", " 4", " 37", "3.25", " 120", "12/06/26"};
  EXPECT_EQ(o.table[0], row);
  std::string expected;
  for (auto& c : row) expected += c + "\r\n";
  for (int i = 0; i < 72; ++i) expected += "\r\n";
  EXPECT_EQ(Slurp(path), expected);
  for (int r = 1; r < 10; ++r) EXPECT_TRUE(HighScoreRowEmpty(o.table[r]));
}

TEST(HighScore, OrderTiesAndTheDroppedTenthRow) {
  const std::string path = test::TempDir() + "/HighScore";
  for (int i = 1; i <= 10; ++i) ASSERT_FALSE(HighScore(path, Entry("P" + std::to_string(i), i * 10.0f)).error);
  // Equal to the best: placed below it.
  HighScoreOutcome o = HighScore(path, Entry("Tie", 100.0f));
  EXPECT_EQ(o.insertedAt, 1);
  EXPECT_EQ(o.table[0][1], "P10");
  EXPECT_EQ(o.table[1][1], "Tie");
  EXPECT_EQ(o.table[2][1], "P9");
  EXPECT_EQ(o.table[9][1], "P2");  // P1 dropped
  // Better than all: row 0, the old row 9 goes.
  o = HighScore(path, Entry("Top", 500.0f));
  EXPECT_EQ(o.insertedAt, 0);
  EXPECT_EQ(o.table[0][0], "500.0");
  EXPECT_EQ(o.table[1][1], "P10");
  EXPECT_EQ(o.table[9][1], "P3");
  // Worse than all ten: nothing changes, the file is not rewritten.
  const std::string before = Slurp(path);
  o = HighScore(path, Entry("Low", 1.0f));
  EXPECT_EQ(o.insertedAt, -1);
  EXPECT_EQ(Slurp(path), before);
  // Into the last row.
  o = HighScore(path, Entry("Last", 35.0f));
  EXPECT_EQ(o.insertedAt, 9);
  EXPECT_EQ(o.table[8][1], "P4");
  EXPECT_EQ(o.table[9][1], "Last");
}

TEST(HighScore, MenuCallOnlyShowsTheTable) {
  const std::string path = test::TempDir() + "/HighScore";
  HighScoreOutcome o = HighScore(path, HighScoreEntry{});
  EXPECT_EQ(o.insertedAt, -1);
  EXPECT_FALSE(std::ifstream(path).good());  // a missing file stays missing
  ASSERT_FALSE(HighScore(path, Entry("Ann", 5)).error);
  const std::string before = Slurp(path);
  o = HighScore(path, HighScoreEntry{});
  EXPECT_EQ(o.insertedAt, -1);
  EXPECT_EQ(o.table[0][1], "Ann");
  EXPECT_EQ(Slurp(path), before);
}

TEST(HighScore, ShortOrLfFilesAndResultsWithoutWorlds) {
  const std::string path = test::TempDir() + "/HighScore";
  std::ofstream(path, std::ios::binary) << "050.0\nOld\n20\n 5\n 50\n3.00\n 300\n1/2/25\n";
  HighScoreEntry e = Entry("New", 60);
  e.plan = 0;
  e.cls = 0;
  HighScoreOutcome o = HighScore(path, e);
  ASSERT_FALSE(o.error);
  EXPECT_EQ(o.insertedAt, 0);
  EXPECT_EQ(o.table[0][5], "0.00");
  EXPECT_EQ(o.table[1][1], "Old");
  EXPECT_EQ(o.table[1][7], "1/2/25");
  const std::string text = Slurp(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 80);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 80);
}

TEST(HighScore, UnreadableTableIsNotOverwritten) {
  const std::string dir = test::TempDir();
  HighScoreOutcome o = HighScore(dir, Entry("Ann", 50));  // a folder, not a file
  EXPECT_TRUE(o.error);
  EXPECT_EQ(o.insertedAt, -1);
}

}  // namespace
}  // namespace valkoran
