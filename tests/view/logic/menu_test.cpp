// The command menu: captions, which items show, and the orders behind them.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/orders.h"
#include "support/games.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {
namespace {

constexpr std::array<uint8_t, 4> kNoRadar{};
constexpr int kHome = 8, kBobHome = 9, kFree = 4;

// Ann (seat 0, world 8) to move; Bob holds world 9; world 4 is nobody's.
Game AnnAndBob(float ships, int bombs = 0) {
  Game game = test::Made({"Ann", "Bob", "", ""});
  game.state.WorldShips[kHome] = ships;
  game.state.WorldBombs[kHome] = static_cast<int16_t>(bombs);
  return game;
}

struct Shown {
  bool all, p75, p50, p25, p10, line9, scout, line2;
  bool operator==(const Shown&) const = default;
};
Shown Dispatch(const CommandMenu& m) {
  return {m.showAll, m.show75, m.show50, m.show25, m.show10, m.showLine9, m.showScout, m.showLine2};
}

TEST(CommandMenu, DispatchItemsFollowTheShipCountForEveryCount) {
  // The offer by the source's ships, toward a foreign world; toward an own
  // world the scout and its separator go as well.
  const struct {
    float ships;
    Shown foreign;
  } table[] = {
      {0, {false, false, false, false, false, false, false, false}},
      {0.5f, {false, false, false, false, false, false, false, false}},
      {1, {true, false, false, false, false, true, true, true}},
      {1.5f, {false, false, false, false, false, false, false, false}},
      {2, {true, true, true, false, false, true, true, true}},
      {3, {true, false, true, true, false, true, true, true}},
      {4, {true, true, true, true, false, true, true, true}},
      {5, {true, true, true, true, true, true, true, true}},
      {9998, {true, true, true, true, true, true, true, true}},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.ships);
    const Game game = AnnAndBob(row.ships, 1);
    for (int to : {kBobHome, kFree, 2 /* unowned */, kHome}) {
      const CommandMenu m = BuildCommandMenu(game, kHome, to, kNoRadar);
      Shown expected = row.foreign;
      if (to == kHome) expected.line9 = expected.scout = false;
      EXPECT_EQ(Dispatch(m), expected) << "to " << to;
      EXPECT_FALSE(m.pulseOnly);
      // Each item is exactly an order the engine takes.
      const std::pair<bool, int> items[] = {{m.showAll, kOrderAll}, {m.show75, kOrder75}, {m.show50, kOrder50},
                                            {m.show25, kOrder25},   {m.show10, kOrder10}, {m.showScout, kOrderScout},
                                            {m.showBomb, kOrderBomb}};
      for (const auto& [shown, amount] : items)
        EXPECT_EQ(shown, !RefuseOrder(game, kHome, to, amount).has_value()) << "amount " << amount;
    }
  }
}

TEST(CommandMenu, CaptionsNameCountsAndWorlds) {
  const Game game = AnnAndBob(3);
  const std::string& from = game.state.WorldName[kHome];
  const std::string& to = game.state.WorldName[kBobHome];
  CommandMenu m = BuildCommandMenu(game, kHome, kBobHome, kNoRadar);
  EXPECT_EQ(m.all, "Send 3 Ships From World " + from + " To " + to);
  EXPECT_EQ(m.p75, "Send 3 Ships From World " + from + " To " + to);
  EXPECT_EQ(m.p50, "Send 2 Ships From World " + from + " To " + to);
  EXPECT_EQ(m.p25, "Send 1 Ship From World " + from + " To " + to);  // 1.74 rounds down to 1
  EXPECT_EQ(m.p10, "Send 1 Ship From World " + from + " To " + to);
  EXPECT_EQ(m.scout, "Send A Scout Ship From World " + from + " To " + to);

  m = BuildCommandMenu(AnnAndBob(9998), kHome, kBobHome, kNoRadar);
  EXPECT_EQ(m.p75, "Send 7499 Ships From World " + from + " To " + to);
  EXPECT_EQ(m.p25, "Send 2500 Ships From World " + from + " To " + to);

  // Numbers are the game's number texts; the count 1 or less is singular.
  EXPECT_EQ(BuildCommandMenu(AnnAndBob(0.5f), kHome, kBobHome, kNoRadar).all,
            "Send .5 Ship From World " + from + " To " + to);
  EXPECT_EQ(BuildCommandMenu(AnnAndBob(1.5f), kHome, kBobHome, kNoRadar).all,
            "Send 1.5 Ships From World " + from + " To " + to);
  EXPECT_EQ(BuildCommandMenu(AnnAndBob(1), kHome, kBobHome, kNoRadar).all,
            "Send 1 Ship From World " + from + " To " + to);
}

