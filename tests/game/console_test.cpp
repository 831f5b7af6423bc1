#include "game/console.h"

#include <gtest/gtest.h>

namespace valkoran {
namespace {

using Lines = std::vector<std::string>;
// Seat 0 "Ann" is at the controls and owns worlds 0 and 1; seat 1 "Bob" owns world 2.
GameState Panel() {
  GameState s;
  s.PlayerName = {"Ann", "Bob"}, s.WorldCount = 4, s.WorldOwner = {1, 1, 2};
  s.WorldName = {"Ares", "Bora", "Cyd", "Dun"};
  return s;
}

Lines Texts(const std::vector<ConsoleRow>& rows, std::vector<int>* data = nullptr) {
  Lines out;
  for (const auto& r : rows) out.push_back(r.text), data ? data->push_back(r.data) : void();
  return out;
}
// The panel's indicators: bombs, double fuel, the crystal.
std::tuple<int, bool, bool> Marks(const ConsolePanel& p) { return {p.bombs, p.doubleShown, p.crystalShown}; }

TEST(Console, WorldRowsIndicatorsAndTheComputersEmptyPanel) {
  GameState s = Panel();
  s.WorldOwner[3] = 1, s.WorldCount = 3;  // owned, but not in play
  s.WorldClass = {3, 1}, s.WorldProduction = {9, 10}, s.WorldShieldOn[0] = 1, s.WorldShips = {5, 1000};
  s.WorldTreasure = {kDoubleFuel, 0, kDoubleFuel, kDoubleFuel}, s.WorldBombs = {3, 0, 4, 5}, s.WorldShield[1] = 100;
  // Own proximity bombs show on their own world only; a rival's never.
  s.BombOwner = {0, 0, 1, 2, 0, 0, 0, 1, 0, 1}, s.BombWorld = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  s.FleetFrom[0] = 3, s.FleetOwner[0] = 2, s.FleetTo[0] = 1, s.FleetShips[0] = 5, s.PlayerCrystal[0] = 1;  // Bob's
  ConsolePanel p = BuildConsole(s, false);
  EXPECT_EQ(p.header, "  World:              Class:         Prod:         Shield:    Ships/Bombs:");
  std::vector<int> data;
  EXPECT_EQ(Texts(p.worlds, &data), (Lines{"  Ares        \t 3\t    9-S\t     0%\t       5 D BBB P P",
                                           "  Bora        \t 1\t  10\t  100%\t 1000 P"}));
  EXPECT_EQ(data, (std::vector<int>{0, 1}));
  EXPECT_EQ(Texts(p.fleets), Lines{"None"});
  EXPECT_EQ(Marks(p), std::tuple(3, true, true));
  // Only the double-speed fuel lights its indicator: not a hangar left by a
  // bomb's take-over, nor an armed pulse bomb.
  for (int code : {4, 10}) {
    s.WorldTreasure[0] = 0, s.WorldTreasure[1] = static_cast<uint8_t>(code);
    EXPECT_EQ(Marks(BuildConsole(s, false)), std::tuple(3, false, true)) << code;
  }
  s.WorldTreasure[1] = kDoubleFuel;
  EXPECT_EQ(Marks(BuildConsole(s, false)), std::tuple(3, true, true));
  EXPECT_EQ(Marks(BuildConsole(s, true)), std::tuple(0, false, false));
  s.PlayerName[1] = "ENEMY1", s.CurrentPlayer = 1, p = BuildConsole(s, false);
  EXPECT_EQ(std::tuple(p.header, Texts(p.worlds), Texts(p.fleets)), std::tuple("", Lines{}, Lines{}));
  EXPECT_EQ(Marks(p), std::tuple(4, true, false));  // the indicators still follow the seat
  const std::tuple<int, float, std::string> widths[] = {  // shield, ships, the row from the shield column on
      {1, 9, "   1%\t       9"}, {99, 10, "   99%\t     10"}, {50, 99, "   50%\t     99"},
      {255, 100, "  255%\t   100"}, {100, 999, "  100%\t   999"}};
  for (const auto& [shield, ships, tail] : widths) {
    s = Panel(), s.WorldShield[0] = static_cast<uint8_t>(shield), s.WorldShips[0] = ships, p = BuildConsole(s, false);
    EXPECT_EQ(p.worlds.at(0).text, "  Ares        \t 0\t    0\t" + tail);
    EXPECT_EQ(Marks(p), std::tuple(0, false, false));  // nothing to show
  }
}

TEST(Console, FleetLinesInSlotOrder) {
  GameState s = Panel();
  const std::tuple<int, uint8_t, uint8_t, float, float> fleets[] = {
      // slot, owner, target, ships, years left: 0.05 and 0.1 keep a rest for one more turn end
      {0, 1, 3, 12, 0.05f}, {1, 2, 1, 40, 0.3f},      {4, 1, 4, 9999, 0.06f},
      {5, 1, 3, 0, 0.1f},   {8, 1, 1, 10005, 0.101f}, {9, 1, 2, 1, 0.3f}};
  for (const auto& [f, owner, to, ships, left] : fleets)
    s.FleetFrom[f] = 1, s.FleetOwner[f] = owner, s.FleetTo[f] = to, s.FleetShips[f] = ships, s.FleetRemaining[f] = left;
  std::vector<int> data;
  EXPECT_EQ(Texts(BuildConsole(s, false).fleets, &data),
            (Lines{" 12 Ships Will Reach World Cyd in 2 Turns", " A Bomb Will Reach World Dun in 2 Turns",
                   " A Scout Ship Will Reach World Cyd in 3 Turns",
                   " A Proximity Bomb Will Reach World Ares in 3 Turns", " 1 Ships Will Reach World Bora in 7 Turns"}));
  EXPECT_EQ(data, (std::vector<int>{0, 4, 5, 8, 9}));  // Bob's fleet in slot 1 is not on Ann's panel
}

TEST(StatusReport, OneLinePerSeatStillInPlay) {
  GameState s = Panel();
  s.PlayerName = {"Ann", "Bob", "Cid", "Dee"}, s.WorldOwner[2] = 3, s.GameYear = 1;  // Cid's, but Cid is eliminated
  s.WorldClass = {3, 5}, s.WorldProduction = {9, 10}, s.WorldShips = {5, 1000}, s.WorldBombs[0] = 2;
  // Bob has no world left but ships under way; Dee only a bomb under way.
  s.FleetFrom = {1, 1}, s.FleetOwner = {2, 4}, s.FleetTo = {1, 1}, s.FleetShips = {12, 9999};
  EXPECT_EQ(StatusReportText(s, {"Ann:  Taking Turn", "Bob:  Done Turn", "Cid:  Eliminated", "Dee:  Done Turn"}),
            "    Ann Owns 2 Worlds With 19 Production and 1005 Ships, Rating: 152.0    \r\n"
            "    Bob Owns 0 World With 0 Production and 0 Ships, Rating: 0.0    \r\n"
            "    Dee Was Eliminated From Game!    \r\n");
  s.GameYear = 2, s.WorldOwner[1] = 2;  // turn 20: the rating is spread over 21 turns
  s.PlayerName[2] = s.PlayerName[3] = "";  // empty seats get no line, not even as eliminated
  EXPECT_EQ(StatusReportText(s, {}),
            "    Ann Owns 1 World With 9 Production and 5 Ships, Rating: 1.3    \r\n"
            "    Bob Owns 1 World With 10 Production and 1000 Ships, Rating: 2.4    \r\n");
}

}  // namespace
}  // namespace valkoran
