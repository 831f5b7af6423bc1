#include "cli/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "game/game.h"
#include "game/travel.h"
#include "store/savefile.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

struct Result { int code; std::string out, err; };
Result Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  return {cli::Run(args, out, err), out.str(), err.str()};  // braces run left to right
}

class CliTest : public ::testing::Test {
 protected:
  std::string P(const std::string& name) { return dir + "/" + name; }
  int New(const std::string& out, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"new", "--worlds", "12", "--player", "Ann", "--player", "Bob", "--out", P(out)};
    args.insert(args.end(), extra.begin(), extra.end());
    return Cli(args).code;
  }
  GameState Load(const std::string& name) { return LoadGame(P(name), GameState{}).state.value(); }
  static std::string Nearest(const GameState& s, int from, int exclude) {  // the rows the command prints
    Game game;
    game.state = s, game.Nearest(static_cast<int16_t>(from), static_cast<int16_t>(exclude));
    std::string rows;
    for (int i = 0; i < 4; ++i)
      rows += std::to_string(static_cast<int>(game.NearestList[i][0])) + " " + StrTrim(game.NearestList[i][1]) + "\n";
    return rows;
  }
  std::string dir = test::TempDir();
};

TEST_F(CliTest, BadArgumentsAndImpossibleSetups) {
  for (auto args : std::vector<std::vector<std::string>>{{}, {"bogus"},
           {"new", "--worlds", "abc", "--player", "Ann", "--out", P("x.gam")},
           {"new", "--player", "Ann", "--out", P("x.gam")},
           {"new", "--worlds", "30", "--player", "A", "--player", "B", "--player", "C", "--player", "D",
            "--player", "E", "--out", P("x.gam")},
           {"distance", P("x.gam"), "0", "30"}, {"distance", P("x.gam"), "0", "1", "--step", "0"},
           {"send", P("x.gam"), "8", "0", "50"}, {"resave", P("x.gam")},
           {"highscore", P("HS"), "--name", "A", "--rating", "x", "--ships", "1", "--prod", "1", "--plan", "1",
            "--class", "1"},
       }) {
    Result r = Cli(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.err.find("usage: valkoran-cli"), std::string::npos) << r.err;
  }
  Result r = Cli({"new", "--worlds", "30", "--player", "", "--out", P("x.gam")});
  EXPECT_EQ(std::to_string(r.code) + r.err, "2You Must Enter Your Name First!\n");  // the reason, not the usage
  EXPECT_FALSE(std::ifstream(P("x.gam")).good());
}

TEST_F(CliTest, NewDistanceAndNearest) {
  ASSERT_EQ(New("a.gam", {"--truce", "15", "--shields", "--seed", "5"}), 0);
  ASSERT_EQ(New("b.gam", {"--truce", "15", "--shields", "--seed", "5"}), 0);
  EXPECT_EQ(test::Slurp(P("a.gam")), test::Slurp(P("b.gam")));  // same seed, same file
  const GameState s = Load("a.gam");
  EXPECT_EQ(std::tuple(s.TruceTurn, s.ShieldOption), std::tuple(int16_t{15}, true));
  const Trip t = DistCalcReference(s, 8, 3, 0.2f);
  EXPECT_EQ(Cli({"distance", P("a.gam"), "8", "3", "--step", "0.2"}).out,
            StrTrim(t.distance) + " " + StrTrim(t.course) + "\n");
  EXPECT_EQ(Cli({"nearest", P("a.gam"), "8", "1"}).out, Nearest(s, 8, 1));
}

