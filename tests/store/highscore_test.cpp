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

TEST(HighScore, TheFileHoldsAllEightyLinesWhateverItHeldBefore) {
  const std::string dir = test::TempDir(), path = dir + "/HighScore";
  EXPECT_EQ(HighScore(path, HighScoreEntry{}).insertedAt, -1);
  EXPECT_FALSE(std::ifstream(path).good()) << "a rating of 0 wrote the file";
  EXPECT_EQ(HighScore(path, Entry("Ann", 7.26f)).insertedAt, 0);
  std::string expected = "007.3\r\nAnn\r\n9\r\n 4\r\n 37\r\n3.25\r\n 120\r\n12/06/26\r\n";
  for (int i = 0; i < 72; ++i) expected += "\r\n";
  EXPECT_EQ(test::Slurp(path), expected);
  // A short file with LF ends, and a result without worlds (no mean class).
  std::ofstream(path, std::ios::binary) << "050.0\nOld\n20\n 5\n 50\n3.00\n 300\n1/2/25\n";
  HighScoreEntry e = Entry("New", 60);
  e.plan = e.cls = 0;
  const HighScoreOutcome o = HighScore(path, e);
  ASSERT_FALSE(o.error) << *o.error;
  EXPECT_EQ(std::tuple(o.table[0][5], o.table[1][7], HighScoreRowEmpty(o.table[2])), std::tuple("0.00", "1/2/25", true));
  const std::string text = test::Slurp(path);
  EXPECT_EQ(std::tuple(std::count(text.begin(), text.end(), '\n'), std::count(text.begin(), text.end(), '\r')),
            std::tuple(80L, 80L));
  const HighScoreOutcome folder = HighScore(dir, Entry("Ann", 50));
  EXPECT_TRUE(folder.error);  // unreadable: reported, nothing entered
  EXPECT_EQ(folder.insertedAt, -1);
}

TEST(HighScore, OrderTiesAndTheDroppedTenthRow) {
  const std::string path = test::TempDir() + "/HighScore";
  for (int i = 1; i <= 10; ++i) ASSERT_FALSE(HighScore(path, Entry("P" + std::to_string(i), i * 10.0f)).error);
  auto enter = [&](const char* name, float rating) {  // the row it entered at, then the table's names
    const HighScoreOutcome o = HighScore(path, Entry(name, rating));
    std::string n = std::to_string(o.insertedAt) + ":";
    for (auto& row : o.table) n += " " + row[1];
    return n;
  };
  EXPECT_EQ(enter("Tie", 100), "1: P10 Tie P9 P8 P7 P6 P5 P4 P3 P2");  // equal to the best: below it
  EXPECT_EQ(enter("Top", 500), "0: Top P10 Tie P9 P8 P7 P6 P5 P4 P3");
  const std::string before = test::Slurp(path);
  EXPECT_EQ(before.substr(0, 12), "500.0\r\nTop\r\n");
  EXPECT_EQ(enter("Low", 1), "-1: Top P10 Tie P9 P8 P7 P6 P5 P4 P3");
  EXPECT_EQ(test::Slurp(path), before);  // not rewritten
  EXPECT_EQ(enter("Last", 35), "9: Top P10 Tie P9 P8 P7 P6 P5 P4 Last");
}

}  // namespace
}  // namespace valkoran
