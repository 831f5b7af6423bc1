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

Lines Split(const std::string& text) { const auto ls = fileio::SplitLines(text); return {ls.begin(), ls.end()}; }
std::string Join(const Lines& lines) { std::string t; for (auto& l : lines) t += l + "\r\n"; return t; }
const std::string kAccessError = ErrorText(75, "Path/File access error");
// The first fleet line and the first bomb line of Played()'s file (one of its history blocks has two lines).
constexpr size_t kFleetLine = 14 + 30 * 21 + 1, kBombLine = kFleetLine + 900;

// A game part-way through: fleets, a bomb, histories with line breaks.
GameState Played() {
  Game game(2024);
  NewGame(game, {.names = {"Ann", "ENEMY1", "Cid", ""}, .worlds = 24, .truceChecked = true, .shields = true});
  GameState& s = game.state;
  s.GameYear = Sng(1 + 37 * 0.05), game.SelectedFrom = 8, game.SelectedTo = 3, game.Sendships(50);
  game.SelectedFrom = 10, game.SelectedTo = 0, game.Sendships(1);
  s.BombOwner[4] = 2, s.BombWorld[4] = 17, s.BombThreshold[4] = 25;
  s.WorldHistory[3][0] = " Year 1.40, Turn #8: 5 Reinforcements Arrived \r\n Year 1.10, Turn #2: older";
  s.GameHistory = {"\r\n  Ann World Brazos Fought Off 12 Ships From Cid\r\n second line", "", "one line"};
  s.CurrentPlayer = 2, s.ShotDelay = 12.5f;
  return s;
}

TEST(SaveFile, LayoutRoundTripAndRefusals) {
  GameState s = Played();
  const std::string text = WriteGameText(s);
  const Lines lines = Split(text);
  ASSERT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 18),
            (Lines{"1", " 24", "Ann", " 0", "ENEMY1", " 0", "Cid", " 0", "", " 0", Str(s.GameYear), " 2", " 12.5",
                   " 10", Str(s.WorldAngle[0]), " 50", Str(s.WorldSpin[0]), "Amenthes"}));
  EXPECT_EQ(Lines(lines.begin() + 27, lines.begin() + 29), (Lines{"", " 255"}));  // world 0's first history block
  EXPECT_EQ(lines[kFleetLine + 9], Str(s.FleetFrom[1]));
  EXPECT_EQ(lines[kBombLine + 13], " 17");
  EXPECT_EQ(Lines(lines.begin() + kBombLine + 60, lines.end()),
            (Lines{"", "  Ann World Brazos Fought Off 12 Ships From Cid", " second line", " 255", "", " 255",
                   "one line", " 255", "", " 255"}));
  std::string lf = text, bare;  // read back also with LF ends, and numbers without their blank
  std::erase(lf, '\r');
  for (const std::string& l : lines)
    bare += l.substr(l.size() > 1 && l[0] == ' ' && ((l[1] >= '0' && l[1] <= '9') || l[1] == '.')) + "\r\n";
  GameState current;  // fields the file does not carry stay the caller's
  current.PlayerKnowledge[1][2][3] = 7;
  for (const std::string& variant : {text, lf, bare}) {
    LoadOutcome o = ReadGameText(variant, current);
    ASSERT_TRUE(o.state) << o.error;
    EXPECT_EQ(WriteGameText(*o.state), text);
    EXPECT_EQ(o.state->PlayerKnowledge[1][2][3], 7);
    EXPECT_TRUE(o.state->PlayerColor[1] == Rgb(0, 50, 255));
  }
  auto with = [&](size_t at, const std::string& line) { auto ls = lines; return ls[at] = line, Join(ls); };
  const std::string badType = ErrorText(13, "Type mismatch"), overflow = ErrorText(6, "Overflow");
  const std::pair<std::string, std::string> cases[] = {{"", kCorruptGameFile},
      {Join({lines.begin(), lines.end() - 1}), kCorruptGameFile},  // the last line lost
      {with(1, "thirty"), badType}, {with(1, ""), badType}, {with(1, " 256"), overflow}, {with(14, " 1e39"), overflow}};
  for (const auto& [file, error] : cases) EXPECT_EQ(ReadGameText(file, GameState{}).error, error);
  // world count, year, seat; world 0's angle, orbit, spin, owner, ships; a fleet's worlds, owner; a bomb's owner, world
  const std::pair<size_t, const char*> beyond[] = {
      {1, " 31"}, {1, " 8"}, {10, " .99"}, {11, " 4"}, {11, " -1"}, {14, " 1e30"}, {15, " 0"}, {15, " 10001"},
      {16, " 1.01"}, {23, " 5"}, {24, " 2e12"}, {24, " 2.5"}, {kFleetLine, " 31"}, {kFleetLine + 1, " 0"},
      {kFleetLine + 1, " 31"}, {kFleetLine + 2, " 5"}, {kBombLine + 12, " 5"}, {kBombLine + 13, " 30"}};
  for (const auto& [at, line] : beyond)
    EXPECT_EQ(ReadGameText(with(at, line), GameState{}).error, kCorruptGameFile) << at << line;
  // A log line " 255" ends its block early: in the last block the rest is never read, elsewhere the file breaks.
  s.GameHistory[3] = "first\r\n 255\r\nlost";
  EXPECT_EQ(ReadGameText(WriteGameText(s), GameState{}).state->GameHistory[3], "first");
  s.WorldHistory[29][3] = "a\r\n255";
  EXPECT_FALSE(ReadGameText(WriteGameText(s), GameState{}).state);
}

