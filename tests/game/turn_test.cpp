#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "game/game.h"
#include "game/newgame.h"
#include "support/recorder.h"

namespace valkoran {
namespace {

using test::Recorder;

// A game on `worlds` worlds with these seats, not yet started.
Game Made(std::array<std::string, 4> names, int worlds = 12, uint64_t seed = 5) {
  Game game(seed);
  GameSetup setup;
  setup.names = std::move(names);
  setup.worlds = worlds;
  NewGame(game, setup);
  return game;
}

int FreeSlot(const GameState& s) {
  for (int f = 0; f < kFleets; ++f)
    if (s.FleetFrom[f] == 0) return f;
  return -1;
}

// A fleet of `ships` from `from` to `to` with `left` years to go.
int Launch(GameState& s, int from, int to, float ships, float left, int owner) {
  const int f = FreeSlot(s);
  s.FleetFrom[f] = static_cast<uint8_t>(from + 1);
  s.FleetTo[f] = static_cast<uint8_t>(to + 1);
  s.FleetOwner[f] = static_cast<uint8_t>(owner);
  s.FleetShips[f] = ships;
  s.FleetClass[f] = 1;
  s.FleetDistance[f] = left;
  s.FleetRemaining[f] = left;
  return f;
}

TEST(EndTurn, FleetsNeedOneTurnMoreThanTheirFloatDistanceSuggests) {
  // 0.05 stored as a float lies above the double 0.05 taken off each turn.
  for (auto [left, turns] : {std::pair{0.05f, 2}, {0.1f, 3}, {0.5f, 10}, {0.001f, 1}}) {
    Game game = Made({"Ann", "", "", ""});
    GameState& s = game.state;
    Launch(s, 8, 8, 7, left, 1);
    int ended = 0;
    while (s.FleetFrom[0] != 0 && ended < 20) {
      game.EndTurn();
      ++ended;
    }
    EXPECT_EQ(ended, turns) << left;
  }
}

TEST(EndTurn, ProductionShieldsRotationAndTheYear) {
  const struct {
    int world, shieldOn, shield, production, ships;
    int shieldAfter, shieldOnAfter, shipsAfter;
  } worlds[] = {
      {8, 1, 96, 8, 10, 100, 0, 14},  // four points overflow into ships
      {9, 1, 50, 6, 3, 56, 1, 3},     // short of 100: no ships at all
      {10, 0, 0, 7, 1, 0, 0, 8},
  };
  Game game = Made({"Ann", "", "", ""});
  GameState& s = game.state;
  for (const auto& w : worlds) {
    s.WorldOwner[w.world] = 1;
    s.WorldShieldOn[w.world] = static_cast<uint8_t>(w.shieldOn);
    s.WorldShield[w.world] = static_cast<uint8_t>(w.shield);
    s.WorldProduction[w.world] = static_cast<uint8_t>(w.production);
    s.WorldShips[w.world] = static_cast<float>(w.ships);
  }
  for (int w = 0; w < s.WorldCount; ++w)
    if (s.WorldOwner[w] == 0) s.WorldShieldOn[w] = 1;
  const GameState before = s;
  game.EndTurn();
  for (const auto& w : worlds) {
    EXPECT_EQ(s.WorldShield[w.world], w.shieldAfter) << w.world;
    EXPECT_EQ(s.WorldShieldOn[w.world], w.shieldOnAfter) << w.world;
    EXPECT_EQ(s.WorldShips[w.world], w.shipsAfter) << w.world;
  }
  for (int w = 0; w < s.WorldCount; ++w) {
    // An unowned world's shield never stays on for two turns in a row.
    if (s.WorldOwner[w] == 0) {
      EXPECT_EQ(s.WorldShieldOn[w], 0) << w;
    }
    float a = before.WorldAngle[w];
    for (int k = 0; k < 26; ++k) a = Sng(static_cast<double>(a) + before.WorldSpin[w]);
    EXPECT_EQ(s.WorldAngle[w], a) << w;
  }
  EXPECT_EQ(s.GameYear, Sng(1.0f + 0.05));
  EXPECT_EQ(s.GameHistory[3], "\r\nYear 1.05, Turn #1");
}

TEST(HotSeat, TheRoundOrderWithEmptySeats) {
  // Seats filled with gaps only come from old files: seat 2 after one empty
  // seat still moves, seat 3 after two never does.
  for (auto [names, expected] :
       {std::pair{std::array<std::string, 4>{"Ann", "", "Cid", ""}, std::vector<int>{0, 2, 0, 2}},
        {{"Ann", "", "", "Dee"}, {0, 0, 0, 0}},
        {{"Ann", "Bob", "Cid", ""}, {0, 1, 2, 0}}}) {
    Game game = Made({"Ann", "Bob", "Cid", "Dee"});
    GameState& s = game.state;
    for (int p = 0; p < 4; ++p) {
      s.PlayerName[p] = names[p];
      if (names[p].empty()) s.WorldOwner[8 + p] = 0;
    }
    game.StartLoadedGame();
    std::vector<int> order;
    for (int i = 0; i < 4; ++i) {
      order.push_back(s.CurrentPlayer);
      game.ImgDone_Click();
    }
    EXPECT_EQ(order, expected) << names[2] << names[3];
  }
}

TEST(HotSeat, ATurnEndIsRefusedWhileBusyOrAfterOtherClicks) {
  Game game = Made({"Ann", "Bob", "", ""});
  game.StartLoadedGame();
  game.BusyFlag = kTrue;
  game.ImgDone_Click();
  EXPECT_EQ(game.state.CurrentPlayer, 0);
  game.BusyFlag = kFalse;
  game.LeftClickArmed = kFalse;  // a right click armed nothing
  game.Form_DblClick();
  EXPECT_EQ(game.state.CurrentPlayer, 0);
  game.LeftClickArmed = kTrue;
  game.Form_DblClick();
  EXPECT_EQ(game.state.CurrentPlayer, 1);
}

TEST(GameCheck, TruceAnnouncements) {
  const std::pair<int, std::string> cases[] = {{5, ""},
                                               {6, " Battle Truce Ends In 4 Turns!"},
                                               {8, " Battle Truce Ends In 2 Turns!"},
                                               {9, " Battle Truce Ends Next Turn!"},
                                               {10, " Battle Truce Has Ended!"},
                                               {11, ""}};
  for (const auto& [turn, text] : cases) {
    Game game = Made({"Ann", "Bob", "", ""});
    Recorder rec;
    game.SetPresenter(&rec);
    game.state.TruceTurn = 10;
    game.state.GameYear = Sng(1 + turn * 0.05);
    game.GameCheck();
    std::vector<std::string> expected = {"notice: Initiating Turn #" + std::to_string(turn) + " Ann!", "notice: "};
    if (!text.empty()) expected.insert(expected.begin(), "notice: " + text);
    EXPECT_EQ(rec.Only("notice: "), expected) << turn;
    EXPECT_EQ(rec.Only("pause: 2000").size(), text.empty() ? 0u : 1u) << turn;
  }
}

TEST(GameCheck, FirstTurnNoticesThenTheTurnAnnouncement) {
  Game game(9);
  GameSetup setup;
  setup.names = {"Ann", "ENEMY1", "", ""};
  setup.truceChecked = true;
  setup.truceText = "12";
  setup.shields = true;
  NewGame(game, setup);
  Recorder rec;
  game.SetPresenter(&rec);
  game.GameCheck();
  EXPECT_EQ(rec.Only("notice: "),
            (std::vector<std::string>{"notice:  Battle Truce Set Until Turn 12!",
                                      "notice:  Ships Set To Travel With Shields!", "notice: Initiating Turn #0 Ann!",
                                      "notice: "}));
  EXPECT_TRUE(rec.Has("cue: turn.wav"));
  EXPECT_EQ(game.StatusLine[0], "Ann:  Taking Turn");
  EXPECT_EQ(game.state.TurnMinutesLeft, 3);
  EXPECT_TRUE(rec.Has("timer: on"));
}

TEST(GameCheck, TurnTimerMinutesByTurnAndNeverAlone) {
  for (auto [turn, minutes] : {std::pair{4, 3}, {5, 4}, {14, 4}, {15, 5}, {29, 5}, {30, 6}}) {
    Game game = Made({"Ann", "Bob", "", ""});
    game.state.GameYear = Sng(1 + turn * 0.05);
    game.GameCheck();
    EXPECT_EQ(game.state.TurnMinutesLeft, minutes) << turn;
  }
  Game alone = Made({"Ann", "", "", ""});
  Recorder rec;
  alone.SetPresenter(&rec);
  alone.GameCheck();
  EXPECT_FALSE(rec.Has("timer: on"));
}

TEST(TurnTimer, CountdownTextsAndTheForcedEnd) {
  Game game = Made({"Ann", "Bob", "", ""});
  game.StartLoadedGame();
  Recorder rec;
  game.SetPresenter(&rec);
  game.state.TurnMinutesLeft = 3;
  game.tmrTurn_Timer();
  game.tmrTurn_Timer();
  EXPECT_EQ(rec.Only("notice: "),
            (std::vector<std::string>{"notice:  2 Minutes Left Until Turn Over!",
                                      "notice: < 1 Minute Left Until Turn Over!"}));
  EXPECT_EQ(rec.Only("cue: "), (std::vector<std::string>{"cue: gameinfo.wav", "cue: timer.wav"}));
  rec.Clear();
  game.tmrTurn_Timer();
  EXPECT_EQ(rec.events[0], "notice: Your Turn Is Now Over!");
  EXPECT_EQ(rec.events[1], "pause: 1000");
  EXPECT_EQ(game.state.CurrentPlayer, 1);
}

TEST(AutoSave, OnlyWhenSwitchedOnAfterTheFirstYear) {
  // Switched on in the first turn it stays at 1.0, which counts as off.
  Game first = Made({"Ann", "", "", ""});
  Recorder rec1;
  first.SetPresenter(&rec1);
  first.mnuFileAutoSave_Click();
  for (int i = 0; i < 25; ++i) first.EndTurn();
  EXPECT_FALSE(rec1.Has("savewindow"));

  Game later = Made({"Ann", "", "", ""});
  Recorder rec2;
  later.SetPresenter(&rec2);
  later.EndTurn();
  later.mnuFileAutoSave_Click();
  std::vector<int> asked;
  for (int turn = 2; turn <= 40; ++turn) {
    rec2.Clear();
    later.EndTurn();
    if (rec2.Has("savewindow")) asked.push_back(turn);
  }
  ASSERT_GE(asked.size(), 3u);
  for (size_t i = 1; i < asked.size(); ++i) {
    const int gap = asked[i] - asked[i - 1];
    EXPECT_TRUE(gap == 10 || gap == 11) << gap;
  }
  later.mnuFileAutoSave_Click();
  EXPECT_EQ(later.state.AutoSaveYear, 0);
}

TEST(GameCheck, EliminationOnceSurvivorAndRating) {
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  for (int w = 0; w < s.WorldCount; ++w) s.WorldOwner[w] = 0;
  s.WorldOwner[3] = 1;
  s.WorldClass[3] = 5;
  s.WorldProduction[3] = 10;
  s.GameYear = Sng(1 + 9 * 0.05);
  // Bob's last asset is a scout: that counts as nothing.
  Launch(s, 9, 3, kScout, 0.3f, 2);
  Recorder rec;
  game.SetPresenter(&rec);
  game.GameCheck();
  EXPECT_EQ(rec.Only("banner: "),
            (std::vector<std::string>{"banner: \r\n    Bob Has Been Eliminated From The Game!    \r\n", "banner: ",
                                      "banner: \r\n    Ann Has Eliminated All The Other Players!    \r\n"}));
  EXPECT_EQ(rec.Only("highscore: "), std::vector<std::string>{"highscore: Ann 5.000000"});
  EXPECT_EQ(game.StatusLine[1], "Bob:  Eliminated");
  EXPECT_EQ(s.GameHistory[0], "\r\n Bob Was Eliminated From The Game!");
  rec.Clear();
  game.GameCheck();  // neither is announced again
  EXPECT_TRUE(rec.Only("banner: ").empty());
  EXPECT_TRUE(rec.Only("highscore: ").empty());
}

TEST(GameCheck, ABombInFlightKeepsAPlayerIn) {
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  s.WorldOwner[9] = 1;
  Launch(s, 9, 3, kAnnihilationBomb, 0.3f, 2);
  game.GameCheck();
  EXPECT_EQ(game.StatusLine[1], "Bob:  Taking Turn");
}

TEST(GameCheck, ConquestEndsTheGame) {
  Game game = Made({"Ann", "Bob", "", ""}, 10);
  GameState& s = game.state;
  double cls = 0, prod = 0;
  for (int w = 0; w < s.WorldCount; ++w) {
    s.WorldOwner[w] = 1;
    cls += s.WorldClass[w];
    prod += s.WorldProduction[w];
  }
  Recorder rec;
  game.SetPresenter(&rec);
  game.GameCheck();
  ASSERT_TRUE(rec.Has("gameover"));
  EXPECT_TRUE(rec.Has("notice: Ann Has Taken Over The Entire Solar System With An Rating Of " +
                      Format(Sng(cls * prod), "0.0")));
  EXPECT_EQ(s.WorldOwner[0], 0);  // cleared for the next game
  EXPECT_EQ(s.TruceTurn, 0);
}

// The computer seats' turns end through the host's loop, never inside one
// another: the stack is as deep at the hundredth turn as at the first.
class StackProbe : public Presenter {
 public:
  void TurnEndPending() override {
    char here;
    const auto at = reinterpret_cast<uintptr_t>(&here);
    lo = std::min(lo, at);
    hi = std::max(hi, at);
    ++calls;
  }
  uintptr_t lo = UINTPTR_MAX, hi = 0;
  int calls = 0;
};

TEST(TurnDriver, AllComputerGamesPlayAtAConstantDepthAndRepeatForASeed) {
  auto play = [](uint64_t seed, StackProbe* probe) {
    Game game = Made({"ENEMY0", "ENEMY1", "ENEMY2", "ENEMY3"}, 16, seed);
    game.SetPresenter(probe);
    game.StartLoadedGame();
    for (int i = 0; i < 400 && game.TurnEndPending(); ++i) game.RunPendingTurnEnd();
    return game.state;
  };
  StackProbe probe;
  const GameState a = play(21, &probe);
  EXPECT_GE(probe.calls, 100);
  EXPECT_LT(probe.hi - probe.lo, 4096u);
  EXPECT_GT(a.GameYear, 1.5f);
  EXPECT_TRUE(a == play(21, nullptr));
  EXPECT_FALSE(a == play(22, nullptr));
}

}  // namespace
}  // namespace valkoran
