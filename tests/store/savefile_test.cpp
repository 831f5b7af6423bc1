#include "store/savefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <set>

#include "game/newgame.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  auto views = fileio::SplitLines(text);
  return {views.begin(), views.end()};
}

std::string Join(const std::vector<std::string>& lines) {
  std::string t;
  for (auto& l : lines) t += l + "\r\n";
  return t;
}

// A game part-way through: fleets, a bomb, histories with line breaks.
GameState Played() {
  Game game(2024);
  GameSetup setup;
  setup.names = {"Ann", "ENEMY1", "Cid", ""};
  setup.worlds = 24;
  setup.shields = true;
  setup.truceChecked = true;
  NewGame(game, setup);
  GameState& s = game.state;
  for (int i = 0; i < 37; ++i) s.GameYear = Sng(s.GameYear + 0.05);
  for (int w = 0; w < kWorlds; ++w) s.WorldAngle[w] = Sng(s.WorldAngle[w] + 37 * 26 * s.WorldSpin[w]);
  game.SelectedFrom = 8, game.SelectedTo = 3;
  game.Sendships(50);
  game.SelectedFrom = 10, game.SelectedTo = 0;
  game.Sendships(1);
  s.BombOwner[4] = 2, s.BombWorld[4] = 17, s.BombThreshold[4] = 25;
  s.WorldHistory[3][0] = " Year 1.40, Turn #8: 5 Reinforcements Arrived \r\n Year 1.10, Turn #2: older";
  s.GameHistory[0] = "\r\n  Ann World Brazos Fought Off 12 Ships From Cid\r\n second line";
  s.GameHistory[2] = "one line";
  s.CurrentPlayer = 2;
  s.ShotDelay = 12.5f;
  return s;
}

TEST(SaveFile, LayoutAndByteForByteRoundTrip) {
  const GameState s = Played();
  const std::string text = WriteGameText(s);
  const auto lines = Lines(text);
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  const std::vector<std::string> head = {"1", " 24", "Ann", " 0", "ENEMY1", " 0", "Cid", " 0", "", " 0",
                                         Str(s.GameYear), " 2", " 12.5", " 10", Str(s.WorldAngle[0]), " 50"};
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 16), head);
  EXPECT_EQ(lines[17], "Amenthes");
  EXPECT_EQ(lines[27], "");  // world 0's four empty history blocks
  EXPECT_EQ(lines[28], " 255");
  // 30 worlds of 13 values and 4 blocks (one block has two lines), 900 fleet
  // lines, 60 bomb lines, then the four logs.
  const size_t fleets = 14 + 30 * 21 + 1, bombs = fleets + 900, logs = bombs + 60;
  EXPECT_EQ(lines[fleets + 9], Str(s.FleetFrom[1]));
  EXPECT_EQ(lines[bombs + 13], " 17");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + logs, lines.end()),
            (std::vector<std::string>{"", "  Ann World Brazos Fought Off 12 Ships From Cid", " second line", " 255", "",
                                      " 255", "one line", " 255", "", " 255"}));

  // Read back, also with LF ends and with numbers missing their blank ("7").
  std::string lf, bare;
  for (char c : text)
    if (c != '\r') lf += c;
  for (std::string l : lines) {
    if (l.size() > 1 && l[0] == ' ' && (isdigit(static_cast<unsigned char>(l[1])) || l[1] == '.')) l.erase(0, 1);
    bare += l + "\r\n";
  }
  for (const std::string& variant : {text, lf, bare}) {
    LoadOutcome o = ReadGameText(variant, GameState{});
    ASSERT_TRUE(o.state) << o.error;
    EXPECT_EQ(WriteGameText(*o.state), text);
  }
  // Fields the file does not carry stay the caller's.
  GameState current;
  current.PlayerKnowledge[1][2][3] = 7;
  LoadOutcome o = ReadGameText(text, current);
  EXPECT_EQ(o.state->PlayerKnowledge[1][2][3], 7);
  EXPECT_EQ(o.state->PlayerColor[1], Rgb(0, 50, 255));
}

