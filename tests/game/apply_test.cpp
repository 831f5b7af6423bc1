// Orders through the engine's one door: each kind carried out, each refusal
// leaving the game exactly as it was, and the runner answering the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "cli/commands.h"
#include "game/game.h"
#include "game/orders.h"
#include "store/savefile.h"
#include "support/games.h"
#include "support/recorder.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

constexpr int kHome = 8, kBobHome = 9, kFree = 4;  // Ann's home, Bob's home, nobody's

Game AnnAndBob(float ships = 10, int bombs = 0) {  // Ann (seat 0) to move, Bob in seat 1
  Game game = test::Made({"Ann", "Bob", "", ""});
  game.state.WorldShips[kHome] = ships, game.state.WorldBombs[kHome] = static_cast<int16_t>(bombs);
  return game;
}

// The first fleet of Ann in flight; -1 when none.
int AnnsFleet(const GameState& s) {
  for (int f = 0; f < kFleets; ++f)
    if (s.FleetFrom[f] != 0 && s.FleetOwner[f] == 1) return f;
  return -1;
}

TEST(Apply, EachKindOfOrderIsCarriedOut) {
  test::Recorder seen;
  {
    Game game = AnnAndBob(10, 2);
    game.SetPresenter(&seen);
    ASSERT_FALSE(game.Apply(Order::Ships(0, kHome, kBobHome, 25)));
    const int f = AnnsFleet(game.state);
    ASSERT_GE(f, 0);
    EXPECT_EQ(game.state.FleetShips[f], 3);  // a share rounds up
    EXPECT_EQ(game.state.WorldShips[kHome], 7);
    EXPECT_EQ(game.state.FleetTo[f], kBobHome + 1);
    EXPECT_GT(game.state.FleetDistance[f], 0);
    // The engine's dispatch fields are its own and end the order cleared.
    EXPECT_EQ(game.SelectedFrom, -1);
    EXPECT_EQ(game.SelectedTo, -1);
    EXPECT_EQ(game.BusyFlag, 0);
  }
  const std::tuple<Order, float, float, int> dispatch[] = {
      // order, the fleet's ships, the source's ships and bombs after it
      {Order::Scout(0, kHome, kBobHome), 0, 9, 2},
      {Order::Bomb(0, kHome, kFree), 9999, 10, 1},
      {Order::Proximity(0, kHome, kBobHome, 37), 10037, 10, 1},
      {Order::FromAmount(0, kHome, kBobHome, 10042), 10042, 10, 1},
      {Order::Ships(0, kHome, kFree, 100), 10, 0, 2}};
  for (const auto& [order, fleet, ships, bombs] : dispatch) {
    Game game = AnnAndBob(10, 2);
    ASSERT_FALSE(game.Apply(order)) << static_cast<int>(order.kind);
    const int f = AnnsFleet(game.state);
    ASSERT_GE(f, 0);
    EXPECT_EQ(game.state.FleetShips[f], fleet);
    EXPECT_EQ(game.state.WorldShips[kHome], ships);
    EXPECT_EQ(game.state.WorldBombs[kHome], bombs);
  }
  {
    Game game = AnnAndBob(10, 2);
    game.SetPresenter(&seen);
    seen.Clear();
    ASSERT_FALSE(game.Apply(Order::Pulse(0, kHome)));
    EXPECT_EQ(game.state.WorldTreasure[kHome], kPulseArmed);
    EXPECT_EQ(game.state.WorldBombs[kHome], 1);
    EXPECT_EQ(AnnsFleet(game.state), -1);
    EXPECT_TRUE(seen.Has("notice:  Pulse Bomb Sent!"));
  }
  {
    Game game = AnnAndBob();
    const int before = game.state.WorldShieldOn[kHome];
    ASSERT_FALSE(game.Apply(Order::Shield(0, kHome)));
    EXPECT_EQ(game.state.WorldShieldOn[kHome], before ? 0 : 1);
    ASSERT_FALSE(game.Apply(Order::Shield(0, kHome)));
    EXPECT_EQ(game.state.WorldShieldOn[kHome], before);
  }
}

