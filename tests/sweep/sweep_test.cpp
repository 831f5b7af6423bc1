// Every field of a game part-way through, with every edge value, one field
// at a time (of the slots the game leaves empty, one stands for the rest);
// then two at a time across the slots that play different roles.
// Each edited file must either be refused by the loader or load, save and
// reload equal, play on two turns and save and reload equal again.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <unordered_set>

#include "edge/check.h"
#include "edge/edgecase.h"
#include "store/savefile.h"
#include "sweep/watch.h"

namespace valkoran::sweep {
namespace {

using edge::BaseGame;
using edge::Edit;
using edge::Field;
using edge::Kind;
using edge::Layout;

// A case that runs longer than this under the sanitizers is taken for a hang.
constexpr std::chrono::seconds kCaseLimit{60};
// Turns each edited game is played on.
constexpr long long kTurns = 2;

struct Board {
  BaseGame base;
  std::string text;
  Layout layout;
};

const Board& TheBoard() {
  static const Board board = [] {
    // Another base game on demand, for a sweep beyond the default suite.
    const char* variant = std::getenv("VALKORAN_SWEEP_VARIANT");
    Board b{edge::MakeBaseGame(variant ? std::atoi(variant) : 0), {}, {}};
    b.text = WriteGameText(b.base.state);
    auto layout = edge::MapFields(b.text);
    if (!layout) throw std::logic_error("the base game's file does not have the saved-game layout");
    b.layout = std::move(*layout);
    return b;
  }();
  return board;
}

// "3.5 and 12" become "#.# and #", quoted values "…": findings that differ
// only in numbers and values are one kind of fault.
std::string KindOf(const std::string& finding) {
  std::string out;
  bool quoted = false;
  for (size_t i = 0; i < finding.size(); ++i) {
    const char c = finding[i];
    if (c == '"' && (i == 0 || finding[i - 1] != '\\')) {
      if (!quoted) out += "\"…\"";
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    if (std::isdigit(static_cast<unsigned char>(c))) {
      if (out.empty() || out.back() != '#') out += '#';
      continue;
    }
    out += c;
  }
  return out;
}

class Runner {
 public:
  Runner() : board_(TheBoard()), watch_(kCaseLimit) {
    options_.saveDir = edge::DefaultSaveDir();
    options_.turns = kTurns;
    // A deeper sweep on demand: VALKORAN_SWEEP_TURNS=8 VALKORAN_SWEEP_VARIANT=3 ctest -L sweep
    if (const char* turns = std::getenv("VALKORAN_SWEEP_TURNS"); turns && std::atoi(turns) > 0)
      options_.turns = std::atoi(turns);
  }

  void Check(const std::vector<Edit>& edits) {
    ++cases_;
    const std::string text = edge::Apply(board_.layout, edits);
    const std::string what = edge::Describe(board_.layout, edits);
    watch_.Begin(what);
    // Files that load to the same game play the same: check each game once.
    LoadOutcome first = ReadGameText(text, GameState{});
    edge::CheckResult r;
    if (first.state) {
      ++loaded_;
      const std::string written = WriteGameText(*first.state);
      if (seen_.insert(std::hash<std::string>{}(written)).second) {
        ++checked_;
        r = edge::CheckLoadedGame(*first.state, options_, written);
      }
    } else if (first.error.empty()) {
      r.finding = "load: refused without a message";
    }
    watch_.End();
    if (r) return;
    ++findings_;
    // The edited files of findings, to replay (valkoran-cli play FILE --turns 2 --seed 1):
    // VALKORAN_SWEEP_KEEP=folder.
    if (const char* keep = std::getenv("VALKORAN_SWEEP_KEEP"); keep && *keep) {
      std::filesystem::create_directories(keep);
      const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
      std::ofstream(std::string(keep) + "/" + name + "-" + std::to_string(findings_) + ".gam", std::ios::binary) << text;
    }
    std::string columns;
    for (const Edit& e : edits) columns += (columns.empty() ? "" : " + ") + board_.layout.fields[e.field].column;
    auto& group = groups_[columns + ": " + KindOf(r.finding)];
    if (group.empty()) group = what + ": " + r.finding;
    ++counts_[columns + ": " + KindOf(r.finding)];
  }

  // Every edge value of the field's kind in each field.
  void OneAtATime(size_t begin, size_t end) {
    for (size_t f = begin; f < end; ++f)
      for (const std::string& v : edge::EdgeValues(board_.layout.fields[f].kind)) Check({{f, v}});
  }

  // The reduced values in both fields. A value that leaves its field as the
  // game had it makes the pair a single edit, which the one-field sweep has.
  void TwoAtATime(const std::vector<std::pair<size_t, size_t>>& pairs) {
    for (auto [a, b] : pairs)
      for (const std::string& va : edge::ReducedValues(board_.layout.fields[a].kind)) {
        if (LeavesAsItWas(a, va)) continue;
        for (const std::string& vb : edge::ReducedValues(board_.layout.fields[b].kind))
          if (!LeavesAsItWas(b, vb)) Check({{a, va}, {b, vb}});
      }
  }

  // One failure listing each kind of finding once, with a case that shows it.
  void Report() {
    std::printf("%lld cases, %lld loaded, %lld games checked, %lld findings\n", cases_, loaded_, checked_, findings_);
    EXPECT_GT(checked_, 0) << "no edited file loaded at all: the sweep checked nothing";
    if (findings_ == 0) return;
    std::string text = std::to_string(findings_) + " findings of " + std::to_string(groups_.size()) + " kinds:\n";
    for (const auto& [kind, example] : groups_)
      text += "  [" + std::to_string(counts_[kind]) + "x] " + example + "\n";
    ADD_FAILURE() << text;
  }

  const Board& board() const { return board_; }

 private:
  bool LeavesAsItWas(size_t field, const std::string& value) {
    auto [it, fresh] = unchanged_.try_emplace({field, value}, false);
    if (fresh) {
      if (baseText_.empty()) baseText_ = WriteGameText(*ReadGameText(board_.text, GameState{}).state);
      LoadOutcome o = ReadGameText(edge::Apply(board_.layout, {{field, value}}), GameState{});
      it->second = o.state && WriteGameText(*o.state) == baseText_;
    }
    return it->second;
  }

  const Board& board_;
  Watch watch_;
  edge::CheckOptions options_;
  std::unordered_set<size_t> seen_;
  long long cases_ = 0, loaded_ = 0, checked_ = 0, findings_ = 0;
  std::map<std::string, std::string> groups_;
  std::map<std::string, long long> counts_;
  std::map<std::pair<size_t, std::string>, bool> unchanged_;
  std::string baseText_;
};

// Field index ranges of the file's tables.
struct Parts {
  size_t fleets, bombs, end;
};
Parts PartsOf(const Layout& l) { return {l.Index("FleetFrom[0]"), l.Index("BombOwner[0]"), l.fields.size()}; }

size_t WorldField(const Layout& l, int w, int column) { return l.Index("WorldAngle[0]") + 17 * w + column; }

// The columns of a world the pairs edit: its numbers and its name, not its histories.
std::vector<size_t> WorldColumns(const Layout& l, int w) {
  std::vector<size_t> cols;
  for (int c = 0; c < 13; ++c) cols.push_back(WorldField(l, w, c));
  return cols;
}

// The columns of a world that an arriving or passing fleet reads: where it
// is, who holds it and what fights or waits there.
std::vector<size_t> TravelColumns(const Layout& l, int w) {
  std::vector<size_t> cols;
  for (const char* c : {"WorldAngle", "WorldOrbit", "WorldSpin", "WorldClass", "WorldShield", "WorldShieldOn",
                        "WorldOwner", "WorldShips", "WorldTreasure", "WorldBombs"})
    cols.push_back(l.Index(std::string(c) + "[" + std::to_string(w) + "]"));
  return cols;
}

// The cross-section: every scalar and player field, and each column of the
// slots that play different roles.
struct CrossSection {
  std::vector<size_t> scalars;
  std::vector<std::vector<size_t>> worlds, fleets, bombs;  // the columns of each role slot
  std::vector<int> fleetSlots;
};

CrossSection CrossSectionOf(const Board& b) {
  const Layout& l = b.layout;
  const BaseGame& g = b.base;
  CrossSection x;
  for (size_t f = 0; f < l.Index("WorldAngle[0]"); ++f) x.scalars.push_back(f);
  std::set<int> worlds;
  for (int w : {g.humanHome, g.computerHome, g.unownedWorld, g.unusedWorld, g.bombedWorld, g.fleetTarget})
    if (w >= 0) worlds.insert(w);
  for (int w : worlds) x.worlds.push_back(WorldColumns(l, w));
  for (int f : {g.shipFleet, g.scoutFleet, g.bombFleet, g.proximityFleet, g.freeFleet}) {
    if (f < 0) continue;
    std::vector<size_t> cols;
    for (int c = 0; c < 9; ++c) cols.push_back(l.Index("FleetFrom[0]") + 9 * f + c);
    x.fleets.push_back(cols);
    x.fleetSlots.push_back(f);
  }
  for (int bomb : {g.armedBomb, g.freeBomb}) {
    if (bomb < 0) continue;
    std::vector<size_t> cols;
    for (int c = 0; c < 3; ++c) cols.push_back(l.Index("BombOwner[0]") + 3 * bomb + c);
    x.bombs.push_back(cols);
  }
  return x;
}

using Pairs = std::vector<std::pair<size_t, size_t>>;

void AllPairs(const std::vector<size_t>& a, Pairs& out) {
  for (size_t i = 0; i < a.size(); ++i)
    for (size_t j = i + 1; j < a.size(); ++j) out.push_back({a[i], a[j]});
}
void Across(const std::vector<size_t>& a, const std::vector<size_t>& b, Pairs& out) {
  for (size_t i : a)
    for (size_t j : b) out.push_back({i, j});
}

// The scalars with each other; those that shape the whole game (the world
// count, the year, the seat, the truce, the shield option, the names) with
// every role slot's columns; the computers' crystals with the role worlds,
// which the crystal lets them see.
Pairs ScalarPairs(const Board& b) {
  const CrossSection x = CrossSectionOf(b);
  const Layout& l = b.layout;
  Pairs p;
  AllPairs(x.scalars, p);
  std::vector<size_t> shaping, crystals;
  for (size_t f : x.scalars) {
    const Field& field = l.fields[f];
    if (field.column == "PlayerCrystal") {
      if (IsComputerName(b.base.state.PlayerName[field.slot])) crystals.push_back(f);
    } else if (field.column != "ShotDelay") {
      shaping.push_back(f);
    }
  }
  for (const auto& group : {x.worlds, x.fleets, x.bombs})
    for (const auto& cols : group) Across(shaping, cols, p);
  for (const auto& cols : x.worlds) Across(crystals, cols, p);
  return p;
}

// Within each role slot; each fleet under way with its source and its
// target; the armed bomb with every role fleet and with its world; the role
// worlds with each other, column by column.
Pairs SlotPairs(const Board& b) {
  const CrossSection x = CrossSectionOf(b);
  const Layout& l = b.layout;
  const GameState& s = b.base.state;
  Pairs p;
  for (const auto& group : {x.worlds, x.fleets, x.bombs})
    for (const auto& cols : group) AllPairs(cols, p);
  for (size_t i = 0; i < x.fleets.size(); ++i) {
    const int f = x.fleetSlots[i];
    if (s.FleetFrom[f] == 0) continue;
    for (int w : {s.FleetFrom[f] - 1, s.FleetTo[f] - 1}) Across(x.fleets[i], TravelColumns(l, w), p);
  }
  if (!x.bombs.empty()) {
    for (const auto& cols : x.fleets) Across(x.bombs[0], cols, p);
    if (b.base.bombedWorld >= 0) Across(x.bombs[0], WorldColumns(l, b.base.bombedWorld), p);
  }
  for (size_t i = 0; i < x.worlds.size(); ++i)
    for (size_t j = i + 1; j < x.worlds.size(); ++j)
      for (size_t c = 0; c < x.worlds[i].size(); ++c) p.push_back({x.worlds[i][c], x.worlds[j][c]});
  return p;
}

// Every other pair, so two tests share the work.
Pairs Half(const Pairs& all, int half) {
  Pairs p;
  for (size_t i = static_cast<size_t>(half); i < all.size(); i += 2) p.push_back(all[i]);
  return p;
}

TEST(EdgeSweep, ScalarsAndWorlds0To14) {
  Runner r;
  r.OneAtATime(0, WorldField(r.board().layout, 15, 0));
  r.Report();
}

// Past the world count only the first world and the table's last: the loader
// and the rules read every world there alike, whatever its index. (The home
// ring, which a small game leaves out of play, lies among worlds 0 to 14.)
TEST(EdgeSweep, Worlds15OnInPlayTheFirstPastTheCountAndTheLast) {
  Runner r;
  const BaseGame& b = r.board().base;
  for (int w = 15; w < kWorlds; ++w)
    if (w < b.state.WorldCount || w == b.unusedWorld || w == kWorlds - 1)
      r.OneAtATime(WorldField(r.board().layout, w, 0), WorldField(r.board().layout, w + 1, 0));
  r.Report();
}

// The fleet slots that play a part: those under way in the base game, the
// first free one (the fleets launched in play take it, over whatever the edit
// left there) and the table's last; the loader and the rules read every other
// free slot as they read the first. Then the bombs and the logs.
TEST(EdgeSweep, FleetsInUseAFreeAndTheLastSlotBombsAndLogs) {
  Runner r;
  const Parts p = PartsOf(r.board().layout);
  const BaseGame& b = r.board().base;
  for (int f = 0; f < kFleets; ++f)
    if (b.state.FleetFrom[f] != 0 || f == b.freeFleet || f == kFleets - 1)
      r.OneAtATime(p.fleets + 9 * f, p.fleets + 9 * (f + 1));
  r.OneAtATime(p.bombs, p.end);
  r.Report();
}

TEST(EdgeSweep, PairsWithScalars) {
  Runner r;
  r.TwoAtATime(ScalarPairs(r.board()));
  r.Report();
}

TEST(EdgeSweep, PairsAcrossSlotsFirstHalf) {
  Runner r;
  r.TwoAtATime(Half(SlotPairs(r.board()), 0));
  r.Report();
}

TEST(EdgeSweep, PairsAcrossSlotsSecondHalf) {
  Runner r;
  r.TwoAtATime(Half(SlotPairs(r.board()), 1));
  r.Report();
}

}  // namespace
}  // namespace valkoran::sweep
