// Network play on the loopback interface, every machine in this process and
// on one thread: what a whole-state sync costs the server and its three
// clients, and how fast a served game goes when the computer rule plays
// every seat. Loopback leaves out the wire, so these are the costs of the
// program itself: writing, framing, reading and acting on the messages.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/newgame.h"
#include "game/playable.h"
#include "net/connection/session.h"
#include "net/protocol/encode.h"

namespace {

using namespace valkoran;
using net::Session;
using Clock = std::chrono::steady_clock;

// Runs a computer seat's pending turn end from the event loop, never inside
// the message that began it, and counts turn ends and conquests. The calls
// it leaves on the loop die with it, so a machine can go mid-game.
//
// With `endsLast` (the server's machine) its own seat ends its turn only once
// every client's seat has: the server then takes the clients' orders while
// its own seat is still moving, as when its player is the slowest at the
// table.
struct Loop final : Presenter {
  explicit Loop(Game& g) : game(g) {}
  void TurnEndPending() override {
    QTimer::singleShot(0, &context, [this] { Run(); });
  }
  // A client's turn end reaches the server as its seat's status line.
  void Status(int seat, const std::string&) override {
    if (endsLast && seat > 0 && game.TurnEndPending()) TurnEndPending();
  }
  void Run() {
    if (endsLast && !ClientsDone()) return;
    if (game.TurnEndPending() && !game.BusyFlag) game.RunPendingTurnEnd();
  }
  bool ClientsDone() const {
    for (int p = 1; p < kSeats; ++p) {
      if (game.state.PlayerName[p].empty() || game.state.PlayerLeft[p]) continue;
      if (!game.EndsWith(p, kDoneTurn) && !game.EndsWith(p, kEliminated)) return false;
    }
    return true;
  }
  void TurnEndOver() override { ++turns; }
  void GameOver() override { over = true; }
  void HighScore(const std::string& name, float, float, float, float worlds, float) override {
    if (worlds == game.state.WorldCount) winner = name;
  }
  Game& game;
  QObject context;
  bool endsLast = false;
  int turns = 0;
  bool over = false;
  std::string winner;
};

struct Machine {
  Machine(Session::Role role, uint64_t seed, bool rulePlayed) : game(seed), loop(game), session(game, role) {
    game.SetPresenter(&loop);
    game.RulePlayed.fill(rulePlayed);
  }
  ~Machine() { game.SetPresenter(nullptr); }
  Game game;
  Loop loop;
  Session session;
};

// Runs the event loop until `done`; false when `timeoutMs` passed first.
// The loop sleeps between events: the watchdog only wakes it to look at the
// clock, so a wait costs nothing while the sockets are busy.
bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  QTimer watchdog;
  watchdog.start(50);
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// A server and three joined clients; seat names are never "ENEMYn", so only
// RulePlayed decides whether the computer moves.
struct Table {
  std::unique_ptr<Machine> host;
  std::vector<std::unique_ptr<Machine>> clients;

