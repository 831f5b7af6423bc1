// The sweep's own tools: a field map that is off by a line would put every
// edge value in the wrong place, and a checker that never fires proves nothing.
#include <gtest/gtest.h>

#include "edge/check.h"
#include "edge/edgecase.h"
#include "store/savefile.h"

namespace valkoran::edge {
namespace {

TEST(EdgeTools, FieldMapLinesUpWithTheWriter) {
  const BaseGame base = MakeBaseGame(0);
  const GameState& s = base.state;
  const std::string text = WriteGameText(s);
  auto layout = MapFields(text);
  ASSERT_TRUE(layout);
  EXPECT_EQ(Apply(*layout, {}), text);
  ASSERT_EQ(layout->fields.size(), 14u + 30 * 17 + 100 * 9 + 20 * 3 + 4);
  // Each field's lines hold that field's value as the writer wrote it.
  auto lines = [&](const std::string& name) {
    const Field& f = layout->fields[layout->Index(name)];
    std::string joined;
    for (size_t i = 0; i + (f.kind == Kind::Block) < f.lines; ++i)
      joined += (i ? "\r\n" : "") + layout->lines[f.line + i];
    return joined;
  };
  for (int w = 0; w < kWorlds; ++w) {
    const std::string at = "[" + std::to_string(w) + "]";
    EXPECT_EQ(lines("WorldName" + at), s.WorldName[w]);
    EXPECT_EQ(lines("WorldShips" + at), Str(s.WorldShips[w]));
    EXPECT_EQ(lines("WorldBombs" + at), Str(s.WorldBombs[w]));
    for (int p = 0; p < kSeats; ++p)
      EXPECT_EQ(lines("WorldHistory" + at + "[" + std::to_string(p) + "]"), s.WorldHistory[w][p]);
  }
  for (int f = 0; f < kFleets; ++f) {
    EXPECT_EQ(lines("FleetFrom[" + std::to_string(f) + "]"), Str(s.FleetFrom[f]));
    EXPECT_EQ(lines("FleetCourse[" + std::to_string(f) + "]"), Str(s.FleetCourse[f]));
  }
  EXPECT_EQ(lines("BombThreshold[19]"), Str(s.BombThreshold[19]));
  EXPECT_EQ(lines("GameHistory[3]"), s.GameHistory[3]);
  EXPECT_EQ(layout->FieldAt(1)->name, "WorldCount");
  EXPECT_EQ(layout->FieldAt(layout->lines.size()), nullptr);
  EXPECT_FALSE(MapFields(text + "extra\r\n"));
  EXPECT_FALSE(MapFields(text.substr(0, text.size() / 2)));
}

TEST(EdgeTools, EditsReplaceOnlyTheirFields) {
  const BaseGame base = MakeBaseGame(0);
  auto layout = MapFields(WriteGameText(base.state));
  ASSERT_TRUE(layout);
  const std::vector<Edit> edits = {{layout->Index("WorldHistory[4][2]"), "first\r\nsecond"},
                                   {layout->Index("FleetShips[7]"), " 123"},
                                   {layout->Index("PlayerName[3]"), "ENEMY0"}};
  LoadOutcome o = ReadGameText(Apply(*layout, edits), base.state);
  ASSERT_TRUE(o.state) << o.error;
  GameState expected = base.state;
  expected.WorldHistory[4][2] = "first\r\nsecond";
  expected.FleetShips[7] = 123;
  expected.PlayerName[3] = "ENEMY0";
  expected.PlayerColor = o.state->PlayerColor;
  EXPECT_EQ(FirstDifference(expected, *o.state), "");
  EXPECT_EQ(Describe(*layout, edits),
            "WorldHistory[4][2] = \"first\\r\\nsecond\", FleetShips[7] = \" 123\", PlayerName[3] = \"ENEMY0\"");
  EXPECT_EQ(Shown(std::string(30, 'x')), "\"xxxxxxxxxxxxxxxx\"... (30 bytes)");
}

TEST(EdgeTools, BaseGamesHaveEveryRoleAndLoad) {
  for (int v = 0; v < kBaseVariants; ++v) {
    SCOPED_TRACE("variant " + std::to_string(v));
    const BaseGame b = MakeBaseGame(v);
    const GameState& s = b.state;
    ASSERT_TRUE(ReadGameText(WriteGameText(s), GameState{}).state);
    ASSERT_GE(b.shipFleet, 0);
    EXPECT_TRUE(s.FleetShips[b.shipFleet] >= 1 && s.FleetShips[b.shipFleet] <= kMaxFleetShips);
    ASSERT_TRUE(b.scoutFleet >= 0 && b.bombFleet >= 0 && b.proximityFleet >= 0 && b.freeFleet >= 0);
    EXPECT_EQ(s.FleetShips[b.scoutFleet], kScout);
    EXPECT_EQ(s.FleetShips[b.bombFleet], kAnnihilationBomb);
    EXPECT_EQ(s.FleetShips[b.proximityFleet], kProximityBombBase + 25);
    EXPECT_EQ(s.FleetFrom[b.freeFleet], 0);
    ASSERT_TRUE(b.armedBomb >= 0 && b.freeBomb >= 0);
    EXPECT_EQ(s.BombOwner[b.freeBomb], 0);
    EXPECT_EQ(b.bombedWorld, s.BombWorld[b.armedBomb]);
    ASSERT_TRUE(b.humanHome >= 0 && b.computerHome >= 0 && b.unownedWorld >= 0);
    EXPECT_EQ(s.WorldOwner[b.humanHome], 1);
    EXPECT_TRUE(IsComputerName(s.PlayerName[s.WorldOwner[b.computerHome] - 1]));
    EXPECT_EQ(s.WorldOwner[b.unownedWorld], 0);
    EXPECT_EQ(b.unusedWorld < 0, s.WorldCount == kWorlds);
    bool brokenHistory = false;
    for (int w = 0; w < kWorlds; ++w)
      for (int p = 0; p < kSeats; ++p) brokenHistory |= s.WorldHistory[w][p].find("\r\n") != std::string::npos;
    EXPECT_TRUE(brokenHistory);
    EXPECT_NE(s.GameHistory[0].find("\r\n"), std::string::npos);
  }
  const BaseGame b = MakeBaseGame(0);
  EXPECT_EQ(b.state.WorldTreasure[kHomeRing], kPulseArmed);  // Ann's pulse bomb
  EXPECT_EQ(b.state.BombOwner[b.armedBomb], 3);               // Cid's proximity bomb
  EXPECT_EQ(b.state.WorldCount, 20);
}

TEST(EdgeTools, CheckerPassesRefusalsAndStopsRunsPastTheirBudget) {
  const std::string text = WriteGameText(MakeBaseGame(0).state);
  CheckResult refused = CheckGameText("not a game\r\n");
  EXPECT_FALSE(refused.loaded);
  EXPECT_TRUE(refused) << refused.finding;

  CheckResult played = CheckGameText(text);
  EXPECT_TRUE(played.loaded && played.end == PlayEnd::LimitReached) << played.finding;
  EXPECT_GT(played.presenterCalls, 100);

  // A board one seat holds whole ends the game at once; the board as the
  // conquest left it is what can still be saved, and it is checked.
  GameState conquered = *ReadGameText(text, GameState{}).state;
  for (int w = 0; w < conquered.WorldCount; ++w) conquered.WorldOwner[w] = 1;
  CheckResult over = CheckGameText(WriteGameText(conquered));
  EXPECT_TRUE(over.loaded && over.end == PlayEnd::GameOver) << over.finding;
  EXPECT_TRUE(over) << over.finding;

  CheckOptions tight;
  tight.callBudget = 100;
  EXPECT_EQ(CheckGameText(text, tight).finding, "play: hang: play went past 100 presenter calls in 2 turns");

  // The checker leaves the reload after play to SaveGame when it saves: that
  // is only sound while SaveGame refuses what would not load back.
  GameState unloadable = MakeBaseGame(0).state;
  unloadable.WorldCount = kWorlds + 1;
  const std::string dir = DefaultSaveDir();
  EXPECT_TRUE(SaveGame(dir + "/refused.gam", unloadable));
  EXPECT_FALSE(ReadGameText(WriteGameText(unloadable), GameState{}).state);

  auto layout = MapFields(text);
  ASSERT_TRUE(layout);
  const std::string changed = Apply(*layout, {{layout->Index("WorldShips[2]"), " 12.5"}});
  EXPECT_EQ(FirstTextDifference(text, changed),
            "line " + std::to_string(layout->fields[layout->Index("WorldShips[2]")].line + 1) +
                " (WorldShips[2]): " + Shown(Str(MakeBaseGame(0).state.WorldShips[2])) + " then \" 12.5\"");
}

}  // namespace
}  // namespace valkoran::edge
