// Games with an empty seat between taken ones: they start, load, save as they
// were, and every seated player gets his turns.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/newgame.h"
#include "store/savefile.h"
#include "support/games.h"
#include "support/recorder.h"

namespace valkoran {
namespace {

using Names = std::array<std::string, kSeats>;

// The seats taken, by the names the setup window would hold.
Names Seated(const std::vector<int>& seats) {
  const char* names[kSeats] = {"Ann", "Bob", "Cid", "Dee"};
  Names out{};
  for (int s : seats) out[s] = names[s];
  return out;
}

std::vector<int> SeatsOf(const Names& names) {
  std::vector<int> seats;
  for (int s = 0; s < kSeats; ++s)
    if (!names[s].empty()) seats.push_back(s);
  return seats;
}

const std::vector<std::vector<int>> kGaps = {{0, 2}, {0, 3}, {0, 1, 3}, {0, 2, 3}};

TEST(EmptySeats, GamesWithGapsStartLoadAndSaveAsTheyWere) {
  for (const auto& seats : kGaps) {
    const Names names = Seated(seats);
    const GameSetup setup{.names = names, .worlds = 16};
    EXPECT_EQ(ValidateSetup(setup), std::nullopt) << SeatsOf(names).back();
    Game game(11);
    NewGame(game, setup);
    const std::string text = WriteGameText(game.state);
    const LoadOutcome back = ReadGameText(text, GameState{});
    ASSERT_TRUE(back.state) << back.reason;
    EXPECT_EQ(WriteGameText(*back.state), text);
    for (int s = 0; s < kSeats; ++s)
      EXPECT_EQ(back.state->WorldOwner[kHomeRing + s], names[s].empty() ? 0 : s + 1) << s;
  }
}

TEST(EmptySeats, WhatAnEmptySeatMayNotHoldIsStillRefused) {
  const GameState base = test::Made(Seated({0, 3})).state;
  const std::pair<void (*)(GameState&), const char*> refused[] = {
      {[](GameState& t) { t.PlayerName[0].clear(); }, "seat 0 is empty"},
      {[](GameState& t) { t.CurrentPlayer = 1; }, "the current seat is not a player's"},
      {[](GameState& t) { t.WorldOwner[5] = 2; }, "world 5 belongs to an empty seat"},
      {[](GameState& t) { t.FleetFrom[0] = 12, t.FleetTo[0] = 1, t.FleetOwner[0] = 3, t.FleetClass[0] = 1; },
       "fleet 0 belongs to an empty seat"},
      {[](GameState& t) { t.BombOwner[0] = 2, t.BombWorld[0] = 4; }, "proximity bomb 0 belongs to an empty seat"}};
  for (const auto& [edit, reason] : refused) {
    GameState t = base;
    edit(t);
    const LoadOutcome o = ReadGameText(WriteGameText(t), GameState{});
    EXPECT_TRUE(!o.state && o.error == kCorruptGameFile && o.reason == reason) << o.reason;
  }
}

// Hot seat with humans only: each seat that comes up sends half its home
// world's ships to world 0 and presses Done.
TEST(EmptySeats, EverySeatedPlayerMovesEveryTurn) {
  for (const auto& seats : kGaps) {
    const Names names = Seated(seats);
    const std::vector<int> taken = SeatsOf(names);
    Game game(7);
    test::Recorder rec;
    game.SetPresenter(&rec);
    NewGame(game, {.names = names, .worlds = 16});
    const LoadOutcome loaded = ReadGameText(WriteGameText(game.state), GameState{});
    ASSERT_TRUE(loaded.state) << loaded.reason;
    game.state = *loaded.state;
    game.StartLoadedGame();

    std::vector<int> moved;
    const int turns = 3;
    for (size_t k = 0; k < taken.size() * turns; ++k) {
      const int me = game.state.CurrentPlayer;
      moved.push_back(me);
      const auto fleets = [&] { return std::count(game.state.FleetOwner.begin(), game.state.FleetOwner.end(), me + 1); };
      const auto before = fleets();
      game.SelectedFrom = static_cast<int16_t>(kHomeRing + me), game.SelectedTo = 0;
      game.Sendships(50);
      EXPECT_EQ(fleets(), before + 1) << me;
      game.ImgDone_Click();
    }
    std::vector<int> expected;
    for (int t = 0; t < turns; ++t) expected.insert(expected.end(), taken.begin(), taken.end());
    EXPECT_EQ(moved, expected) << "last seat " << taken.back();
    EXPECT_EQ(CurrentTurn(game.state), turns);
    const LoadOutcome again = ReadGameText(WriteGameText(game.state), GameState{});
    EXPECT_TRUE(again.state) << again.reason;
  }
}

TEST(EmptySeats, TheSurvivorIsTheOnlySeatStillPlaying) {
  Game game = test::Made(Seated({0, 1, 3}));
  test::Recorder rec;
  game.SetPresenter(&rec);
  GameState& s = game.state;

  // Bob is out; Ann and Dee still play: nobody has won.
  s.WorldOwner[kHomeRing + 1] = 0;
  game.GameCheck();
  EXPECT_TRUE(rec.Has("banner: \r\n    Bob Has Been Eliminated From The Game!    \r\n"));
  EXPECT_TRUE(rec.Only("highscore:").empty());
  for (const auto& e : rec.Only("banner:")) EXPECT_EQ(e.find("Has Eliminated All"), std::string::npos) << e;

  // Ann goes too: Dee, behind the empty seat, is the survivor.
  rec.Clear();
  s.WorldOwner[kHomeRing] = 0;
  game.GameCheck();
  EXPECT_TRUE(rec.Has("banner: \r\n    Dee Has Eliminated All The Other Players!    \r\n"));
  EXPECT_TRUE(rec.Has("notice: Dee Has Eliminated All The Other Players!"));
  EXPECT_EQ(rec.Only("highscore:").size(), 1u);
  EXPECT_EQ(rec.Only("highscore:")[0].rfind("highscore: Dee ", 0), 0u);
}

}  // namespace
}  // namespace valkoran
