#include "game/newgame.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace valkoran {
namespace {

// A truce text, even "0", means the truce box is checked.
GameSetup Seats(std::array<std::string, 4> names, int worlds = 30, std::string truce = "") {
  return {.names = std::move(names), .worlds = worlds, .truceChecked = !truce.empty(), .truceText = truce};
}

TEST(ValidateSetup, RefusesWhatTheSetupWindowWouldNotAllow) {
  const std::array<std::string, 4> one = {"Ann", "", "", ""}, two = {"Ann", "Bob", "", ""};
  const std::array<std::string, 4> four = {"Ann", "Bob", "Cid", "Dee"};
  EXPECT_EQ(ValidateSetup(Seats({"", "Bob", "", ""})), "You Must Enter Your Name First!");
  EXPECT_EQ(ValidateSetup(Seats(two, 9)), "Player 2 Needs At Least 10 Worlds In The Solar System!");
  EXPECT_EQ(ValidateSetup(Seats({"Ann", "", "Cid", ""})), std::nullopt);  // an empty seat between taken ones
  EXPECT_EQ(ValidateSetup(Seats(one, 30, "12")), "A Battle Truce Needs A Second Player!");
  const std::pair<GameSetup, bool> cases[] = {
      {Seats(one, 8), false},  {Seats(one, 9), true}, {Seats(one, 31), false}, {Seats(four, 11), false},
      {Seats(four, 12), true}, {Seats({"An*", "", "", ""}), false}, {Seats({"Ann", "B\nob", "", ""}), false},
      // the truce's last turn; "0" chooses none
      {Seats(two, 30, "10"), true}, {Seats(two, 30, "50"), true}, {Seats(two, 30, "0"), true},
      {Seats(two, 30, "51"), false}, {Seats(two, 30, "9"), false}};
  for (const auto& [setup, ok] : cases) EXPECT_EQ(!ValidateSetup(setup), ok) << setup.worlds << setup.truceText;
}

TEST(NewGame, SeatsHomeWorldsTreasuresAndTheWorldsBeyondTheCount) {
  // seats, worlds, the bombs on seat 0's home world
  const std::tuple<std::array<std::string, 4>, int, int> cases[] = {
      {{"Ann", "", "", ""}, 9, 1},                     // Int(9/8), seat 1 empty
      {{"Ann", "", "", ""}, 30, 3},                    // Int(30/8)
      {{"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, 16, 4}};  // Int(16/8)+2
  for (const auto& [names, worlds, bombs0] : cases) {
    Game game(3);
    NewGame(game, Seats(names, worlds));
    const GameState& s = game.state;
    EXPECT_EQ(s.WorldBombs[8], bombs0) << worlds;
    for (int seat = 0; seat < 4; ++seat) {
      const int h = 8 + seat;
      EXPECT_EQ(s.WorldOwner[h], names[seat].empty() ? 0 : seat + 1);
      const int bombs = seat ? worlds / 8 + 2 : bombs0;
      if (!names[seat].empty()) {  // production, class, ships, treasure, bombs
        EXPECT_EQ(std::tuple(+s.WorldProduction[h], +s.WorldClass[h], s.WorldShips[h], +s.WorldTreasure[h],
                             +s.WorldBombs[h]), std::tuple(10, 5, 10.0f, 0, bombs)) << seat;
      }
    }
    // Every world is named and moves, but only those in play hold anything.
    for (int w = 0; w < kWorlds; ++w) {
      EXPECT_EQ(std::tuple(s.WorldName[w], s.WorldOrbit[w]), std::tuple(std::string(NameOf(w)), OrbitOf(w))) << w;
      EXPECT_GT(s.WorldSpin[w], 0) << w;
      if (w >= worlds) {  // class, ships, revealed, treasure
        EXPECT_EQ(std::tuple(+s.WorldClass[w], s.WorldShips[w], +s.WorldRevealed[w], +s.WorldTreasure[w]),
                  std::tuple(0, 0.0f, 0, 0)) << w;
      } else if (!s.WorldOwner[w]) {
        EXPECT_EQ(s.WorldShips[w], 30) << w;
        EXPECT_GE(s.WorldClass[w], 1) << w;
        EXPECT_LE(s.WorldRevealed[w], 5) << w;
      }
    }
  }
  int kinds[4] = {};  // fuel, bombs, hangars, crystals over many games
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    Game game(seed);
    NewGame(game, Seats({"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}));
    const GameState& s = game.state;
    int found[4] = {};
    for (int w = 0; w < kWorlds; ++w) {
      const int t = s.WorldTreasure[w], ratio = s.WorldProduction[w] ? t / s.WorldProduction[w] : 0;
      EXPECT_TRUE(t == 0 || (w >= 4 && (w < 8 || w > 11))) << "world " << w;  // nor on a seated home world
      if (t >= kFirstHangar) {  // whole turns of production, five to ten of them
        EXPECT_EQ(std::tuple(t % s.WorldProduction[w], std::clamp(ratio, 5, 10)), std::tuple(0, ratio)) << t;
      }
      found[0] += t == kDoubleFuel, found[1] += t == kExtraBomb, found[2] += t >= kFirstHangar, found[3] += t == kCrystal;
    }
    // 30 worlds: 2 fuel, 3 bombs, 2 hangars, 1 crystal, less those on a seated home world or without production.
    for (int k = 0; k < 4; ++k) EXPECT_LE(found[k], (std::array{2, 3, 2, 1}[k])) << "kind " << k << ", seed " << seed;
    for (int k = 0; k < 4; ++k) kinds[k] += found[k];
  }
  for (int k = 0; k < 4; ++k) EXPECT_GT(kinds[k], (std::array{300, 450, 250, 150}[k])) << "kind " << k;
}

TEST(NewGame, NothingLeaksFromTheLastGame) {
  Game a(77);
  GameSetup setup = Seats({"Ann", "Bob", "", ""}, 20, " 25");
  GameState& s = a.state;
  NewGame(a, setup);
  EXPECT_EQ(s.TruceTurn, 25);
  s.GameHistory[0] = "old news", s.WorldHistory[2][1] = "x", s.PlayerKnowledge[1][0][5] = 12, s.FleetFrom[3] = 4;
  s.WorldBombs[5] = 3, setup.truceText = "0", NewGame(a, setup);  // no truce chosen: the last value stays
  EXPECT_EQ(s.GameHistory[0] + s.WorldHistory[2][1], "");
  EXPECT_EQ(std::tuple(s.PlayerKnowledge[1][0][5], +s.FleetFrom[3], s.WorldBombs[5], s.TruceTurn), std::tuple(0, 0, 0, 25));
}

}  // namespace
}  // namespace valkoran
