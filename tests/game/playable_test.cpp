// Games as a careless or hostile hand leaves them: whatever the loader
// accepts plays on and saves again, and the rules stay sound when handed
// states no game reaches.
#include "game/playable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "game/autoplay.h"
#include "game/newgame.h"
#include "store/savefile.h"
#include "support/games.h"
#include "support/recorder.h"

namespace valkoran {
namespace {

using test::Made;

// Counts what the engine does and calls it a hang past a budget no few
// turns of a real game come near.
class Budget : public Presenter {
 public:
  struct Hang : std::runtime_error {
    Hang() : std::runtime_error("the engine never stopped") {}
  };
  void BattlePanelChanged(const BattlePanel&) override { Spend(); }
  void RotationFrame() override { Spend(); }
  void LogLine(int, const std::string&) override { Spend(); }
  void PumpEvents() override { Spend(); }
  void Notice(const std::string& t) override {
    Spend();
    notices.push_back(t);
  }
  std::vector<std::string> notices;

 private:
  void Spend() {
    if (++calls_ > 2'000'000) throw Hang();
  }
  long calls_ = 0;
};

// Loads the text; when accepted, plays `turns` turns and checks the game
// saves again and loads back as it was. Returns whether it was accepted.
bool PlaysOnAndSaves(const std::string& text, int turns = 3, Budget* seen = nullptr) {
  LoadOutcome o = ReadGameText(text, GameState{});
  if (!o.state) {
    EXPECT_EQ(o.error, kCorruptGameFile);
    return false;
  }
  Game game(7);
  game.state = *o.state;
  Budget budget;
  game.SetPresenter(seen ? seen : &budget);
  EXPECT_NO_THROW(PlayLoadedGame(game, turns));
  game.SetPresenter(nullptr);
  const std::string after = WriteGameText(game.state);
  EXPECT_EQ(CheckSavable(game.state, after), std::nullopt);
  return true;
}

TEST(Playable, EmptySeatsNeverOwnWorldsFleetsOrTheTurn) {
  // Every combination of emptied names, current seat and one home world
  // handed to the next seat: whatever loads plays on.
  const Game base = Made({"Ann", "Bob", "Cid", "Dee"}, 14);
  int accepted = 0;
  for (int emptied = 0; emptied < 16; ++emptied) {
    for (int current = 0; current < 4; ++current) {
      for (int moved = -1; moved < 4; ++moved) {
        GameState s = base.state;
        for (int p = 0; p < 4; ++p)
          if (emptied & (1 << p)) s.PlayerName[p].clear();
        s.CurrentPlayer = static_cast<int16_t>(current);
        if (moved >= 0) s.WorldOwner[8 + moved] = static_cast<uint8_t>((moved + 1) % 4 + 1);
        const bool loads = PlaysOnAndSaves(WriteGameText(s));
        accepted += loads;
        if (!loads) continue;
        // Nothing held or flown by a seat without a player, no gap before a player.
        for (int w = 0; w < s.WorldCount; ++w) EXPECT_TRUE(!s.WorldOwner[w] || !s.PlayerName[s.WorldOwner[w] - 1].empty());
        EXPECT_FALSE(s.PlayerName[current].empty());
      }
    }
  }
  EXPECT_GT(accepted, 10);

  GameState s = base.state;
  s.FleetFrom[0] = 9, s.FleetTo[0] = 1, s.FleetOwner[0] = 4, s.FleetShips[0] = 5, s.FleetClass[0] = 1;
  s.FleetDistance[0] = s.FleetRemaining[0] = .1f;
  s.PlayerName[3].clear();
  s.WorldOwner[11] = 0;
  EXPECT_EQ(ReadGameText(WriteGameText(s), GameState{}).reason, "fleet 0 belongs to an empty seat");
}

TEST(Playable, TheTurnLoopProcessesAtMostOneTurnForNobody) {
  // Handed straight to the rules, past the loader: seat 1 is empty and only
  // seat 2 holds a world. Its turn ends: the hot seat processes the turn once
  // and stops at seat 0 rather than round again for the empty seat.
  Game game = Made({"Ann", "Bob", "Cid", ""}, 12);
  GameState& s = game.state;
  for (int w = 0; w < s.WorldCount; ++w) s.WorldOwner[w] = w == 10 ? 3 : 0;
  s.PlayerName[1].clear();
  s.CurrentPlayer = 2;
  Budget budget;
  game.SetPresenter(&budget);
  game.LeftClickArmed = kTrue;
  const float year = s.GameYear;
  ASSERT_NO_THROW(game.ImgDone_Click());
  EXPECT_EQ(s.GameYear, Sng(static_cast<double>(year) + 0.05f));
  EXPECT_EQ(s.CurrentPlayer, 0);

  // A loaded game whose current seat holds nothing passes the turn round the
  // table to a seat that does, instead of getting stuck there.
  Game loaded = Made({"Ann", "Bob", "Cid", ""}, 12);
  loaded.state.WorldOwner[10] = 1;
  loaded.state.CurrentPlayer = 2;
  EXPECT_EQ(PlayLoadedGame(loaded, 2), PlayEnd::LimitReached);
}

TEST(Playable, BattlesAlwaysEnd) {
  // Fractions of a ship on both sides: neither fires a shot.
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  s.FleetFrom[0] = 9, s.FleetTo[0] = 1, s.FleetOwner[0] = 1, s.FleetShips[0] = .5f, s.FleetClass[0] = 1;
  s.FleetDistance[0] = s.FleetRemaining[0] = 0;
  s.WorldShips[0] = .5f, s.WorldOwner[0] = 2, s.WorldShield[0] = 0;
  Budget budget;
  game.SetPresenter(&budget);
  ASSERT_NO_THROW(game.Battle(0));
  EXPECT_EQ(s.WorldOwner[0], 2);  // the world holds, in whole ships
  EXPECT_EQ(s.WorldShips[0], 0);
  EXPECT_EQ(s.FleetFrom[0], 0);
  // A world of almost no ships does not make the shots wait for ever.
  s.FleetFrom[0] = 9, s.FleetTo[0] = 1, s.FleetOwner[0] = 1, s.FleetShips[0] = 20, s.FleetClass[0] = 1;
  for (float tiny : {1e-20f, 1e-45f}) {
    s.WorldShips[0] = tiny;
    game.BattleSetup(0);
    EXPECT_TRUE(std::isfinite(s.ShotDelay) && s.ShotDelay <= 60000) << tiny;
  }
  // The loader takes ships only in whole numbers.
  for (const char* ships : {" .5", " 1e-45", "-1", "-1e30", " 2e12", " 3e38"}) {
    GameState t = Made({"Ann", "Bob", "", ""}).state;
    std::string edited = WriteGameText(t);
    const std::string from = "\r\n" + Str(t.WorldShips[3]) + "\r\n" + Str(t.WorldTreasure[3]);
    const size_t at = edited.find(from, edited.find("\r\n" + t.WorldName[3] + "\r\n"));
    ASSERT_NE(at, std::string::npos);
    edited.replace(at, from.size(), "\r\n" + std::string(ships) + "\r\n" + Str(t.WorldTreasure[3]));
    EXPECT_EQ(ReadGameText(edited, GameState{}).reason, "world 3's ships are not a whole number from 0 to 2^40")
        << ships;
  }
}

TEST(Playable, IntegerFieldsNeverOverflow) {
  EXPECT_EQ(RoundHalfEvenUnchecked(1e30), INT64_MAX);
  EXPECT_EQ(RoundHalfEvenUnchecked(-1e30), INT64_MIN);
  EXPECT_EQ(RoundHalfEvenUnchecked(NAN), INT64_MIN);
  EXPECT_EQ(RoundHalfEvenClamped(2.5, 0, 10), 2);
  EXPECT_EQ(RoundHalfEvenClamped(-3e38, -32768, 32767), -32768);
  EXPECT_EQ(RoundHalfEvenClamped(32767.4, -32768, 32767), 32767);

  // A scout report past turn 32767 keeps the field's largest turn; the ships
  // of a world beyond the field's range keep its largest count.
  Game game = Made({"Ann", "ENEMY1", "", ""});
  GameState& s = game.state;
  s.GameYear = 5000;
  s.WorldShips[2] = 1e9f;
  s.FleetFrom[0] = 10, s.FleetTo[0] = 3, s.FleetOwner[0] = 2, s.FleetShips[0] = 0, s.FleetClass[0] = 1;
  game.Scout(0);
  EXPECT_EQ(s.PlayerKnowledge[1][0][2], 32767);
  EXPECT_EQ(s.PlayerKnowledge[1][3][2], 32767);
  // A world's store of bombs stops at its field's limit.
  EXPECT_EQ(AddBomb(32767), 32767);
  EXPECT_EQ(AddBomb(-1), 0);
}

TEST(Playable, WhatPlayReachesLoadsAgain) {
  // The year stops at 2^20 and the game there still loads.
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  s.GameYear = 1048575.9f;
  s.WorldShips[8] = 1099511627776.0f;  // 2^40 ships: production adds nothing more
  s.WorldProduction[8] = 255;
  ASSERT_TRUE(PlaysOnAndSaves(WriteGameText(s), 5));
  Game on(3);
  on.state = *ReadGameText(WriteGameText(s), GameState{}).state;
  PlayLoadedGame(on, 5);
  EXPECT_EQ(on.state.GameYear, kMaxGameYear);
  EXPECT_EQ(on.state.WorldShips[8], kMaxWorldShips);

  // Years, ships and texts just beyond what a game can hold are refused.
  const std::pair<void (*)(GameState&), const char*> beyond[] = {
      {[](GameState& t) { t.GameYear = 1048577; }, "the year is not 1 to 1048576"},
      {[](GameState& t) { t.PlayerName[1] = std::string(256, 'b'); }, "seat 1's name is longer than 255 bytes"},
      {[](GameState& t) { t.PlayerName[1] = "B*b"; }, "seat 1's name holds a \"*\" or a line break"},
      {[](GameState& t) { t.WorldClass[5] = 0; }, "world 5 has no class"},
      {[](GameState& t) { t.WorldBombs[5] = -1; }, "world 5's bombs are fewer than none"},
      {[](GameState& t) { t.BombOwner[0] = 1, t.BombWorld[0] = 12; }, "proximity bomb 0 lies on no world"},
      {[](GameState& t) { t.CurrentPlayer = 2; }, "the current seat is not a player's"},
  };
  for (const auto& [edit, reason] : beyond) {
    GameState t = Made({"Ann", "Bob", "", ""}).state;
    edit(t);
    const LoadOutcome o = ReadGameText(WriteGameText(t), GameState{});
    EXPECT_FALSE(o.state);
    EXPECT_EQ(o.reason, reason);
  }
}

TEST(Playable, LogsStayBoundedAndKeepWhatAPlayerReads) {
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  std::string log;
  for (int i = 0; log.size() < kGameLogLimit + 500; ++i) log += "\r\nYear " + std::to_string(i) + ", a line of the log";
  s.GameHistory[0] = log;
  std::string history;
  for (int i = 0; history.size() < kWorldHistoryLimit + 500; ++i) history = "line " + std::to_string(i) + "\r\n" + history;
  s.WorldHistory[3][0] = history;

  // A loaded game keeps the newest whole lines, within the limits.
  GameState loaded = *ReadGameText(WriteGameText(s), GameState{}).state;
  const std::string& kept = loaded.GameHistory[0];
  EXPECT_LE(kept.size(), kGameLogLimit);
  EXPECT_EQ(kept.rfind("\r\nYear ", 0), 0u);
  EXPECT_EQ(log.substr(log.size() - kept.size()), kept);
  EXPECT_EQ(GameLogText(loaded, 0), GameLogText(s, 0));  // the message box shows the same
  const std::string& newest = loaded.WorldHistory[3][0];
  EXPECT_LE(newest.size(), kWorldHistoryLimit);
  EXPECT_GT(newest.size(), kWorldHistoryLimit * 3 / 4 - 40);
  EXPECT_EQ(history.substr(0, newest.size()), newest);
  EXPECT_EQ(newest.substr(newest.size() - 2), "\r\n");

  // And the rules keep them there, however long the game runs.
  game.state = loaded;
  game.AddLog(0, "the newest line");
  game.AddWorldHistory(3, 0, "the newest event");
  EXPECT_LE(s.GameHistory[0].size(), kGameLogLimit);
  EXPECT_EQ(GameLogText(s, 0).substr(GameLogText(s, 0).size() - 17), "the newest line\r\n");
  EXPECT_LE(s.WorldHistory[3][0].size(), kWorldHistoryLimit);
  EXPECT_EQ(s.WorldHistory[3][0].rfind("the newest event\r\nline ", 0), 0u);
}

}  // namespace
}  // namespace valkoran
