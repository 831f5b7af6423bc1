#include <gtest/gtest.h>

#include "game/game.h"
#include "support/games.h"
#include "game/travel.h"
#include "support/trips.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

using test::Bits;

// Each board: orbit, angle and spin of world 0 then world 1 (world 8 keeps the home ring's orbit), double fuel,
// the step; then the distance and the course of the trip from world 0 to world 1.
TEST(DistCalc, BothSearchesMatchIndependentVectorsAndHandMadeBoards) {
  std::vector<std::pair<std::vector<float>, std::string>> boards;
  for (const auto& r : test::ReadTsv("distcalc.tsv")) {
    std::vector<float> b;
    for (int i : {1, 2, 3, 5, 6, 7}) b.push_back(test::VectorFloat(r.at(i)));
    b.insert(b.end(), {r[4] == "2" ? 1.0f : 0.0f, std::strtof(r[8].c_str(), nullptr), test::VectorFloat(r[9]),
                       test::VectorFloat(r.at(10))});
    boards.push_back({b, "turns " + r[0]});
  }
  ASSERT_GT(boards.size(), 200u);
  // Standing worlds on the outer ring: the widest course turns a fleet by at most 4.375 radians in 390 steps, so
  // 5 radians ahead is out of reach. One orbit, one hundredth apart: met before moving, by every course at once.
  for (float step : {0.1f, 0.2f}) {
    boards.push_back({{210, 0, 0, 210, 5, 0, 0, step, 10000, 0}, "no meeting"});
    boards.push_back({{90, 1000.004f, 0.03f, 90, 1000.001f, 0.03f, 0, step, 0, Sng(-6.283184)}, "met at once"});
  }
  // Met only at the search's very last step, 3 x 130: a search that stops one step short finds nothing.
  boards.push_back({{210, 0x1.9db484p-4f, 0x1.2f764ep-8f, 170, 0x1.c4d468p+1f, 0x1.cf1188p-8f, 0, 0.1f, 0.75f,
                     -0x1.0552ecp+2f},
                    "met at the last step"});
  for (const auto& [b, what] : boards) {
    GameState s;
    s.WorldOrbit[8] = 130, s.WorldTreasure[0] = b[6] ? kDoubleFuel : kNoTreasure;
    for (int w = 0; w < 2; ++w)
      s.WorldOrbit[w] = b[3 * w], s.WorldAngle[w] = b[3 * w + 1], s.WorldSpin[w] = b[3 * w + 2];
    for (const Trip t : {DistCalcReference(s, 0, 1, b[7]), DistCalcFast(s, 0, 1, b[7])})
      EXPECT_EQ(std::tuple(Bits(t.distance), Bits(t.course)), std::tuple(Bits(b[8]), Bits(b[9])))
          << what << " step " << b[7] << ": " << t.distance << " " << t.course;
  }
}

// Records redraws and relayed fleets in the order they happen.
struct Recorder : Presenter, Relay {
  std::string calls;
  void GalaxyDraw() override { calls += "draw "; }
  void Console() override { calls += "console "; }
  void PumpEvents() override { calls += "pump "; }
  void SendFleet(const GameState&, int) override { calls += "send "; }
};

struct Dispatch : ::testing::Test {
  // Sends from world 8 and returns the slot of the fleet heading for `to` (each test sends to a different world).
  int Send(int to, int amount) {
    game.SelectedFrom = 8, game.SelectedTo = static_cast<int16_t>(to), game.Sendships(static_cast<int16_t>(amount));
    for (int f = 0; f < kFleets; ++f)
      if (s.FleetFrom[f] && s.FleetTo[f] == to + 1) return f;
    return kFleets;  // the slot the game never uses: all zero
  }
  Game game = test::Made({"Ann", "Bob", "", ""}, 30, 42);
  GameState& s = game.state;
};

