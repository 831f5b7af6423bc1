#include <gtest/gtest.h>

#include "game/game.h"
#include "game/newgame.h"
#include "game/travel.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;
using test::VectorFloat;

// Two worlds with the given orbits, angles and spins; world 8 keeps the home
// ring's orbit, which the course term uses.
GameState Pair(float orbitFrom, float angleFrom, float spinFrom, bool doubleFuel, float orbitTo,
               float angleTo, float spinTo) {
  GameState s;
  s.WorldOrbit[8] = 130;
  s.WorldOrbit[0] = orbitFrom;
  s.WorldAngle[0] = angleFrom;
  s.WorldSpin[0] = spinFrom;
  s.WorldTreasure[0] = doubleFuel ? kDoubleFuel : kNoTreasure;
  s.WorldOrbit[1] = orbitTo;
  s.WorldAngle[1] = angleTo;
  s.WorldSpin[1] = spinTo;
  return s;
}

TEST(DistCalc, MatchesIndependentVectorsBitForBit) {
  auto rows = test::ReadTsv("distcalc.tsv");
  ASSERT_GT(rows.size(), 200u);
  int equalOrbits = 0, doubleFuel = 0, late = 0, noMeeting = 0;
  for (const auto& r : rows) {
    ASSERT_EQ(r.size(), 11u);
    const bool k2 = r[4] == "2";
    GameState s = Pair(VectorFloat(r[1]), VectorFloat(r[2]), VectorFloat(r[3]), k2, VectorFloat(r[5]),
                       VectorFloat(r[6]), VectorFloat(r[7]));
    const float step = std::strtof(r[8].c_str(), nullptr);
    const Trip t = DistCalcReference(s, 0, 1, step);
    EXPECT_EQ(Bits(t.distance), Bits(VectorFloat(r[9]))) << "turns " << r[0] << " distance " << r[9];
    EXPECT_EQ(Bits(t.course), Bits(VectorFloat(r[10]))) << "turns " << r[0] << " course " << r[10];
    equalOrbits += r[1] == r[5];
    doubleFuel += k2;
    late += std::stoi(r[0]) >= 400;
    noMeeting += t.distance == 10000;
  }
  // The vectors cover the cases the search is easiest to get wrong.
  EXPECT_GT(equalOrbits, 0);
  EXPECT_GT(doubleFuel, 0);
  EXPECT_GT(late, 50);
  (void)noMeeting;
}

TEST(DistCalc, SameOrbitSameAngleMeetsAtOnce) {
  GameState s = Pair(130, 1.5f, 0.012083046f, false, 130, 1.5f, 0.012083046f);
  const Trip t = DistCalcReference(s, 0, 1, 0.1f);
  EXPECT_EQ(t.distance, 0.0f);
  EXPECT_EQ(t.course, Sng(-6.283184));  // the first course tried
}

TEST(DistCalc, NoMeetingGivesTenThousandAndCourseZero) {
  // Standing worlds on the outer ring: the widest course turns a fleet by at
  // most 4.375 radians in 390 steps (and negative angles never wrap), so a
  // target 5 radians ahead is out of reach.
  GameState s = Pair(210, 0.0f, 0.0f, false, 210, 5.0f, 0.0f);
  Trip t = DistCalcReference(s, 0, 1, 0.1f);
  EXPECT_EQ(t.distance, 10000.0f);
  EXPECT_EQ(t.course, 0.0f);
  // Double-speed fuel doubles the reach: now it meets.
  s.WorldTreasure[0] = kDoubleFuel;
  t = DistCalcReference(s, 0, 1, 0.1f);
  EXPECT_LT(t.distance, 1.0f);
  EXPECT_GT(t.course, 0.0f);
}

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    GameSetup setup;
    setup.names = {"Ann", "Bob", "", ""};
    NewGame(game, setup);
  }
  void Send(int from, int to, int amount) {
    game.SelectedFrom = static_cast<int16_t>(from);
    game.SelectedTo = static_cast<int16_t>(to);
    game.Sendships(static_cast<int16_t>(amount));
  }
  Game game{42};
};

TEST_F(Dispatch, PercentageRoundsUpAndWorldPays) {
  GameState& s = game.state;
  s.WorldShips[8] = 1;
  Send(8, 0, 10);
  EXPECT_EQ(s.FleetShips[0], 1);
  EXPECT_EQ(s.WorldShips[8], 0);
  s.WorldShips[8] = 3;
  Send(8, 1, 25);  // 3*25/100 + .99 = 1.74
  int slot = s.FleetTo[0] == 2 ? 0 : 1;
  EXPECT_EQ(s.FleetShips[slot], 1);
  EXPECT_EQ(s.WorldShips[8], 2);
  s.WorldShips[8] = 100;
  Send(8, 2, 40);
  EXPECT_EQ(s.WorldShips[8], 60);
}

