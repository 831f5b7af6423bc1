#include "game/newgame.h"

#include <gtest/gtest.h>

#include <map>

namespace valkoran {
namespace {

GameSetup Seats(std::array<std::string, 4> names, int worlds = 30) {
  GameSetup s;
  s.names = std::move(names);
  s.worlds = worlds;
  return s;
}

TEST(ValidateSetup, RefusesWhatTheSetupWindowWouldNotAllow) {
  EXPECT_EQ(ValidateSetup(Seats({"", "Bob", "", ""})), "You Must Enter Your Name First!");
  EXPECT_FALSE(ValidateSetup(Seats({"Ann", "", "", ""}, 9)));
  EXPECT_TRUE(ValidateSetup(Seats({"Ann", "", "", ""}, 8)));
  EXPECT_TRUE(ValidateSetup(Seats({"Ann", "", "", ""}, 31)));
  EXPECT_EQ(ValidateSetup(Seats({"Ann", "Bob", "", ""}, 9)),
            "Player 2 Needs At Least 10 Worlds In The Solar System!");
  EXPECT_FALSE(ValidateSetup(Seats({"Ann", "Bob", "", ""}, 10)));
  EXPECT_TRUE(ValidateSetup(Seats({"Ann", "Bob", "Cid", "Dee"}, 11)));
  EXPECT_FALSE(ValidateSetup(Seats({"Ann", "Bob", "Cid", "Dee"}, 12)));
  EXPECT_TRUE(ValidateSetup(Seats({"Ann*", "", "", ""})));
  EXPECT_TRUE(ValidateSetup(Seats({"Ann", "B\r\nob", "", ""})));
  EXPECT_EQ(ValidateSetup(Seats({"Ann", "", "Cid", ""})), "Player 3 Cannot Play While Seat 2 Is Empty!");

  GameSetup truce = Seats({"Ann", "Bob", "", ""});
  truce.truceChecked = true;
  truce.truceText = "10";
  EXPECT_FALSE(ValidateSetup(truce));
  truce.truceText = "51";
  EXPECT_TRUE(ValidateSetup(truce));
  truce.truceText = "0";  // "0" means no truce at all
  EXPECT_FALSE(ValidateSetup(truce));
  truce.truceText = "12";
  truce.names[1] = "";
  EXPECT_EQ(ValidateSetup(truce), "A Battle Truce Needs A Second Player!");
}

TEST(NewGame, HomeWorldsAndBombCounts) {
  struct Case {
    std::array<std::string, 4> names;
    int worlds;
    int bombs0;
  } cases[] = {
      {{"Ann", "", "", ""}, 9, 1},        // Int(9/8), seat 1 empty
      {{"Ann", "", "", ""}, 30, 3},       // Int(30/8)
      {{"Ann", "Bob", "", ""}, 30, 5},    // Int(30/8)+2
      {{"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, 16, 4},
  };
  for (const auto& c : cases) {
    Game game(3);
    NewGame(game, Seats(c.names, c.worlds));
    const GameState& s = game.state;
    EXPECT_EQ(s.WorldCount, c.worlds);
    EXPECT_EQ(s.WorldBombs[8], c.bombs0) << c.worlds;
    for (int seat = 0; seat < 4; ++seat) {
      const int h = 8 + seat;
      EXPECT_EQ(s.PlayerName[seat], c.names[seat]);
      if (c.names[seat].empty()) {
        EXPECT_EQ(s.WorldOwner[h], 0);
        continue;
      }
      EXPECT_EQ(s.WorldOwner[h], seat + 1);
      EXPECT_EQ(s.WorldProduction[h], 10);
      EXPECT_EQ(s.WorldClass[h], 5);
      EXPECT_EQ(s.WorldShips[h], 10);
      EXPECT_EQ(s.WorldShieldOn[h], 0);
      EXPECT_EQ(s.WorldTreasure[h], 0);
      if (seat > 0) {
        EXPECT_EQ(s.WorldBombs[h], c.worlds / 8 + 2);
      }
    }
    EXPECT_EQ(s.GameYear, 1.0f);
    EXPECT_EQ(s.AutoSaveYear, 1.0f);
    EXPECT_EQ(s.CurrentPlayer, 0);
    EXPECT_EQ(s.PlayerColor[1], Rgb(0, 100, 255));
  }
}

TEST(NewGame, WorldsInPlayAndBeyond) {
  Game game(11);
  NewGame(game, Seats({"Ann", "Bob", "", ""}, 14));
  const GameState& s = game.state;
  const double spin8 = 6.283184 / 520;
  EXPECT_EQ(s.WorldSpin[8], Sng(spin8));
  for (int w = 0; w < kWorlds; ++w) {
    EXPECT_EQ(s.WorldName[w], NameOf(w));
    EXPECT_EQ(s.WorldOrbit[w], OrbitOf(w));
    EXPECT_GT(s.WorldSpin[w], 0.0f);
    const double o = OrbitOf(w);
    if (w != 8) {
      EXPECT_EQ(s.WorldSpin[w], Sng(130.0 * 130.0 / (o * o) * s.WorldSpin[8]));
    }
    if (w >= s.WorldCount) {
      EXPECT_EQ(s.WorldProduction[w], 0);
      EXPECT_EQ(s.WorldClass[w], 0);
      EXPECT_EQ(s.WorldShips[w], 0);
      EXPECT_EQ(s.WorldRevealed[w], 0);
      EXPECT_EQ(s.WorldTreasure[w], 0);
    } else if (s.WorldOwner[w] == 0) {
      EXPECT_LE(s.WorldProduction[w], 15);
      EXPECT_GE(s.WorldClass[w], 1);
      EXPECT_LE(s.WorldClass[w], 5);
      EXPECT_EQ(s.WorldShips[w], 30);
      EXPECT_GE(s.WorldRevealed[w], 1);
      EXPECT_LE(s.WorldRevealed[w], 5);
      EXPECT_LE(s.WorldShieldOn[w], 1);
    }
  }
  EXPECT_EQ(s.WorldName[0], "Amenthes");
  EXPECT_EQ(s.WorldName[29], "Zea");
  // The home ring is spread evenly around world 8 without added randomness.
  EXPECT_EQ(s.WorldAngle[9], Sng(s.WorldAngle[8] + 3.141592));
  EXPECT_EQ(s.WorldAngle[10], Sng(s.WorldAngle[8] + 3.141592 / 2));
  EXPECT_EQ(s.WorldAngle[11], Sng(s.WorldAngle[8] + 3 * 3.141592 / 2));
  // Other rings: each world lies within one radian after its offset.
  auto after = [&](int w, int first, double offset) {
    const double d = s.WorldAngle[w] - (s.WorldAngle[first] + offset * 3.141592);
    EXPECT_GE(d, -1e-5) << w;
    EXPECT_LT(d, 1.0) << w;
  };
  after(12, 7, 6.0 / 5);
  after(28, 7, 4.0 / 5);
  after(13, 6, 6.0 / 5);
  after(14, 5, 1);
  after(27, 4, 1.5);
  after(16, 3, 1.0 / 3);
  after(17, 2, 1);
  after(18, 1, 1);
  EXPECT_GE(s.WorldAngle[0], 0.0f);
  EXPECT_LT(s.WorldAngle[0], 1.0f);
}

TEST(NewGame, TreasuresOnlyFromWorldFourAndInTheirOrder) {
  std::map<int, int> kinds;  // code class -> count over many games
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    Game game(seed);
    NewGame(game, Seats({"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, 30));
    const GameState& s = game.state;
    int fuel = 0, bombs = 0, crystals = 0, hangars = 0;
    for (int w = 0; w < kWorlds; ++w) {
      const int t = s.WorldTreasure[w];
      if (w < 4 || (w >= 8 && w <= 11)) {
        EXPECT_EQ(t, 0) << "world " << w;
      }
      if (t == kDoubleFuel) ++fuel;
      if (t == kExtraBomb) ++bombs;
      if (t == kCrystal) ++crystals;
      if (t >= kFirstHangar) {
        ++hangars;
        EXPECT_EQ(t % s.WorldProduction[w], 0);
        EXPECT_GE(t / s.WorldProduction[w], 5);
        EXPECT_LE(t / s.WorldProduction[w], 10);
      }
    }
    // 8 treasures: 2 fuel, 3 bombs, 2 hangars, 1 crystal, less those that
    // fell on a seated home world or a hangar on a world without production.
    EXPECT_LE(fuel, 2);
    EXPECT_LE(bombs, 3);
    EXPECT_LE(hangars, 2);
    EXPECT_LE(crystals, 1);
    kinds[0] += fuel, kinds[1] += bombs, kinds[2] += hangars, kinds[3] += crystals;
  }
  EXPECT_GT(kinds[0], 300);
  EXPECT_GT(kinds[1], 450);
  EXPECT_GT(kinds[2], 250);
  EXPECT_GT(kinds[3], 150);
}

TEST(NewGame, SmallestSystemStillPlacesTreasures) {
  Game game(5);
  NewGame(game, Seats({"Ann", "", "", ""}, 9));
  int treasures = 0;
  for (int w = 4; w < 9; ++w) treasures += game.state.WorldTreasure[w] != 0;
  for (int w = 0; w < 4; ++w) EXPECT_EQ(game.state.WorldTreasure[w], 0);
  EXPECT_LE(treasures, 3);
}

TEST(NewGame, SameSeedSameGameAndNothingLeaksFromTheLastGame) {
  Game a(77), b(77), c(78);
  const GameSetup setup = Seats({"Ann", "Bob", "", ""}, 20);
  NewGame(a, setup);
  NewGame(b, setup);
  NewGame(c, setup);
  EXPECT_EQ(a.state, b.state);
  EXPECT_NE(a.state, c.state);

  a.state.GameHistory[0] = "old news";
  a.state.PlayerKnowledge[1][0][5] = 12;
  a.state.FleetFrom[3] = 4;
  a.state.WorldHistory[2][1] = "x";
  a.state.WorldBombs[5] = 3;
  NewGame(a, setup);
  EXPECT_EQ(a.state.WorldBombs[5], 0);
  EXPECT_EQ(a.state.GameHistory[0], "");
  EXPECT_EQ(a.state.PlayerKnowledge[1][0][5], 0);
  EXPECT_EQ(a.state.FleetFrom[3], 0);
  EXPECT_EQ(a.state.WorldHistory[2][1], "");
}

TEST(NewGame, TruceAndShieldOptions) {
  Game game(1);
  GameSetup setup = Seats({"Ann", "Bob", "", ""});
  setup.truceChecked = true;
  setup.truceText = " 25";
  setup.shields = true;
  NewGame(game, setup);
  EXPECT_EQ(game.state.TruceTurn, 25);
  EXPECT_TRUE(game.state.ShieldOption);
  setup.truceText = "0";  // keeps the previous value
  NewGame(game, setup);
  EXPECT_EQ(game.state.TruceTurn, 25);
  Game fresh(1);
  NewGame(fresh, setup);
  EXPECT_EQ(fresh.state.TruceTurn, 0);
}

}  // namespace
}  // namespace valkoran
