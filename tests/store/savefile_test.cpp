#include "store/savefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "game/newgame.h"
#include "support/vectors.h"

namespace valkoran {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines Split(const std::string& text) {
  auto views = fileio::SplitLines(text);
  return {views.begin(), views.end()};
}

std::string Join(const Lines& lines) {
  std::string t;
  for (auto& l : lines) t += l + "\r\n";
  return t;
}

// A game part-way through: fleets, a bomb, histories with line breaks.
GameState Played() {
  Game game(2024);
  NewGame(game, {.names = {"Ann", "ENEMY1", "Cid", ""}, .worlds = 24, .truceChecked = true, .shields = true});
  GameState& s = game.state;
  s.GameYear = Sng(1 + 37 * 0.05);
  game.SelectedFrom = 8, game.SelectedTo = 3;
  game.Sendships(50);
  game.SelectedFrom = 10, game.SelectedTo = 0;
  game.Sendships(1);
  s.BombOwner[4] = 2, s.BombWorld[4] = 17, s.BombThreshold[4] = 25;
  s.WorldHistory[3][0] = " Year 1.40, Turn #8: 5 Reinforcements Arrived \r\n Year 1.10, Turn #2: older";
  s.GameHistory[0] = "\r\n  Ann World Brazos Fought Off 12 Ships From Cid\r\n second line";
  s.GameHistory[2] = "one line";
  s.CurrentPlayer = 2, s.ShotDelay = 12.5f;
  return s;
}

TEST(SaveFile, LayoutAndByteForByteRoundTrip) {
  const GameState s = Played();
  const std::string text = WriteGameText(s);
  const Lines lines = Split(text);
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 18),
            (Lines{"1", " 24", "Ann", " 0", "ENEMY1", " 0", "Cid", " 0", "", " 0", Str(s.GameYear), " 2", " 12.5",
                   " 10", Str(s.WorldAngle[0]), " 50", Str(s.WorldSpin[0]), "Amenthes"}));
  EXPECT_TRUE(lines[27].empty() && lines[28] == " 255");  // world 0's four empty history blocks
  // 30 worlds of 13 values and 4 blocks (one block has two lines), 900 fleet
  // lines, 60 bomb lines, then the four logs.
  const size_t fleets = 14 + 30 * 21 + 1, bombs = fleets + 900, logs = bombs + 60;
  EXPECT_EQ(lines[fleets + 9], Str(s.FleetFrom[1]));
  EXPECT_EQ(lines[bombs + 13], " 17");
  EXPECT_EQ(Lines(lines.begin() + logs, lines.end()),
            (Lines{"", "  Ann World Brazos Fought Off 12 Ships From Cid", " second line", " 255", "", " 255",
                   "one line", " 255", "", " 255"}));

  // Read back, also with LF ends and with numbers missing their blank ("7");
  // fields the file does not carry stay the caller's.
  std::string lf = text, bare;
  std::erase(lf, '\r');
  for (std::string l : lines) {
    if (l.size() > 1 && l[0] == ' ' && (isdigit(static_cast<unsigned char>(l[1])) || l[1] == '.')) l.erase(0, 1);
    bare += l + "\r\n";
  }
  GameState current;
  current.PlayerKnowledge[1][2][3] = 7;
  for (const std::string& variant : {text, lf, bare}) {
    LoadOutcome o = ReadGameText(variant, current);
    ASSERT_TRUE(o.state) << o.error;
    EXPECT_EQ(WriteGameText(*o.state), text);
    EXPECT_TRUE(o.state->PlayerKnowledge[1][2][3] == 7 && o.state->PlayerColor[1] == Rgb(0, 50, 255));
  }
}