// Every refusal names its reason and leaves the state and the session as
// they were, to the byte of the saved file.
TEST(Apply, RefusalsChangeNothingAndSayWhy) {
  using enum OrderProblem;
  struct Row {
    const char* what;
    std::function<void(Game&)> arrange;
    Order order;
    OrderProblem code;
  };
  auto none = [](Game&) {};
  auto twentyBombs = [](Game& g) { std::fill_n(g.state.BombOwner.begin(), 20, int16_t{2}); };
  auto fullFleets = [](Game& g) {
    for (int f = 0; f < kFleets; ++f) {
      g.state.FleetFrom[f] = 1, g.state.FleetTo[f] = 2, g.state.FleetOwner[f] = 2;
      g.state.FleetShips[f] = 1, g.state.FleetDistance[f] = g.state.FleetRemaining[f] = 0.5f;
    }
  };
  auto truce = [](Game& g) { g.state.TruceTurn = 10, g.state.GameYear = 1.4f; };
  const Row rows[] = {
      {"busy", [](Game& g) { g.BusyFlag = kTrue; }, Order::Ships(0, kHome, kFree, 50), Busy},
      {"Bob's order in Ann's turn", none, Order::Ships(1, kBobHome, kFree, 50), NotYourTurn},
      {"an empty seat", none, Order::Ships(2, kHome, kFree, 50), NotYourTurn},
      {"a seat out of range", none, Order::Ships(7, kHome, kFree, 50), NotYourTurn},
      {"done turn", [](Game& g) { g.StatusLine[0] = "Ann:  Done Turn"; }, Order::Ships(0, kHome, kFree, 50), TurnOver},
      {"turn locked", [](Game& g) { g.TurnLock = kTrue; }, Order::Shield(0, kHome), TurnOver},
      {"target not in play", none, Order::Ships(0, kHome, 12, 100), NotInPlay},
      {"source not in play", none, Order::Ships(0, -1, kHome, 100), NotInPlay},
      {"Bob's world", none, Order::Ships(0, kBobHome, kHome, 100), NotOwnWorld},
      {"Bob's shield", none, Order::Shield(0, kBobHome), NotOwnWorld},
      {"nobody's shield", none, Order::Shield(0, kFree), NotOwnWorld},
      {"truce", truce, Order::Scout(0, kHome, kBobHome), Truce},
      {"odd share", none, Order::Ships(0, kHome, kFree, 33), UnknownAmount},
      {"75% of 3 ships", [](Game& g) { g.state.WorldShips[kHome] = 3; }, Order::Ships(0, kHome, kFree, 75),
       ShareNotOffered},
      {"scout of half a ship", [](Game& g) { g.state.WorldShips[kHome] = 0.5f; }, Order::Scout(0, kHome, kFree),
       NoShipForScout},
      {"scouting one's own", none, Order::Scout(0, kHome, kHome), OwnWorldScouted},
      {"bomb without bombs", none, Order::Bomb(0, kHome, kBobHome), NoBombs},
      {"threshold 0", none, Order::Proximity(0, kHome, kBobHome, 0), BadThreshold},
      {"threshold 9999", none, Order::Proximity(0, kHome, kBobHome, 9999), BadThreshold},
      {"proximity without bombs", none, Order::Proximity(0, kHome, kBobHome, 5), NoBombs},
      {"twenty proximity bombs", [&](Game& g) { twentyBombs(g), g.state.WorldBombs[kHome] = 1; },
       Order::Proximity(0, kHome, kBobHome, 5), ProximityBombsFull},
      {"pulse off the home ring", [](Game& g) { g.state.WorldOwner[kFree] = 1, g.state.WorldBombs[kFree] = 1; },
       Order::Pulse(0, kFree), NotHomeWorld},
      {"pulse without bombs", none, Order::Pulse(0, kHome), NoBombs},
      {"a second pulse", [](Game& g) { g.state.WorldBombs[kHome] = 2, g.state.WorldTreasure[kHome] = kPulseArmed; },
       Order::Pulse(0, kHome), PulseArmed},
      {"a hundred fleets", fullFleets, Order::Ships(0, kHome, kFree, 50), FleetsFull},
      {"a hundred fleets, a bomb", [&](Game& g) { fullFleets(g), g.state.WorldBombs[kHome] = 1; },
       Order::Bomb(0, kHome, kFree), FleetsFull},
  };
  for (const Row& row : rows) {
    Game game = AnnAndBob();
    row.arrange(game);
    const GameState state = game.state;
    const std::string file = WriteGameText(game.state);
    const auto session = std::tuple{game.SelectedFrom, game.SelectedTo, game.BusyFlag, game.TurnLock};
    test::Recorder seen;
    game.SetPresenter(&seen);
    const auto refusal = game.Apply(row.order);
    ASSERT_TRUE(refusal) << row.what;
    EXPECT_EQ(refusal->code, row.code) << row.what;
    EXPECT_TRUE(game.state == state) << row.what;
    EXPECT_EQ(WriteGameText(game.state), file) << row.what;
    EXPECT_EQ(std::tuple(game.SelectedFrom, game.SelectedTo, game.BusyFlag, game.TurnLock), session) << row.what;
    EXPECT_TRUE(seen.events.empty()) << row.what << ": " << seen.events.front();
  }
  // The texts as the player reads them.
  Game game = AnnAndBob();
  const std::string home = game.state.WorldName[kHome];
  EXPECT_EQ(game.Apply(Order::Bomb(0, kHome, kBobHome))->text, "World " + home + " stores no bombs.");
  EXPECT_EQ(game.Apply(Order::Ships(0, kBobHome, kHome, 50))->text,
            "World " + game.state.WorldName[kBobHome] + " is not the current player's.");
  fullFleets(game);
  EXPECT_EQ(game.Apply(Order::Ships(0, kHome, kFree, 50))->text, "All 100 Fleet Slots Are In Use!");
  Game armed = AnnAndBob(10, 1);
  twentyBombs(armed);
  EXPECT_EQ(armed.Apply(Order::Proximity(0, kHome, kBobHome, 5))->text,
            "Twenty Proximity Bombs Are Already Armed Or In Flight!");
  Game solo = test::Made({"Ann", "", "", ""});
  solo.state.WorldBombs[kHome] = 1;
  EXPECT_EQ(solo.Apply(Order::Proximity(0, kHome, kFree, 5))->code, NoSecondPlayer);
  // A truce spares nobody's worlds, and is over at its turn.
  Game t = AnnAndBob();
  truce(t);
  EXPECT_FALSE(t.Apply(Order::Ships(0, kHome, kFree, 10)));
  t.state.GameYear = 1.5f;
  EXPECT_FALSE(t.Apply(Order::Ships(0, kHome, kBobHome, 10)));
}

