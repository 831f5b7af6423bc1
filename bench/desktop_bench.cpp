// The main window's drawing: a full GalaxyDraw of a crowded system, and one
// frame of the turn's rotation, on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <fstream>

#include "game/game.h"
#include "game/newgame.h"
#include "view/galaxywindow.h"

namespace {

using namespace valkoran;

// Thirty worlds, four seats; the current player (Ann, a human) holds every
// home world, so the radar watches all four. Fifty fleets are hers, fifty
// are foreign and on their way past her homes, and twenty proximity bombs
// are armed, half of them hers.
void Crowd(Game& game) {
  GameSetup setup;
  setup.names = {"Ann", "Bob", "Cid", "Dee"};
  setup.worlds = 30;
  NewGame(game, setup);
  GameState& s = game.state;
  for (int h = 9; h <= 11; ++h) s.WorldOwner[h] = 1;
  for (int f = 0; f < kFleets; ++f) {
    const bool mine = f < 50;
    const int from = mine ? 8 : 12 + f % 18, to = mine ? f % 30 : 8 + f % 4;
    s.FleetFrom[f] = static_cast<uint8_t>(from + 1);
    s.FleetTo[f] = static_cast<uint8_t>(to + 1);
    s.FleetOwner[f] = mine ? 1 : 2 + f % 3;
    s.FleetShips[f] = static_cast<float>(f * 37 % 700 + 1);
    s.FleetClass[f] = 3;
    s.FleetDistance[f] = 0.6f;
    s.FleetRemaining[f] = 0.3f;
    s.FleetCourse[f] = 0.2f;
  }
  for (int b = 0; b < kBombs; ++b) {
    s.BombOwner[b] = b < 10 ? 1 : 2;
    s.BombWorld[b] = static_cast<float>(b < 10 ? b : 8 + b % 4);
    s.BombThreshold[b] = 20;
  }
}

struct Window {
  Game game{1};
  view::GalaxyWindow window{game};
  Window() {
    window.pauseScale = 0;
    if (!window.FormSetup()) std::abort();
    Crowd(game);
    window.show();
    window.GalaxyDraw();
  }
};

// The view drawn into the back buffer, with its fleet labels placed.
void BM_GalaxyDraw(benchmark::State& state) {
  static Window w;
  for (auto _ : state) w.window.DrawGalaxy();
  state.counters["radar"] = w.window.radar().alerts;
}
BENCHMARK(BM_GalaxyDraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same and what follows it: the notice line, and the window repainted on
// the offscreen platform while pending events run.
void BM_GalaxyDrawShown(benchmark::State& state) {
  static Window w;
  for (auto _ : state) w.window.GalaxyDraw();
}
BENCHMARK(BM_GalaxyDrawShown)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RotationFrame(benchmark::State& state) {
  static Window w;
  for (auto _ : state) w.window.RotationFrame();
}
BENCHMARK(BM_RotationFrame)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen") == "offscreen") {
    const QString json = QDir::temp().filePath("valkoran-bench-screen.json");
    std::ofstream(json.toStdString()) << R"({"screens":[{"name":"bench","x":0,"y":0,"width":1024,"height":768,)"
                                         R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + json).toUtf8());
  }
  QApplication qt(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
