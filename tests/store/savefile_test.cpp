#include "store/savefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "game/newgame.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t e = text.find("\r\n", pos);
    out.push_back(text.substr(pos, e - pos));
    pos = e + 2;
  }
  return out;
}

// A game part-way through: fleets, bombs, histories with line breaks.
GameState Played() {
  Game game(2024);
  GameSetup setup;
  setup.names = {"Ann", "ENEMY1", "Cid", ""};
  setup.worlds = 24;
  setup.shields = true;
  setup.truceChecked = true;
  setup.truceText = "12";
  NewGame(game, setup);
  GameState& s = game.state;
  for (int i = 0; i < 37; ++i) s.GameYear = Sng(s.GameYear + 0.05);
  for (int w = 0; w < kWorlds; ++w) s.WorldAngle[w] = Sng(s.WorldAngle[w] + 37 * 26 * s.WorldSpin[w]);
  game.SelectedFrom = 8, game.SelectedTo = 3;
  game.Sendships(50);
  game.SelectedFrom = 10, game.SelectedTo = 0;
  game.Sendships(1);
  s.BombOwner[4] = 2;
  s.BombWorld[4] = 17;
  s.BombThreshold[4] = 25;
  s.WorldHistory[3][0] = " Year 1.40, Turn #8: 5 Reinforcements From World Eridania Arrived \r\n Year 1.10, Turn #2: older";
  s.GameHistory[0] = "\r\n  Ann World Brazos Fought Off 12 Ships From Cid\r\n second line";
  s.GameHistory[2] = "one line";
  s.CurrentPlayer = 2;
  s.ShotDelay = 12.5f;
  return s;
}

TEST(SaveFile, LayoutLineByLine) {
  GameState s = Played();
  const std::string text = WriteGameText(s);
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  const auto lines = Lines(text);
  EXPECT_EQ(lines[0], "1");
  EXPECT_EQ(lines[1], " 24");
  EXPECT_EQ(lines[2], "Ann");
  EXPECT_EQ(lines[3], " 0");
  EXPECT_EQ(lines[4], "ENEMY1");
  EXPECT_EQ(lines[8], "");  // empty seat
  EXPECT_EQ(lines[10], Str(s.GameYear));
  EXPECT_EQ(lines[11], " 2");
  EXPECT_EQ(lines[12], " 12.5");
  EXPECT_EQ(lines[13], " 12");
  // World 0 starts at line 14: angle, orbit, spin, name, ...
  EXPECT_EQ(lines[15], " 50");
  EXPECT_EQ(lines[17], "Amenthes");
  EXPECT_EQ(lines[24], " 30");  // ships
  // Four empty history blocks: an empty line and " 255" each.
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(lines[27 + 2 * b], "");
    EXPECT_EQ(lines[28 + 2 * b], " 255");
  }
  // 30 worlds of 13 values and 4 blocks (world 3 has one two-line block),
  // 900 fleet lines, 60 bomb lines, then the four logs.
  const size_t fleets = 14 + 30 * (13 + 8) + 1;
  ASSERT_NE(s.FleetFrom[0], 0);
  EXPECT_EQ(lines[fleets], Str(s.FleetFrom[0]));
  EXPECT_EQ(lines[fleets + 8], Str(s.FleetCourse[0]));
  EXPECT_EQ(lines[fleets + 9], Str(s.FleetFrom[1]));
  const size_t bombs = fleets + 900;
  EXPECT_EQ(lines[bombs + 12], " 2");
  EXPECT_EQ(lines[bombs + 13], " 17");
  EXPECT_EQ(lines[bombs + 14], " 25");
  const size_t logs = bombs + 60;
  EXPECT_EQ(lines[logs - 1], " 0");
  EXPECT_EQ(lines[logs], "");  // GameHistory[0] begins with a line break
  EXPECT_EQ(lines[logs + 1], "  Ann World Brazos Fought Off 12 Ships From Cid");
  EXPECT_EQ(lines[logs + 3], " 255");
  EXPECT_EQ(lines.size(), logs + 4 + 2 + 2 + 2);
}

TEST(SaveFile, WhatWeWriteReadsBackByteForByte) {
  const GameState s = Played();
  const std::string text = WriteGameText(s);
  LoadOutcome o = ReadGameText(text, GameState{});
  ASSERT_TRUE(o.state) << o.error;
  EXPECT_EQ(WriteGameText(*o.state), text);
  // Every saved field came back; unsaved ones stayed the caller's.
  GameState expect = s;
  SetPlayerColours(expect, ColourSource::LoadedOrJoined);
  GameState got = *o.state;
  got.PlayerKnowledge = expect.PlayerKnowledge;
  got.PlayerLeft = expect.PlayerLeft;
  got.AutoSaveYear = expect.AutoSaveYear;
  EXPECT_EQ(got, expect);
  EXPECT_EQ(o.state->PlayerColor[1], Rgb(0, 50, 255));
}

