#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/game.h"
#include "support/recorder.h"

namespace valkoran {
namespace {

using Lines = std::vector<std::string>;

// One orbit where nothing turns: a world at angle 0 is met at once, one at 5 radians never. Seat 1 (the computer)
// plays from world 0 with 100 ships.
struct Board {
  static constexpr uint8_t kHuman = 1, kMe = 2;
  struct : test::Recorder {
    void TurnEndPending() override { events.push_back("turn end"); }
  } rec;
  Game game{5};
  GameState& s = game.state;
  Board() {
    game.SetPresenter(&rec);
    s.PlayerName = {"Ann", "ENEMY1"}, s.CurrentPlayer = 1, s.GameYear = 1;
    s.WorldOrbit[kHomeRing] = 130, Put(kMe, 0, 100);  // the home ring scales every course
  }
  int Put(uint8_t owner, float angle, float ships, uint8_t cls = 1, uint8_t production = 0) {
    const int w = s.WorldCount++;
    s.WorldOrbit[w] = 210, s.WorldAngle[w] = angle, s.WorldOwner[w] = owner, s.WorldShips[w] = ships;
    s.WorldClass[w] = cls, s.WorldProduction[w] = production, s.WorldRevealed[w] = 1;
    return w;
  }
  void AtTurn(int turn) {
    for (s.GameYear = 1; CurrentTurn(s) < turn;) s.GameYear = Sng(static_cast<double>(s.GameYear) + 0.05);
  }
  void Report(int w, int16_t turn, int16_t production, int16_t ships) {
    for (int i = 0; const int16_t v : {turn, int16_t{1}, production, ships}) s.PlayerKnowledge[1][i++][w] = v;
  }
  void Claim(int to, float remaining) {  // a fleet of the human's, far down the slots
    s.FleetFrom[60] = 2, s.FleetTo[60] = static_cast<uint8_t>(to + 1), s.FleetOwner[60] = kHuman, s.FleetShips[60] = 5;
    s.FleetRemaining[60] = remaining;
  }
  Lines Fleets() const {  // the computer's, as "from>to ships"
    Lines out;
    for (int f = 0; f < kFleets; ++f)
      if (s.FleetFrom[f] && s.FleetOwner[f] == kMe)
        out.push_back(std::to_string(s.FleetFrom[f] - 1) + ">" + std::to_string(s.FleetTo[f] - 1) +
                      Str(s.FleetShips[f]));
    return out;
  }
};

TEST(EnemyTurn, OrdersAndTheTurnHandedBack) {
  constexpr uint8_t H = Board::kHuman, Me = Board::kMe;
  constexpr float kFar = 5;
  const struct {
    const char* what;
    std::function<void(Board&)> setup;
    Lines fleets;
  } cases[] = {
      // Only a seat named ENEMY and one character more plays; any other hands the turn straight back.
      {"ENEMY10", [](Board& b) { b.s.PlayerName[1] = "ENEMY10", b.Put(0, 0, 30); }, {}},
      {"ENEMY", [](Board& b) { b.s.PlayerName[1] = "ENEMY", b.Put(0, 0, 30); }, {}},
      // The garrison left at home is one ship more than the turn.
      {"21 at turn 20", [](Board& b) { b.AtTurn(20), b.s.WorldShips[0] = 21, b.Put(0, 0, 30); }, {}},
      {"22 at turn 20", [](Board& b) { b.AtTurn(20), b.s.WorldShips[0] = 22, b.Put(0, 0, 30); }, {"0>1 0"}},
      // With the crystal, in quarters: floor(4 * need / ships + 1.2).
      {"a turn's production", [](Board& b) { b.s.PlayerCrystal[1] = 1, b.Put(H, 0, 36, 1, 10); }, {"0>1 75"}},
      {"need equal to ships", [](Board& b) { b.s.PlayerCrystal[1] = 1, b.Put(H, 0, 100); }, {}},
      {"better class", [](Board& b) { b.s.PlayerCrystal[1] = 1, b.Put(H, 0, 70, 2); }, {}},
      {"what is left", [](Board& b) { b.s.PlayerCrystal[1] = 1, b.Put(H, 0, 40), b.Put(0, 0, 40); },
       {"0>1 50", "0>2 50"}},
      // Scout reports, at turn 20 (arrival at 21); the true count plays no part.
      {"never scouted", [](Board& b) { b.AtTurn(20), b.Put(H, 0, 500); }, {"0>1 0"}},
      {"9 turns old", [](Board& b) { b.AtTurn(20), b.Report(b.Put(H, 0, 500), 11, 0, 10); }, {"0>1 25"}},
      {"10 turns old", [](Board& b) { b.AtTurn(20), b.Report(b.Put(H, 0, 500), 10, 0, 10); }, {"0>1 0"}},
      {"grown until arrival", [](Board& b) { b.AtTurn(20), b.Report(b.Put(H, 0, 500), 15, 5, 16); }, {"0>1 75"}},
      {"dated after today", [](Board& b) { b.AtTurn(20), b.Report(b.Put(H, 0, 500), 25, 5, 0); }, {"0>1 0"}},
      // Ships shown to all: decided on 10 a turn, sized on 15.
      {"shown 45", [](Board& b) { b.s.WorldRevealed[b.Put(0, 0, 45)] = 5; }, {"0>1 100"}},
      {"shown 30 vs 50", [](Board& b) { b.s.WorldShips[0] = 50, b.s.WorldRevealed[b.Put(0, 0, 30)] = 5; }, {"0>1 0"}},
      // The annihilation bomb: only against production 8, only when ships fall short.
      {"bomb", [](Board& b) { b.s.PlayerCrystal[1] = b.s.WorldBombs[0] = 1, b.Put(H, 0, 200, 1, 8); }, {"0>1 9999"}},
      {"poor target", [](Board& b) { b.s.PlayerCrystal[1] = b.s.WorldBombs[0] = 1, b.Put(H, 0, 200, 1, 7); }, {}},
      {"ships do", [](Board& b) { b.s.PlayerCrystal[1] = b.s.WorldBombs[0] = 1, b.Put(H, 0, 10, 1, 8); }, {"0>1 25"}},
      {"reported rich", [](Board& b) { b.s.WorldBombs[0] = 1, b.Report(b.Put(H, 0, 200), 0, 8, 200); }, {"0>1 9999"}},
      // A fleet of any owner arriving first claims the target; every slot counts.
      {"claimed", [](Board& b) { b.Claim(b.Put(0, .5f, 30), .01f); }, {}},
      {"arrives later", [](Board& b) { b.Claim(b.Put(0, .5f, 30), .9f); }, {"0>1 0"}},
      // Consolidation on an own world at least as good in class times production: 6 draws 6, 5 does not.
      {"gather", [](Board& b) { b.s.WorldProduction[0] = 6, b.Put(Me, 0, 0, 2, 3), b.Put(0, kFar, 30); }, {"0>1 100"}},
      {"stay", [](Board& b) { b.s.WorldProduction[0] = 6, b.Put(Me, 0, 0, 5, 1), b.Put(0, kFar, 30); }, {}},
      // The truce spares other players' worlds until its last turn.
      {"truce", [](Board& b) { b.s.PlayerCrystal[1] = 1, b.s.TruceTurn = 10, b.Put(H, 0, 10), b.Put(0, 0, 10); },
       {"0>2 25"}},
      {"truce over", [](Board& b) { b.s.PlayerCrystal[1] = 1, b.s.TruceTurn = 10, b.AtTurn(10), b.Put(H, 0, 10),
                                     b.Put(0, 0, 10); }, {"0>1 25", "0>2 19"}},
  };
  for (const auto& c : cases) {
    Board b;
    c.setup(b), b.game.EnemyTurn();
    EXPECT_EQ(b.Fleets(), c.fleets) << c.what;
    const bool plays = b.s.PlayerName[1] == "ENEMY1";
    EXPECT_EQ(std::tuple(b.game.BusyFlag, b.game.TurnEndPending()), std::tuple(kFalse, plays)) << c.what;
    EXPECT_EQ(b.rec.events.at(0) + "|" + b.rec.events.back(), plays ? "box: |turn end" : "box: |box: ") << c.what;
  }
}

}  // namespace
}  // namespace valkoran