TEST_F(CliTest, WorldsInPlaySendResaveAndFileErrors) {
  ASSERT_EQ(New("g.gam", {"--seed", "3"}), 0);
  for (const auto& args : std::vector<std::vector<std::string>>{  // worlds beyond the world count are empty slots
           {"distance", P("g.gam"), "12", "0"}, {"distance", P("g.gam"), "0", "29"}, {"nearest", P("g.gam"), "12", "0"},
           {"nearest", P("g.gam"), "0", "-2"}, {"nearest", P("g.gam"), "0", "5"}}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.code, 2) << args[2] << " " << args[3];
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
  }
  EXPECT_NE(Cli({"distance", P("g.gam"), "12", "0"}).err.find("FROM must be a world in play, 0 to 11"),
            std::string::npos);
  GameState s = Load("g.gam");  // world 11, the nearest to world 3, is listed only when -1 leaves no owner out
  s.WorldOwner[11] = 1;
  ASSERT_FALSE(SaveGame(P("h.gam"), s));
  const std::string any = Cli({"nearest", P("h.gam"), "3", "-1"}).out;
  EXPECT_EQ(any, Nearest(s, 3, -1));
  EXPECT_EQ(any.substr(0, 3), "11 ");
  ASSERT_EQ(Cli({"send", P("g.gam"), "8", "0", "50", "--out", P("s.gam")}).code, 0);
  EXPECT_EQ(Load("s.gam").FleetShips[0], 5);
  // No launch that would make a twenty-first proximity bomb. The runner's other refusals are the engine's own,
  // tested where orders enter it.
  GameState armed = Load("g.gam");
  for (int bombs : {19, 20}) {
    std::fill_n(armed.BombOwner.begin(), bombs, 2);
    ASSERT_FALSE(SaveGame(P("b.gam"), armed));
    const Result r = Cli({"send", P("b.gam"), "8", "1", "10050", "--out", P("t.gam")});
    EXPECT_EQ(std::to_string(r.code) + r.err,
              bombs == 19 ? "0" : "2Twenty Proximity Bombs Are Already Armed Or In Flight!\n");
  }
  ASSERT_EQ(Cli({"resave", P("s.gam"), "--out", P("r.gam")}).code, 0);
  EXPECT_EQ(test::Slurp(P("s.gam")), test::Slurp(P("r.gam")));
  Result r = Cli({"resave", P("none.gam"), "--out", P("r2.gam")});
  EXPECT_EQ(std::to_string(r.code) + r.err, "1   File Not Found!   \n");
  std::ofstream(P("bad.gam")) << "0\n 30\n";
  EXPECT_EQ(Cli({"distance", P("bad.gam"), "0", "1"}).err, "   Corrupt Game File!   \n");
  r = Cli({"resave", P("s.gam"), "--out", dir + "/missing/dir/x.gam"});
  EXPECT_EQ(std::to_string(r.code) + r.err, "1Error # 76\nPath not found\n");
  r = Cli({"highscore", P("HighScore"), "--name", "Ann", "--rating", "7.26", "--ships", "100", "--prod", "40",
           "--plan", "4", "--class", "13", "--date", "6.12.2026"});
  EXPECT_EQ(r.out, "007.3\tAnn\t0\t 4\t 40\t3.25\t 100\t6.12.2026\n" + std::string(9, '\n'));
}

TEST_F(CliTest, PlayAndReport) {
  ASSERT_EQ(Cli({"new", "--worlds", "16", "--player", "ENEMY0", "--player", "ENEMY1", "--player", "Cid", "--seed", "4",
                 "--out", P("g.gam")}).code, 0);
  // Moves count seat turns, turns count processed turns; both stop before the next seat starts.
  ASSERT_EQ(Cli({"play", P("g.gam"), "--moves", "2", "--quiet", "--out", P("m.gam")}).code, 0);
  EXPECT_EQ(Load("m.gam").CurrentPlayer, 2);
  const Result a = Cli({"play", P("g.gam"), "--turns", "12", "--seed", "9", "--out", P("a.gam")});
  const Result b = Cli({"play", P("g.gam"), "--turns", "12", "--seed", "9", "--out", P("b.gam")});
  ASSERT_EQ(a.code, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(test::Slurp(P("a.gam")), test::Slurp(P("b.gam")));
  EXPECT_EQ(CurrentTurn(Load("a.gam")), 12);
  EXPECT_EQ(a.out.substr(0, 28), "0\tInitiating Turn #0 ENEMY0!");
  EXPECT_NE(a.out.find("\n12\tYear 1.60, Turn #12\n"), std::string::npos);
  EXPECT_NE(a.out.find("\n    ENEMY0 Owns"), std::string::npos);  // the status report closes the run

  // A game that loads but in which no seat can take a turn: exit 3, not a file error.
  GameState none = Load("g.gam");
  std::fill(none.WorldOwner.begin(), none.WorldOwner.end(), 0);
  ASSERT_FALSE(SaveGame(P("none.gam"), none));
  const Result stuck = Cli({"play", P("none.gam"), "--quiet"});
  EXPECT_EQ(std::to_string(stuck.code) + stuck.err,
            "3The game cannot go on: the turn of ENEMY0 cannot be ended and no other seat can move.\n");
  const Result r = Cli({"report", P("g.gam")});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\nCid\n  World:              Class:"), std::string::npos);
  EXPECT_NE(r.out.find("\nNone\n"), std::string::npos);
  EXPECT_EQ(r.out.find("ENEMY0\n  World:"), std::string::npos);  // computer seats have no panel
}

}  // namespace
}  // namespace valkoran