TEST(SaveFile, FilesOnDiskLinksAndFailedSaves) {
  const std::string dir = test::TempDir(), path = dir + "/real/alpha.gam";
  fs::create_directory(dir + "/real");
  GameState s = Played();
  ASSERT_FALSE(SaveGame(path, s));
  // Through a link to a link: the file it names is replaced and the links stay; a dangling link makes its file.
  for (auto [to, link] : {std::pair<std::string, std::string>{"real/alpha.gam", "/link.gam"},
                          {dir + "/link.gam", "/link2.gam"}, {"real/new.gam", "/dangling.gam"}})
    fs::create_symlink(to, dir + link);
  s.GameHistory[1] = "through the link";
  ASSERT_EQ(SaveGame(dir + "/link2.gam", s), std::nullopt);
  ASSERT_EQ(SaveGame(dir + "/dangling.gam", s), std::nullopt);
  const std::string saved = WriteGameText(s);
  EXPECT_EQ(test::Slurp(path), saved);
  EXPECT_EQ(test::Slurp(dir + "/real/new.gam"), saved);
  // Nothing but a plain file is replaced, or read.
  ASSERT_EQ(::mkfifo((dir + "/fifo.gam").c_str(), 0644), 0);
  fs::create_symlink(dir + "/fifo.gam", dir + "/tofifo.gam");
  for (const char* to : {"/fifo.gam", "/tofifo.gam", "/real"}) EXPECT_EQ(SaveGame(dir + to, s), kAccessError) << to;
  EXPECT_EQ(LoadGame(dir + "/fifo.gam", GameState{}).error, kAccessError);
  // The longest name a folder takes still leaves room for the scratch file.
  const std::string longest = dir + "/" + std::string(251, 'n') + ".gam";
  EXPECT_EQ(SaveGame(longest, s), std::nullopt);
  EXPECT_EQ(test::Slurp(longest), saved);
  // A write that fails half-way (a file size limit for a full disk) leaves the old file whole and the program running.
  rlimit old{}, tiny{1000, 0};
  ::getrlimit(RLIMIT_FSIZE, &old);
  tiny.rlim_max = old.rlim_max, ::setrlimit(RLIMIT_FSIZE, &tiny), s.GameHistory[0] = "never written";
  const auto err = SaveGame(path, s);
  ::setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(err.value_or("").rfind("Error # 57\r", 0), 0u) << err.value_or("saved");
  EXPECT_EQ(test::Slurp(path), saved);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/real"), fs::directory_iterator()), 2);  // no scratch file
  struct sigaction now {};
  ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &now), 0);
  EXPECT_TRUE(now.sa_handler == SIG_DFL);  // only the save ignores it
  // A game the loader would refuse is not written.
  s.WorldShips[4] = 2.5f;
  EXPECT_EQ(SaveGame(path, s), std::string(kNotSaved) + "world 4's ships are not a whole number from 0 to 2^40.");
  s.WorldShips[4] = 3, s.WorldHistory[2][1] = "a line\r\n 255\r\nthat would end its block";
  EXPECT_EQ(SaveGame(path, s), std::string(kNotSaved) + "it would not load back as it is.");
  EXPECT_EQ(test::Slurp(path), saved);
}

