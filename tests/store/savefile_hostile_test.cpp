// Saved games on a hostile machine: a user's locale with a decimal comma,
// private files, files of another owner.
#include "store/savefile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <string>

#include "game/numbers.h"
#include "store/highscore.h"
#include "support/games.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

// The process runs under a German locale while it lives; the desktop program
// takes the user's locale from the environment as it starts.
class CommaLocale {
 public:
  CommaLocale() : old_(std::setlocale(LC_ALL, nullptr)) {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
      if (std::setlocale(LC_ALL, name)) break;
    active_ = std::localeconv()->decimal_point == std::string(",");
  }
  ~CommaLocale() { std::setlocale(LC_ALL, old_.c_str()); }
  bool active() const { return active_; }

 private:
  std::string old_;
  bool active_ = false;
};

#define REQUIRE_COMMA_LOCALE(locale)                                                               \
  if (!(locale).active())                                                                          \
  GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed, so a decimal comma cannot be tried " \
                  "(scripts/deps.sh generates it)"

std::vector<std::string> Split(const std::string& text) {
  const auto ls = fileio::SplitLines(text);
  return {ls.begin(), ls.end()};
}
std::string Join(const std::vector<std::string>& lines) {
  std::string t;
  for (const auto& l : lines) t += l + "\r\n";
  return t;
}

TEST(SaveFileHostile, NumbersReadTheSameUnderADecimalComma) {
  Game game = test::Made({"Ann", "Bob", "", ""});
  std::vector<std::string> lines = Split(WriteGameText(game.state));
  // The year, the shot delay and world 0's angle, orbit and spin, in the
  // spellings an older writer or a hand leaves: a plus sign, a D exponent.
  lines[10] = "+1.35", lines[12] = " 12.5", lines[14] = "1.16D-01", lines[15] = " 5E1", lines[16] = "+.0046";
  const std::string text = Join(lines);
  const LoadOutcome plain = ReadGameText(text, GameState{});
  ASSERT_TRUE(plain.state) << plain.reason;
  EXPECT_TRUE(plain.state->GameYear == 1.35f && plain.state->ShotDelay == 12.5f && plain.state->WorldAngle[0] == 0.116f &&
              plain.state->WorldOrbit[0] == 50 && plain.state->WorldSpin[0] == 0.0046f);

  CommaLocale german;
  REQUIRE_COMMA_LOCALE(german);
  const LoadOutcome comma = ReadGameText(text, GameState{});
  ASSERT_TRUE(comma.state) << comma.reason;
  EXPECT_TRUE(*comma.state == *plain.state);
  EXPECT_TRUE(WriteGameText(*comma.state) == WriteGameText(*plain.state));
  // The loose reading the windows use, and the strict one, with every spelling.
  const std::pair<const char*, double> texts[] = {
      {"+1.35", 1.35}, {" 1.16D-01", 0.116}, {"-.5e+2x", -50}, {"2.5,7", 2.5}, {"1,5", 1}, {"1e999", 0}};
  for (const auto& [t, v] : texts) EXPECT_EQ(Val(t), v) << t;
  EXPECT_EQ(ParseNumber("+1.35"), 1.35);
  EXPECT_EQ(ParseSingle(" 1.16D-01 "), 0.116f);
  EXPECT_EQ(ParseNumber("1,5"), std::nullopt);
  EXPECT_EQ(ParseSingle("1e39"), std::nullopt);  // no 32-bit value
  EXPECT_EQ(ParseSingle("1e-50"), 0.0f);
  // The high-score table orders its rows by the ratings it reads back.
  const std::string table = test::TempDir() + "/HighScore";
  HighScoreEntry first{"Ann", 7.3f, 100, 40, 4, 13, 1.0f, "6.12.2026"};
  ASSERT_EQ(HighScore(table, first).insertedAt, 0);
  first.name = "Bob", first.rating = 7.26f;
  EXPECT_EQ(HighScore(table, first).insertedAt, 1);  // 7.26 is below 7.3, not above 7
}

// Saving over a file keeps whose it is and who may read it.
TEST(SaveFileHostile, ReplacingAFileKeepsItsModeAndOwner) {
  const std::string dir = test::TempDir(), path = dir + "/private.gam";
  const GameState s = test::Made({"Ann", "", "", ""}).state;
  ASSERT_EQ(SaveGame(path, s), std::nullopt);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(st.st_mode & 07777, 0644u & ~mask);  // a new file is the user's to share as he likes
  for (mode_t mode : {0600u, 0640u, 0400u}) {
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_EQ(SaveGame(path, s), std::nullopt);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
  }
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another owner";
  ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_EQ(SaveGame(path, s), std::nullopt);
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_TRUE(st.st_uid == 65534u && st.st_gid == 65534u && (st.st_mode & 07777) == 0600u)
      << st.st_uid << ":" << st.st_gid << " " << std::oct << st.st_mode;
  EXPECT_EQ(test::Slurp(path), WriteGameText(s));
}

}  // namespace
}  // namespace valkoran
