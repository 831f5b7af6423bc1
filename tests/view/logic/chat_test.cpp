// The chat line and the game tips.
#include <gtest/gtest.h>

#include "support/games.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {
namespace {

TEST(Chat, PadFollowsTheNameLengthInCharacters) {
  EXPECT_EQ(ChatPad(""), std::string(14, ' '));
  EXPECT_EQ(ChatPad("Bob"), std::string(14, ' '));
  EXPECT_EQ(ChatPad("Zo\xC3\xAB"), std::string(14, ' '));  // three letters in four bytes
  EXPECT_EQ(ChatPad("Anna"), std::string(10, ' '));
  EXPECT_EQ(ChatPad("Carla"), std::string(10, ' '));
  EXPECT_EQ(ChatPad("ENEMY1"), std::string(6, ' '));
  EXPECT_EQ(ChatPad("Eleanor"), std::string(6, ' '));
  EXPECT_EQ(ChatPad("Gertrude"), "");
  EXPECT_EQ(ChatPad("Maximilian"), "");
}

TEST(Chat, StarsNeverReachTheWire) {
  EXPECT_EQ(WithoutStars("a*b**c*"), "abc");
  EXPECT_EQ(WithoutStars("***"), "");
  EXPECT_EQ(ChatLine("Ann", "go*go"), "Ann: gogo");
}

TEST(Chat, BreaksAtTheFirstBlankOnceALineHasThirtyFiveCharacters) {
  const std::string ten = "0123456789";
  const std::string pad = "\r\n\t\t" + std::string(14, ' ');
  EXPECT_EQ(ChatLine("Ann", "hello"), "Ann: hello");
  EXPECT_EQ(ChatLine("Ann", "   hello   "), "Ann: hello");
  EXPECT_EQ(ChatLine("Ann", "    "), "");
  EXPECT_EQ(ChatLine("Ann", ""), "");

  // 35 characters, then a blank: the break.
  const std::string line35 = ten + " " + ten + " " + ten + " 01";
  ASSERT_EQ(line35.size(), 35u);
  EXPECT_EQ(ChatLine("Ann", line35 + " next"), "Ann: " + line35 + pad + "next");
  EXPECT_EQ(ChatLine("Ann", line35), "Ann: " + line35);
  // Several blanks go with the break; none is left at either end.
  EXPECT_EQ(ChatLine("Ann", line35 + "    next  "), "Ann: " + line35 + pad + "next");

  // A blank at 34 characters keeps the line going to the next blank.
  const std::string line34 = ten + " " + ten + " " + ten + " 0";
  EXPECT_EQ(ChatLine("Ann", line34 + " yz w"), "Ann: " + line34 + " yz" + pad + "w");

  // Words are never cut, however long.
  const std::string word(60, 'x');
  EXPECT_EQ(ChatLine("Ann", word), "Ann: " + word);
  EXPECT_EQ(ChatLine("Ann", "short " + word + " end"), "Ann: short " + word + pad + "end");

  // Three lines, under a longer name with its own pad.
  const std::string pad6 = "\r\n\t\t" + std::string(6, ' ');
  EXPECT_EQ(ChatLine("Eleanor", line35 + " " + line35 + " end"), "Eleanor: " + line35 + pad6 + line35 + pad6 + "end");

  // Characters, not bytes: 34 two-byte letters and a blank do not break.
  std::string wide;
  for (int i = 0; i < 34; ++i) wide += "\xC3\xA9";
  EXPECT_EQ(ChatLine("Gertrude", wide + " a b"), "Gertrude: " + wide + " a\r\n\t\tb");
}

TEST(Tips, OneMoveInFiveHundred) {
  EXPECT_TRUE(TipDue(498.0 / 500));
  EXPECT_TRUE(TipDue(0.9979));
  EXPECT_FALSE(TipDue(497.9 / 500));
  EXPECT_FALSE(TipDue(499.0 / 500));
  EXPECT_FALSE(TipDue(0));
}

TEST(Tips, TreasuresStillHidden) {
  Game game = test::Made({"Ann", "Bob", "", ""}, 12);
  GameState& s = game.state;
  s.WorldTreasure = {};
  EXPECT_EQ(GameTip(s, 0.2, 0), " There Are Still 0 World Treasures To Be Found!");
  s.WorldTreasure[5] = 1;
  EXPECT_EQ(GameTip(s, 0.49, 0), " There Is Still 1 World Treasure To Be Found!");
  s.WorldTreasure[6] = 150;  // a hangar of 150 ships
  s.WorldTreasure[10] = 10;  // the empty seat's home: a hangar of 10 ships
  s.WorldTreasure[8] = 10;   // Ann's home: her pulse bomb, armed
  s.WorldTreasure[20] = 3;   // beyond the world count
  EXPECT_EQ(GameTip(s, 0, 0), " There Are Still 3 World Treasures To Be Found!");
  // Fuel on a world nobody holds is still hidden; once taken it is known.
  s.WorldTreasure[7] = 2;
  s.WorldOwner[7] = 0;
  EXPECT_EQ(GameTip(s, 0, 0), " There Are Still 4 World Treasures To Be Found!");
  s.WorldOwner[7] = 2;
  EXPECT_EQ(GameTip(s, 0, 0), " There Are Still 3 World Treasures To Be Found!");
}

TEST(Tips, LeadersInWorldsShipsAndTravelingShips) {
  Game game = test::Made({"Ann", "Bob", "Cid", ""}, 12);
  GameState& s = game.state;
  for (int w = 0; w < 12; ++w) {
    s.WorldOwner[w] = 0;
    s.WorldShips[w] = 0;
  }
  s.WorldOwner[0] = s.WorldOwner[1] = 2;  // Bob: two worlds, 10 ships
  s.WorldShips[0] = 10;
  s.WorldOwner[2] = 3;  // Cid: one world, 50 ships
  s.WorldShips[2] = 50;
  s.WorldOwner[3] = 1;  // Ann: one world, 50 ships
  s.WorldShips[3] = 50;
  auto fleet = [&](int slot, int owner, float ships) {
    s.FleetFrom[slot] = 1;
    s.FleetTo[slot] = 2;
    s.FleetOwner[slot] = static_cast<uint8_t>(owner);
    s.FleetShips[slot] = ships;
  };
  fleet(0, 1, 20);
  fleet(1, 2, 9999);   // bombs are not ships
  fleet(2, 2, 10050);
  fleet(3, 3, 15);
  fleet(4, 3, 0);      // a scout
  fleet(5, 2, 60);
  s.FleetFrom[5] = 0;  // a free slot

  EXPECT_EQ(GameTip(s, 0.5, 0), " Bob Currently Owns The Most Worlds!");
  EXPECT_EQ(GameTip(s, 0.9, 0.3333), " Bob Currently Owns The Most Worlds!");
  // Ann and Cid tie on ships: the first seat leads.
  EXPECT_EQ(GameTip(s, 0.5, 0.34), " Ann Currently Has The Most Ships!");
  EXPECT_EQ(GameTip(s, 0.5, 0.66), " Ann Currently Has The Most Ships!");
  EXPECT_EQ(GameTip(s, 0.5, 0.67), " Ann Currently Has The Most Traveling Ships!");
  EXPECT_EQ(GameTip(s, 0.5, 0.999), " Ann Currently Has The Most Traveling Ships!");

  // A player who has left the game leads nobody.
  s.PlayerLeft[0] = -1;
  EXPECT_EQ(GameTip(s, 0.5, 0.5), " Cid Currently Has The Most Ships!");
  EXPECT_EQ(GameTip(s, 0.5, 0.9), " Cid Currently Has The Most Traveling Ships!");
}

}  // namespace
}  // namespace valkoran::view