// 64 MiB of empty log lines load in little more than their size, and running short is a message, not an abort.
TEST(SaveFile, LoadingWithinBoundedMemory) {
  const std::string blank = test::TempDir() + "/blank.gam";
  std::string text = WriteGameText(Played());
  text.resize(text.size() - 6);  // the last " 255"
  text.append((64u << 20) - text.size() - 6, '\n');
  std::ofstream(blank, std::ios::binary) << text << " 255\r\n" << std::flush;
  std::string().swap(text);  // not counted against the child's cap
  for (const auto& [extra, expected] : {std::pair<rlim_t, std::string>{80u << 20, ""}, {16u << 20, kOutOfMemory}}) {
    auto child = [&] {  // capped at what is mapped now plus `extra`
      size_t pages = 0;
      std::ifstream("/proc/self/statm") >> pages;
      rlimit cap{};
      ::getrlimit(RLIMIT_AS, &cap), cap.rlim_cur = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + extra;
      ::setrlimit(RLIMIT_AS, &cap), std::_Exit(LoadGame(blank, GameState{}).error == expected ? 0 : 1);
    };
    EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "") << extra;
  }
}

// Lines lost, doubled or damaged: a game that saves again, or one of the game's error texts.
TEST(SaveFile, DamagedFilesNeverHalfLoad) {
  const Lines lines = Split(WriteGameText(Played())), junk = {"", "x", " -1", " 99999", " 1e38", "-1e38", " 3.5",
                                                              " 255", "255", "\x01\xff", " 31", " 4.5", "1e-45", " 0"};
  const std::set<std::string> known = {kCorruptGameFile, ErrorText(13, "Type mismatch"), ErrorText(6, "Overflow")};
  std::mt19937 rng(17);
  int loaded = 0;
  for (int i = 0; i < 3000; ++i) {
    auto ls = lines;
    for (int e = 1 + static_cast<int>(rng() % 3); e > 0; --e) {
      const auto at = ls.begin() + static_cast<long>(rng() % ls.size());
      const auto edit = rng() % 3;
      edit == 0 ? void(*at = junk[rng() % junk.size()]) : edit == 1 ? void(ls.erase(at)) : void(ls.insert(at, *at));
    }
    std::string text = Join(ls);
    if (rng() % 4 == 0) text.resize(rng() % text.size());
    const LoadOutcome o = ReadGameText(text, GameState{});
    const LoadOutcome again = o.state ? ReadGameText(WriteGameText(*o.state), GameState{}) : o;
    ASSERT_TRUE(o.state ? again.state && WriteGameText(*again.state) == WriteGameText(*o.state) : known.count(o.error))
        << i << o.error;
    loaded += o.state.has_value();
  }
  EXPECT_GT(loaded, 100);  // harmless edits (a history line, a count) still load
}

}  // namespace
}  // namespace valkoran
