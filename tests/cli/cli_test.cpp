#include "cli/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "game/travel.h"
#include "store/savefile.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

struct Result {
  int code;
  std::string out, err;
};

Result Cli(std::vector<std::string> args) {
  std::ostringstream out, err;
  int code = cli::Run(args, out, err);
  return {code, out.str(), err.str()};
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { dir = test::TempDir(); }
  std::string P(const std::string& name) { return dir + "/" + name; }
  GameState Load(const std::string& name) {
    LoadOutcome o = LoadGame(P(name), GameState{});
    EXPECT_TRUE(o.state) << o.error;
    return o.state ? *o.state : GameState{};
  }
  std::string dir;
};

TEST_F(CliTest, NewIsDeterministicForASeed) {
  auto r = Cli({"new", "--worlds", "20", "--player", "Ann", "--player", "ENEMY1", "--truce", "15", "--shields",
                "--seed", "5", "--out", P("a.gam")});
  ASSERT_EQ(r.code, 0) << r.err;
  ASSERT_EQ(Cli({"new", "--worlds", "20", "--player", "Ann", "--player", "ENEMY1", "--truce", "15", "--shields",
                 "--seed", "5", "--out", P("b.gam")})
                .code,
            0);
  EXPECT_EQ(Slurp(P("a.gam")), Slurp(P("b.gam")));
  GameState s = Load("a.gam");
  EXPECT_EQ(s.WorldCount, 20);
  EXPECT_EQ(s.PlayerName[1], "ENEMY1");
  EXPECT_EQ(s.TruceTurn, 15);
  EXPECT_TRUE(s.ShieldOption);
  EXPECT_EQ(Slurp(P("a.gam")).substr(0, 3), "1\r\n");
}

TEST_F(CliTest, ImpossibleSetupsExitTwoWithTheReason) {
  auto r = Cli({"new", "--worlds", "9", "--player", "Ann", "--player", "Bob", "--out", P("x.gam")});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("Needs At Least 10 Worlds"), std::string::npos);
  r = Cli({"new", "--worlds", "30", "--player", "", "--out", P("x.gam")});
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.err, "You Must Enter Your Name First!\n");
  r = Cli({"new", "--worlds", "30", "--player", "Ann", "--player", "", "--player", "Cid", "--out", P("x.gam")});
  EXPECT_EQ(r.code, 2);
  EXPECT_FALSE(std::ifstream(P("x.gam")).good());
  // Bad arguments: usage.
  for (auto args : std::vector<std::vector<std::string>>{
           {},
           {"bogus"},
           {"new", "--worlds", "abc", "--player", "Ann", "--out", P("x.gam")},
           {"new", "--player", "Ann", "--out", P("x.gam")},
           {"new", "--worlds", "30", "--player", "A", "--player", "B", "--player", "C", "--player", "D", "--player",
            "E", "--out", P("x.gam")},
           {"distance", P("x.gam"), "0"},
           {"distance", P("x.gam"), "0", "30"},
           {"distance", P("x.gam"), "0", "1", "--step", "0"},
           {"send", P("x.gam"), "8", "0", "50"},
           {"resave", P("x.gam")},
           {"highscore", P("HS"), "--name", "A", "--rating", "x", "--ships", "1", "--prod", "1", "--plan", "1",
            "--class", "1"},
       }) {
    r = Cli(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.err.find("usage: valkoran-cli"), std::string::npos);
  }
}

TEST_F(CliTest, DistanceAndNearestPrintTheSearch) {
  ASSERT_EQ(Cli({"new", "--worlds", "30", "--player", "Ann", "--player", "Bob", "--seed", "8", "--out", P("g.gam")})
                .code,
            0);
  const GameState s = Load("g.gam");
  const Trip t1 = DistCalcReference(s, 8, 3, 0.1f);
  auto r = Cli({"distance", P("g.gam"), "8", "3"});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.out, StrTrim(t1.distance) + " " + StrTrim(t1.course) + "\n");
  const Trip t2 = DistCalcReference(s, 8, 3, 0.2f);
  r = Cli({"distance", P("g.gam"), "8", "3", "--step", "0.2"});
  EXPECT_EQ(r.out, StrTrim(t2.distance) + " " + StrTrim(t2.course) + "\n");

  r = Cli({"nearest", P("g.gam"), "8", "1"});
  ASSERT_EQ(r.code, 0);
  std::istringstream in(r.out);
  std::string line;
  int rows = 0;
  float last = 0;
  while (std::getline(in, line)) {
    int w;
    float d;
    std::istringstream(line) >> w >> d;
    EXPECT_GE(d, last);
    EXPECT_NE(w, 8);
    EXPECT_EQ(line, std::to_string(w) + " " + StrTrim(DistCalcReference(s, 8, w, 0.2f).distance));
    last = d;
    ++rows;
  }
  EXPECT_EQ(rows, 4);
}

TEST_F(CliTest, SendResaveAndLoadErrors) {
  ASSERT_EQ(Cli({"new", "--worlds", "12", "--player", "Ann", "--player", "Bob", "--seed", "3", "--out", P("g.gam")})
                .code,
            0);
  auto r = Cli({"send", P("g.gam"), "8", "0", "50", "--out", P("s.gam")});
  ASSERT_EQ(r.code, 0) << r.err;
  GameState s = Load("s.gam");
  EXPECT_EQ(s.WorldShips[8], 5);
  EXPECT_EQ(s.FleetShips[0], 5);
  EXPECT_EQ(s.FleetFrom[0], 9);
  // Orders the menu would not offer.
  EXPECT_EQ(Cli({"send", P("g.gam"), "9", "0", "50", "--out", P("t.gam")}).code, 2);    // Bob's world
  EXPECT_EQ(Cli({"send", P("g.gam"), "8", "9", "1", "--out", P("t.gam")}).code, 0);     // scout an enemy
  EXPECT_EQ(Cli({"send", P("g.gam"), "8", "8", "1", "--out", P("t.gam")}).code, 2);     // scout own world
  EXPECT_EQ(Cli({"send", P("g.gam"), "8", "0", "33", "--out", P("t.gam")}).code, 2);
  EXPECT_EQ(Cli({"send", P("g.gam"), "8", "20", "50", "--out", P("t.gam")}).code, 2);   // not in play
  EXPECT_EQ(Cli({"send", P("g.gam"), "8", "1", "10001", "--out", P("t.gam")}).code, 0);  // proximity bomb

  r = Cli({"resave", P("s.gam"), "--out", P("r.gam")});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(Slurp(P("s.gam")), Slurp(P("r.gam")));

  r = Cli({"resave", P("none.gam"), "--out", P("r2.gam")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "   File Not Found!   \n");
  std::ofstream(P("bad.gam")) << "0\n 30\n";
  r = Cli({"distance", P("bad.gam"), "0", "1"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "   Corrupt Game File!   \n");
  r = Cli({"resave", P("s.gam"), "--out", dir + "/missing/dir/x.gam"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Error # 76\nPath not found\n");
}

TEST_F(CliTest, HighScorePrintsTenRows) {
  auto r = Cli({"highscore", P("HighScore"), "--name", "Ann", "--rating", "7.26", "--ships", "100", "--prod", "40",
                "--plan", "4", "--class", "13", "--date", "6.12.2026"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "007.3\tAnn\t0\t 4\t 40\t3.25\t 100\t6.12.2026\n" + std::string(9, '\n'));
}

}  // namespace
}  // namespace valkoran