TEST_F(Dispatch, SharesScoutsBombsAndTheFleetRecord) {
  // Ships on the world, amount; then the fleet's ships, the world's ships and bombs.
  const float rows[][5] = {
      {1, 10, 1, 0, 2},  // shares round up: 10 % of one ship is one ship
      {3, 25, 1, 2, 2},  // 0.75 + 0.99
      // Never 9999 or more (that reads as a bomb), and a big world pays only what leaves.
      {20000, 100, 9998, 10002, 2},
      {10, 1, kScout, 9, 2},  // a fleet of 0 ships is a scout, not a free slot
      {10, 101, 101, 10, 1},  // bombs leave the ships alone
      {10, 9999, 9999, 10, 1},
  };
  s.WorldShield[8] = 40;
  for (int i = 0; i < std::ssize(rows); ++i) {
    const auto [ships, amount, fleet, left, bombs] = rows[i];
    s.WorldShips[8] = ships, s.WorldBombs[8] = 2, s.ShieldOption = i % 2;
    const int f = Send(i, static_cast<int>(amount));
    EXPECT_EQ(std::tuple(s.FleetShips[f], s.WorldShips[8], +s.WorldBombs[8]), std::tuple(fleet, left, int(bombs)))
        << amount;
    EXPECT_EQ(std::tuple(+s.FleetFrom[f], +s.FleetOwner[f], +s.FleetClass[f], +s.FleetShield[f]),
              std::tuple(9, 1, 5, i % 2 ? 40 : 0));
    const Trip t = DistCalcReference(s, 8, i, 0.1f);
    EXPECT_EQ(Bits(s.FleetCourse[f]), Bits(t.course));
    EXPECT_EQ(s.FleetRemaining[f], Sng(std::floor(t.distance * 1000.0 + 0.999) / 1000));  // up to thousandths
    EXPECT_EQ(s.FleetDistance[f], s.FleetRemaining[f]);
  }
}

TEST_F(Dispatch, OrdersThatCannotBeDispatchedChangeNothing) {
  s.WorldShips[8] = 50;
  const GameState fresh = s;
  Send(-1, 50);  // no target chosen
  EXPECT_EQ(s, fresh);
  for (int f = 0; f < kFleets; ++f) s.FleetFrom[f] = 10, s.FleetTo[f] = 1, s.FleetOwner[f] = 2;
  const GameState full = s;
  Send(0, 50);
  EXPECT_TRUE(s == full);
  EXPECT_EQ(std::tuple(game.SelectedFrom, game.BusyFlag), std::tuple(-1, 0));
}

TEST_F(Dispatch, ComputerTurnsRedrawsAndRelay) {
  Recorder r;
  game.SetPresenter(&r), game.SetRelay(&r);
  s.PlayerName[0] = "ENEMY0", s.WorldShips[8] = 100;
  // A computer player's orders come inside its turn, which holds the busy
  // flag: it clears the flag and the selection itself; its fleets stay unsorted.
  game.BusyFlag = kTrue;
  Send(0, 50), Send(1, 50);
  EXPECT_EQ(std::tuple(game.BusyFlag, game.SelectedFrom, +s.FleetTo[0]), std::tuple(kTrue, 8, 1));
  // An order from outside a turn (a client's, on a server whose own seat
  // is a computer's) holds the flag only while it is carried out.
  game.BusyFlag = kFalse;
  Send(5, 10);
  EXPECT_EQ(std::tuple(game.BusyFlag, game.SelectedFrom), std::tuple(kFalse, -1));
  game.BusyFlag = kTrue;
  s.NetworkGame = kTrue, game.role = NetRole::Client;
  Send(2, 50);  // not connected
  game.serverConnected = true, Send(3, 50);
  game.role = NetRole::Server, Send(4, 50);
  const std::string redraw = "draw console pump ";
  EXPECT_EQ(r.calls, redraw + redraw + redraw + redraw + "send " + redraw + redraw);
}

TEST(SortFleets, InUseFirstAscendingAndStable) {
  Game game;
  GameState& s = game.state;
  const float rem[] = {0.5f, 0.2f, 0.01f, 0.2f, 0.1f, 0.5f};  // slot 2 is free: its value means nothing
  for (int f = 0; f < 6; ++f)
    s.FleetFrom[f] = static_cast<uint8_t>(f == 2 ? 0 : f + 1), s.FleetRemaining[f] = rem[f], s.FleetShips[f] = f;
  game.SortFleets();
  std::vector<int> order;
  for (int f = 0; f < kFleets && s.FleetFrom[f]; ++f) order.push_back(s.FleetFrom[f] - 1);
  EXPECT_EQ(order, (std::vector<int>{4, 1, 3, 0, 5}));
  EXPECT_EQ(s.FleetShips[0], 4);  // every field moves with its fleet
}

TEST(Nearest, FourNearestLastTripTruceAndExclusions) {
  std::mt19937_64 rng(8);
  for (int i = 0; i < 48; ++i) ASSERT_TRUE(test::NearestMatchesRules(rng, i % 4 == 0)) << i;
}

}  // namespace
}  // namespace valkoran