TEST(CommandMenu, BombItemsNeedStoredBombsAndProximityASecondSeat) {
  CommandMenu m = BuildCommandMenu(AnnAndBob(10, 0), kHome, kBobHome, kNoRadar);
  EXPECT_FALSE(m.showBomb || m.showLine7 || m.showProx || m.showPulse);

  m = BuildCommandMenu(AnnAndBob(10, 1), kHome, kBobHome, kNoRadar);
  EXPECT_TRUE(m.showBomb && m.showLine7 && m.showProx);
  EXPECT_FALSE(m.showPulse);

  // Bombs but no ships: only the bomb items.
  m = BuildCommandMenu(AnnAndBob(0, 1), kHome, kFree, kNoRadar);
  EXPECT_TRUE(m.showBomb && m.showProx);
  EXPECT_FALSE(m.showAll || m.showScout || m.showLine9 || m.showLine2);

  // Without a second seat the bomb goes alone.
  Game solo = test::Made({"Ann", "", "", ""});
  solo.state.WorldBombs[kHome] = 2;
  m = BuildCommandMenu(solo, kHome, kFree, kNoRadar);
  EXPECT_TRUE(m.showBomb);
  EXPECT_FALSE(m.showProx);
  EXPECT_EQ(RefuseOrder(solo, kHome, kFree, 10050)->code, OrderProblem::NoSecondPlayer);

  // Twenty bombs armed or flying: the menu still offers the item, and the
  // refusal, with its own message, comes when the threshold is set.
  Game full = AnnAndBob(10, 1);
  std::fill_n(full.state.BombOwner.begin(), 19, int16_t{2});
  full.state.FleetFrom[0] = kBobHome + 1;
  full.state.FleetTo[0] = kFree + 1;
  full.state.FleetOwner[0] = 2;
  full.state.FleetShips[0] = 10001;
  EXPECT_TRUE(BuildCommandMenu(full, kHome, kBobHome, kNoRadar).showProx);
  const auto refusal = RefuseOrder(full, kHome, kBobHome, 10050);
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->code, OrderProblem::ProximityBombsFull);
  EXPECT_EQ(refusal->text, "Twenty Proximity Bombs Are Already Armed Or In Flight!");
  full.state.WorldBombs[kHome] = 0;
  EXPECT_FALSE(BuildCommandMenu(full, kHome, kBobHome, kNoRadar).showProx);
}

