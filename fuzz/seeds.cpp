// Writes the seed corpora: real games of several sizes and ages for the
// targets that read files, a few byte strings for the structure-aware one.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "edge/edgecase.h"
#include "game/autoplay.h"
#include "game/newgame.h"
#include "store/savefile.h"

namespace {

using namespace valkoran;
namespace fs = std::filesystem;

void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

struct NewSetup {
  const char* name;
  GameSetup setup;
  uint64_t seed;
  long long turns;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  std::vector<std::pair<std::string, std::string>> games;
  const NewSetup setups[] = {
      {"solo9", {.names = {"Ann", "", "", ""}, .worlds = 9}, 1, 0},
      {"duel10", {.names = {"Ann", "ENEMY1", "", ""}, .worlds = 10, .truceChecked = true, .truceText = "10"}, 2, 0},
      {"three16", {.names = {"ENEMY0", "Bob", "ENEMY2", ""}, .worlds = 16, .shields = true}, 3, 0},
      {"four30", {.names = {"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, .worlds = 30}, 4, 0},
      {"four30-turn8", {.names = {"ENEMY0", "ENEMY1", "ENEMY2", "ENEMY3"}, .worlds = 30}, 5, 8},
      {"four20-turn40", {.names = {"ENEMY0", "ENEMY1", "Cid", "ENEMY3"}, .worlds = 20, .shields = true}, 6, 40},
      {"duel12-turn25", {.names = {"ENEMY0", "ENEMY1", "", ""}, .worlds = 12, .truceChecked = true, .truceText = "12"}, 7, 25},
  };
  for (const NewSetup& n : setups) {
    Game game(n.seed);
    NewGame(game, n.setup);
    if (n.turns > 0) PlayLoadedGame(game, n.turns);
    if (game.GameIsOver) continue;
    games.push_back({n.name, WriteGameText(game.state)});
  }
  for (int v = 0; v < edge::kBaseVariants; ++v)
    games.push_back({"base" + std::to_string(v), WriteGameText(edge::MakeBaseGame(v).state)});
  for (const char* target : {"fuzz_load", "fuzz_play"})
    for (const auto& [name, text] : games) Write(root / target, "seed-" + name + ".gam", text);

  std::mt19937 rng(2024);
  for (int i = 0; i < 24; ++i) {
    std::string bytes(16 + i, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    Write(root / "fuzz_edge", "seed-" + std::to_string(i), bytes);
  }
  std::printf("%zu games and 24 edit seeds in %s\n", games.size(), root.c_str());
  return 0;
}
