// The radar around the current player's home worlds.
#include <gtest/gtest.h>

#include "support/games.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {
namespace {

constexpr int kAnnHome = 8, kBobHome = 9;

// Ann (owner 1) to move, her home at angle 0 on the home ring: its model
// point is (639, 206). World 0 sits at angle 0 on orbit 50, 80 units inside.
Game Watching(std::array<std::string, 4> names = {"Ann", "Bob", "", ""}) {
  Game game = test::Made(std::move(names));
  GameState& s = game.state;
  for (int w : {kAnnHome, kBobHome, 10, 11}) {
    s.WorldOrbit[w] = 130;
    s.WorldAngle[w] = 3.141592f;  // out of range, on the far side
  }
  s.WorldAngle[kAnnHome] = 0;
  s.WorldOrbit[0] = 50;
  s.WorldAngle[0] = 0;
  s.WorldOrbit[1] = 50;
  s.WorldAngle[1] = 2;
  return game;
}

// A fleet from world 0 to world 1 (the same orbit) half way along a trip of
// a year, on course 0: its model point is world 0's.
void Fleet(GameState& s, int slot, int owner, float ships = 30) {
  s.FleetFrom[slot] = 1;
  s.FleetTo[slot] = 2;
  s.FleetOwner[slot] = static_cast<uint8_t>(owner);
  s.FleetShips[slot] = ships;
  s.FleetDistance[slot] = 1.0f;
  s.FleetRemaining[slot] = 0.5f;
  s.FleetCourse[slot] = 0;
}

RadarScan Scan(const Game& game) { return ScanRadar(game.state, MainGeometry(), -1, false); }

TEST(Radar, RangeIsEightyModelUnitsInclusive) {
  Game game = Watching();
  GameState& s = game.state;
  Fleet(s, 0, 2);
  RadarScan scan = Scan(game);
  EXPECT_EQ(scan.alerts, 1);
  ASSERT_EQ(scan.contacts.size(), 1u);
  EXPECT_EQ(scan.contacts[0].fleet, 0);
  EXPECT_EQ(scan.contacts[0].bomb, -1);
  EXPECT_EQ(scan.contacts[0].home, kAnnHome);
  EXPECT_EQ(scan.pulseMenu, (std::array<uint8_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(RadarNotice(scan.alerts), "Radar Alert:  1 Enemy Traveling Fleet Detected!");

  s.WorldOrbit[0] = 49.99f;  // 80.01 units away
  scan = Scan(game);
  EXPECT_EQ(scan.alerts, 0);
  EXPECT_FALSE(scan.alert());
  EXPECT_EQ(scan.pulseMenu, (std::array<uint8_t, 4>{}));
  EXPECT_EQ(RadarNotice(scan.alerts), "");
}

TEST(Radar, OnlyForeignFleetsThatHaveMovedWhileNothingIsSelected) {
  Game game = Watching();
  GameState& s = game.state;
  Fleet(s, 0, 2);
  s.FleetRemaining[0] = s.FleetDistance[0];  // launched this turn
  Fleet(s, 1, 1);                            // Ann's own
  EXPECT_FALSE(Scan(game).alert());

  Fleet(s, 0, 2);
  Fleet(s, 2, 2, 9999);  // a bomb in flight is a fleet too
  const RadarScan scan = Scan(game);
  EXPECT_EQ(scan.alerts, 2);
  EXPECT_EQ(RadarNotice(scan.alerts), "Radar Alert:  2 Enemy Traveling Fleets Detected!");
  EXPECT_FALSE(ScanRadar(s, MainGeometry(), kAnnHome, false).alert());
  EXPECT_FALSE(ScanRadar(s, MainGeometry(), -1, true).alert());
  EXPECT_EQ(ScanRadar(s, MainGeometry(), -1, true).alerts, 0);
}

TEST(Radar, WatchesHomeWorldsOfHumanSeatsThatTheCurrentPlayerHolds) {
  // Ann holds the home world of the computer seat 1 and of the empty seat 2,
  // both in range; her own home is far away.
  Game game = Watching({"Ann", "ENEMY1", "", "Dan"});
  GameState& s = game.state;
  s.WorldAngle[kAnnHome] = 3.141592f;
  for (int w : {kBobHome, 10}) {
    s.WorldOwner[w] = 1;
    s.WorldAngle[w] = 0;
  }
  Fleet(s, 0, 4);
  EXPECT_FALSE(Scan(game).alert());

  // Held for a human seat, it is watched, whoever's home it was.
  s.PlayerName[1] = "Bob";
  RadarScan scan = Scan(game);
  EXPECT_EQ(scan.alerts, 1);
  EXPECT_EQ(scan.pulseMenu, (std::array<uint8_t, 4>{0, 1, 0, 0}));

  // One alert per fleet and home in range, in slot order and home order.
  s.WorldAngle[kAnnHome] = 0;
  Fleet(s, 1, 4);
  scan = Scan(game);
  EXPECT_EQ(scan.alerts, 4);
  ASSERT_EQ(scan.contacts.size(), 4u);
  const int expected[][2] = {{0, kAnnHome}, {0, kBobHome}, {1, kAnnHome}, {1, kBobHome}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(scan.contacts[i].fleet, expected[i][0]);
    EXPECT_EQ(scan.contacts[i].home, expected[i][1]);
  }
  EXPECT_EQ(scan.pulseMenu, (std::array<uint8_t, 4>{1, 1, 0, 0}));

  // A home that has fallen to somebody else is not Ann's to watch.
  s.WorldOwner[kBobHome] = 4;
  EXPECT_EQ(Scan(game).alerts, 2);
}

TEST(Radar, ForeignProximityBombsRaiseTheFlagButAreNotCounted) {
  Game game = Watching();
  GameState& s = game.state;
  s.BombOwner[3] = 1;  // Ann's own
  s.BombWorld[3] = 0;
  EXPECT_FALSE(Scan(game).alert());

  s.BombOwner[5] = 2;
  s.BombWorld[5] = 0.4f;  // read back rounded: world 0
  Fleet(s, 7, 2);
  RadarScan scan = Scan(game);
  EXPECT_EQ(scan.alerts, 1);
  ASSERT_EQ(scan.contacts.size(), 2u);
  EXPECT_EQ(scan.contacts[0].fleet, 7);  // fleets come first
  EXPECT_EQ(scan.contacts[1].fleet, -1);
  EXPECT_EQ(scan.contacts[1].bomb, 5);
  EXPECT_EQ(scan.contacts[1].home, kAnnHome);

  s.FleetFrom[7] = 0;
  scan = Scan(game);
  EXPECT_EQ(scan.alerts, 0);
  EXPECT_TRUE(scan.alert());
  EXPECT_EQ(scan.pulseMenu, (std::array<uint8_t, 4>{1, 0, 0, 0}));
  EXPECT_EQ(RadarNotice(scan.alerts), "");

  s.WorldOrbit[0] = 49.99f;
  EXPECT_FALSE(Scan(game).alert());
  s.WorldOrbit[0] = 50;
  EXPECT_FALSE(ScanRadar(s, MainGeometry(), 2, false).alert());
}

}  // namespace
}  // namespace valkoran::view