TEST(SaveFile, BadFilesAreRefused) {
  const Lines lines = Split(WriteGameText(Played()));
  auto with = [&](size_t at, const std::string& text) { auto ls = lines; return ls[at] = text, Join(ls); };
  const std::string mismatch = ErrorText(13, "Type mismatch"), overflow = ErrorText(6, "Overflow");
  const std::pair<std::string, std::string> cases[] = {
      {"", kCorruptGameFile}, {Join({lines.begin(), lines.end() - 1}), kCorruptGameFile},  // the last line lost
      {with(1, "thirty"), mismatch}, {with(1, ""), mismatch}, {with(1, " 256"), overflow}, {with(14, " 1e39"), overflow}};
  for (const auto& [text, error] : cases) EXPECT_EQ(ReadGameText(text, GameState{}).error, error);
  // Values a game would index its tables with or loop on, each just beyond what a game holds.
  const size_t fleets = 14 + 30 * 21 + 1, bombs = fleets + 900;
  const std::pair<size_t, const char*> beyond[] = {
      {1, " 31"},      {1, " 8"},        {10, " .99"},        {11, " 4"},          {11, " -1"},  // worlds, year, seat
      {14, " 1e30"},   {15, " 0"},       {15, " 10001"},      {16, " 1.01"},       // world 0: angle, orbit, spin,
      {23, " 5"},      {24, " 2e12"},      {24, " 2.5"},                             // owner and ships
      {fleets, " 31"}, {fleets + 1, " 0"}, {fleets + 2, " 5"},                      // a fleet's worlds and owner
      {bombs + 12, " 5"}, {bombs + 13, " 30"}};                                     // a bomb's owner and world
  for (const auto& [at, text] : beyond)
    EXPECT_EQ(ReadGameText(with(at, text), GameState{}).error, kCorruptGameFile) << at << text;
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
  ASSERT_TRUE(o.state && o.state->GameHistory[1] == "changed");
  EXPECT_EQ(LoadGame(dir, GameState{}).error, ErrorText(75, "Path/File access error"));

  // A write that fails half-way (the file size limit standing in for a full
  // disk) leaves the old file whole, and its signal does not end the program.
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const rlimit tiny{1000, old.rlim_max};
  ::setrlimit(RLIMIT_FSIZE, &tiny);
  const std::string saved = WriteGameText(s);
  s.GameHistory[0] = "never written";
  auto err = SaveGame(path, s);
  ::setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_TRUE(err);
  EXPECT_EQ(err->rfind("Error # 57\r", 0), 0u) << *err;
  EXPECT_EQ(test::Slurp(path), saved);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  struct sigaction now {};
  ::sigaction(SIGXFSZ, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);  // only the save ignores it

  // A game the loader would refuse is not written.
  s.WorldShips[4] = 2.5f;
  EXPECT_EQ(SaveGame(path, s), std::string(kNotSaved) + "world 4's ships are not a whole number from 0 to 2^40.");
  s.WorldShips[4] = 3;
  s.WorldHistory[2][1] = "a line\r\n 255\r\nthat would end its block";
  EXPECT_EQ(SaveGame(path, s), std::string(kNotSaved) + "it would not load back as it is.");
  EXPECT_EQ(test::Slurp(path), saved);
}

