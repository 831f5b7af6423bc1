#include <gtest/gtest.h>

#include "game/game.h"
#include "game/newgame.h"
#include "game/travel.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;
using test::VectorFloat;

// World 0 travels to world 1; world 8 keeps the home ring's orbit.
GameState Pair(float orbitFrom, float angleFrom, float spinFrom, bool doubleFuel, float orbitTo, float angleTo,
               float spinTo) {
  GameState s;
  s.WorldOrbit[8] = 130;
  s.WorldOrbit[0] = orbitFrom, s.WorldAngle[0] = angleFrom, s.WorldSpin[0] = spinFrom;
  s.WorldTreasure[0] = doubleFuel ? kDoubleFuel : kNoTreasure;
  s.WorldOrbit[1] = orbitTo, s.WorldAngle[1] = angleTo, s.WorldSpin[1] = spinTo;
  return s;
}

TEST(DistCalc, MatchesIndependentVectorsBitForBit) {
  auto rows = test::ReadTsv("distcalc.tsv");
  ASSERT_GT(rows.size(), 200u);
  for (const auto& r : rows) {
    ASSERT_EQ(r.size(), 11u);
    GameState s = Pair(VectorFloat(r[1]), VectorFloat(r[2]), VectorFloat(r[3]), r[4] == "2", VectorFloat(r[5]),
                       VectorFloat(r[6]), VectorFloat(r[7]));
    const float step = std::strtof(r[8].c_str(), nullptr);
    for (const Trip t : {DistCalcReference(s, 0, 1, step), DistCalcFast(s, 0, 1, step)}) {
      EXPECT_EQ(Bits(t.distance), Bits(VectorFloat(r[9]))) << "turns " << r[0] << " distance " << r[9];
      EXPECT_EQ(Bits(t.course), Bits(VectorFloat(r[10]))) << "turns " << r[0] << " course " << r[10];
    }
  }
}

TEST(DistCalc, NoMeetingAtAll) {
  // Standing worlds on the outer ring: the widest course turns a fleet by at
  // most 4.375 radians in 390 steps, so a target 5 radians ahead is out of reach...
  GameState far = Pair(210, 0.0f, 0.0f, false, 210, 5.0f, 0.0f);
  for (auto search : {DistCalcReference, DistCalcFast}) {
    far.WorldTreasure[0] = kNoTreasure;
    const Trip t = search(far, 0, 1, 0.1f);
    EXPECT_EQ(t.distance, 10000.0f);
    EXPECT_EQ(t.course, 0.0f);
    // ...until double-speed fuel doubles the reach.
    far.WorldTreasure[0] = kDoubleFuel;
    EXPECT_LT(search(far, 0, 1, 0.1f).distance, 1.0f);
  }
}

struct RecordingPresenter : Presenter {
  std::vector<std::string> calls;
  void GalaxyDraw() override { calls.push_back("draw"); }
  void Console() override { calls.push_back("console"); }
  void PumpEvents() override { calls.push_back("pump"); }
};

struct FleetRelay : Relay {
  int sent = 0;
  void SendFleet(const GameState&, int) override { ++sent; }
};

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    GameSetup setup;
    setup.names = {"Ann", "Bob", "", ""};
    NewGame(game, setup);
  }
  // Sends and returns the slot of the fleet heading for `to` (each test
  // sends to a different world).
  int Send(int from, int to, int amount) {
    game.SelectedFrom = static_cast<int16_t>(from);
    game.SelectedTo = static_cast<int16_t>(to);
    game.Sendships(static_cast<int16_t>(amount));
    for (int f = 0; f < kFleets; ++f)
      if (s.FleetFrom[f] && s.FleetTo[f] == to + 1) return f;
    return kFleets;  // the slot the game never uses: all zero
  }
  Game game{42};
  GameState& s = game.state;
};

TEST_F(Dispatch, SharesRoundUpAndTheWorldPaysExactly) {
  s.WorldShips[8] = 1;
  EXPECT_EQ(s.FleetShips[Send(8, 0, 10)], 1);  // 10 % of 1 ship is 1 ship
  EXPECT_EQ(s.WorldShips[8], 0);
  s.WorldShips[8] = 3;
  EXPECT_EQ(s.FleetShips[Send(8, 1, 25)], 1);  // 3*25/100 + .99 = 1.74
  s.WorldShips[8] = 100;
  Send(8, 2, 40);
  EXPECT_EQ(s.WorldShips[8], 60);
  // A fleet never carries 9999 or more (that would read as a bomb), and a big
  // world pays only what leaves.
  s.WorldShips[8] = 20000;
  EXPECT_EQ(s.FleetShips[Send(8, 3, 100)], 9998);
  EXPECT_EQ(s.WorldShips[8], 20000 - 9998);
}

TEST_F(Dispatch, FleetRecordScoutsAndBombs) {
  s.WorldShips[8] = 10;
  s.WorldShield[8] = 40;
  s.WorldBombs[8] = 2;
  s.ShieldOption = true;
  int f = Send(8, 5, 50);
  EXPECT_EQ(s.FleetFrom[f], 9);
  EXPECT_EQ(s.FleetOwner[f], 1);
  EXPECT_EQ(s.FleetClass[f], 5);
  EXPECT_EQ(s.FleetShield[f], 40);
  const Trip t = DistCalcReference(s, 8, 5, 0.1f);
  EXPECT_EQ(Bits(s.FleetCourse[f]), Bits(t.course));
  EXPECT_EQ(s.FleetRemaining[f], Sng(std::floor(t.distance * 1000.0 + 0.999) / 1000));
  EXPECT_EQ(s.FleetDistance[f], s.FleetRemaining[f]);
  s.ShieldOption = false;
  EXPECT_EQ(s.FleetShield[Send(8, 6, 50)], 0);
  f = Send(8, 3, 1);
  EXPECT_EQ(s.FleetShips[f], kScout);  // a fleet of 0 ships is a scout, not a free slot
  EXPECT_EQ(s.WorldShips[8], 1);      // 10, less 5, less 3, less the scout's one
  EXPECT_EQ(s.FleetShips[Send(8, 4, 9999)], 9999);
  EXPECT_EQ(s.FleetShips[Send(8, 7, 10025)], 10025);
  EXPECT_EQ(s.WorldShips[8], 1);  // bombs leave the ships alone
  EXPECT_EQ(s.WorldBombs[8], 0);
}