TEST_F(Dispatch, FleetRecordFields) {
  GameState& s = game.state;
  s.WorldShips[8] = 10;
  s.WorldShield[8] = 40;
  s.ShieldOption = true;
  Send(8, 5, 50);
  EXPECT_EQ(s.FleetFrom[0], 9);
  EXPECT_EQ(s.FleetTo[0], 6);
  EXPECT_EQ(s.FleetOwner[0], 1);
  EXPECT_EQ(s.FleetClass[0], 5);
  EXPECT_EQ(s.FleetShield[0], 40);
  const Trip t = DistCalcReference(s, 8, 5, 0.1f);
  EXPECT_EQ(Bits(s.FleetCourse[0]), Bits(t.course));
  EXPECT_EQ(s.FleetDistance[0], s.FleetRemaining[0]);
  // Rounded up to a thousandth of a year.
  EXPECT_GE(s.FleetDistance[0], t.distance);
  EXPECT_LT(s.FleetDistance[0] - t.distance, 0.0011f);
  EXPECT_EQ(Bits(game.CalcDistance), Bits(t.distance));
  s.ShieldOption = false;
  Send(8, 6, 50);
  int slot = s.FleetTo[0] == 7 ? 0 : 1;
  EXPECT_EQ(s.FleetShield[slot], 0);
}

TEST_F(Dispatch, ScoutsAndBombs) {
  GameState& s = game.state;
  s.WorldShips[8] = 10;
  s.WorldBombs[8] = 2;
  Send(8, 3, 1);
  EXPECT_EQ(s.FleetShips[0], kScout);
  EXPECT_EQ(s.FleetFrom[0], 9);  // a scout is a fleet, not a free slot
  EXPECT_EQ(s.WorldShips[8], 9);
  Send(8, 4, 9999);
  Send(8, 4, 10025);
  EXPECT_EQ(s.WorldShips[8], 9);  // bombs leave the ships alone
  EXPECT_EQ(s.WorldBombs[8], 0);
  std::vector<float> payloads;
  for (int f = 0; f < 3; ++f) payloads.push_back(s.FleetShips[f]);
  std::sort(payloads.begin(), payloads.end());
  EXPECT_EQ(payloads, (std::vector<float>{0, 9999, 10025}));
}

TEST_F(Dispatch, BigWorldsNeverMintShips) {
  GameState& s = game.state;
  s.WorldShips[8] = 20000;
  Send(8, 0, 10);  // 2000 ships: an ordinary fleet
  EXPECT_EQ(s.FleetShips[0], 2000);
  EXPECT_EQ(s.WorldShips[8], 18000);
  Send(8, 1, 100);  // 18000 would read as a bomb: capped, and paid for exactly
  int slot = s.FleetTo[0] == 2 ? 0 : 1;
  EXPECT_EQ(s.FleetShips[slot], 9998);
  EXPECT_EQ(s.WorldShips[8], 18000 - 9998);
  float total = s.WorldShips[8];
  for (int f = 0; f < kFleets; ++f) total += s.FleetFrom[f] ? s.FleetShips[f] : 0;
  EXPECT_EQ(total, 20000);
}

TEST_F(Dispatch, OrdersThatCannotBeDispatchedChangeNothing) {
  GameState& s = game.state;
  s.WorldShips[8] = 50;
  const GameState fresh = s;
  Send(8, -1, 50);  // no target chosen
  EXPECT_EQ(s, fresh);
  for (int f = 0; f < kFleets; ++f) {
    s.FleetFrom[f] = 10;
    s.FleetTo[f] = 1;
    s.FleetOwner[f] = 2;
    s.FleetShips[f] = 5;
    s.FleetRemaining[f] = 0.5f;
  }
  const GameState before = s;
  Send(8, 0, 50);
  EXPECT_EQ(s, before);
  EXPECT_EQ(game.SelectedFrom, -1);
  EXPECT_EQ(game.BusyFlag, 0);
}

TEST_F(Dispatch, ComputerPlayersKeepSelectionAndOrder) {
  GameState& s = game.state;
  s.PlayerName[0] = "ENEMY0";
  s.WorldShips[8] = 100;
  Send(8, 0, 50);
  Send(8, 1, 50);
  EXPECT_EQ(game.BusyFlag, kTrue);
  EXPECT_EQ(game.SelectedFrom, 8);
  EXPECT_EQ(s.FleetTo[0], 1);  // not sorted: slot order is send order
  EXPECT_EQ(s.FleetTo[1], 2);
}

struct CountingPresenter : Presenter {
  std::vector<std::string> calls;
  void GalaxyDraw() override { calls.push_back("draw"); }
  void Console() override { calls.push_back("console"); }
  void PumpEvents() override { calls.push_back("pump"); }
};

struct FleetRelay : Relay {
  std::vector<int> sent;
  void SendFleet(const GameState&, int slot) override { sent.push_back(slot); }
};

