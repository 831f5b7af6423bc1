// What the main window computes besides pixels: the pointer, the radar, the command menu and the texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/numbers.h"
#include "game/orders.h"
#include "game/slots.h"
#include "support/games.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {
namespace {

using Flags = std::array<uint8_t, 4>;
using Lines = std::vector<std::string>;
constexpr int kHome = 8, kBobHome = 9, kFree = 4;  // Ann's home, Bob's home, nobody's

Game AnnAndBob(float ships = 10, int bombs = 0) {  // Ann (seat 0) to move, Bob in seat 1
  Game game = test::Made({"Ann", "Bob", "", ""});
  game.state.WorldShips[kHome] = ships, game.state.WorldBombs[kHome] = static_cast<int16_t>(bombs);
  return game;
}

// A fleet in flight; by default half way from world 0 to world 1.
void Fleet(GameState& s, int slot, int owner, float ships, int from = 0, int to = 1, float remaining = 0.5f) {
  s.FleetFrom[slot] = static_cast<uint8_t>(from + 1), s.FleetTo[slot] = static_cast<uint8_t>(to + 1);
  s.FleetOwner[slot] = static_cast<uint8_t>(owner), s.FleetShips[slot] = ships;
  s.FleetDistance[slot] = 1.0f, s.FleetRemaining[slot] = remaining;
}

TEST(ViewPointer, PlacesScaleFromTheCentreAndBoxesAreStrictWithTheLowerIndexFirst) {
  const Geometry g = MainGeometry();
  EXPECT_TRUE(RoundPixel(2.5) == 2 && RoundPixel(3.5) == 4 && RoundPixel(-0.5) == 0);  // halves to even
  const Point m = ModelToScreen(g, {509 + 100.0, 206 - 50.0});
  EXPECT_TRUE(std::abs(m.x - (509 + 100 * 1018.0 / 460)) < 1e-9 && std::abs(m.y - (206 - 50 * 0.824)) < 1e-9);
  GameState s;  // worlds 0 and 1 on the sun's centre (509, 206), world 2 below it, then at x = 796.69
  s.WorldCount = 3, s.WorldOrbit[2] = 130, s.WorldAngle[2] = static_cast<float>(3.141592 / 2);
  EXPECT_NEAR(WorldPoint(s, g, 2).y, 206 + 130 * 0.824, 1e-9);
  s.WorldAngle[2] = 0;
  const int worldAt[][3] = {{509, 206, 0}, {518, 215, 0}, {519, 206, -1}, {500, 206, 0}, {499, 206, -1},
                            {509, 216, -1}, {509, 197, 0}, {509, 196, -1}, {786, 206, -1}, {787, 206, 2},
                            {806, 206, 2},  {807, 206, -1}};
  for (const auto& p : worldAt) EXPECT_EQ(WorldAt(s, g, p[0], p[1]), p[2]) << p[0] << "," << p[1];
  const int sunAt[][3] = {{485, 230, 1}, {533, 182, 1}, {484, 206, 0}, {534, 206, 0}, {509, 181, 0}, {509, 231, 0}};
  for (const auto& p : sunAt) EXPECT_EQ(SunAt(g, p[0], p[1]), p[2] == 1) << p[0] << "," << p[1];
  const int near[][3] = {{528, 225, 1}, {529, 206, 0}, {509, 226, 0}, {777, 190, 1}, {650, 206, 0}};
  for (const auto& p : near) EXPECT_EQ(NearAWorld(s, g, p[0], p[1]), p[2] == 1) << p[0] << "," << p[1];
  s.WorldOrbit[0] = 210;
  EXPECT_EQ(WorldAt(s, g, 509, 206), 1);
  s.WorldCount = 2;  // world 2 is out of play
  EXPECT_EQ(WorldAt(s, g, 796, 206), -1);
}

// The drawn fleet leaves from its source and is at the target when its remaining distance runs out.
TEST(ViewFleetPosition, StartsAtTheSourceAndEndsAtTheTarget) {
  const Geometry g = MainGeometry();
  for (bool fuel : {false, true}) {
    Game game = test::Made({"Ann", "Bob", "", ""}, 16);
    GameState& s = game.state;
    const int from = 8, to = 13;
    s.WorldShips[from] = 40;
    if (fuel) s.WorldTreasure[from] = kDoubleFuel;
    game.SelectedFrom = from, game.SelectedTo = to, game.Sendships(50);
    ASSERT_TRUE(FleetInFlight(s, 0) && s.FleetTo[0] == to + 1 && s.FleetCourse[0] != 0);
    auto gap = [&](Point p, int w) {
      const double a = s.WorldAngle[w], r = s.WorldOrbit[w];
      return std::hypot(p.x - g.centerX - r * std::cos(a), p.y - g.centerY - r * std::sin(a));
    };
    EXPECT_LT(gap(FleetModelPointNow(s, g, 0), from), 1e-3) << fuel;
    const double steps = static_cast<double>(s.FleetDistance[0]) * 520;  // the whole trip: it has arrived
    for (int w = 0; w < s.WorldCount; ++w) s.WorldAngle[w] = Sng(s.WorldAngle[w] + s.WorldSpin[w] * steps);
    s.FleetRemaining[0] = 0;
    const Point end = FleetModelPointNow(s, g, 0);
    EXPECT_TRUE(gap(end, to) < 4.0 && gap(end, from) > 20.0) << fuel << ": " << gap(end, to);
  }
}

// Ann's home at angle 0 on the home ring (model point (639, 206)), the other homes on the far side;
// worlds 0 and 1 at angle 0 on orbit 50, exactly 80 units inside her home.
Game Watching(std::array<std::string, 4> names = {"Ann", "Bob", "", ""}) {
  Game game = test::Made(std::move(names));
  for (int w : {0, 1, kHome, kBobHome, 10, 11})
    game.state.WorldOrbit[w] = w < 2 ? 50 : 130, game.state.WorldAngle[w] = w < 2 || w == kHome ? 0 : 3.141592f;
  return game;
}
// A scan as the player meets it: fleets counted, the flags of homes 8..11, then the contacts in order.
std::string Seen(const Game& game, int selected = -1, bool busy = false) {
  const RadarScan scan = ScanRadar(game.state, MainGeometry(), selected, busy);
  std::string out = std::to_string(scan.alerts) + " ";
  for (uint8_t flag : scan.pulseMenu) out += std::to_string(flag);
  for (const RadarContact& c : scan.contacts)
    out += (c.fleet >= 0 ? " f" + std::to_string(c.fleet) : " b" + std::to_string(c.bomb)) + "@" +
           std::to_string(c.home);
  return out;
}

TEST(Radar, ForeignFleetsThatMovedAndBombsWithinEightyUnitsWhileNothingIsSelected) {
  Game game = Watching();
  GameState& s = game.state;
  Fleet(s, 0, 2, 30);
  s.FleetRemaining[0] = s.FleetDistance[0];  // launched this turn
  Fleet(s, 1, 1, 30);                        // Ann's own
  EXPECT_EQ(Seen(game), "0 0000");
  Fleet(s, 0, 2, 30);
  Fleet(s, 2, 2, 9999);  // a bomb in flight is a fleet too
  EXPECT_EQ(Seen(game), "2 1000 f0@8 f2@8");
  EXPECT_EQ(Seen(game, kHome) + "|" + Seen(game, -1, true), "0 0000|0 0000");
  s.WorldOrbit[0] = 49.99f;  // 80.01 units away
  EXPECT_EQ(Seen(game), "0 0000");
  EXPECT_EQ(RadarNotice(0), "");
  EXPECT_EQ(RadarNotice(1), "Radar Alert:  1 Enemy Traveling Fleet Detected!");
  EXPECT_EQ(RadarNotice(2), "Radar Alert:  2 Enemy Traveling Fleets Detected!");
  // Foreign proximity bombs raise the flag but are not counted; Ann's own are none of her radar's business.
  s.WorldOrbit[0] = 50, s.FleetFrom = {};
  s.BombOwner[3] = 1, s.BombWorld[3] = 0;
  s.BombOwner[5] = 2, s.BombWorld[5] = 0.4f;  // read back rounded: world 0
  Fleet(s, 7, 2, 30);
  EXPECT_EQ(Seen(game), "1 1000 f7@8 b5@8");
  s.FleetFrom[7] = 0;
  EXPECT_EQ(Seen(game), "0 1000 b5@8");
  s.WorldOrbit[0] = 49.99f;
  EXPECT_EQ(Seen(game), "0 0000");
}

TEST(Radar, WatchesHomeWorldsOfHumanSeatsThatTheCurrentPlayerHolds) {
  Game game = Watching({"Ann", "ENEMY1", "", "Dan"});
  GameState& s = game.state;
  for (int w : {kBobHome, 10}) s.WorldOwner[w] = 1, s.WorldAngle[w] = 0;  // the computer's, the empty seat's; Ann's far
  s.WorldAngle[kHome] = 3.141592f;
  Fleet(s, 0, 4, 30);
  EXPECT_EQ(Seen(game), "0 0000");
  // A human seat's home is watched, whoever's it was: one contact per fleet and home, in that order.
  s.PlayerName[1] = "Bob", s.WorldAngle[kHome] = 0;
  Fleet(s, 1, 4, 30);
  EXPECT_EQ(Seen(game), "4 1100 f0@8 f0@9 f1@8 f1@9");
  s.WorldOwner[kBobHome] = 4;  // fallen to somebody else
  EXPECT_EQ(Seen(game), "2 1000 f0@8 f1@8");
}

CommandMenu Menu(const Game& game, int to, const Flags& radar = {}) { return BuildCommandMenu(game, kHome, to, radar); }

TEST(CommandMenu, DispatchItemsFollowTheShipCountAndNameItAndTheRoute) {
  // all 75% 50% 25% 10% line9 scout line2, toward a foreign world; toward an own one no scout.
  const std::pair<float, std::string> table[] = {{0, "00000000"}, {1, "10000111"}, {1.5f, "00000000"},
      {2, "11100111"}, {3, "10110111"}, {4, "11110111"}, {5, "11111111"}};
  for (const auto& [ships, foreign] : table) {
    const Game game = AnnAndBob(ships, 1);
    for (int to : {kBobHome, kFree, kHome}) {
      const CommandMenu m = Menu(game, to);
      std::string shown;
      for (bool b : {m.showAll, m.show75, m.show50, m.show25, m.show10, m.showLine9, m.showScout, m.showLine2})
        shown += b ? '1' : '0';
      std::string expected = foreign;
      if (to == kHome) expected[5] = expected[6] = '0';
      EXPECT_EQ(shown, expected) << ships << " ships to " << to;
      EXPECT_TRUE(m.showBomb && m.showLine7 && m.showProx && !m.showPulse && !m.pulseOnly);
    }
  }
  // Captions; a count of 1 or less is singular.
  const Game game = AnnAndBob(3);
  const std::string route = " From World " + game.state.WorldName[kHome] + " To " + game.state.WorldName[kBobHome];
  const CommandMenu m = Menu(game, kBobHome);
  EXPECT_EQ((Lines{m.all, m.p75, m.p50, m.p25, m.p10, m.scout}),
            (Lines{"Send 3 Ships" + route, "Send 3 Ships" + route, "Send 2 Ships" + route, "Send 1 Ship" + route,
                   "Send 1 Ship" + route, "Send A Scout Ship" + route}));
  EXPECT_EQ(Menu(AnnAndBob(9998), kBobHome).p75, "Send 7499 Ships" + route);
  EXPECT_EQ(Menu(AnnAndBob(9998), kBobHome).p25, "Send 2500 Ships" + route);
  const std::pair<float, std::string> counts[] = {{0.5f, ".5 Ship"}, {1.5f, "1.5 Ships"}, {1, "1 Ship"}};
  for (const auto& [ships, count] : counts) EXPECT_EQ(Menu(AnnAndBob(ships), kBobHome).all, "Send " + count + route);
}

TEST(CommandMenu, BombItemsNeedStoredBombsProximityASecondSeatAndThePulseTheRadar) {
  const CommandMenu m = Menu(AnnAndBob(10, 0), kBobHome);
  EXPECT_FALSE(m.showBomb || m.showLine7 || m.showProx || m.showPulse);
  Game solo = test::Made({"Ann", "", "", ""});
  solo.state.WorldBombs[kHome] = 2;
  EXPECT_TRUE(Menu(solo, kFree).showBomb && !Menu(solo, kFree).showProx);
  // Twenty bombs armed or flying: the item stays, and the threshold window gives the refusal.
  Game full = AnnAndBob(10, 1);
  std::fill_n(full.state.BombOwner.begin(), 19, int16_t{2});
  Fleet(full.state, 0, 2, 10001, kBobHome, kFree);
  EXPECT_TRUE(Menu(full, kBobHome).showProx);
  const Flags radar{1, 0, 0, 0};  // a second click on a watched home that stores bombs: the pulse menu
  const CommandMenu pulse = Menu(AnnAndBob(10, 1), kHome, radar);
  EXPECT_TRUE(pulse.pulseOnly && pulse.showPulse && pulse.showProx);
  EXPECT_FALSE(pulse.showAll || pulse.show75 || pulse.show50 || pulse.show25 || pulse.show10 || pulse.showScout ||
               pulse.showBomb || pulse.showLine2 || pulse.showLine7 || pulse.showLine9);
  // No flag, no bombs, another target or another home's flag: the usual menu.
  for (const auto& [game, to, flags] :
       {std::tuple{AnnAndBob(10, 1), kHome, Flags{}}, std::tuple{AnnAndBob(10, 0), kHome, radar},
        std::tuple{AnnAndBob(10, 1), kFree, radar}, std::tuple{AnnAndBob(10, 1), kHome, Flags{0, 1, 0, 0}}}) {
    const CommandMenu usual = Menu(game, to, flags);
    EXPECT_TRUE(!usual.pulseOnly && !usual.showPulse && usual.showAll);
  }
}

// The menu offers an item exactly when the engine's door takes its order
// (or would refuse it only for a full table, which the order then says):
// the menu, the proximity window, the runner and a host agree.
TEST(CommandMenu, OffersExactlyWhatTheEngineTakes) {
  int offered = 0, withheld = 0;
  for (float ships : {0.0f, 0.5f, 1.0f, 2.0f, 3.0f, 4.0f, 9.0f})
    for (int bombs : {0, 1})
      for (bool truce : {false, true})
        for (int to : {kHome, kBobHome, kFree}) {
          Game game = AnnAndBob(ships, bombs);
          if (truce) game.state.TruceTurn = 10;
          const CommandMenu m = Menu(game, to);
          const std::pair<bool, Order> items[] = {
              {m.showAll, Order::Ships(0, kHome, to, 100)}, {m.show75, Order::Ships(0, kHome, to, 75)},
              {m.show50, Order::Ships(0, kHome, to, 50)},   {m.show25, Order::Ships(0, kHome, to, 25)},
              {m.show10, Order::Ships(0, kHome, to, 10)},   {m.showScout, Order::Scout(0, kHome, to)},
              {m.showBomb, Order::Bomb(0, kHome, to)},      {m.showProx, Order::Proximity(0, kHome, to, 1)}};
          for (const auto& [shown, order] : items) {
            const auto refusal = RefuseOrder(game, order);
            EXPECT_EQ(shown, !refusal) << ships << " ships, " << bombs << " bombs, truce " << truce << ", to " << to
                                       << ", kind " << static_cast<int>(order.kind) << " " << order.amount;
            (shown ? offered : withheld)++;
          }
        }
  // Both sides of the rule were met.
  EXPECT_GT(offered, 50);
  EXPECT_GT(withheld, 50);
}

TEST(CommandMenu, TruceNoticeCountsTheTurnsLeft) {
  Game game = AnnAndBob(1);
  game.state.TruceTurn = 10, game.state.GameYear = 1.4f;  // turn 8: a running truce forbids other players' worlds
  EXPECT_EQ(TruceNotice(game, kBobHome), "    Battle Truce Ends In 2 Turns    ");
  EXPECT_FALSE(TruceNotice(game, kFree));
  EXPECT_FALSE(TruceNotice(game, kHome));
  game.state.GameYear = 1.45f;  // turn 9
  EXPECT_EQ(TruceNotice(game, kBobHome), "    Battle Truce Ends Next Turn    ");
  game.state.GameYear = 1.5f;  // turn 10: over
  EXPECT_EQ(TruceNotice(game, kBobHome), std::nullopt);
}

TEST(WorldPopups, WhatAnnKnowsOfAWorldAndHerFleetsHeadingThere) {
  Game game = AnnAndBob();
  GameState& s = game.state;
  auto set = [&](int w, int production, int klass, int shield, float ships, int bombs, int treasure) {
    s.WorldProduction[w] = static_cast<uint8_t>(production), s.WorldClass[w] = static_cast<uint8_t>(klass);
    s.WorldShield[w] = static_cast<uint8_t>(shield), s.WorldShieldOn[w] = 0, s.WorldShips[w] = ships;
    s.WorldBombs[w] = static_cast<int16_t>(bombs), s.WorldTreasure[w] = static_cast<int16_t>(treasure);
  };
  set(kHome, 10, 5, 25, 25, 2, kDoubleFuel);
  // Ann's here (the index held as a float, read back rounded), Bob's here, Ann's elsewhere.
  const std::tuple<int, int, float, float> bombs[] = {{3, 1, 8, 50}, {4, 2, 8, 70}, {5, 1, 9, 80}, {7, 1, 7.6f, 5}};
  for (auto [slot, owner, world, threshold] : bombs)
    s.BombOwner[slot] = static_cast<int16_t>(owner), s.BombWorld[slot] = world, s.BombThreshold[slot] = threshold;
  EXPECT_EQ(WorldInfoLines(s, kHome),
            (Lines{" Name: " + s.WorldName[kHome], " Owner: Ann", " Production:  10", " Class:  5", " % Shield:  25",
                   " Shield: Off", " Ships:  25", " Bombs:  2", " Fuel: 2X", " Threshold:  50", " Threshold:  5"}));
  set(kFree, 7, 3, 40, 30, 0, 0);
  const Lines unknown{" Name: " + s.WorldName[kFree], " Owner: N/A", " Production: N/A", " Class: N/A",
                      " % Shield: N/A",                " Shield: N/A", " Ships: N/A"};
  const std::string revealed[] = {" Production:  7", " Class:  3", " % Shield:  40", " Shield: Off", " Ships:  30"};
  for (int r = 1; r <= 5; ++r) {
    s.WorldRevealed[kFree] = static_cast<int16_t>(r);
    Lines expected = unknown;
    expected[static_cast<size_t>(r) + 1] = revealed[r - 1];
    EXPECT_EQ(WorldInfoLines(s, kFree), expected) << r;
  }
  Lines bob = unknown;  // another player's world, with or without the crystal
  bob[0] = " Name: " + s.WorldName[kBobHome], bob[1] = " Owner: Bob";
  EXPECT_EQ(WorldInfoLines(s, kBobHome), bob);
  s.PlayerCrystal[1] = 1;  // another seat's crystal does not help Ann
  EXPECT_EQ(WorldInfoLines(s, kFree)[2], " Production: N/A");
  s.WorldShieldOn[kFree] = 1, s.PlayerCrystal[0] = 1;
  EXPECT_EQ(WorldInfoLines(s, kFree), (Lines{unknown[0], " Owner: N/A", " Production:  7", " Class:  3",
                                             " % Shield:  40", " Shield: On", " Ships:  30"}));
  EXPECT_EQ(WorldInfoLines(s, kBobHome), bob);
  // A left click on another's world: Ann's fleets heading there, then her history of it.
  const std::string from = " From World " + s.WorldName[kHome] + " Will Arrive in ";
  Fleet(s, 0, 1, 25, kHome, kBobHome, 0.07f), s.FleetShield[0] = 30, Fleet(s, 1, 1, 9999, kHome, kBobHome, 0.05f);
  Fleet(s, 2, 2, 40, kBobHome, kBobHome, 0.1f), Fleet(s, 3, 1, 0, kHome, kBobHome, 0.2f);  // slot 2 Bob's
  Fleet(s, 4, 1, 12, kHome, kFree, 0.2f), Fleet(s, 5, 1, 10050, kHome, kBobHome, 0);
  Fleet(s, 6, 1, 7, -1, kBobHome, 0.1f), s.WorldHistory[kBobHome][0] = "x";  // a free slot keeps its old values
  const std::string toBob = " 25 Ships With 30% Shield" + from + "0.07 Years (2 Turns) \r\n" + " An Annihilation Bomb" +
                            from + "0.05 Years (2 Turns) \r\n" + " A Scout Ship" + from + "0.20 Years (5 Turns) \r\n" +
                            " A Proximity Bomb" + from + "0.00 Years (1 Turn) ";
  EXPECT_EQ(WorldPopupText(s, kBobHome), toBob);
  s.WorldHistory[kBobHome][0] = " Year 1.05, Turn #1: something happened\r\n", s.WorldHistory[kBobHome][1] = "Bob's";
  EXPECT_EQ(WorldPopupText(s, kBobHome), toBob + "\r\n Year 1.05, Turn #1: something happened\r\n");
  EXPECT_EQ(WorldPopupText(s, kFree), " 12 Ships With 0% Shield" + from + "0.20 Years (5 Turns) ");
  EXPECT_EQ(WorldPopupText(s, 2), "");
}

TEST(Notices, TravelTurnsFleetLabelsAndTheShieldToggle) {
  const std::pair<float, std::string> notices[] = {
      {0.07f, "0.07 Years, (2 Turns)"}, {0.05f, "0.05 Years, (2 Turns)"}, {0.0f, "0.00 Years, (1 Turn)"},
      {0.101f, "0.11 Years, (3 Turns)"} /* years round up */, {10000, "10000.00 Years, (200000 Turns)"}};
  for (const auto& [distance, text] : notices)
    EXPECT_EQ(TravelDistanceText(distance), "\r\n    The Travel Distance Between Worlds is " + text + "    ");
  EXPECT_EQ(NoShipsText(), "    There Are Currently No Ships Or Bombs At This World!    ");
  Game game = AnnAndBob();
  const std::vector<std::string> captions = TravelTurnCaptions(game, kHome);
  ASSERT_EQ(captions.size(), static_cast<size_t>(game.state.WorldCount));
  EXPECT_EQ(captions[kHome], "0");
  float distance = 0, course = 0;  // the turn ends a fleet sent now would fly, at the view's step
  game.DistCalc(kHome, kBobHome, distance, course, 0.2f);
  float left = Sng(std::floor(distance * 1000.0 + 0.999) / 1000);
  int turns = 0;
  for (; left > 0; ++turns) left = std::max(0.0f, Sng(left - 0.05));
  EXPECT_EQ(captions[kBobHome], std::to_string(std::max(turns, 1)));
  EXPECT_TRUE(TravelTurnCaptions(game, game.state.WorldCount).empty());
  GameState s;  // fleet labels: ships, remaining, caption, the radar's; bombs and scouts show their turns only
  const std::tuple<float, float, const char*, const char*> rows[] = {
      {25, 0.0f, "25  (1 Turn)", "25"}, {25, 0.05f, "25  (2 Turns)", "25"}, {25, 0.051f, "25  (2 Turns)", "25"},
      {9998, 0.1f, "9998  (3 Turns)", "9998"}, {0, 0.1f, "3 Turns", "3 Turns"}, {9999, 0.05f, "2 Turns", "2 Turns"},
      {10050, 0, "1 Turn", "1 Turn"}};
  for (auto [ships, remaining, caption, radar] : rows) {
    Fleet(s, 0, 1, ships, 0, 1, remaining);
    EXPECT_EQ(FleetLabelCaption(s, 0, false) + "|" + FleetLabelCaption(s, 0, true), caption + std::string("|") + radar);
  }
}

TEST(HandOver, NamesThePlayerAndTheTurnAndComesBetweenTwoHumansOnly) {
  Game game = test::Made({"Ann", "Bob", "ENEMY2", ""});
  game.state.CurrentPlayer = 1, game.state.GameYear = Sng(1 + 21 * 0.05);
  EXPECT_EQ(HandOverText(game.state), "Bob, your turn \u2014 Year 2.05, Turn #21");
  EXPECT_TRUE(HandOverDue(game, 0));
  EXPECT_TRUE(HandOverDue(game, 1));
  EXPECT_FALSE(HandOverDue(game, 2));  // a computer's turn
  EXPECT_FALSE(HandOverDue(game, 3));  // an empty seat
  game.StatusLine[1] = "Bob:  Eliminated";  // one human left: nobody to hide from
  EXPECT_FALSE(HandOverDue(game, 0));
  Game net = test::Made({"Ann", "Bob", "", ""});
  net.state.NetworkGame = kTrue;  // each at a machine of their own
  EXPECT_FALSE(HandOverDue(net, 1));
  Game gap = test::Made({"Ann", "", "", "Dee"});  // humans with an empty seat between them
  EXPECT_TRUE(HandOverDue(gap, 3));
}

TEST(WorldPopups, TheTooltipNamesTheWorldAndItsOwner) {
  const Game game = AnnAndBob();
  const GameState& s = game.state;
  EXPECT_EQ(WorldTooltip(s, kHome), s.WorldName[kHome] + "\nOwner: Ann");
  EXPECT_EQ(WorldTooltip(s, kBobHome), s.WorldName[kBobHome] + "\nOwner: Bob");
  EXPECT_EQ(WorldTooltip(s, kFree), s.WorldName[kFree] + "\nNo owner");
  EXPECT_EQ(WorldTooltip(s, 12), "");  // not in play
}

TEST(Chat, StarsNeverReachTheWireAndLongLinesBreakUnderThePadOfTheName) {
  const std::pair<const char*, size_t> pads[] = {{"Bob", 14},   {"Zo\xC3\xAB", 14} /* 3 letters */, {"Anna", 10},
                                                 {"Carla", 10}, {"ENEMY1", 6}, {"Eleanor", 6}, {"Gertrude", 0}};
  for (auto [name, blanks] : pads) EXPECT_EQ(ChatPad(name), std::string(blanks, ' ')) << name;
  EXPECT_EQ(ChatLine("Ann", "go**go*") + "|" + ChatLine("Ann", " ** "), "Ann: gogo|");
  const std::string ten = "0123456789", pad = "\r\n\t\t" + std::string(14, ' '), word(60, 'x');
  const std::string line35 = ten + " " + ten + " " + ten + " 01", line34 = ten + " " + ten + " " + ten + " 0";
  const std::pair<std::string, std::string> lines[] = {
      {"   hello   ", "hello"}, {"", ""}, {line35, line35}, {line35 + " next", line35 + pad + "next"},
      {line35 + "    next  ", line35 + pad + "next"},                 // the blanks go with the break
      {line34 + " yz w", line34 + " yz" + pad + "w"},                 // a blank at 34 keeps the line going
      {"short " + word + " end", "short " + word + pad + "end"}};     // words are never cut
  for (const auto& [message, shown] : lines) EXPECT_EQ(ChatLine("Ann", message), shown.empty() ? "" : "Ann: " + shown);
  const std::string pad6 = "\r\n\t\t" + std::string(6, ' ');
  EXPECT_EQ(ChatLine("Eleanor", line35 + " " + line35 + " end"), "Eleanor: " + line35 + pad6 + line35 + pad6 + "end");
  std::string wide;  // characters, not bytes: 34 two-byte letters and a blank do not break
  for (int i = 0; i < 34; ++i) wide += "\xC3\xA9";
  EXPECT_EQ(ChatLine("Gertrude", wide + " a b"), "Gertrude: " + wide + " a\r\n\t\tb");
}

TEST(Tips, OneMoveInFiveHundredTellsOfHiddenTreasuresOrALeader) {
  EXPECT_TRUE(TipDue(498.0 / 500) && TipDue(0.9979));
  EXPECT_FALSE(TipDue(497.9 / 500) || TipDue(499.0 / 500));
  Game game = test::Made({"Ann", "Bob", "Cid", ""});
  GameState& s = game.state;
  s.WorldTreasure = {};
  EXPECT_EQ(GameTip(s, 0.2, 0), " There Are Still 0 World Treasures To Be Found!");
  s.WorldTreasure[5] = 1;
  EXPECT_EQ(GameTip(s, 0.49, 0), " There Is Still 1 World Treasure To Be Found!");
  // A hangar; the empty seat's home: a hangar of 10 ships; Ann's home: her armed pulse bomb; beyond the world count.
  s.WorldTreasure[6] = 150, s.WorldTreasure[11] = 10, s.WorldTreasure[8] = 10, s.WorldTreasure[20] = 3;
  EXPECT_EQ(GameTip(s, 0, 0), " There Are Still 3 World Treasures To Be Found!");
  s.WorldTreasure[7] = 2, s.WorldOwner[7] = 0;  // fuel on a world nobody holds is still hidden; once taken it is known
  EXPECT_EQ(GameTip(s, 0, 0), " There Are Still 4 World Treasures To Be Found!");
  s.WorldOwner[7] = 2;
  EXPECT_EQ(GameTip(s, 0, 0), " There Are Still 3 World Treasures To Be Found!");
  s.WorldOwner = {2, 2, 3, 1}, s.WorldShips = {10, 0, 50, 50};  // Bob: two worlds, 10 ships; Cid and Ann: 1, 50
  // Traveling: Ann 20, Cid 15; bombs are not ships, nor is a free slot's 60.
  Fleet(s, 0, 1, 20), Fleet(s, 1, 2, 9999), Fleet(s, 2, 2, 10050), Fleet(s, 3, 3, 15), Fleet(s, 4, 2, 60, -1);
  const std::pair<double, const char*> leaders[] = {
      {0.3333, " Bob Currently Owns The Most Worlds!"}, {0.34, " Ann Currently Has The Most Ships!"},  // tie: first
      {0.66, " Ann Currently Has The Most Ships!"},     {0.67, " Ann Currently Has The Most Traveling Ships!"}};
  for (auto [leader, tip] : leaders) EXPECT_EQ(GameTip(s, 0.5, leader), tip) << leader;
  s.PlayerLeft[0] = -1;  // who has left leads nobody
  EXPECT_EQ(GameTip(s, 0.5, 0.5), " Cid Currently Has The Most Ships!");
  EXPECT_EQ(GameTip(s, 0.9, 0.9), " Cid Currently Has The Most Traveling Ships!");
}

}  // namespace
}  // namespace valkoran::view