TEST(SaveFile, ReaderTakesLfEndsAndNumbersWithoutTheBlank) {
  const std::string text = WriteGameText(Played());
  std::string lf, bare;
  for (char c : text)
    if (c != '\r') lf += c;
  // Strip the leading blank of every number line: " 7" -> "7".
  std::istringstream in(lf);
  std::string line;
  while (std::getline(in, line)) {
    if (line.size() > 1 && line[0] == ' ' && (isdigit(static_cast<unsigned char>(line[1])) || line[1] == '.'))
      line.erase(0, 1);
    bare += line + "\r\n";
  }
  for (const std::string& variant : {lf, bare}) {
    LoadOutcome o = ReadGameText(variant, GameState{});
    ASSERT_TRUE(o.state) << o.error;
    EXPECT_EQ(WriteGameText(*o.state), text);
  }
}

TEST(SaveFile, BlockEndsAtA255Line) {
  GameState s = Played();
  s.GameHistory[3] = "first\r\n 255\r\nlost";
  LoadOutcome o = ReadGameText(WriteGameText(s), GameState{});
  // The last block ends early; what follows its terminator is never read.
  ASSERT_TRUE(o.state);
  EXPECT_EQ(o.state->GameHistory[3], "first");
  // Inside the file every later value slides up a line: not a game any more.
  s.GameHistory[3] = "";
  s.WorldHistory[29][3] = "a\r\n255";
  o = ReadGameText(WriteGameText(s), GameState{});
  EXPECT_FALSE(o.state);
}

TEST(SaveFile, BadFilesAreRefusedAndChangeNothing) {
  const std::string good = WriteGameText(Played());
  auto lines = Lines(good);
  auto join = [](const std::vector<std::string>& ls) {
    std::string t;
    for (auto& l : ls) t += l + "\r\n";
    return t;
  };
  struct Case {
    std::string name;
    std::string text;
    std::string error;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", "", kCorruptGameFile});
  cases.push_back({"truncated", good.substr(0, good.size() / 2), kCorruptGameFile});
  auto ls = lines;
  ls.resize(ls.size() - 1);
  cases.push_back({"last line missing", join(ls), kCorruptGameFile});
  ls = lines;
  ls[1] = "thirty";
  cases.push_back({"word for a number", join(ls), ErrorText(13, "Type mismatch")});
  ls = lines;
  ls[1] = "";
  cases.push_back({"empty number", join(ls), ErrorText(13, "Type mismatch")});
  ls = lines;
  ls[1] = " 300";
  cases.push_back({"byte overflow", join(ls), ErrorText(6, "Overflow")});
  ls = lines;
  ls[14] = " 1e39";
  cases.push_back({"single overflow", join(ls), ErrorText(6, "Overflow")});
  ls = lines;
  ls[1] = " 200";
  cases.push_back({"too many worlds", join(ls), kCorruptGameFile});
  ls = lines;
  ls[11] = " 7";
  cases.push_back({"no such seat", join(ls), kCorruptGameFile});
  ls = lines;
  ls[14] = " 1e30";
  cases.push_back({"angle that would hang the search", join(ls), kCorruptGameFile});
  ls = lines;
  ls[15] = " 0";
  cases.push_back({"orbit zero", join(ls), kCorruptGameFile});
  ls = lines;
  ls[23] = " 9";  // world 0 owner
  cases.push_back({"owner out of range", join(ls), kCorruptGameFile});

  const GameState current = Played();
  for (const auto& c : cases) {
    LoadOutcome o = ReadGameText(c.text, current);
    EXPECT_FALSE(o.state) << c.name;
    EXPECT_EQ(o.error, c.error) << c.name;
  }
}

TEST(SaveFile, FilesOnDisk) {
  const std::string dir = test::TempDir();
  const std::string path = dir + "/alpha.gam";
  const GameState s = Played();
  ASSERT_FALSE(SaveGame(path, s));
  EXPECT_EQ(Slurp(path), WriteGameText(s));
  // Saving over a file replaces it, and leaves no scratch file behind.
  GameState t = s;
  t.GameHistory[1] = "changed";
  ASSERT_FALSE(SaveGame(path, t));
  EXPECT_EQ(Slurp(path), WriteGameText(t));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  LoadOutcome o = LoadGame(path, GameState{});
  ASSERT_TRUE(o.state);
  EXPECT_EQ(o.state->GameHistory[1], "changed");

  o = LoadGame(dir + "/missing.gam", GameState{});
  EXPECT_FALSE(o.state);
  EXPECT_EQ(o.error, "   File Not Found!   ");
  o = LoadGame(dir, GameState{});
  EXPECT_FALSE(o.state);
  EXPECT_EQ(o.error, ErrorText(75, "Path/File access error"));
}

TEST(SaveFile, FailedSaveIsReportedAndKeepsThePreviousFile) {
  const std::string dir = test::TempDir();
  const std::string path = dir + "/keep.gam";
  const GameState s = Played();
  ASSERT_FALSE(SaveGame(path, s));
  const std::string before = Slurp(path);

  auto err = SaveGame(dir + "/no/such/folder/x.gam", s);
  ASSERT_TRUE(err);
  EXPECT_EQ(*err, ErrorText(76, "Path not found"));
  err = SaveGame(dir, s);  // a folder, not a file
  ASSERT_TRUE(err);

  if (::geteuid() != 0) {  // root writes anywhere
    ::chmod(dir.c_str(), 0555);
    GameState t = s;
    t.GameHistory[0] = "never written";
    err = SaveGame(path, t);
    ::chmod(dir.c_str(), 0755);
    ASSERT_TRUE(err);
    EXPECT_EQ(*err, ErrorText(70, "Permission denied"));
  }
  // A write that fails half-way (here: the file size limit, as a full disk
  // would) must leave the old file whole.
  {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    GameState t = s;
    t.GameHistory[0] = "never written";
    err = SaveGame(path, t);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(err);
    EXPECT_EQ(err->rfind("Error # 57\r", 0), 0u) << *err;
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  EXPECT_EQ(Slurp(path), before);
}

}  // namespace
}  // namespace valkoran

