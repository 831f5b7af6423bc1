// The sweep's own tools: a field map off by a line, a base game short of a role or a checker that never fires misleads.
#include <gtest/gtest.h>

#include "edge/check.h"
#include "edge/edgecase.h"
#include "store/savefile.h"

namespace valkoran::edge {
namespace {

TEST(EdgeTools, FieldMapLinesUpWithTheWriterAndEditsReplaceOnlyTheirFields) {
  const GameState s = MakeBaseGame(0).state;
  const std::string text = WriteGameText(s);
  auto layout = MapFields(text);
  ASSERT_TRUE(layout);
  EXPECT_EQ(Apply(*layout, {}), text);
  ASSERT_EQ(layout->fields.size(), 14u + 30 * 17 + 100 * 9 + 20 * 3 + 4);
  EXPECT_FALSE(MapFields(text + "extra\r\n") || MapFields(text.substr(0, text.size() / 2)));
  auto lines = [&](const std::string& name) {  // the field's lines as the writer wrote them
    const Field& f = layout->fields[layout->Index(name)];
    std::string joined;
    for (size_t i = 0; i + (f.kind == Kind::Block) < f.lines; ++i)
      joined += (i ? "\r\n" : "") + layout->lines[f.line + i];
    return joined;
  };
  auto at = [](int i) { return "[" + std::to_string(i) + "]"; };
  for (int f = 0; f < kFleets; ++f)
    EXPECT_EQ(lines("FleetFrom" + at(f)) + lines("FleetCourse" + at(f)), Str(s.FleetFrom[f]) + Str(s.FleetCourse[f]));
  for (int w = 0; w < kWorlds; ++w) {
    EXPECT_EQ(lines("WorldName" + at(w)) + lines("WorldShips" + at(w)) + lines("WorldBombs" + at(w)),
              s.WorldName[w] + Str(s.WorldShips[w]) + Str(s.WorldBombs[w]));
    for (int p = 0; p < kSeats; ++p) EXPECT_EQ(lines("WorldHistory" + at(w) + at(p)), s.WorldHistory[w][p]);
  }
  EXPECT_EQ(lines("BombThreshold[19]") + lines("GameHistory[3]"), Str(s.BombThreshold[19]) + s.GameHistory[3]);
  const std::vector<Edit> edits = {{layout->Index("WorldHistory[4][2]"), "first\r\nsecond"},
                                   {layout->Index("FleetShips[7]"), " 123"},
                                   {layout->Index("PlayerName[3]"), "ENEMY0"}};
  const LoadOutcome o = ReadGameText(Apply(*layout, edits), s);
  ASSERT_TRUE(o.state) << o.error;
  GameState expected = s;
  expected.WorldHistory[4][2] = "first\r\nsecond", expected.FleetShips[7] = 123, expected.PlayerName[3] = "ENEMY0";
  expected.PlayerColor = o.state->PlayerColor;
  EXPECT_TRUE(expected == *o.state) << FirstDifference(expected, *o.state);
}

TEST(EdgeTools, BaseGamesHaveEveryRoleAndLoad) {
  for (int v = 0; v < kBaseVariants; ++v) {
    SCOPED_TRACE("variant " + std::to_string(v));
    const BaseGame b = MakeBaseGame(v);
    const GameState& s = b.state;
    ASSERT_TRUE(ReadGameText(WriteGameText(s), GameState{}).state);
    const std::pair<const char*, int> roles[] = {
        {"ships", b.shipFleet},         {"scout", b.scoutFleet},       {"bomb", b.bombFleet},
        {"proximity", b.proximityFleet}, {"free fleet", b.freeFleet},   {"armed bomb", b.armedBomb},
        {"free bomb", b.freeBomb},       {"human home", b.humanHome},   {"computer home", b.computerHome},
        {"unowned", b.unownedWorld}};
    for (const auto& [role, slot] : roles) ASSERT_GE(slot, 0) << role;
    EXPECT_GE(s.FleetShips[b.shipFleet], 1);
    EXPECT_LE(s.FleetShips[b.shipFleet], kMaxFleetShips);
    EXPECT_EQ(std::tuple(s.FleetShips[b.scoutFleet], s.FleetShips[b.bombFleet], s.FleetShips[b.proximityFleet]),
              std::tuple(float(kScout), float(kAnnihilationBomb), float(kProximityBombBase + 25)));
    EXPECT_EQ(std::tuple(+s.FleetFrom[b.freeFleet], s.BombOwner[b.freeBomb], s.BombWorld[b.armedBomb]),
              std::tuple(0, 0, float(b.bombedWorld)));
    EXPECT_EQ(std::tuple(+s.WorldOwner[b.humanHome], +s.WorldOwner[b.unownedWorld]), std::tuple(1, 0));
    EXPECT_TRUE(IsComputerName(s.PlayerName[s.WorldOwner[b.computerHome] - 1]));
    EXPECT_EQ(b.unusedWorld < 0, s.WorldCount == kWorlds);
    bool brokenHistory = false;  // blocks of more than one line
    for (int i = 0; i < kWorlds * kSeats; ++i)
      brokenHistory |= s.WorldHistory[i / kSeats][i % kSeats].find("\r\n") != std::string::npos;
    EXPECT_TRUE(brokenHistory);
    EXPECT_NE(s.GameHistory[0].find("\r\n"), std::string::npos);
  }
  const BaseGame b = MakeBaseGame(0);  // Ann's pulse bomb, Cid's proximity bomb
  EXPECT_EQ(std::tuple(+b.state.WorldTreasure[kHomeRing], b.state.BombOwner[b.armedBomb]), std::tuple(+kPulseArmed, 3));
}

TEST(EdgeTools, CheckerPassesRefusalsPlaysAndStopsRunsPastTheirBudget) {
  const std::string text = WriteGameText(MakeBaseGame(0).state);
  CheckResult refused = CheckGameText("not a game\r\n"), played = CheckGameText(text);
  EXPECT_FALSE(refused.loaded);
  EXPECT_TRUE(refused) << refused.finding;
  EXPECT_TRUE(played) << played.finding;
  EXPECT_EQ(played.end, PlayEnd::LimitReached);
  EXPECT_GT(played.presenterCalls, 100);
  // A board one seat holds whole ends the game at once; the board as the conquest left it is checked.
  GameState conquered = *ReadGameText(text, GameState{}).state;
  for (int w = 0; w < conquered.WorldCount; ++w) conquered.WorldOwner[w] = 1;
  CheckResult over = CheckGameText(WriteGameText(conquered));
  EXPECT_TRUE(over) << over.finding;
  EXPECT_EQ(over.end, PlayEnd::GameOver);
  CheckOptions tight;
  tight.callBudget = 100;
  EXPECT_EQ(CheckGameText(text, tight).finding,
            "play: hang: play went past 100 presenter calls in 2 turns");
}

}  // namespace
}  // namespace valkoran::edge