TEST(SaveFile, OddTargets) {
  const std::string dir = test::TempDir();
  const GameState s = Played();
  const std::string text = WriteGameText(s);
  // Through a symbolic link (and a link to a link): the file it names is
  // written and the link stays.
  fs::create_directory(dir + "/real");
  ASSERT_FALSE(SaveGame(dir + "/real/game.gam", Played()));
  fs::create_symlink("real/game.gam", dir + "/link.gam");
  fs::create_symlink(dir + "/link.gam", dir + "/link2.gam");
  GameState changed = s;
  changed.GameHistory[1] = "through the link";
  ASSERT_FALSE(SaveGame(dir + "/link2.gam", changed));
  EXPECT_TRUE(fs::is_symlink(dir + "/link.gam") && fs::is_symlink(dir + "/link2.gam"));
  EXPECT_EQ(test::Slurp(dir + "/real/game.gam"), WriteGameText(changed));
  fs::create_symlink("real/new.gam", dir + "/dangling.gam");  // a link to a file yet to be made
  ASSERT_FALSE(SaveGame(dir + "/dangling.gam", s));
  EXPECT_EQ(test::Slurp(dir + "/real/new.gam"), text);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/real"), fs::directory_iterator()), 2);

  // Nothing but a plain file is replaced, or read.
  ASSERT_EQ(::mkfifo((dir + "/fifo.gam").c_str(), 0644), 0);
  EXPECT_EQ(SaveGame(dir + "/fifo.gam", s), ErrorText(75, "Path/File access error"));
  EXPECT_TRUE(fs::is_fifo(dir + "/fifo.gam"));
  EXPECT_EQ(LoadGame(dir + "/fifo.gam", GameState{}).error, ErrorText(75, "Path/File access error"));
  fs::create_symlink(dir + "/fifo.gam", dir + "/tofifo.gam");
  EXPECT_EQ(SaveGame(dir + "/tofifo.gam", s), ErrorText(75, "Path/File access error"));
  EXPECT_EQ(SaveGame(dir + "/real", s), ErrorText(75, "Path/File access error"));

  // The longest name a folder takes still leaves room for the scratch file.
  const std::string longest = dir + "/" + std::string(251, 'n') + ".gam";
  ASSERT_FALSE(SaveGame(longest, s));
  EXPECT_EQ(test::Slurp(longest), text);
}

// Loading reads within a small multiple of the file's size, and running out
// of memory is a message, not an abort. Each case runs in a child process
// with its address space capped.
TEST(SaveFile, LoadingWithinBoundedMemory) {
  // A game whose last log runs on for 64 MiB of empty lines.
  const std::string dir = test::TempDir(), blank = dir + "/blank.gam";
  {
    std::string text = WriteGameText(Played());
    text.resize(text.size() - 6);  // the last " 255"
    text.append((64u << 20) - text.size() - 6, '\n');
    text += " 255\r\n";
    std::ofstream(blank, std::ios::binary) << text;
  }
  auto capped = [&](rlim_t extra, const std::string& expected) {
    EXPECT_EXIT(
        {
          rlimit cap{};
          ::getrlimit(RLIMIT_AS, &cap);
          // Room for what is mapped now plus `extra`: read from /proc.
          std::ifstream statm("/proc/self/statm");
          size_t pages = 0;
          statm >> pages;
          cap.rlim_cur = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + extra;
          ::setrlimit(RLIMIT_AS, &cap);
          const LoadOutcome o = LoadGame(blank, GameState{});
          std::_Exit(o.error == expected ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
  };
  capped(80u << 20, "");  // loads, in little more than the file's own size
  capped(16u << 20, kOutOfMemory);       // the file itself does not fit
}

// Whatever damage a reader meets, it either loads a game the engine can index
// safely, or reports one of the game's error texts.
TEST(SaveFile, DamagedFilesNeverHalfLoad) {
  const Lines lines = Split(WriteGameText(Played()));
  const Lines junk = {"", "x", " -1", " 99999", " 1e38", "-1e38", " 3.5", " 255", "255", "\x01\xff", " 31", " 4.5",
                      "1e-45", " 0"};
  const std::set<std::string> known = {kCorruptGameFile, ErrorText(13, "Type mismatch"), ErrorText(6, "Overflow")};
  std::mt19937 rng(17);
  int loaded = 0;
  for (int i = 0; i < 3000; ++i) {
    auto ls = lines;
    for (int e = 1 + static_cast<int>(rng() % 3); e > 0; --e) {
      const auto at = ls.begin() + static_cast<long>(rng() % ls.size());
      const auto edit = rng() % 3;
      if (edit == 0) *at = junk[rng() % junk.size()];
      if (edit == 1) ls.erase(at);
      if (edit == 2) ls.insert(at, *at);
    }
    std::string text = Join(ls);
    if (rng() % 4 == 0) text.resize(rng() % text.size());
    LoadOutcome o = ReadGameText(text, GameState{});
    EXPECT_TRUE(o.state || known.count(o.error)) << o.error;
    if (!o.state) continue;
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
