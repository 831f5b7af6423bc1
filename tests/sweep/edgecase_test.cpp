// The sweep's own tools: a field map that is off by a line would put every
// edge value in the wrong place, a base game without a role's slot leaves that
// role unswept, and a checker that never plays or never fires proves nothing.
#include <gtest/gtest.h>

#include "edge/check.h"
#include "edge/edgecase.h"
#include "store/savefile.h"

namespace valkoran::edge {
namespace {

TEST(EdgeTools, FieldMapLinesUpWithTheWriterAndEditsReplaceOnlyTheirFields) {
  const BaseGame base = MakeBaseGame(0);
  const GameState& s = base.state;
  const std::string text = WriteGameText(s);
  auto layout = MapFields(text);
  ASSERT_TRUE(layout);
  EXPECT_EQ(Apply(*layout, {}), text);
  ASSERT_EQ(layout->fields.size(), 14u + 30 * 17 + 100 * 9 + 20 * 3 + 4);
  EXPECT_FALSE(MapFields(text + "extra\r\n"));  // a field the map does not know would never be swept
  EXPECT_FALSE(MapFields(text.substr(0, text.size() / 2)));
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
    EXPECT_EQ(lines("WorldName" + at) + lines("WorldShips" + at) + lines("WorldBombs" + at),
              s.WorldName[w] + Str(s.WorldShips[w]) + Str(s.WorldBombs[w]));
    for (int p = 0; p < kSeats; ++p)
      EXPECT_EQ(lines("WorldHistory" + at + "[" + std::to_string(p) + "]"), s.WorldHistory[w][p]);
  }
  for (int f = 0; f < kFleets; ++f) {
    const std::string at = "[" + std::to_string(f) + "]";
    EXPECT_EQ(lines("FleetFrom" + at) + lines("FleetCourse" + at), Str(s.FleetFrom[f]) + Str(s.FleetCourse[f]));
  }
  EXPECT_EQ(lines("BombThreshold[19]") + lines("GameHistory[3]"), Str(s.BombThreshold[19]) + s.GameHistory[3]);

  const std::vector<Edit> edits = {{layout->Index("WorldHistory[4][2]"), "first\r\nsecond"},
                                   {layout->Index("FleetShips[7]"), " 123"},
                                   {layout->Index("PlayerName[3]"), "ENEMY0"}};
  LoadOutcome o = ReadGameText(Apply(*layout, edits), s);
  ASSERT_TRUE(o.state) << o.error;
  GameState expected = s;
  expected.WorldHistory[4][2] = "first\r\nsecond";
  expected.FleetShips[7] = 123;
  expected.PlayerName[3] = "ENEMY0";
  expected.PlayerColor = o.state->PlayerColor;
  EXPECT_TRUE(expected == *o.state) << FirstDifference(expected, *o.state);
}

TEST(EdgeTools, BaseGamesHaveEveryRoleAndLoad) {
  for (int v = 0; v < kBaseVariants; ++v) {
    SCOPED_TRACE("variant " + std::to_string(v));
    const BaseGame b = MakeBaseGame(v);
    const GameState& s = b.state;
    ASSERT_TRUE(ReadGameText(WriteGameText(s), GameState{}).state);
    ASSERT_TRUE(b.shipFleet >= 0 && b.scoutFleet >= 0 && b.bombFleet >= 0 && b.proximityFleet >= 0 && b.freeFleet >= 0);
    EXPECT_TRUE(s.FleetShips[b.shipFleet] >= 1 && s.FleetShips[b.shipFleet] <= kMaxFleetShips);
    EXPECT_EQ(s.FleetShips[b.scoutFleet], kScout);
    EXPECT_EQ(s.FleetShips[b.bombFleet], kAnnihilationBomb);
    EXPECT_EQ(s.FleetShips[b.proximityFleet], kProximityBombBase + 25);
    EXPECT_EQ(s.FleetFrom[b.freeFleet], 0);
    ASSERT_TRUE(b.armedBomb >= 0 && b.freeBomb >= 0 && b.humanHome >= 0 && b.computerHome >= 0 && b.unownedWorld >= 0);
    EXPECT_TRUE(s.BombOwner[b.freeBomb] == 0 && b.bombedWorld == s.BombWorld[b.armedBomb]);
    EXPECT_TRUE(s.WorldOwner[b.humanHome] == 1 && s.WorldOwner[b.unownedWorld] == 0);
    EXPECT_TRUE(IsComputerName(s.PlayerName[s.WorldOwner[b.computerHome] - 1]));
    EXPECT_EQ(b.unusedWorld < 0, s.WorldCount == kWorlds);
    bool brokenHistory = false;  // blocks of more than one line
    for (int w = 0; w < kWorlds; ++w)
      for (int p = 0; p < kSeats; ++p) brokenHistory |= s.WorldHistory[w][p].find("\r\n") != std::string::npos;
    EXPECT_TRUE(brokenHistory && s.GameHistory[0].find("\r\n") != std::string::npos);
  }
  const BaseGame b = MakeBaseGame(0);
  EXPECT_EQ(b.state.WorldTreasure[kHomeRing], kPulseArmed);  // Ann's pulse bomb
  EXPECT_EQ(b.state.BombOwner[b.armedBomb], 3);               // Cid's proximity bomb
}

TEST(EdgeTools, CheckerPassesRefusalsPlaysAndStopsRunsPastTheirBudget) {
  const std::string text = WriteGameText(MakeBaseGame(0).state);
  CheckResult refused = CheckGameText("not a game\r\n");
  EXPECT_TRUE(!refused.loaded && refused) << refused.finding;

  CheckResult played = CheckGameText(text);
  EXPECT_TRUE(played.loaded && played.end == PlayEnd::LimitReached && played) << played.finding;
  EXPECT_GT(played.presenterCalls, 100);

  // A board one seat holds whole ends the game at once; the board as the
  // conquest left it is what can still be saved, and it is checked.
  GameState conquered = *ReadGameText(text, GameState{}).state;
  for (int w = 0; w < conquered.WorldCount; ++w) conquered.WorldOwner[w] = 1;
  CheckResult over = CheckGameText(WriteGameText(conquered));
  EXPECT_TRUE(over.loaded && over.end == PlayEnd::GameOver && over) << over.finding;

  CheckOptions tight;
  tight.callBudget = 100;
  EXPECT_EQ(CheckGameText(text, tight).finding, "play: hang: play went past 100 presenter calls in 2 turns");

  // The checker leaves the reload after play to SaveGame when it saves: that
  // is only sound while SaveGame refuses what would not load back.
  GameState unloadable = MakeBaseGame(0).state;
  unloadable.WorldCount = kWorlds + 1;
  EXPECT_TRUE(SaveGame(DefaultSaveDir() + "/refused.gam", unloadable));
  EXPECT_FALSE(ReadGameText(WriteGameText(unloadable), GameState{}).state);
}

}  // namespace
}  // namespace valkoran::edge
