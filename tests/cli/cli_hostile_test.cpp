// The runner handed what a careless script or a hostile hand gives it.
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "game/playable.h"
#include "store/savefile.h"
#include "support/games.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

struct Result {
  int code;
  std::string out, err;
};
Result Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = cli::Run(args, out, err);
  return {code, out.str(), err.str()};
}

// An output that takes nothing, as a full disk does.
class FullDevice : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

class CliHostile : public ::testing::Test {
 protected:
  std::string P(const std::string& name) { return dir + "/" + name; }
  GameState Load(const std::string& name) { return LoadGame(P(name), GameState{}).state.value(); }
  std::string dir = test::TempDir();
};

TEST_F(CliHostile, AnEmptyPlayerKeepsHisSeatEmpty) {
  const Result made = Cli({"new", "--worlds", "12", "--player", "Ann", "--player", "", "--player", "", "--player",
                           "ENEMY3", "--seed", "8", "--out", P("g.gam")});
  ASSERT_EQ(made.code, 0) << made.err;
  const GameState s = Load("g.gam");
  EXPECT_TRUE(s.PlayerName[1].empty() && s.PlayerName[2].empty() && s.PlayerName[3] == "ENEMY3");
  EXPECT_TRUE(s.WorldOwner[9] == 0 && s.WorldOwner[10] == 0 && s.WorldOwner[11] == 4);
  ASSERT_EQ(Cli({"resave", P("g.gam"), "--out", P("r.gam")}).code, 0);
  EXPECT_EQ(test::Slurp(P("r.gam")), test::Slurp(P("g.gam")));
  // Ann's turn ends: the computer behind two empty seats is next, not a new turn.
  ASSERT_EQ(Cli({"play", P("g.gam"), "--moves", "1", "--quiet", "--out", P("m.gam")}).code, 0);
  const GameState m = Load("m.gam");
  EXPECT_TRUE(m.CurrentPlayer == 3 && CurrentTurn(m) == 0);
  const Result played = Cli({"play", P("g.gam"), "--turns", "4", "--seed", "2", "--out", P("p.gam")});
  ASSERT_EQ(played.code, 0) << played.err;
  EXPECT_NE(played.out.find("\tInitiating Turn #3 ENEMY3!\n"), std::string::npos) << played.out;

  // Seat 0 is still the one a game cannot do without.
  const Result none = Cli({"new", "--worlds", "12", "--player", "", "--player", "Bob", "--out", P("x.gam")});
  EXPECT_EQ(std::to_string(none.code) + none.err, "2You Must Enter Your Name First!\n");
}

TEST_F(CliHostile, NamesAreMeasuredInBytes) {
  std::string e128;  // 128 letters, 256 bytes
  for (int i = 0; i < 128; ++i) e128 += "\xC3\xA9";
  const Result r = Cli({"new", "--worlds", "12", "--player", e128, "--out", P("x.gam")});
  EXPECT_EQ(std::to_string(r.code) + r.err, "2Player Names May Have At Most 255 Bytes!\n");
  EXPECT_FALSE(std::filesystem::exists(P("x.gam")));
  EXPECT_EQ(Cli({"new", "--worlds", "12", "--player", e128.substr(2), "--out", P("x.gam")}).code, 0);
}

TEST_F(CliHostile, TurnsAtTheYearCeilingArePlayedAndSaved) {
  // The year no longer grows there, but the turns go on.
  GameState s = test::Made({"Ann", "", "", ""}, 9).state;
  s.GameYear = kMaxGameYear;
  ASSERT_EQ(SaveGame(P("ceiling.gam"), s), std::nullopt);
  const Result r = Cli({"play", P("ceiling.gam"), "--turns", "2", "--quiet", "--out", P("out.gam")});
  ASSERT_EQ(r.code, 0) << r.err;
  const GameState after = Load("out.gam");
  EXPECT_EQ(after.GameYear, kMaxGameYear);
  EXPECT_EQ(after.WorldShips[kHomeRing], s.WorldShips[kHomeRing] + 2 * 10);  // two turns of production
  EXPECT_NE(r.out.find("    Ann Owns 1 World With 10 Production and 30 Ships"), std::string::npos) << r.out;
}

TEST_F(CliHostile, UnwritableOutputFailsTheRun) {
  ASSERT_EQ(Cli({"new", "--worlds", "12", "--player", "Ann", "--seed", "1", "--out", P("g.gam")}).code, 0);
  FullDevice full;
  for (const auto& args : std::vector<std::vector<std::string>>{{"report", P("g.gam")},
                                                                {"distance", P("g.gam"), "8", "0"},
                                                                {"help"}}) {
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(cli::Run(args, out, err), 1) << args[0];
    EXPECT_EQ(err.str(), "valkoran-cli: the output could not be written\n") << args[0];
  }
}

TEST_F(CliHostile, AHighScoreDateStaysOnItsLine) {
  const std::vector<std::string> entry = {"highscore", P("HighScore"), "--name", "Ann", "--rating", "7", "--ships",
                                          "100", "--prod", "40", "--plan", "4", "--class", "13", "--date"};
  for (const char* date : {"6.12.2026\n", "6.12\r2026"}) {
    auto args = entry;
    args.push_back(date);
    const Result r = Cli(args);
    EXPECT_TRUE(r.code == 2 && r.err.rfind("valkoran-cli: --date must fit on one line\n", 0) == 0) << r.err;
    EXPECT_FALSE(std::filesystem::exists(P("HighScore")));
  }
  auto args = entry;
  args.push_back("6.12.2026");
  EXPECT_EQ(Cli(args).code, 0);
  EXPECT_EQ(fileio::SplitLines(test::Slurp(P("HighScore"))).size(), 80u);
}

}  // namespace
}  // namespace valkoran
