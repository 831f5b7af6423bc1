// The turns to arrival a player is promised against the turn end at which
// the fleet really lands.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "game/arrivaltime.h"
#include "game/console.h"
#include "game/game.h"
#include "support/games.h"

namespace valkoran {
namespace {

constexpr int kSteps = 2000;  // remaining distances 0 to 2 by 0.001

// The distance a fleet is stored with, as dispatch stores it.
float Remaining(int thousandths) { return Sng(thousandths / 1000.0); }

// Plays turn ends with the engine's own movement until every fleet has landed:
// for each remaining distance, the turn end at which its fleet arrived. The
// fleets fly from Ann's home world to itself and are told apart by their ships.
std::map<int, int> LandingTurns() {
  std::map<int, int> landed;
  for (int first = 0; first <= kSteps; first += kFleets) {
    Game game = test::Made({"Ann", "", "", ""});
    GameState& s = game.state;
    const int last = std::min(first + kFleets - 1, kSteps);
    for (int k = first; k <= last; ++k) {
      const int f = k - first;
      s.FleetFrom[f] = s.FleetTo[f] = kHomeRing + 1;
      s.FleetOwner[f] = 1, s.FleetClass[f] = 1, s.FleetShips[f] = static_cast<float>(f + 1);
      s.FleetDistance[f] = s.FleetRemaining[f] = Remaining(k);
    }
    for (int turn = 1; turn <= 60 && static_cast<int>(landed.size()) <= last; ++turn) {
      game.EndTurn();
      for (int k = first; k <= last; ++k) {
        const float ships = static_cast<float>(k - first + 1);
        bool flying = false;
        for (int f = 0; f < kFleets; ++f) flying |= s.FleetFrom[f] != 0 && s.FleetShips[f] == ships;
        if (!flying) landed.emplace(k, turn);
      }
    }
  }
  return landed;
}

TEST(ArrivalTurns, EveryPromiseIsTheTurnEndTheFleetLands) {
  const std::map<int, int> landed = LandingTurns();
  ASSERT_EQ(landed.size(), static_cast<size_t>(kSteps + 1));
  int wrong = 0, plainWrong = 0;
  for (const auto& [k, turn] : landed) {
    const float r = Remaining(k);
    if (TurnsToArrival(r) != turn && ++wrong <= 5) ADD_FAILURE() << "remaining " << Str(r) << " lands at turn end " << turn << ", promised " << TurnsToArrival(r);
    // The plain division is what the lists showed before: it is wrong for many.
    plainWrong += Int(static_cast<double>(r) / 0.05 + 0.99999) != turn;
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(plainWrong, 0);
  // The edges a player meets: a fleet at nothing still waits for the turn
  // end; 0.05 and 0.25 leave a rest the first turn ends cannot take off.
  EXPECT_EQ(landed.at(0), 1);
  EXPECT_EQ(landed.at(50), 2);
  EXPECT_EQ(landed.at(250), 6);
}

TEST(ArrivalTurns, TheFleetListReadsTheTrueCount) {
  Game game = test::Made({"Ann", "", "", ""});
  GameState& s = game.state;
  const std::pair<float, const char*> fleets[] = {
      {0.0f, " 5 Ships Will Reach World Hesperia in 1 Turn"},
      {0.05f, " 5 Ships Will Reach World Hesperia in 2 Turns"},
      {0.25f, " 5 Ships Will Reach World Hesperia in 6 Turns"},
      {0.2499f, " 5 Ships Will Reach World Hesperia in 5 Turns"}};
  for (const auto& [left, line] : fleets) {
    s.FleetFrom[0] = kHomeRing + 1, s.FleetTo[0] = 12, s.FleetOwner[0] = 1, s.FleetClass[0] = 1;
    s.FleetShips[0] = 5, s.FleetRemaining[0] = s.FleetDistance[0] = left;
    const ConsolePanel panel = BuildConsole(s, false);
    ASSERT_EQ(panel.fleets.size(), 1u);
    EXPECT_EQ(panel.fleets[0].text, line);
  }
}

TEST(ArrivalTurns, FarFleetsKeepThePlainFigure) {
  // Counted up to a thousand turns; beyond, the division (and no endless count
  // for a distance as large as a float holds).
  const float edge = Sng(1000 * 0.05 - 0.001);
  float left = edge;
  int turns = 0;
  while (!HasArrived(left)) left = RemainingAfterTurnEnd(left), ++turns;
  ASSERT_LE(turns, kCountedArrivalTurns);
  EXPECT_EQ(TurnsToArrival(edge), turns);
  for (float far : {60.0f, 10000.0f, 3.0e38f}) EXPECT_EQ(TurnsToArrival(far), Int(static_cast<double>(far) / 0.05 + 0.99999)) << far;
  EXPECT_EQ(Format(TurnsToArrival(10000.0f), "0"), "200000");
  // A dispatched trip is stored rounded up to the thousandth.
  EXPECT_EQ(DispatchedDistance(0.2491f), 0.25f);
  EXPECT_EQ(TripTurns(0.2491f), 6);
}

}  // namespace
}  // namespace valkoran
