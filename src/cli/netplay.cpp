#include "cli/netplay.h"

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "cli/args.h"
#include "cli/commands.h"
#include "game/newgame.h"
#include "net/connection/session.h"

namespace valkoran::cli {

namespace {

std::atomic<int> stopSignal{0};
extern "C" void OnStopSignal(int signal) { stopSignal = signal; }

// The lines of the game as `play` prints them, and the computer seat's
// turn end run from the event loop, never inside the message that began it.
class NetPresenter final : public PrintingPresenter {
 public:
  NetPresenter(Game& game, std::ostream& out) : PrintingPresenter(game, out, false), game_(game) {}
  void TurnEndPending() override { QTimer::singleShot(0, [this] { Run(); }); }
  void Run() {
    if (!game_.TurnEndPending()) return;
    // Inside another routine: again once it is over.
    if (game_.BusyFlag) {
      QTimer::singleShot(10, [this] { Run(); });
      return;
    }
    game_.RunPendingTurnEnd();
  }
  void TurnEndOver() override { ++turns; }
  void GameOver() override { over = true; }
  int turns = 0;
  bool over = false;

 private:
  Game& game_;
};

quint16 PortArg(const Args& a) {
  return static_cast<quint16>(a.Has("--port") ? WholeNumber(a.One("--port"), 0, 65535, "--port") : net::kDefaultPort);
}

// Runs the event loop until `done` says so or a stop signal arrives.
void RunUntil(const std::function<bool()>& done) {
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (stopSignal || done()) QCoreApplication::exit(0);
  });
  poll.start(20);
  QCoreApplication::exec();
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

void Events(net::Session& session, std::ostream& out) {
  QObject::connect(&session, &net::Session::event, [&out](const QString& line) {
    out << "net\t" << line.toStdString() << "\n" << std::flush;
  });
  QObject::connect(&session, &net::Session::chat, [&out](const QString& line) {
    out << "chat\t" << line.toStdString() << "\n" << std::flush;
  });
}

}  // namespace

int RunNetwork(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    const int code = args.at(0) == "serve" ? CmdServe(args, out, err) : CmdJoin(args, out, err);
    out.flush();
    return code;
  } catch (const BadArgs& e) {
    err << "valkoran-cli: " << e.why << "\n" << Usage();
    return kUsageError;
  }
}

int CmdServe(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {"--port", "--name", "--worlds", "--truce", "--seed", "--clients", "--turns", "--out"},
         {"--shields"});
  if (!a.Positional().empty()) throw BadArgs{"unexpected argument " + a.Positional()[0]};
  const quint16 port = PortArg(a);
  const std::string name = a.One("--name");
  const int clients = static_cast<int>(a.Has("--clients") ? WholeNumber(a.One("--clients"), 1, 3, "--clients") : 1);
  const long long turns = a.Has("--turns") ? WholeNumber(a.One("--turns"), 1, 1000000, "--turns") : 0;
  GameSetup setup;
  setup.worlds = static_cast<int>(a.Has("--worlds") ? WholeNumber(a.One("--worlds"), 0, 255, "--worlds") : kWorlds);
  if (a.Has("--truce")) {
    setup.truceChecked = true;
    setup.truceText = std::to_string(WholeNumber(a.One("--truce"), 0, 32767, "--truce"));
  }
  setup.shields = a.Has("--shields");
  const uint64_t seed =
      a.Has("--seed") ? static_cast<uint64_t>(WholeNumber(a.One("--seed"), 0, INT64_MAX, "--seed")) : ClockSeed();
  const std::string outPath = a.Has("--out") ? a.One("--out") : "";
  if (name.empty()) throw BadArgs{"--name must not be empty"};

  Game game(seed);
  NetPresenter view(game, out);
  game.SetPresenter(&view);
  net::Session session(game, net::Session::Role::Server);
  Events(session, out);
  session.SetOwnName(name);
  QString why;
  if (!session.Listen(port, &why)) {
    err << why.toStdString() << "\n";
    game.SetPresenter(nullptr);
    return kFileError;
  }
  // Seat 0 is this machine's; the game starts once K clients have names.
  auto seated = [&] {
    int n = 0;
    for (int s = 1; s < kSeats; ++s) n += session.Seats()[s].empty() ? 0 : 1;
    return n >= clients;
  };
  RunUntil(seated);
  if (!seated()) {
    game.SetPresenter(nullptr);
    return kOk;  // stopped before a game began
  }
  for (int s = 0; s < kSeats; ++s) setup.names[s] = session.Seats()[s];
  if (auto problem = ValidateSetup(setup)) {
    err << *problem << "\n";
    session.Stop();
    game.SetPresenter(nullptr);
    return kUsageError;
  }
  NewGame(game, setup);
  game.RulePlayed[0] = true;
  out << "net\tGame started\n" << std::flush;
  session.StartGame();
  RunUntil([&] { return view.over || game.GameIsOver || (turns > 0 && view.turns >= turns); });
  if (stopSignal) out << "net\tStopped\n";
  session.Stop();
  game.SetPresenter(nullptr);
  if (!outPath.empty()) {
    Game board;
    board.state = view.finalBoard ? *view.finalBoard : game.state;
    if (!Save(board, outPath, err)) return kFileError;
  }
  return kOk;
}

int CmdJoin(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {"--host", "--port", "--name", "--out"});
  if (!a.Positional().empty()) throw BadArgs{"unexpected argument " + a.Positional()[0]};
  const QString host = QString::fromStdString(a.One("--host"));
  const quint16 port = PortArg(a);
  const std::string name = a.One("--name");
  const std::string outPath = a.Has("--out") ? a.One("--out") : "";
  if (name.empty()) throw BadArgs{"--name must not be empty"};

  Game game(ClockSeed());
  game.RulePlayed.fill(true);  // only this machine's own seat ever moves here
  NetPresenter view(game, out);
  game.SetPresenter(&view);
  net::Session session(game, net::Session::Role::Client);
  Events(session, out);
  bool lost = false, broken = false;
  QObject::connect(&session, &net::Session::serverLost, [&] { lost = true; });
  QObject::connect(&session, &net::Session::unplayable, [&](const QString& why) {
    err << "The server's game cannot be played here: " << why.toStdString() << "\n";
    broken = true;
  });
  QString why;
  if (!session.Join(host, port, name, &why)) {
    err << why.toStdString() << "\n";
    game.SetPresenter(nullptr);
    return kUsageError;
  }
  RunUntil([&] { return lost || broken || view.over || game.GameIsOver; });
  session.Stop();
  game.SetPresenter(nullptr);
  if (!outPath.empty() && game.state.WorldCount != 0) {
    Game board;
    board.state = view.finalBoard ? *view.finalBoard : game.state;
    board.state.NetworkGame = kFalse;
    if (!Save(board, outPath, err)) return kFileError;
  }
  if (broken) return kFileError;
  return lost && !view.over && !game.GameIsOver ? kCannotGoOn : kOk;
}

}  // namespace valkoran::cli
