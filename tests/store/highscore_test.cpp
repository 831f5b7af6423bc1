#include "store/highscore.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/vectors.h"

namespace valkoran {
namespace {

HighScoreEntry Entry(const std::string& name, float rating) {
  HighScoreEntry e{name, rating, 120, 37, 4, 13, 1.0f, "12/06/26"};
  for (int i = 0; i < 9; ++i) e.gameYear = static_cast<float>(e.gameYear + 0.05);  // nine turns
  return e;
}

TEST(HighScore, FirstResultWritesAllEightyLines) {
  const std::string path = test::TempDir() + "/HighScore";
  EXPECT_EQ(HighScore(path, HighScoreEntry{}).insertedAt, -1);  // the menu's empty call writes nothing
  EXPECT_FALSE(std::ifstream(path).good());
  HighScoreOutcome o = HighScore(path, Entry("Ann", 7.26f));
  ASSERT_FALSE(o.error);
  EXPECT_EQ(o.insertedAt, 0);
  std::string expected;
  for (auto c : {"007.3", "Ann", "9", " 4", " 37", "3.25", " 120", "12/06/26"}) expected += std::string(c) + "\r\n";
  for (int i = 0; i < 72; ++i) expected += "\r\n";
  EXPECT_EQ(test::Slurp(path), expected);
}

TEST(HighScore, OrderTiesAndTheDroppedTenthRow) {
  const std::string path = test::TempDir() + "/HighScore";
  for (int i = 1; i <= 10; ++i) ASSERT_FALSE(HighScore(path, Entry("P" + std::to_string(i), i * 10.0f)).error);
  auto names = [](const HighScoreOutcome& o) {
    std::string n;
    for (auto& row : o.table) n += row[1] + " ";
    return n;
  };
  HighScoreOutcome o = HighScore(path, Entry("Tie", 100));  // equal to the best: below it
  EXPECT_EQ(names(o), "P10 Tie P9 P8 P7 P6 P5 P4 P3 P2 ");
  o = HighScore(path, Entry("Top", 500));
  EXPECT_EQ(names(o), "Top P10 Tie P9 P8 P7 P6 P5 P4 P3 ");
  EXPECT_EQ(o.table[0][0], "500.0");
  const std::string before = test::Slurp(path);
  EXPECT_EQ(HighScore(path, Entry("Low", 1)).insertedAt, -1);
  EXPECT_EQ(test::Slurp(path), before);  // not rewritten
  o = HighScore(path, Entry("Last", 35));
  EXPECT_EQ(o.insertedAt, 9);
  EXPECT_EQ(names(o), "Top P10 Tie P9 P8 P7 P6 P5 P4 Last ");
}

TEST(HighScore, ShortLfFilesWorldlessResultsAndUnreadableTables) {
  const std::string dir = test::TempDir(), path = dir + "/HighScore";
  std::ofstream(path, std::ios::binary) << "050.0\nOld\n20\n 5\n 50\n3.00\n 300\n1/2/25\n";
  HighScoreEntry e = Entry("New", 60);
  e.plan = e.cls = 0;
  HighScoreOutcome o = HighScore(path, e);
  ASSERT_FALSE(o.error);
  EXPECT_EQ(o.table[0][5], "0.00");
  EXPECT_EQ(o.table[1][7], "1/2/25");
  EXPECT_TRUE(HighScoreRowEmpty(o.table[2]));
  const std::string text = test::Slurp(path);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 80);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 80);
  o = HighScore(dir, Entry("Ann", 50));  // a folder: reported, nothing written
  EXPECT_TRUE(o.error);
  EXPECT_EQ(o.insertedAt, -1);
}

}  // namespace
}  // namespace valkoran