TEST(SaveFile, BadFilesAreRefusedAndChangeNothing) {
  const auto lines = Lines(WriteGameText(Played()));
  auto with = [&](size_t at, const std::string& text) {
    auto ls = lines;
    ls[at] = text;
    return Join(ls);
  };
  auto shortBy = [&](size_t n) { return Join({lines.begin(), lines.end() - static_cast<long>(n)}); };
  const std::string mismatch = ErrorText(13, "Type mismatch"), overflow = ErrorText(6, "Overflow");
  const std::pair<std::string, std::string> cases[] = {
      {"", kCorruptGameFile},          {shortBy(1), kCorruptGameFile},  {shortBy(900), kCorruptGameFile},
      {with(1, "thirty"), mismatch},   {with(1, ""), mismatch},         {with(1, " 300"), overflow},
      {with(14, " 1e39"), overflow},   {with(1, " 200"), kCorruptGameFile},  // too many worlds
      {with(11, " 7"), kCorruptGameFile},                                     // no such seat
      {with(14, " 1e30"), kCorruptGameFile},                                  // an angle that hangs the search
      {with(15, " 0"), kCorruptGameFile},                                     // orbit 0
      {with(23, " 9"), kCorruptGameFile},                                     // owner 9
  };
  const GameState current = Played();
  for (const auto& [text, error] : cases) {
    LoadOutcome o = ReadGameText(text, current);
    EXPECT_FALSE(o.state) << error;
    EXPECT_EQ(o.error, error);
  }
  // A log line reading " 255" ends its block early, as blocks are read; in
  // the last block the rest is never read, anywhere else the file breaks.
  GameState s = Played();
  s.GameHistory[3] = "first\r\n 255\r\nlost";
  EXPECT_EQ(ReadGameText(WriteGameText(s), GameState{}).state->GameHistory[3], "first");
  s.WorldHistory[29][3] = "a\r\n255";
  EXPECT_FALSE(ReadGameText(WriteGameText(s), GameState{}).state);
}

TEST(SaveFile, FilesOnDiskAndFailedSaves) {
  const std::string dir = test::TempDir(), path = dir + "/alpha.gam";
  GameState s = Played();
  ASSERT_FALSE(SaveGame(path, s));
  s.GameHistory[1] = "changed";
  ASSERT_FALSE(SaveGame(path, s));  // replaces the file, leaves no scratch file
  EXPECT_EQ(test::Slurp(path), WriteGameText(s));
  LoadOutcome o = LoadGame(path, GameState{});
  ASSERT_TRUE(o.state);
  EXPECT_EQ(o.state->GameHistory[1], "changed");
  EXPECT_EQ(LoadGame(dir + "/missing.gam", GameState{}).error, "   File Not Found!   ");
  EXPECT_EQ(LoadGame(dir, GameState{}).error, ErrorText(75, "Path/File access error"));

  EXPECT_EQ(SaveGame(dir + "/no/such/folder/x.gam", s), ErrorText(76, "Path not found"));
  EXPECT_TRUE(SaveGame(dir, s));  // a folder, not a file
  // A write that fails half-way (the file size limit standing in for a full
  // disk) leaves the old file whole.
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit tiny = old;
  tiny.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  GameState t = s;
  t.GameHistory[0] = "never written";
  auto err = SaveGame(path, t);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->rfind("Error # 57\r", 0), 0u) << *err;
  EXPECT_EQ(test::Slurp(path), WriteGameText(s));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// Whatever damage a reader meets, it either loads a game the engine can index
// safely, or reports one of the game's error texts.
TEST(SaveFile, DamagedFilesNeverHalfLoad) {
  const auto lines = Lines(WriteGameText(Played()));
  const std::vector<std::string> junk = {"", "x", " -1", " 99999", " 1e38", "-1e38", " 3.5", " 255",
                                         "255", "\x01\xff", " 31", " 4.5", "1e-45", " 0"};
  const std::set<std::string> known = {kCorruptGameFile, ErrorText(13, "Type mismatch"), ErrorText(6, "Overflow")};
  std::mt19937 rng(17);
  int loaded = 0;
  for (int i = 0; i < 3000; ++i) {
    auto ls = lines;
    for (int e = 1 + static_cast<int>(rng() % 3); e > 0; --e) {
      const auto at = static_cast<long>(rng() % ls.size());
      switch (rng() % 3) {
        case 0: ls[at] = junk[rng() % junk.size()]; break;
        case 1: ls.erase(ls.begin() + at); break;
        default: ls.insert(ls.begin() + at, ls[at]);
      }
    }
    std::string text = Join(ls);
    if (rng() % 4 == 0) text.resize(rng() % text.size());
    LoadOutcome o = ReadGameText(text, GameState{});
    if (!o.state) {
      EXPECT_TRUE(known.count(o.error)) << o.error;
      continue;
    }
    ++loaded;
    const GameState& s = *o.state;
    ASSERT_TRUE(s.WorldCount >= 9 && s.WorldCount <= 30 && s.CurrentPlayer >= 0 && s.CurrentPlayer <= 3);
    for (int f = 0; f < kFleets; ++f)
      ASSERT_TRUE(!s.FleetFrom[f] || (s.FleetFrom[f] <= 30 && s.FleetTo[f] >= 1 && s.FleetTo[f] <= 30));
    LoadOutcome again = ReadGameText(WriteGameText(s), GameState{});  // and it saves cleanly
    ASSERT_TRUE(again.state);
    EXPECT_EQ(WriteGameText(*again.state), WriteGameText(s));
  }
  EXPECT_GT(loaded, 100);  // harmless edits (a history line, a count) still load
}

}  // namespace
}  // namespace valkoran