TEST_F(Dispatch, RedrawsAndTellsTheServerOnlyAsAConnectedClient) {
  CountingPresenter p;
  FleetRelay relay;
  game.SetPresenter(&p);
  game.SetRelay(&relay);
  game.state.WorldShips[8] = 100;
  Send(8, 0, 50);
  EXPECT_EQ(p.calls, (std::vector<std::string>{"draw", "console", "pump"}));
  EXPECT_TRUE(relay.sent.empty());
  game.state.NetworkGame = kTrue;
  game.role = NetRole::Client;
  Send(8, 1, 50);
  EXPECT_TRUE(relay.sent.empty());  // not connected
  game.serverConnected = true;
  Send(8, 2, 50);
  EXPECT_EQ(relay.sent.size(), 1u);
  game.role = NetRole::Server;
  Send(8, 3, 50);
  EXPECT_EQ(relay.sent.size(), 1u);
}

TEST(SortFleets, InUseFirstAscendingAndStable) {
  Game game;
  GameState& s = game.state;
  // slot: remaining (free slots are 0 in FleetFrom)
  const float rem[] = {0.5f, 0.2f, 0, 0.2f, 0.1f, 0.5f};
  const bool used[] = {true, true, false, true, true, true};
  for (int f = 0; f < 6; ++f) {
    s.FleetFrom[f] = used[f] ? static_cast<uint8_t>(f + 1) : 0;
    s.FleetTo[f] = 1;
    s.FleetRemaining[f] = rem[f];
    s.FleetShips[f] = static_cast<float>(f);
  }
  s.FleetRemaining[2] = 0.01f;  // a free slot's stale value means nothing
  game.SortFleets();
  std::vector<int> order;
  for (int f = 0; f < kFleets && s.FleetFrom[f]; ++f) order.push_back(s.FleetFrom[f] - 1);
  EXPECT_EQ(order, (std::vector<int>{4, 1, 3, 0, 5}));
  EXPECT_EQ(s.FleetShips[0], 4);  // every field moved with its fleet
  for (int f = 5; f < kFleets; ++f) EXPECT_EQ(s.FleetFrom[f], 0);
}

class NearestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GameSetup setup;
    setup.names = {"Ann", "Bob", "Cid", ""};
    setup.worlds = 20;
    NewGame(game, setup);
  }
  std::vector<std::pair<int, float>> Rows() {
    std::vector<std::pair<int, float>> rows;
    for (int r = 0; r < 4; ++r) rows.push_back({static_cast<int>(game.NearestList[r][0]), game.NearestList[r][1]});
    return rows;
  }
  // The four nearest worlds by brute force, step 0.2, ties by index.
  std::vector<std::pair<int, float>> Expected(int from, int exclude, bool truce) {
    std::vector<std::pair<int, float>> all;
    const GameState& s = game.state;
    for (int w = 0; w < s.WorldCount; ++w) {
      if (w == from || s.WorldOwner[w] == exclude) continue;
      if (truce && s.WorldOwner[w] != 0 && s.WorldOwner[w] != s.CurrentPlayer + 1) continue;
      all.push_back({w, DistCalcReference(s, from, w, 0.2f).distance});
    }
    std::stable_sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.second < b.second; });
    while (all.size() < 4) all.push_back({-1, 1000});
    all.resize(4);
    return all;
  }
  Game game{9};
};

TEST_F(NearestTest, FourNearestInAscendingOrder) {
  game.Nearest(8, 1);
  EXPECT_EQ(Rows(), Expected(8, 1, false));
  EXPECT_NE(Rows()[3].first, -1);
}

TEST_F(NearestTest, TruceHidesOtherPlayersWorlds) {
  game.state.WorldAngle[9] = game.state.WorldAngle[8];  // make seat 1's home the nearest
  game.state.WorldOrbit[9] = game.state.WorldOrbit[8];
  game.state.TruceTurn = 10;
  game.Nearest(8, 1);
  for (auto [w, d] : Rows()) EXPECT_TRUE(w != 9 && w != 10) << w;
  EXPECT_EQ(Rows(), Expected(8, 1, true));
  // At the truce's last turn it no longer applies.
  for (int i = 0; i < 10; ++i) game.state.GameYear = Sng(game.state.GameYear + 0.05);
  game.Nearest(8, 1);
  EXPECT_EQ(Rows(), Expected(8, 1, false));
  EXPECT_EQ(Rows()[0].first, 9);
}

TEST_F(NearestTest, EverythingExcludedLeavesEmptyRows) {
  for (int w = 0; w < game.state.WorldCount; ++w) game.state.WorldOwner[w] = 2;
  game.state.WorldOwner[8] = 1;
  game.Nearest(8, 2);
  for (auto [w, d] : Rows()) {
    EXPECT_EQ(w, -1);
    EXPECT_EQ(d, 1000);
  }
  // The last world examined stays in CalcDistance.
  EXPECT_EQ(Bits(game.CalcDistance), Bits(DistCalcReference(game.state, 8, 19, 0.2f).distance));
}

}  // namespace
}  // namespace valkoran
