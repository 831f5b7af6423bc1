// The texts of the pointer's pop-ups and the fleet labels, as a player reads them.
#include <gtest/gtest.h>

#include <cmath>

#include "support/games.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {
namespace {

using Lines = std::vector<std::string>;
constexpr int kHome = 8, kBobHome = 9, kFree = 4;

Game AnnAndBob() { return test::Made({"Ann", "Bob", "", ""}); }

void SetWorld(GameState& s, int w, int production, int klass, int shield, bool on, float ships) {
  s.WorldProduction[w] = static_cast<uint8_t>(production);
  s.WorldClass[w] = static_cast<uint8_t>(klass);
  s.WorldShield[w] = static_cast<uint8_t>(shield);
  s.WorldShieldOn[w] = on;
  s.WorldShips[w] = ships;
}

void ArmBomb(GameState& s, int slot, int owner, float world, float threshold) {
  s.BombOwner[slot] = static_cast<int16_t>(owner);
  s.BombWorld[slot] = world;
  s.BombThreshold[slot] = threshold;
}

TEST(WorldInfo, OwnWorldShowsEverythingWithItsBombsAndFuel) {
  Game game = AnnAndBob();
  GameState& s = game.state;
  const std::string name = s.WorldName[kHome];
  SetWorld(s, kHome, 10, 5, 25, true, 25);
  s.WorldBombs[kHome] = 0;
  s.WorldTreasure[kHome] = 0;
  EXPECT_EQ(WorldInfoLines(s, kHome), (Lines{" Name: " + name, " Owner: Ann", " Production:  10", " Class:  5",
                                             " % Shield:  25", " Shield: On", " Ships:  25"}));

  s.WorldShieldOn[kHome] = 0;
  s.WorldBombs[kHome] = 2;
  s.WorldTreasure[kHome] = 2;
  ArmBomb(s, 3, 1, 8, 50);
  ArmBomb(s, 4, 2, 8, 70);    // Bob's: not Ann's to see
  ArmBomb(s, 5, 1, 9, 80);    // elsewhere
  ArmBomb(s, 7, 1, 7.6f, 5);  // a world index held as a float, read back rounded
  EXPECT_EQ(WorldInfoLines(s, kHome),
            (Lines{" Name: " + name, " Owner: Ann", " Production:  10", " Class:  5", " % Shield:  25", " Shield: Off",
                   " Ships:  25", " Bombs:  2", " Fuel: 2X", " Threshold:  50", " Threshold:  5"}));
}

TEST(WorldInfo, OtherPlayersWorldShowsNameAndOwnerOnlyEvenWithTheCrystal) {
  Game game = AnnAndBob();
  GameState& s = game.state;
  const Lines expected{" Name: " + s.WorldName[kBobHome],
                       " Owner: Bob",
                       " Production: N/A",
                       " Class: N/A",
                       " % Shield: N/A",
                       " Shield: N/A",
                       " Ships: N/A"};
  EXPECT_EQ(WorldInfoLines(s, kBobHome), expected);
  s.PlayerCrystal[0] = 1;
  EXPECT_EQ(WorldInfoLines(s, kBobHome), expected);
}

TEST(WorldInfo, UnownedWorldShowsItsRevealedValueOrAllWithTheCrystal) {
  Game game = AnnAndBob();
  GameState& s = game.state;
  const std::string name = " Name: " + s.WorldName[kFree];
  SetWorld(s, kFree, 7, 3, 40, false, 30);
  s.WorldBombs[kFree] = 0;
  s.WorldTreasure[kFree] = 0;
  const Lines byValue[] = {
      {name, " Owner: N/A", " Production:  7", " Class: N/A", " % Shield: N/A", " Shield: N/A", " Ships: N/A"},
      {name, " Owner: N/A", " Production: N/A", " Class:  3", " % Shield: N/A", " Shield: N/A", " Ships: N/A"},
      {name, " Owner: N/A", " Production: N/A", " Class: N/A", " % Shield:  40", " Shield: N/A", " Ships: N/A"},
      {name, " Owner: N/A", " Production: N/A", " Class: N/A", " % Shield: N/A", " Shield: Off", " Ships: N/A"},
      {name, " Owner: N/A", " Production: N/A", " Class: N/A", " % Shield: N/A", " Shield: N/A", " Ships:  30"},
  };
  for (int revealed = 1; revealed <= 5; ++revealed) {
    s.WorldRevealed[kFree] = static_cast<int16_t>(revealed);
    EXPECT_EQ(WorldInfoLines(s, kFree), byValue[revealed - 1]) << revealed;
  }
  s.WorldShieldOn[kFree] = 1;
  s.WorldRevealed[kFree] = 4;
  EXPECT_EQ(WorldInfoLines(s, kFree)[5], " Shield: On");

  s.PlayerCrystal[0] = 1;
  s.WorldBombs[kFree] = 1;
  EXPECT_EQ(WorldInfoLines(s, kFree), (Lines{name, " Owner: N/A", " Production:  7", " Class:  3", " % Shield:  40",
                                             " Shield: On", " Ships:  30", " Bombs:  1"}));
  // The crystal of another seat does not help Ann.
  s.PlayerCrystal[0] = 0;
  s.PlayerCrystal[1] = 1;
  EXPECT_EQ(WorldInfoLines(s, kFree)[2], " Production: N/A");
}

void Fleet(GameState& s, int slot, int from, int to, int owner, float ships, int shield, float remaining) {
  s.FleetFrom[slot] = static_cast<uint8_t>(from + 1);
  s.FleetTo[slot] = static_cast<uint8_t>(to + 1);
  s.FleetOwner[slot] = static_cast<uint8_t>(owner);
  s.FleetShips[slot] = ships;
  s.FleetShield[slot] = static_cast<uint8_t>(shield);
  s.FleetDistance[slot] = 0.3f;
  s.FleetRemaining[slot] = remaining;
}

TEST(WorldPopup, OwnFleetsHeadingThereThenOwnHistory) {
  Game game = AnnAndBob();
  GameState& s = game.state;
  const std::string home = s.WorldName[kHome], bob = s.WorldName[kBobHome];
  Fleet(s, 0, kHome, kBobHome, 1, 25, 30, 0.07f);
  Fleet(s, 1, kHome, kBobHome, 1, 9999, 0, 0.05f);
  Fleet(s, 2, kBobHome, kBobHome, 2, 40, 0, 0.1f);  // Bob's own
  Fleet(s, 3, kHome, kBobHome, 1, 0, 0, 0.2f);
  Fleet(s, 4, kHome, kFree, 1, 12, 0, 0.2f);  // elsewhere
  Fleet(s, 5, kHome, kBobHome, 1, 10050, 0, 0.0f);
  Fleet(s, 6, kHome, kBobHome, 1, 7, 0, 0.1f);
  s.FleetFrom[6] = 0;  // a free slot keeps its old values
  s.WorldHistory[kBobHome][0] = "x";
  const std::string fleets =
      " 25 Ships With 30% Shield From World " + home + " Will Arrive in 0.07 Years (2 Turns) \r\n" +
      " An Annihilation Bomb From World " + home + " Will Arrive in 0.05 Years (1 Turn) \r\n" +
      " A Scout Ship From World " + home + " Will Arrive in 0.20 Years (4 Turns) \r\n" +
      " A Proximity Bomb From World " + home + " Will Arrive in 0.00 Years (0 Turn) ";
  EXPECT_EQ(WorldPopupText(s, kBobHome), fleets);

  const std::string history = " Year 1.05, Turn #1: something happened\r\n";
  s.WorldHistory[kBobHome][0] = history;
  s.WorldHistory[kBobHome][1] = "Bob's own record";
  EXPECT_EQ(WorldPopupText(s, kBobHome), fleets + "\r\n" + history);
  EXPECT_EQ(WorldPopupText(s, kFree), " 12 Ships With 0% Shield From World " + home +
                                          " Will Arrive in 0.20 Years (4 Turns) ");
  EXPECT_EQ(WorldPopupText(s, 2), "");
}

TEST(TravelTexts, DistanceNoticeAndTurnCaptions) {
  EXPECT_EQ(TravelDistanceText(0.07f), "\r\n    The Travel Distance Between Worlds is 0.07 Years, (2 Turns)    ");
  EXPECT_EQ(TravelDistanceText(0.05f), "\r\n    The Travel Distance Between Worlds is 0.05 Years, (1 Turn)    ");
  EXPECT_EQ(TravelDistanceText(0.0f), "\r\n    The Travel Distance Between Worlds is 0.00 Years, (0 Turn)    ");
  // Years round up to the hundredth.
  EXPECT_EQ(TravelDistanceText(0.101f), "\r\n    The Travel Distance Between Worlds is 0.11 Years, (3 Turns)    ");
  EXPECT_EQ(TravelDistanceText(10000), "\r\n    The Travel Distance Between Worlds is 10000.00 Years, (200000 Turns)    ");
  EXPECT_EQ(NoShipsText(), "    There Are Currently No Ships Or Bombs At This World!    ");

  Game game = AnnAndBob();
  const std::vector<std::string> captions = TravelTurnCaptions(game, kHome);
  ASSERT_EQ(captions.size(), static_cast<size_t>(game.state.WorldCount));
  EXPECT_EQ(captions[kHome], "0");  // a world meets itself at once
  // Each caption is the trip's whole turns, rounded up, found with the view's step.
  for (int j : {0, kBobHome, static_cast<int>(game.state.WorldCount) - 1}) {
    float distance = 0, course = 0;
    game.DistCalc(kHome, static_cast<int16_t>(j), distance, course, 0.2f);
    ASSERT_LT(distance, 10000);
    EXPECT_EQ(captions[j], std::to_string(static_cast<long>(std::floor(distance / 0.05 + 0.999)))) << j;
  }
  EXPECT_TRUE(TravelTurnCaptions(game, game.state.WorldCount).empty());
}

TEST(FleetLabels, TurnOrTurnsAndTheRadarForm) {
  GameState s;
  s.FleetFrom[0] = 1;
  s.FleetShips[0] = 25;
  const std::pair<float, const char*> ships[] = {
      {0.0f, "25  (0 Turn)"}, {0.05f, "25  (1 Turn)"}, {0.1f, "25  (2 Turns)"}, {0.051f, "25  (2 Turns)"}};
  for (const auto& [remaining, caption] : ships) {
    s.FleetRemaining[0] = remaining;
    EXPECT_EQ(FleetLabelCaption(s, 0, false), caption);
    EXPECT_EQ(FleetLabelCaption(s, 0, true), "25");
  }
  s.FleetRemaining[0] = 0.1f;
  s.FleetShips[0] = 9998;
  EXPECT_EQ(FleetLabelCaption(s, 0, false), "9998  (2 Turns)");
  for (float code : {0.0f, 9999.0f, 10050.0f}) {
    s.FleetShips[0] = code;
    s.FleetRemaining[0] = 0.1f;
    EXPECT_EQ(FleetLabelCaption(s, 0, false), "2 Turns");
    EXPECT_EQ(FleetLabelCaption(s, 0, true), "2 Turns");
    s.FleetRemaining[0] = 0.05f;
    EXPECT_EQ(FleetLabelCaption(s, 0, false), "1 Turn");
    s.FleetRemaining[0] = 0;
    EXPECT_EQ(FleetLabelCaption(s, 0, false), "0 Turn");
  }
}

TEST(ShieldToggle, OwnWorldsUntilTheTurnIsDone) {
  Game game = AnnAndBob();
  game.StatusLine[0] = "Ann:  Taking Turn";
  EXPECT_TRUE(MayToggleShield(game, kHome));
  EXPECT_FALSE(MayToggleShield(game, kBobHome));
  EXPECT_FALSE(MayToggleShield(game, kFree));
  game.StatusLine[0] = "Ann:  Done Turn";
  EXPECT_FALSE(MayToggleShield(game, kHome));
  game.StatusLine[0] = "";
  EXPECT_TRUE(MayToggleShield(game, kHome));
}

}  // namespace
}  // namespace valkoran::view
