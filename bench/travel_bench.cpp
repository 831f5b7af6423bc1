// Travel searches at several game ages, the rules' loop against the fast
// search. Angles are never wrapped during play, so reduction by repeated
// subtraction costs more the older the game is; the fast search should not.
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
  s.SpeedGame = kTrue;  // no frames to animate
  for (int t = 0; t < turns; ++t) {
    s.GameYear = Sng(s.GameYear + 0.05);
    game.GalaxyRotate();
  }
  return game;
}

// One trip at step 0.1 (a dispatch), cycling through world pairs.
template <Trip (*Search)(const GameState&, int, int, float)>
void BM_Trip(benchmark::State& st) {
  Game game = Aged(static_cast<int>(st.range(0)));
  int pair = 0;
  for (auto _ : st) {
    const int from = pair % 30, to = (pair * 7 + 3) % 30;
    ++pair;
    benchmark::DoNotOptimize(Search(game.state, from, to, 0.1f));
  }
}
BENCHMARK(BM_Trip<DistCalcReference>)->Name("Trip/reference")->Arg(0)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Trip<DistCalcFast>)->Name("Trip/fast")->Arg(0)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMicrosecond);

// One Nearest (29 trips at step 0.2), cycling through source worlds.
void NearestByRules(Game& game, int16_t from, int16_t exclude) { NearestReference(game, from, exclude); }
void NearestFast(Game& game, int16_t from, int16_t exclude) { game.Nearest(from, exclude); }

template <void (*Near)(Game&, int16_t, int16_t)>
void BM_Nearest(benchmark::State& st) {
  Game game = Aged(static_cast<int>(st.range(0)));
  int from = 0;
  for (auto _ : st) {
    Near(game, static_cast<int16_t>(from), 1);
    from = (from + 1) % 30;
    benchmark::DoNotOptimize(game.NearestList);
  }
}
BENCHMARK(BM_Nearest<NearestByRules>)->Name("Nearest/reference")->Arg(0)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nearest<NearestFast>)->Name("Nearest/fast")->Arg(0)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMicrosecond);

// A computer player's turn on 30 worlds at turn 400, until the turn engine
// lands: one Nearest from each of the 30 worlds, excluding the player's own
// (owner 2, the seat ENEMY1).
void BM_ComputerTurn(benchmark::State& st) {
  Game game = Aged(400);
  for (auto _ : st) {
    for (int from = 0; from < 30; ++from) {
      game.Nearest(static_cast<int16_t>(from), 2);
      benchmark::DoNotOptimize(game.NearestList);
    }
  }
}
BENCHMARK(BM_ComputerTurn)->Name("ComputerTurn/fast/400")->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The computer player's real turn at turn 400: ENEMY1 holds 15 of the 30
// worlds with ships to spare and the crystal, so every world attacks and
// consolidates (two Nearest and several dispatches each).
void BM_EnemyTurn(benchmark::State& st) {
  Game game = Aged(400);
  GameState& s = game.state;
  for (int w = 0; w < 15; ++w) {
    s.WorldOwner[w] = 2;
    s.WorldShips[w] = 2000;  // above the garrison of 401 ships a world keeps at turn 400
  }
  s.PlayerCrystal[1] = 1;
  s.CurrentPlayer = 1;
  const GameState start = s;
  for (auto _ : st) {
    st.PauseTiming();
    s = start;
    st.ResumeTiming();
    game.EnemyTurn();
    benchmark::DoNotOptimize(s.FleetFrom);
  }
}
BENCHMARK(BM_EnemyTurn)->Name("EnemyTurn/400")->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
