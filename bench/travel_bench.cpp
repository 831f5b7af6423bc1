// Travel searches at several game ages. Angles are never wrapped during play,
// so the repeated-subtraction reduction costs more the older the game is.
#include <benchmark/benchmark.h>

#include "game/game.h"
#include "game/newgame.h"
#include "game/travel.h"

namespace {

using namespace valkoran;

// A 30-world, four-seat game aged by `turns` turn ends of rotation.
Game Aged(int turns) {
  Game game(1234);
  GameSetup setup;
  setup.names = {"Ann", "ENEMY1", "ENEMY2", "ENEMY3"};
  NewGame(game, setup);
  GameState& s = game.state;
  for (int t = 0; t < turns; ++t) {
    s.GameYear = Sng(s.GameYear + 0.05);
    for (int w = 0; w < kWorlds; ++w)
      for (int k = 0; k < 26; ++k) s.WorldAngle[w] = Sng(s.WorldAngle[w] + static_cast<double>(s.WorldSpin[w]));
  }
  return game;
}

void BM_DistCalcReference(benchmark::State& st) {
  Game game = Aged(static_cast<int>(st.range(0)));
  int pair = 0;
  for (auto _ : st) {
    const int from = pair % 30, to = (pair * 7 + 3) % 30;
    ++pair;
    benchmark::DoNotOptimize(DistCalcReference(game.state, from, to, 0.1f));
  }
}
BENCHMARK(BM_DistCalcReference)->Arg(0)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_Nearest(benchmark::State& st) {
  Game game = Aged(static_cast<int>(st.range(0)));
  int from = 0;
  for (auto _ : st) {
    game.Nearest(static_cast<int16_t>(from), 1);
    from = (from + 1) % 30;
    benchmark::DoNotOptimize(game.NearestList);
  }
}
BENCHMARK(BM_Nearest)->Arg(0)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