TEST_F(Dispatch, OrdersThatCannotBeDispatchedChangeNothing) {
  s.WorldShips[8] = 50;
  const GameState fresh = s;
  Send(8, -1, 50);  // no target chosen
  EXPECT_EQ(s, fresh);
  for (int f = 0; f < kFleets; ++f) s.FleetFrom[f] = 10, s.FleetTo[f] = 1, s.FleetOwner[f] = 2;
  const GameState full = s;
  Send(8, 0, 50);
  EXPECT_EQ(s, full);
  EXPECT_EQ(game.SelectedFrom, -1);
  EXPECT_EQ(game.BusyFlag, 0);
}

TEST_F(Dispatch, ComputerTurnsPresenterAndRelay) {
  RecordingPresenter p;
  FleetRelay relay;
  game.SetPresenter(&p);
  game.SetRelay(&relay);
  s.PlayerName[0] = "ENEMY0";
  s.WorldShips[8] = 100;
  Send(8, 0, 50);
  Send(8, 1, 50);
  EXPECT_EQ(game.BusyFlag, kTrue);  // the computer player clears these itself
  EXPECT_EQ(game.SelectedFrom, 8);
  EXPECT_EQ(s.FleetTo[0], 1);  // not sorted
  EXPECT_EQ(p.calls, (std::vector<std::string>{"draw", "console", "pump", "draw", "console", "pump"}));
  EXPECT_EQ(relay.sent, 0);
  s.NetworkGame = kTrue;
  game.role = NetRole::Client;
  Send(8, 2, 50);
  EXPECT_EQ(relay.sent, 0);  // not connected
  game.serverConnected = true;
  Send(8, 3, 50);
  EXPECT_EQ(relay.sent, 1);
  game.role = NetRole::Server;
  Send(8, 4, 50);
  EXPECT_EQ(relay.sent, 1);
}

TEST(SortFleets, InUseFirstAscendingAndStable) {
  Game game;
  GameState& s = game.state;
  const float rem[] = {0.5f, 0.2f, 0.01f, 0.2f, 0.1f, 0.5f};  // slot 2 is free: its value means nothing
  for (int f = 0; f < 6; ++f) {
    s.FleetFrom[f] = f == 2 ? 0 : static_cast<uint8_t>(f + 1);
    s.FleetRemaining[f] = rem[f];
    s.FleetShips[f] = static_cast<float>(f);
  }
  game.SortFleets();
  std::vector<int> order;
  for (int f = 0; f < kFleets && s.FleetFrom[f]; ++f) order.push_back(s.FleetFrom[f] - 1);
  EXPECT_EQ(order, (std::vector<int>{4, 1, 3, 0, 5}));
  EXPECT_EQ(s.FleetShips[0], 4);  // every field moved with its fleet
}

// The four nearest worlds by brute force, step 0.2, ties by index.
std::vector<std::pair<int, float>> Expected(const GameState& s, int from, int exclude, bool truce) {
  std::vector<std::pair<int, float>> all;
  for (int w = 0; w < s.WorldCount; ++w) {
    if (w == from || s.WorldOwner[w] == exclude) continue;
    if (truce && s.WorldOwner[w] != 0 && s.WorldOwner[w] != s.CurrentPlayer + 1) continue;
    all.push_back({w, DistCalcReference(s, from, w, 0.2f).distance});
  }
  std::stable_sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.second < b.second; });
  all.resize(4, {-1, 1000});
  return all;
}

TEST(Nearest, FourNearestTruceAndExclusions) {
  Game game(9);
  GameSetup setup;
  setup.names = {"Ann", "Bob", "Cid", ""};
  setup.worlds = 20;
  NewGame(game, setup);
  GameState& s = game.state;
  auto rows = [&] {
    std::vector<std::pair<int, float>> r;
    for (int i = 0; i < 4; ++i) r.push_back({static_cast<int>(game.NearestList[i][0]), game.NearestList[i][1]});
    return r;
  };
  s.WorldAngle[9] = s.WorldAngle[8];  // Bob's home right beside Ann's
  s.TruceTurn = 10;
  game.Nearest(8, 1);
  EXPECT_EQ(rows(), Expected(s, 8, 1, true));
  for (int i = 0; i < 10; ++i) s.GameYear = Sng(s.GameYear + 0.05);  // the truce's last turn
  game.Nearest(8, 1);
  EXPECT_EQ(rows(), Expected(s, 8, 1, false));
  EXPECT_EQ(rows()[0].first, 9);

  for (int w = 0; w < s.WorldCount; ++w) s.WorldOwner[w] = w == 8 ? 1 : 2;
  game.Nearest(8, 2);
  EXPECT_EQ(rows(), Expected(s, 8, 2, false));
  EXPECT_EQ(rows()[0].first, -1);
  // The last world examined stays in CalcDistance.
  EXPECT_EQ(Bits(game.CalcDistance), Bits(DistCalcReference(s, 8, 19, 0.2f).distance));
}

}  // namespace
}  // namespace valkoran
