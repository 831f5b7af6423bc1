#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "game/game.h"
#include "support/games.h"
#include "support/recorder.h"

namespace valkoran {
namespace {

using Lines = std::vector<std::string>;
using test::Made;

// Into the first free slot: `ships` from `from` to `to` with `left` years to go.
void Launch(GameState& s, int from, int to, float ships, float left, int owner) {
  int f = 0;
  while (s.FleetFrom[f] != 0) ++f;
  s.FleetFrom[f] = static_cast<uint8_t>(from + 1), s.FleetTo[f] = static_cast<uint8_t>(to + 1);
  s.FleetOwner[f] = static_cast<uint8_t>(owner), s.FleetShips[f] = ships, s.FleetClass[f] = 1;
  s.FleetDistance[f] = s.FleetRemaining[f] = left;
}

// Ann and Bob on twelve worlds, watched.
class AnnAndBob : public ::testing::Test {
 protected:
  void SetUp() override { game.SetPresenter(&rec); }
  Game game = Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  test::Recorder rec;
};

TEST(EndTurn, FleetsProductionShieldsRotationAndTheYear) {
  // 0.05 stored as a float lies above the double 0.05 taken off each turn.
  for (auto [left, turns] : {std::pair{0.05f, 2}, {0.1f, 3}, {0.5f, 10}, {0.001f, 1}}) {
    Game game = Made({"Ann", "", "", ""});
    int ended = 0;
    for (Launch(game.state, 8, 8, 7, left, 1); game.state.FleetFrom[0] && ended < 20; ++ended) game.EndTurn();
    EXPECT_EQ(ended, turns) << left;
  }
  // world, shield on, shield, production, ships; then shield, shield on and ships after
  const uint8_t worlds[][8] = {{8, 1, 96, 8, 10, 100, 0, 14},  // four points overflow into ships
                               {9, 1, 50, 6, 3, 56, 1, 3},     // short of 100: no ships at all
                               {10, 0, 0, 7, 1, 0, 0, 8}};
  Game game = Made({"Ann", "", "", ""});
  GameState& s = game.state;
  for (int w = 0; w < s.WorldCount; ++w) s.WorldShieldOn[w] = s.WorldOwner[w] == 0;
  for (const auto& w : worlds)
    s.WorldOwner[w[0]] = 1, s.WorldShieldOn[w[0]] = w[1], s.WorldShield[w[0]] = w[2], s.WorldProduction[w[0]] = w[3],
    s.WorldShips[w[0]] = w[4];
  const GameState before = s;
  game.EndTurn();
  for (const auto& w : worlds)
    EXPECT_EQ(std::tuple(+s.WorldShield[w[0]], +s.WorldShieldOn[w[0]], s.WorldShips[w[0]]),
              std::tuple(+w[5], +w[6], float(w[7]))) << w[0];
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

// Each seat that comes up, as "seat@turn": the turn is processed once, when
// the last seat holding a world is done, and never at a seat passed over.
TEST(HotSeat, TheRoundSkipsSeatsWithoutWorldsAndTheTurnEndsAfterTheLast) {
  for (auto [holds, expected] : {std::pair{std::array{1, 0, 1, 1}, "0@0 2@0 3@0 0@1 2@1"},
                                 {{1, 0, 0, 1}, "0@0 3@0 0@1 3@1 0@2"}, {{1, 1, 1, 0}, "0@0 1@0 2@0 0@1 1@1"}}) {
    Game game = Made({"Ann", "Bob", "Cid", "Dee"});
    for (int p = 0; p < 4; ++p) game.state.WorldOwner[8 + p] = static_cast<uint8_t>(holds[p] ? p + 1 : 0);
    game.StartLoadedGame();
    std::string seen;
    for (int i = 0; i < 5; ++i, game.ImgDone_Click())
      seen += (i ? " " : "") + std::to_string(game.state.CurrentPlayer) + "@" + std::to_string(CurrentTurn(game.state));
    EXPECT_EQ(seen, expected) << holds[1] << holds[2] << holds[3];
  }
}

TEST_F(AnnAndBob, TruceAnnouncementsAndTheTimersMinutesByTurn) {
  const std::tuple<int, std::string, int> cases[] = {
      {0, " Battle Truce Set Until Turn 10!", 3},  // and no word of shields: they are off
      {4, "", 3},  {5, "", 4},  {6, " Battle Truce Ends In 4 Turns!", 4}, {9, " Battle Truce Ends Next Turn!", 4},
      {10, " Battle Truce Has Ended!", 4}, {11, "", 4}, {14, "", 4}, {15, "", 5}, {29, "", 5}, {30, "", 6}};
  s.TruceTurn = 10;
  for (const auto& [turn, truce, minutes] : cases) {
    rec.Clear(), s.GameYear = Sng(1 + turn * 0.05), game.GameCheck();
    Lines notices = {"notice: Initiating Turn #" + std::to_string(turn) + " Ann!", "notice: "};
    if (!truce.empty()) notices.insert(notices.begin(), "notice: " + truce);
    EXPECT_EQ(rec.Only("notice: "), notices) << turn;
    EXPECT_EQ(rec.Only("pause: 2000").size(), truce.empty() ? 0u : 1u) << turn;
    EXPECT_EQ(s.TurnMinutesLeft, minutes) << turn;
  }
  // The first turn of a game with shields says so; with nobody to wait for there is no timer.
  s.TruceTurn = 12, s.ShieldOption = true, s.GameYear = 1, rec.Clear(), game.GameCheck();
  EXPECT_EQ(rec.Only("notice: "), (Lines{"notice:  Battle Truce Set Until Turn 12!",
                                         "notice:  Ships Set To Travel With Shields!",
                                         "notice: Initiating Turn #0 Ann!", "notice: "}));
  EXPECT_TRUE(rec.Has("cue: turn.wav"));
  EXPECT_TRUE(rec.Has("timer: on"));
  s.PlayerName[1].clear(), rec.Clear(), game.GameCheck();
  EXPECT_FALSE(rec.Has("timer: on"));
  // Alone, switching the timer off and on again never starts the clock that
  // would end the turn a minute later.
  game.mnuOptionsTurn_Click(), game.mnuOptionsTurn_Click();
  EXPECT_TRUE(game.TurnTimerOn);
  EXPECT_FALSE(rec.Has("timer: on"));
  s.PlayerName[1] = "Bob", rec.Clear(), game.mnuOptionsTurn_Click(), game.mnuOptionsTurn_Click();
  EXPECT_EQ(rec.Only("timer: "), (Lines{"timer: off", "timer: on"}));
}

// The hand-over at one machine hangs on this: the turn end says it is over
// before the first seat's panel and log are shown, and the turn start comes
// before that seat's view.
TEST(HotSeat, TheTurnEndIsOverBeforeTheNextSeatsPanelAndLog) {
  class Order : public test::Recorder {
   public:
    void TurnEndOver() override { Add("turn end over"); }
    void TurnStarts(int seat) override { Add("turn starts " + std::to_string(seat)); }
    void Console() override { Add("console"); }
    void ShowGameLog(const std::string&) override { Add("log"); }
    void GalaxyDraw() override { Add("draw"); }
  } seen;
  Game game = Made({"Ann", "Bob", "", ""});
  game.SetPresenter(&seen);
  game.ImgDone_Click();  // Ann's turn passes to Bob
  game.ImgDone_Click();  // Bob's ends the turn
  std::vector<std::string> order;
  for (const std::string& e : seen.events)
    if (e == "turn end over" || e.starts_with("turn starts") || e == "console" || e == "log" || e == "draw")
      order.push_back(e);
  const auto over = std::find(order.begin(), order.end(), "turn end over");
  ASSERT_NE(over, order.end());
  // Before it, Bob's hand-over came first; after it, Ann's turn opens.
  EXPECT_EQ(std::find(order.begin(), order.end(), "turn starts 1") < over, true);
  ASSERT_GE(order.end() - over, 5);
  EXPECT_EQ(std::vector<std::string>(over, over + 5), (Lines{"turn end over", "console", "log", "turn starts 0", "draw"}));
}

TEST_F(AnnAndBob, ATurnEndsByALeftClickWhenIdleOrWhenTheTimerRunsOut) {
  game.StartLoadedGame(), rec.Clear();
  game.BusyFlag = kTrue, game.ImgDone_Click();
  game.BusyFlag = kFalse, game.LeftClickArmed = kFalse, game.Form_DblClick();  // a right click armed nothing
  s.TurnMinutesLeft = 3;
  for (int i = 0; i < 3; ++i) game.tmrTurn_Timer();
  rec.events.resize(8);
  EXPECT_EQ(rec.events, (Lines{"notice:  2 Minutes Left Until Turn Over!", "cue: gameinfo.wav", "timer: on",
                               "notice: < 1 Minute Left Until Turn Over!", "cue: timer.wav", "timer: on",
                               "notice: Your Turn Is Now Over!", "pause: 1000"}));
  EXPECT_EQ(s.CurrentPlayer, 1);
}

TEST(AutoSave, HalfAYearAfterSwitchingOnNeverInTheFirstHalfYear) {
  Game game = Made({"Ann", "", "", ""});
  test::Recorder rec;
  game.SetPresenter(&rec);
  game.mnuFileAutoSave_Click();  // on in the very first turn: the year it counts from is 1.00
  EXPECT_EQ(game.state.AutoSaveYear, 1.0f);
  std::vector<int> asked;
  for (int turn = 1; turn <= 60; ++turn) {
    if (turn == 22) game.mnuFileAutoSave_Click(), game.mnuFileAutoSave_Click();  // off, then on again
    rec.Clear(), game.EndTurn();
    if (rec.Has("savewindow")) asked.push_back(turn);
  }
  // Half a year is ten turns, but ten float steps fall just short of it:
  // the reminder comes at the eleventh turn end after switching on.
  EXPECT_EQ(asked, (std::vector<int>{11, 32, 43, 54}));
  game.mnuFileAutoSave_Click();  // off
  EXPECT_EQ(game.state.AutoSaveYear, 0);
  for (int turn = 0; turn < 30; ++turn) {
    rec.Clear(), game.EndTurn();
    EXPECT_FALSE(rec.Has("savewindow"));
  }

  // A new game starts with the reminder off, whatever the last one had.
  game.mnuFileAutoSave_Click();
  EXPECT_TRUE(game.AutoSaveChecked);
  NewGame(game, {.names = {"Ann", "", "", ""}, .worlds = 12});
  EXPECT_FALSE(game.AutoSaveChecked);
  EXPECT_EQ(game.state.AutoSaveYear, 1.0f);
}

TEST_F(AnnAndBob, EliminationOnceSurvivorRatingABombInFlightAndConquest) {
  for (int w = 0; w < s.WorldCount; ++w) s.WorldOwner[w] = 0;
  s.WorldOwner[3] = 1, s.WorldClass[3] = 5, s.WorldProduction[3] = 10, s.GameYear = Sng(1 + 9 * 0.05);
  Launch(s, 9, 3, kScout, 0.3f, 2);  // Bob's last asset is a scout: that counts as nothing
  game.GameCheck();
  EXPECT_EQ(rec.Only("banner: "), (Lines{"banner: \r\n    Bob Has Been Eliminated From The Game!    \r\n", "banner: ",
                                         "banner: \r\n    Ann Has Eliminated All The Other Players!    \r\n"}));
  EXPECT_EQ(rec.Only("highscore: "), Lines{"highscore: Ann 5.000000"});
  EXPECT_EQ(game.StatusLine[1] + s.GameHistory[0], "Bob:  Eliminated\r\n Bob Was Eliminated From The Game!");
  rec.Clear(), game.GameCheck();  // neither is announced again
  EXPECT_EQ(rec.Only("banner: "), Lines{});
  EXPECT_EQ(rec.Only("highscore: "), Lines{});
  Launch(s, 9, 3, kAnnihilationBomb, 0.3f, 2), game.GameCheck();  // a bomb in flight keeps its owner in
  EXPECT_EQ(game.StatusLine[1], "Bob:  Taking Turn");
  // A conquest ends the game.
  double cls = 0, prod = 0;
  s.GameYear = 1;
  for (int w = 0; w < s.WorldCount; ++w) s.WorldOwner[w] = 1, cls += s.WorldClass[w], prod += s.WorldProduction[w];
  s.TruceTurn = 12, game.GameCheck();
  EXPECT_TRUE(rec.Has("gameover"));
  EXPECT_TRUE(rec.Has("notice: Ann Has Taken Over The Entire Solar System With An Rating Of " +
                      Format(Sng(cls * prod), "0.0")));
  EXPECT_EQ(std::tuple(+s.WorldOwner[0], s.TruceTurn), std::tuple(0, 0));  // cleared for the next game
}

// The server ends the turn for all when every seat is done or gone.
TEST_F(AnnAndBob, NetworkTurnEndsWaitForEverySeat) {
  struct Sent : Relay {
    bool Connected(int socket) const override { return socket == 1; }
    void SendStatus(int so, int seat, const std::string& t) override { log.push_back(Str(so) + Str(seat) + t); }
    void SendEndTurn() override { log.push_back("endturn"); }
    Lines log;
  } relay;
  game.SetRelay(&relay);
  s.NetworkGame = kTrue, game.role = NetRole::Server;
  auto turnOf = [&](const char* ann, const char* bob) {  // the seats' status lines, Ann's seat free to end its turn
    game.SetStatus(0, std::string("Ann:  ") + ann), game.SetStatus(1, std::string("Bob:  ") + bob);
    game.TurnLock = kFalse;
  };
  turnOf("Taking Turn", "Taking Turn"), game.ImgDone_Click();
  EXPECT_TRUE(rec.Has("notice:  Waiting on Bob"));
  EXPECT_EQ(relay.log, Lines{" 1 0Ann:  Done Turn"});
  EXPECT_EQ(std::tuple(game.TurnLock, s.GameYear), std::tuple(kTrue, 1.0f));
  game.ImgDone_Click();  // refused: this seat is done already
  EXPECT_EQ(relay.log.size(), 1u);
  turnOf("Taking Turn", "Done Turn"), game.ImgDone_Click();
  EXPECT_EQ(relay.log.back(), "endturn");
  EXPECT_GT(s.GameYear, 1.0f);
  game.role = NetRole::Client;  // a client only tells the server
  turnOf("Taking Turn", "Taking Turn"), relay.log.clear(), game.ImgDone_Click();
  EXPECT_EQ(relay.log, Lines{" 0 0Ann:  Done Turn"});
}

// Computer turns end through the host's loop, never nested: the stack stays as deep at turn 100 as at turn 1.
TEST(TurnDriver, AllComputerGamesPlayAtAConstantDepthAndRepeatForASeed) {
  struct StackProbe : Presenter {
    void TurnEndPending() override {
      char here;
      const auto at = reinterpret_cast<uintptr_t>(&here);
      lo = std::min(lo, at), hi = std::max(hi, at), ++calls;
    }
    uintptr_t lo = UINTPTR_MAX, hi = 0;
    int calls = 0;
  } probe;
  auto play = [](uint64_t seed, Presenter* presenter) {
    Game game = Made({"ENEMY0", "ENEMY1", "ENEMY2", "ENEMY3"}, 16, seed);
    game.SetPresenter(presenter), game.StartLoadedGame();
    for (int i = 0; i < 400 && game.TurnEndPending(); ++i) game.RunPendingTurnEnd();
    return game.state;
  };
  const GameState a = play(21, &probe);
  EXPECT_GE(probe.calls, 100);
  EXPECT_LT(probe.hi - probe.lo, 4096u);
  EXPECT_GT(a.GameYear, 1.5f);
  EXPECT_TRUE(a == play(21, nullptr)) << "the same seed played differently";
  EXPECT_FALSE(a == play(22, nullptr)) << "another seed played the same";
}

}  // namespace
}  // namespace valkoran