// The runner's send takes the same door: the same refusal text for the same
// game, and the file it would write left unwritten.
TEST(Apply, TheRunnersSendGivesTheEnginesRefusals) {
  const std::string dir = test::TempDir();
  Game game = AnnAndBob(3, 0);
  std::fill_n(game.state.BombOwner.begin(), 20, int16_t{2});
  game.state.WorldBombs[kHome] = 1;
  ASSERT_FALSE(SaveGame(dir + "/g.gam", game.state));
  const std::tuple<int, int, int> orders[] = {{kHome, kBobHome, 75}, {kHome, kBobHome, 10050}, {kBobHome, kHome, 50},
                                              {kHome, kHome, 1},     {kHome, kBobHome, 33},    {kHome, kBobHome, 50}};
  for (const auto& [from, to, amount] : orders) {
    Game mine = game;
    const auto refusal = mine.Apply(Order::FromAmount(0, from, to, amount));
    std::ostringstream out, err;
    const std::string path = dir + "/out.gam";
    std::remove(path.c_str());
    const int code = cli::Run({"send", dir + "/g.gam", std::to_string(from), std::to_string(to),
                               std::to_string(amount), "--out", path},
                              out, err);
    if (refusal) {
      EXPECT_EQ(code, 2) << amount;
      EXPECT_EQ(err.str(), refusal->text + "\n");
      EXPECT_FALSE(std::ifstream(path).good()) << "a refused order wrote " << path;
    } else {
      EXPECT_EQ(code, 0) << err.str();
      EXPECT_EQ(test::Slurp(path), WriteGameText(mine.state));
    }
  }
}

}  // namespace
}  // namespace valkoran