  ~Table() {
    for (auto& c : clients) c->session.Stop();
    if (host) host->session.Stop();
    clients.clear();
    host.reset();
    // The closed sockets are deleted from the loop: let them go now rather
    // than pile up over many games.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
};

const std::array<std::string, kSeats> kNames = {"Ann", "Bob", "Cid", "Dee"};

// Listens on a free port and seats three clients. Nothing when it worked,
// otherwise why not.
std::optional<std::string> SeatClients(Table& t, uint64_t seed, bool rulePlayed) {
  t.host = std::make_unique<Machine>(Session::Role::Server, seed, rulePlayed);
  QString why;
  if (!t.host->session.Listen(0, &why)) return why.toStdString();
  t.host->session.SetOwnName(kNames[0]);
  for (int seat = 1; seat < kSeats; ++seat) {
    t.clients.push_back(std::make_unique<Machine>(Session::Role::Client, seed * 10 + seat, rulePlayed));
    Session& client = t.clients.back()->session;
    client.SetRetryInterval(100);
    if (!client.Join("127.0.0.1", t.host->session.port(), kNames[seat], &why)) return why.toStdString();
    if (!RunUntil([&] { return t.host->session.Seats()[seat] == kNames[seat]; }, 10000))
      return "seat " + std::to_string(seat) + " was never taken";
  }
  return std::nullopt;
}

std::optional<std::string> NewGameOnHost(Table& t) {
  GameSetup setup;
  for (int seat = 0; seat < kSeats; ++seat) setup.names[seat] = kNames[seat];
  setup.worlds = kWorlds;
  if (auto problem = ValidateSetup(setup)) return problem;
  NewGame(t.host->game, setup);
  return std::nullopt;
}

// Every fleet slot in use, given through the door every player's orders
// take: each seat sends a quarter of them from its home world, grown large
// as it would be late in a game, shares and scouts by turns, to worlds spread
// over the system. Nothing when the game is then still playable.
std::optional<std::string> FillFleets(Game& game) {
  GameState& s = game.state;
  const int16_t mover = s.CurrentPlayer;
  int target = 0;
  for (int seat = 0; seat < kSeats; ++seat) {
    const int home = kHomeRing + seat;
    if (s.WorldOwner[home] != seat + 1) return "seat " + std::to_string(seat) + " has no home world";
    s.WorldShips[home] = 5000;
    s.CurrentPlayer = static_cast<int16_t>(seat);
    for (int k = 0; k < kFleets / kSeats; ++k) {
      do target = (target + 7) % s.WorldCount;
      while (s.WorldOwner[target] == seat + 1);
      const Order order = k % 4 == 3 ? Order::Scout(seat, home, target) : Order::Ships(seat, home, target, kOrder10);
      if (auto refused = game.Apply(order)) return refused->text;
    }
  }
  s.CurrentPlayer = mover;
  for (int f = 0; f < kFleets; ++f)
    if (s.FleetFrom[f] == 0) return "fleet slot " + std::to_string(f) + " is free";
  return PlayableProblem(s);
}

int FleetsInFlight(const GameState& s) {
  int n = 0;
  for (int f = 0; f < kFleets; ++f) n += s.FleetFrom[f] != 0 ? 1 : 0;
  return n;
}

// The server's seed in the sync benchmarks: the same game in both.
constexpr uint64_t kSyncSeed = 21;

// What the server writes for one sync: the state as each client's seat sees
// it. The reference for the loopback sync below.
void BM_GalaxySyncText(benchmark::State& st) {
  Game game(kSyncSeed);
  GameSetup setup;
  for (int seat = 0; seat < kSeats; ++seat) setup.names[seat] = kNames[seat];
  NewGame(game, setup);
  if (auto problem = FillFleets(game)) {
    st.SkipWithError(problem->c_str());
    return;
  }
  size_t bytes = 0;
  for (auto _ : st) {
    for (int seat = 1; seat < kSeats; ++seat) {
      std::string text = net::GalaxySyncText(game.state, seat);
      bytes += text.size();
      benchmark::DoNotOptimize(text);
    }
  }
  st.SetBytesProcessed(static_cast<int64_t>(bytes));
  st.counters["bytes_per_sync"] = benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_GalaxySyncText)->Unit(benchmark::kMicrosecond);

// The whole state of a 30-world game with all 100 fleets in flight, from the
// server to three clients on loopback, until each has taken every field and
// shown the game. With `joining` 0 the clients already have the game open,
// as after a refused order, and every field they take is checked against
// the playable rule; with 1 each takes it as a client joining does, unchecked
// until the end. The computer rule plays nowhere, so nothing else runs.
void BM_GalaxySyncToThreeClients(benchmark::State& st) {
  const bool joining = st.range(0) != 0;
  Table t;
  std::optional<std::string> problem = SeatClients(t, kSyncSeed, false);
  if (!problem) problem = NewGameOnHost(t);
  if (!problem) problem = FillFleets(t.host->game);
  if (problem) {
    st.SkipWithError(problem->c_str());
    return;
  }
  int shown = 0;
  std::string unplayable;
  QObject watch;
  for (auto& c : t.clients) {
    QObject::connect(&c->session, &Session::gameShown, &watch, [&] { ++shown; });
    QObject::connect(&c->session, &Session::unplayable, &watch, [&](const QString& why) {
      unplayable = why.toStdString();
    });
  }
  // The first sync opens the game on every client.
  t.host->session.StartGame();
  if (!RunUntil([&] { return shown == 3 || !unplayable.empty(); }, 10000) || !unplayable.empty()) {
    st.SkipWithError(("the game never opened on every client: " + unplayable).c_str());
    return;
  }

  GameState& s = t.host->game.state;
  size_t bytes = 0;
  for (int seat = 1; seat < kSeats; ++seat) bytes += net::GalaxySyncText(s, seat).size();
  for (auto _ : st) {
    if (joining)
      for (auto& c : t.clients) c->session.dispatcher().started = false;
    shown = 0;
    const auto begin = Clock::now();
    t.host->session.relay().GalaxySync(s);
    const bool done = RunUntil([&] { return shown == 3 || !unplayable.empty(); }, 10000);
    const auto end = Clock::now();
    if (!done || !unplayable.empty()) {
      st.SkipWithError(("a sync did not arrive whole: " + unplayable).c_str());
      return;
    }
    st.SetIterationTime(std::chrono::duration<double>(end - begin).count());
  }
  for (auto& c : t.clients) {
    const GameState& cs = c->game.state;
    if (cs.WorldCount != s.WorldCount || FleetsInFlight(cs) != kFleets || cs.FleetShips != s.FleetShips) {
      st.SkipWithError("a client's game is not the server's");
      return;
    }
  }
  st.counters["bytes_per_sync"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GalaxySyncToThreeClients)
    ->ArgName("joining")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A thousand turns served on loopback, every seat played by the computer
// rule on its own machine and no turn held by the benchmark. A conquest ends
// a game before that: the next starts on a fresh server and clients and the
// turns add up across games. Only play is timed, from StartGame to the last
// turn end; seating the clients is not.
//
// `host_ends_last` 0 lets the server's seat end its turn as soon as it has
// moved, as the computer does; 1 makes it wait for the three clients' seats
// (see Loop). The counters say how the games went: a client seat that never
// wins points at its orders not being taken.
void BM_ServedGame1000Turns(benchmark::State& st) {
  constexpr int kTurns = 1000;
  const bool hostEndsLast = st.range(0) != 0;
  for (auto _ : st) {
    double seconds = 0;
    int turns = 0, games = 0, conquests = 0, clientWins = 0;
    while (turns < kTurns) {
      Table t;
      std::optional<std::string> problem = SeatClients(t, 31 + static_cast<uint64_t>(games), true);
      if (!problem) problem = NewGameOnHost(t);
      if (problem) {
        st.SkipWithError(problem->c_str());
        return;
      }
      Loop& host = t.host->loop;
      host.endsLast = hostEndsLast;
      const int wanted = kTurns - turns;
      const auto begin = Clock::now();
      t.host->session.StartGame();
      const bool done = RunUntil([&] { return host.over || host.turns >= wanted; }, 120000);
      const auto end = Clock::now();
      if (!done) {
        st.SkipWithError("the game stalled");
        return;
      }
      seconds += std::chrono::duration<double>(end - begin).count();
      turns += host.turns;
      ++games;
      if (host.over) {
        ++conquests;
        if (host.winner != kNames[0]) ++clientWins;
      }
    }
    st.SetIterationTime(seconds);
    st.counters["turns"] = turns;
    st.counters["games"] = games;
    st.counters["conquests"] = conquests;
    st.counters["client_wins"] = clientWins;
    st.counters["ms_per_turn"] = 1000.0 * seconds / turns;
  }
}
BENCHMARK(BM_ServedGame1000Turns)
    ->ArgName("host_ends_last")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

}  // namespace

// Qt's sockets need an application object and its event loop; the loop is
// run by hand inside each benchmark.
int main(int argc, char** argv) {
  int qtArgc = 1;
  QCoreApplication app(qtArgc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
