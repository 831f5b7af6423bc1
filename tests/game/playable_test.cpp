// Games as a careless or hostile hand leaves them: whatever the loader accepts plays on and saves again, and
// the rules stay sound when handed states no game reaches.
#include "game/playable.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "game/autoplay.h"
#include "store/savefile.h"
#include "support/games.h"

namespace valkoran {
namespace {

using test::Made;

// Calls it a hang past a budget no few turns of a real game come near.
struct Budget : Presenter {
  void BattlePanelChanged(const BattlePanel&) override { Spend(); }
  void RotationFrame() override { Spend(); }
  void LogLine(int, const std::string&) override { Spend(); }
  void PumpEvents() override { Spend(); }
  void Notice(const std::string&) override { Spend(); }
  void Spend() { if (++calls > 2'000'000) throw std::runtime_error("the engine never stopped"); }
  long calls = 0;
};

// Loads the text; when accepted, plays `turns` turns, checks the game saves and loads back, and returns it.
std::optional<GameState> PlaysOnAndSaves(const std::string& text, int turns = 3) {
  LoadOutcome o = ReadGameText(text, GameState{});
  EXPECT_TRUE(o.state || o.error == kCorruptGameFile) << o.error;
  if (!o.state) return std::nullopt;
  Game game(7);
  game.state = *o.state;
  Budget budget;
  game.SetPresenter(&budget);
  EXPECT_NO_THROW(PlayLoadedGame(game, turns));
  EXPECT_EQ(CheckSavable(game.state, WriteGameText(game.state)), std::nullopt);
  return game.state;
}

TEST(Playable, WhatPlayReachesLoadsAgainAndWhatLiesBeyondIsRefused) {
  // The year stops at 2^20, a world's ships at 2^40, and the game there still loads.
  GameState s = Made({"Ann", "Bob", "", ""}).state;
  s.GameYear = 1048575.9f, s.WorldShips[8] = 1099511627776.0f, s.WorldProduction[8] = 255;
  const auto after = PlaysOnAndSaves(WriteGameText(s), 5);
  ASSERT_TRUE(after);
  EXPECT_EQ(std::tuple(after->GameYear, after->WorldShips[8]), std::tuple(kMaxGameYear, kMaxWorldShips));
  EXPECT_EQ(AddBomb(32767), 32767);  // a world's store of bombs stops at its field's limit
  // A game saved as a turn ended names seat 0 even when that seat holds nothing any more: the turn passes on.
  Game loaded = Made({"Ann", "Bob", "Cid", ""}, 12);
  loaded.state.WorldOwner[10] = 1, loaded.state.CurrentPlayer = 2;
  EXPECT_EQ(PlayLoadedGame(loaded, 2), PlayEnd::LimitReached);

  const std::pair<void (*)(GameState&), const char*> beyond[] = {
      {[](GameState& t) { t.GameYear = 1048577; }, "the year is not 1 to 1048576"},
      {[](GameState& t) { t.PlayerName[1] = std::string(256, 'b'); }, "seat 1's name is longer than 255 bytes"},
      {[](GameState& t) { t.PlayerName[1] = "B*b"; }, "seat 1's name holds a \"*\" or a line break"},
      {[](GameState& t) { t.WorldClass[5] = 0; }, "world 5 has no class"},
      {[](GameState& t) { t.WorldBombs[5] = -1; }, "world 5's bombs are fewer than none"},
      {[](GameState& t) { t.BombOwner[0] = 1, t.BombWorld[0] = 12; }, "proximity bomb 0 lies on no world"},
      {[](GameState& t) { t.CurrentPlayer = 2; }, "the current seat is not a player's"},
      {[](GameState& t) { t.PlayerName[0].clear(); }, "seat 0 is empty"},
      {[](GameState& t) { t.WorldOwner[5] = 3; }, "world 5 belongs to an empty seat"},
      {[](GameState& t) { t.FleetFrom[0] = 9, t.FleetTo[0] = 1, t.FleetOwner[0] = 4, t.FleetClass[0] = 1; },
       "fleet 0 belongs to an empty seat"},
      {[](GameState& t) { t.WorldShips[3] = .5f; }, "world 3's ships are not a whole number from 0 to 2^40"},
      {[](GameState& t) { t.WorldShips[3] = 1e-45f; }, "world 3's ships are not a whole number from 0 to 2^40"},
      {[](GameState& t) { t.WorldShips[3] = -1; }, "world 3's ships are not a whole number from 0 to 2^40"},
      {[](GameState& t) { t.WorldShips[3] = 2e12f; }, "world 3's ships are not a whole number from 0 to 2^40"}};
  for (const auto& [edit, reason] : beyond) {
    GameState t = Made({"Ann", "Bob", "", ""}).state;
    edit(t);
    const LoadOutcome o = ReadGameText(WriteGameText(t), GameState{});
    EXPECT_FALSE(o.state) << reason;
    EXPECT_EQ(o.reason, reason);
  }
}

TEST(Playable, LogsStayBoundedAndKeepWhatAPlayerReads) {
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  for (int i = 0; s.GameHistory[0].size() < kGameLogLimit + 500; ++i)
    s.GameHistory[0] += "\r\nYear " + std::to_string(i) + ", a line of the log";
  std::string& history = s.WorldHistory[3][0];
  for (int i = 0; history.size() < kWorldHistoryLimit + 500; ++i) history.insert(0, "line " + std::to_string(i) + "\r\n");

  // A loaded game keeps the newest whole lines, within the limits.
  GameState loaded = *ReadGameText(WriteGameText(s), GameState{}).state;
  const std::string &log = s.GameHistory[0], &kept = loaded.GameHistory[0], &newest = loaded.WorldHistory[3][0];
  EXPECT_LE(kept.size(), kGameLogLimit);
  EXPECT_TRUE(kept.starts_with("\r\nYear ")) << kept.substr(0, 20);
  EXPECT_EQ(log.substr(log.size() - kept.size()), kept);
  EXPECT_EQ(GameLogText(loaded, 0), GameLogText(s, 0));  // the message box shows the same
  EXPECT_LE(newest.size(), kWorldHistoryLimit);
  EXPECT_GT(newest.size(), kWorldHistoryLimit * 3 / 4 - 40);
  EXPECT_EQ(history.substr(0, newest.size()), newest);  // whole lines: it ends at one's end
  EXPECT_TRUE(newest.ends_with("\r\n"));

  // And the rules keep them there, however long the game runs.
  game.state = loaded, game.AddLog(0, "the newest line"), game.AddWorldHistory(3, 0, "the newest event");
  EXPECT_LE(s.GameHistory[0].size(), kGameLogLimit);
  EXPECT_TRUE(GameLogText(s, 0).ends_with("the newest line\r\n"));
  EXPECT_LE(s.WorldHistory[3][0].size(), kWorldHistoryLimit);
  EXPECT_EQ(s.WorldHistory[3][0].rfind("the newest event\r\nline ", 0), 0u);
}

}  // namespace
}  // namespace valkoran