namespace valkoran {
namespace {

// Damaged files: whatever a reader meets, it either loads a game the engine
// can index safely, or reports one of the game's error texts.
TEST(SaveFile, DamagedFilesNeverHalfLoad) {
  const std::string good = WriteGameText(Played());
  std::vector<std::string> lines;
  for (size_t pos = 0; pos < good.size();) {
    size_t e = good.find("\r\n", pos);
    lines.push_back(good.substr(pos, e - pos));
    pos = e + 2;
  }
  const std::vector<std::string> junk = {"", "x", " -1", " 99999", " 1e38", "-1e38", " 3.5", " 255", "255",
                                         "\x01\xff", " 31", " 4.5", "1e-45", " 0"};
  const std::set<std::string> known = {kCorruptGameFile, ErrorText(13, "Type mismatch"), ErrorText(6, "Overflow")};
  std::mt19937 rng(17);
  int loaded = 0;
  for (int i = 0; i < 3000; ++i) {
    std::vector<std::string> ls = lines;
    const int edits = 1 + static_cast<int>(rng() % 3);
    for (int e = 0; e < edits; ++e) {
      const size_t at = rng() % ls.size();
      switch (rng() % 3) {
        case 0: ls[at] = junk[rng() % junk.size()]; break;
        case 1: ls.erase(ls.begin() + static_cast<long>(at)); break;
        case 2: ls.insert(ls.begin() + static_cast<long>(at), ls[at]); break;
      }
    }
    std::string text;
    for (auto& l : ls) text += l + "\r\n";
    if (rng() % 4 == 0) text.resize(rng() % text.size());
    LoadOutcome o = ReadGameText(text, GameState{});
    if (!o.state) {
      EXPECT_TRUE(known.count(o.error)) << o.error;
      continue;
    }
    ++loaded;
    const GameState& s = *o.state;
    ASSERT_GE(s.WorldCount, 9);
    ASSERT_LE(s.WorldCount, 30);
    ASSERT_GE(s.CurrentPlayer, 0);
    ASSERT_LE(s.CurrentPlayer, 3);
    for (int f = 0; f < kFleets; ++f) {
      if (s.FleetFrom[f]) {
        ASSERT_LE(s.FleetFrom[f], 30);
        ASSERT_GE(s.FleetTo[f], 1);
        ASSERT_LE(s.FleetTo[f], 30);
      }
    }
    // What loaded saves and loads again unchanged.
    LoadOutcome again = ReadGameText(WriteGameText(s), GameState{});
    ASSERT_TRUE(again.state);
    EXPECT_EQ(WriteGameText(*again.state), WriteGameText(s));
  }
  EXPECT_GT(loaded, 100);  // harmless edits (a history line, a count) still load
}

}  // namespace
}  // namespace valkoran