TEST(CommandMenu, PulseMenuOnASecondClickOnAWatchedHome) {
  std::array<uint8_t, 4> radar{};
  radar[0] = 1;
  CommandMenu m = BuildCommandMenu(AnnAndBob(10, 1), kHome, kHome, radar);
  EXPECT_TRUE(m.pulseOnly && m.showPulse && m.showProx);
  EXPECT_FALSE(m.showAll || m.show75 || m.show50 || m.show25 || m.show10 || m.showScout || m.showBomb ||
               m.showLine2 || m.showLine7 || m.showLine9);

  // Without the radar's flag, without bombs or on another pair: the usual menu.
  for (const auto& [game, from, to, flags] :
       {std::tuple{AnnAndBob(10, 1), kHome, kHome, kNoRadar}, std::tuple{AnnAndBob(10, 0), kHome, kHome, radar},
        std::tuple{AnnAndBob(10, 1), kHome, kFree, radar}}) {
    m = BuildCommandMenu(game, from, to, flags);
    EXPECT_FALSE(m.pulseOnly || m.showPulse);
    EXPECT_TRUE(m.showAll);
  }
  // The flag of another home world does not count.
  radar = {0, 1, 0, 0};
  EXPECT_FALSE(BuildCommandMenu(AnnAndBob(10, 1), kHome, kHome, radar).pulseOnly);
}

TEST(CommandMenu, TruceNoticesAndRefusals) {
  Game game = AnnAndBob(10, 1);
  GameState& s = game.state;
  s.TruceTurn = 10;
  EXPECT_EQ(TruceNotice(game, kBobHome), "    Battle Truce Ends In 10 Turns    ");
  EXPECT_EQ(TruceNotice(game, kFree), std::nullopt);
  EXPECT_EQ(TruceNotice(game, kHome), std::nullopt);
  EXPECT_EQ(RefuseOrder(game, kHome, kBobHome, kOrderScout)->code, OrderProblem::Truce);
  EXPECT_FALSE(RefuseOrder(game, kHome, kFree, kOrderAll));

  s.GameYear = 1.4f;  // turn 8
  EXPECT_EQ(TruceNotice(game, kBobHome), "    Battle Truce Ends In 2 Turns    ");
  s.GameYear = 1.45f;  // turn 9, the truce's last turn is next
  EXPECT_EQ(TruceNotice(game, kBobHome), "    Battle Truce Ends Next Turn    ");
  s.GameYear = 1.5f;  // turn 10: over
  EXPECT_EQ(TruceNotice(game, kBobHome), std::nullopt);
  EXPECT_FALSE(RefuseOrder(game, kHome, kBobHome, kOrderBomb));
}

TEST(Orders, RefusalsCarryTheirReason) {
  Game game = AnnAndBob(1.5f, 0);
  const auto code = [&](int from, int to, int amount) {
    const auto r = RefuseOrder(game, from, to, amount);
    return r ? r->code : std::optional<OrderProblem>{};
  };
  // A scout is offered with the shares: not from a fraction of a ship.
  EXPECT_EQ(code(kHome, kBobHome, kOrderScout), OrderProblem::NoShipForScout);
  EXPECT_EQ(code(kHome, kBobHome, kOrderAll), OrderProblem::ShareNotOffered);
  game.state.WorldShips[kHome] = 1;
  EXPECT_EQ(code(kHome, kBobHome, kOrderScout), std::nullopt);
  EXPECT_EQ(code(kHome, kHome, kOrderScout), OrderProblem::OwnWorldScouted);
  EXPECT_EQ(code(kBobHome, kHome, kOrderAll), OrderProblem::NotOwnWorld);
  EXPECT_EQ(code(kHome, game.state.WorldCount, kOrderAll), OrderProblem::NotInPlay);
  EXPECT_EQ(code(-1, kHome, kOrderAll), OrderProblem::NotInPlay);
  EXPECT_EQ(code(kHome, kBobHome, kOrderBomb), OrderProblem::NoBombs);
  EXPECT_EQ(code(kHome, kBobHome, 10000), OrderProblem::BadThreshold);
  EXPECT_EQ(code(kHome, kBobHome, 19999), OrderProblem::BadThreshold);
  EXPECT_EQ(code(kHome, kBobHome, 33), OrderProblem::UnknownAmount);
  EXPECT_EQ(RefuseOrder(game, kHome, kBobHome, kOrderBomb)->text,
            "World " + game.state.WorldName[kHome] + " stores no bombs.");
}

}  // namespace
}  // namespace valkoran::view
