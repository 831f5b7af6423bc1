#include "game/newgame.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(ValidateSetup(Seats({"Ann", "Bob", "", ""}, 9)), "Player 2 Needs At Least 10 Worlds In The Solar System!");
  EXPECT_EQ(ValidateSetup(Seats({"Ann", "", "Cid", ""})), "Player 3 Cannot Play While Seat 2 Is Empty!");
  for (auto bad : {Seats({"Ann", "", "", ""}, 8), Seats({"Ann", "", "", ""}, 31), Seats({"An*", "", "", ""}),
                   Seats({"Ann", "B\nob", "", ""}), Seats({"Ann", "Bob", "Cid", "Dee"}, 11)})
    EXPECT_TRUE(ValidateSetup(bad));
  EXPECT_FALSE(ValidateSetup(Seats({"Ann", "", "", ""}, 9)));
  EXPECT_FALSE(ValidateSetup(Seats({"Ann", "Bob", "Cid", "Dee"}, 12)));

  GameSetup truce = Seats({"Ann", "Bob", "", ""});
  truce.truceChecked = true;
  for (auto [text, ok] : {std::pair{"10", true}, {"50", true}, {"0", true}, {"51", false}, {"9", false}}) {
    truce.truceText = text;
    EXPECT_EQ(!ValidateSetup(truce), ok) << text;
  }
  truce.truceText = "12";
  truce.names[1] = "";
  EXPECT_EQ(ValidateSetup(truce), "A Battle Truce Needs A Second Player!");
}

TEST(NewGame, SeatsHomeWorldsAndTheWorldsBeyondTheCount) {
  const struct {
    std::array<std::string, 4> names;
    int worlds, bombs0;
  } cases[] = {
      {{"Ann", "", "", ""}, 9, 1},                      // Int(9/8), seat 1 empty
      {{"Ann", "", "", ""}, 30, 3},                     // Int(30/8)
      {{"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, 16, 4},   // Int(16/8)+2
  };
  for (const auto& c : cases) {
    Game game(3);
    NewGame(game, Seats(c.names, c.worlds));
    const GameState& s = game.state;
    EXPECT_EQ(s.WorldBombs[8], c.bombs0) << c.worlds;
    for (int seat = 0; seat < 4; ++seat) {
      const int h = 8 + seat;
      EXPECT_EQ(s.WorldOwner[h], c.names[seat].empty() ? 0 : seat + 1);
      if (c.names[seat].empty()) continue;
      EXPECT_EQ(s.WorldProduction[h], 10);
      EXPECT_EQ(s.WorldClass[h], 5);
      EXPECT_EQ(s.WorldShips[h], 10);
      EXPECT_EQ(s.WorldTreasure[h], 0);
      EXPECT_EQ(s.WorldBombs[h], seat ? c.worlds / 8 + 2 : c.bombs0);
    }
    // Every world is named and moves, but only those in play hold anything.
    for (int w = 0; w < kWorlds; ++w) {
      EXPECT_TRUE(s.WorldName[w] == NameOf(w) && s.WorldOrbit[w] == OrbitOf(w) && s.WorldSpin[w] > 0) << w;
      const bool inPlay = w < c.worlds;
      EXPECT_TRUE(inPlay || s.WorldClass[w] + s.WorldShips[w] + s.WorldRevealed[w] + s.WorldTreasure[w] == 0) << w;
      EXPECT_TRUE(!inPlay || s.WorldOwner[w] || (s.WorldShips[w] == 30 && s.WorldClass[w] >= 1 && s.WorldRevealed[w] <= 5));
    }
  }
}

TEST(NewGame, TreasuresOnlyFromWorldFourInTheirProportions) {
  int kinds[4] = {};  // fuel, bombs, hangars, crystals over many games
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    Game game(seed);
    NewGame(game, Seats({"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}));
    const GameState& s = game.state;
    int found[4] = {};
    for (int w = 0; w < kWorlds; ++w) {
      const int t = s.WorldTreasure[w];
      if (w < 4 || (w >= 8 && w <= 11)) {
        EXPECT_EQ(t, 0) << "world " << w;
      }
      if (t >= kFirstHangar) {
        EXPECT_EQ(t % s.WorldProduction[w], 0);
        EXPECT_TRUE(t / s.WorldProduction[w] >= 5 && t / s.WorldProduction[w] <= 10) << t;
      }
      found[0] += t == kDoubleFuel, found[1] += t == kExtraBomb, found[2] += t >= kFirstHangar, found[3] += t == kCrystal;
    }
    // 30 worlds: 2 fuel, 3 bombs, 2 hangars, 1 crystal, less those on a seated
    // home world or a hangar on a world without production.
    const int most[4] = {2, 3, 2, 1};
    for (int k = 0; k < 4; ++k) {
      EXPECT_LE(found[k], most[k]);
      kinds[k] += found[k];
    }
  }
  EXPECT_GT(kinds[0], 300);
  EXPECT_GT(kinds[1], 450);
  EXPECT_GT(kinds[2], 250);
  EXPECT_GT(kinds[3], 150);
}

TEST(NewGame, SameSeedSameGameAndNothingLeaksFromTheLastGame) {
  Game a(77), b(77), c(78);
  GameSetup setup = Seats({"Ann", "Bob", "", ""}, 20);
  setup.truceChecked = true;
  setup.truceText = " 25";
  NewGame(a, setup);
  NewGame(b, setup);
  NewGame(c, setup);
  EXPECT_EQ(a.state, b.state);
  EXPECT_NE(a.state, c.state);
  EXPECT_EQ(a.state.TruceTurn, 25);

  a.state.GameHistory[0] = "old news";
  a.state.PlayerKnowledge[1][0][5] = 12;
  a.state.FleetFrom[3] = 4;
  a.state.WorldHistory[2][1] = "x";
  a.state.WorldBombs[5] = 3;
  setup.truceText = "0";  // no truce chosen: the last value stays
  NewGame(a, setup);
  EXPECT_EQ(a.state.GameHistory[0], "");
  EXPECT_EQ(a.state.PlayerKnowledge[1][0][5], 0);
  EXPECT_EQ(a.state.FleetFrom[3], 0);
  EXPECT_EQ(a.state.WorldHistory[2][1], "");
  EXPECT_EQ(a.state.WorldBombs[5], 0);
  EXPECT_EQ(a.state.TruceTurn, 25);
}

}  // namespace
}  // namespace valkoran
