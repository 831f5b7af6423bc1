// Whole network games on the loopback interface, every machine in this
// process: a server and three clients whose seats the computer rule plays,
// to a conquest with every machine holding the same game; a client that
// drops and the game going on; the same client back on its seat; a fourth
// machine turned away; a message arriving while a routine waits; a flood.
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/newgame.h"
#include "net/connection/session.h"
#include "net/protocol/encode.h"
#include "store/savefile.h"

using namespace valkoran;
using net::Session;

namespace {

// Runs a computer seat's pending turn end from the event loop, as the
// desktop and the runner do; counts turns and the end of the game.
struct Loop final : Presenter {
  explicit Loop(Game& g) : game(g) {}
  void TurnEndPending() override {
    QTimer::singleShot(0, [this] { Run(); });
  }
  void Run() {
    // Held from turn `holdAt` on: this seat waits, and so does the game.
    if (holdAt >= 0 && turns >= holdAt) return;
    if (game.TurnEndPending() && !game.BusyFlag) game.RunPendingTurnEnd();
  }
  void HoldAt(int turn) {
    holdAt = turn;
    QTimer::singleShot(0, [this] { Run(); });
  }
  int holdAt = -1;
  // The engine's waits as the window has them: events run meanwhile.
  void Pause(int ms) override {
    if (!waits) return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  bool waits = false;
  void TurnEndOver() override { ++turns; }
  void GameOver() override { over = true; }
  void HighScore(const std::string&, float, float, float, float worlds, float) override {
    if (worlds == game.state.WorldCount) finalBoard = game.state;
  }
  Game& game;
  int turns = 0;
  bool over = false;
  std::optional<GameState> finalBoard;
};

struct Machine {
  Machine(Session::Role role, uint64_t seed) : game(seed), loop(game), session(game, role) {
    game.SetPresenter(&loop);
    game.RulePlayed.fill(true);
  }
  ~Machine() { game.SetPresenter(nullptr); }
  Game game;
  Loop loop;
  Session session;
};

// What every machine shares: the whole game but the logs and world
// histories, which each seat's reports fill on its own machine.
std::string Shared(GameState s) {
  for (auto& world : s.WorldHistory)
    for (auto& history : world) history.clear();
  for (auto& log : s.GameHistory) log.clear();
  s.CurrentPlayer = 0;
  // A fleet travels between machines in its fixed-width record: distance,
  // course and remaining to three decimals.
  for (int f = 0; f < kFleets; ++f) {
    const FleetValues v = *net::ReadFleetRecord(net::FleetRecord(s, f));
    s.FleetDistance[f] = v.distance, s.FleetCourse[f] = v.course, s.FleetRemaining[f] = v.remaining;
  }
  return WriteGameText(s);
}

}  // namespace

class NetplayTest : public QObject {
  Q_OBJECT
 private slots:
  void ThreeClientsPlayToAConquest();
  void ADroppedClientRejoinsItsSeat();
  void AFourthClientIsTurnedAway();
  void AMessageArrivingWhileARoutineWaitsIsActedOn();
  void AFloodWhileTheServerIsBusyIsCutOff();
  void TheServersLastWordsComeBeforeItsGoing();
};

// Listens, lets `names` join (the first seat is the server's), starts.
static void Seat(Machine& host, std::vector<std::unique_ptr<Machine>>& clients, const std::vector<std::string>& names,
                 const QString& hostText = "127.0.0.1") {
  QString why;
  QVERIFY2(host.session.Listen(0, &why), qPrintable(why));
  host.session.SetOwnName(names[0]);
  for (size_t i = 1; i < names.size(); ++i) {
    clients.push_back(std::make_unique<Machine>(Session::Role::Client, 100 + i));
    QVERIFY(clients.back()->session.Join(hostText, host.session.port(), names[i], &why));
    const int seat = static_cast<int>(i);
    QTRY_COMPARE(host.session.Seats()[seat], names[i]);
  }
  GameSetup setup;
  for (size_t i = 0; i < names.size(); ++i) setup.names[i] = names[i];
  setup.worlds = 12;
  QVERIFY(!ValidateSetup(setup));
  NewGame(host.game, setup);
  host.session.StartGame();
  for (auto& c : clients) QTRY_VERIFY(c->session.dispatcher().started);
}

// Ann's server and Bob's client with a game started, neither seat moving.
struct HeldPair {
  explicit HeldPair(uint64_t seed) : host(Session::Role::Server, seed) {
    host.loop.HoldAt(0);
    Seat(host, clients, {"Ann", "Bob"});
    if (!clients.empty()) clients[0]->loop.HoldAt(0);
  }
  Machine host;
  std::vector<std::unique_ptr<Machine>> clients;
};

void NetplayTest::ThreeClientsPlayToAConquest() {
  Machine host(Session::Role::Server, 5);
  std::vector<std::unique_ptr<Machine>> clients;
  Seat(host, clients, {"Ann", "Bob", "Cid", "Dee"}, "LocalHost");
  // Every machine opened the game on its own seat.
  for (size_t i = 0; i < clients.size(); ++i) QCOMPARE(clients[i]->game.state.CurrentPlayer, int16_t(i + 1));
  int checked = 0;
  QTRY_VERIFY_WITH_TIMEOUT(host.loop.over || host.loop.turns >= 400, 60000);
  QVERIFY2(host.loop.over, "no conquest in 400 turns");
  const GameState board = *host.loop.finalBoard;
  for (size_t i = 0; i < clients.size(); ++i) {
    Machine& c = *clients[i];
    QTRY_VERIFY(c.loop.finalBoard.has_value() || !c.session.Connected(0));
    if (!c.loop.finalBoard) continue;
    if (qEnvironmentVariableIsSet("VALKORAN_NETPLAY_DUMP")) {
      QFile a(QString("/tmp/np_client%1.txt").arg(i)), b(QString("/tmp/np_host%1.txt").arg(i));
      a.open(QIODevice::WriteOnly), b.open(QIODevice::WriteOnly);
      a.write(Shared(*c.loop.finalBoard).c_str()), b.write(Shared(board).c_str());
    }
    QCOMPARE(Shared(*c.loop.finalBoard), Shared(board));
    // Its own reports reached it: the seat's log holds more than the others'.
    QVERIFY(!c.loop.finalBoard->GameHistory[i + 1].empty());
    ++checked;
  }
  QCOMPARE(checked, 3);
}

void NetplayTest::ADroppedClientRejoinsItsSeat() {
  Machine host(Session::Role::Server, 9);
  std::vector<std::unique_ptr<Machine>> clients;
  host.loop.HoldAt(3);
  Seat(host, clients, {"Ann", "Bob", "Cid"});
  QTRY_VERIFY_WITH_TIMEOUT(host.loop.turns == 3 && host.game.TurnEndPending(), 20000);

  // Cid's machine goes: his seat is marked and the others play on.
  clients[1]->session.Stop();
  QTRY_COMPARE(host.game.StatusLine[2], std::string("Cid:  Disconnected"));
  QVERIFY(host.game.state.PlayerLeft[2]);
  QTRY_COMPARE(clients[0]->game.StatusLine[2], std::string("Cid:  Disconnected"));
  host.loop.HoldAt(6);
  QTRY_VERIFY_WITH_TIMEOUT(host.loop.turns == 6 && host.game.TurnEndPending(), 20000);

  // A player coming back under the same name: that seat, the whole game.
  uint64_t seed = 77;
  auto rejoin = [&](const char* name, int seat, std::unique_ptr<Machine>& machine) {
    machine = std::make_unique<Machine>(Session::Role::Client, seed++);
    QString why;
    QVERIFY2(machine->session.Join("127.0.0.1", host.session.port(), name, &why), qPrintable(why));
    QTRY_VERIFY(!host.game.state.PlayerLeft[seat]);
    QTRY_VERIFY(machine->session.dispatcher().started);
  };
  std::unique_ptr<Machine> back, cid, bob;
  rejoin("Cid", 2, back);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(back->game.state.CurrentPlayer, int16_t(2));
  QCOMPARE(back->game.state.PlayerName[2], std::string("Cid"));
  // A stranger does not get a seat that waits for someone else.
  clients[0]->session.Stop();
  QTRY_VERIFY(host.game.state.PlayerLeft[1]);
  auto stranger = std::make_unique<Machine>(Session::Role::Client, 78);
  QSignalSpy lost(&stranger->session, &Session::serverLost);
  QString why;
  QVERIFY(stranger->session.Join("127.0.0.1", host.session.port(), "Mallory", &why));
  QTRY_VERIFY(lost.count() >= 1);
  QVERIFY(host.game.state.PlayerLeft[1]);
  stranger->session.Stop();
  // Both Bob and Cid gone, Cid is back first: his link lands on Bob's
  // element and still finds his own seat; then Bob finds his.
  back->session.Stop();
  QTRY_VERIFY(host.game.state.PlayerLeft[2]);
  rejoin("Cid", 2, cid);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(cid->game.state.CurrentPlayer, int16_t(2));
  QVERIFY(host.game.state.PlayerLeft[1]);
  rejoin("Bob", 1, bob);
  if (QTest::currentTestFailed()) return;
  QCOMPARE(bob->game.state.CurrentPlayer, int16_t(1));
  // They play on to the end of the game with Ann.
  host.loop.HoldAt(-1);
  QTRY_VERIFY_WITH_TIMEOUT(host.loop.over || host.loop.turns >= 300, 60000);
  QVERIFY(host.loop.over);
}

void NetplayTest::AFourthClientIsTurnedAway() {
  Machine host(Session::Role::Server, 3);
  QString why;
  QVERIFY(host.session.Listen(0, &why));
  std::vector<std::unique_ptr<Machine>> clients;
  for (const char* name : {"Bob", "Cid", "Dee", "Eve"}) {
    clients.push_back(std::make_unique<Machine>(Session::Role::Client, 5));
    QVERIFY(clients.back()->session.Join("127.0.0.1", host.session.port(), name, &why));
  }
  QSignalSpy events(&host.session, &Session::event);
  QTRY_VERIFY(!host.session.Seats()[3].empty());
  QTest::qWait(100);
  const auto seats = host.session.Seats();
  int seated = 0;
  for (int s = 1; s < kSeats; ++s) seated += seats[s].empty() ? 0 : 1;
  QCOMPARE(seated, 3);
  // Each client's setup shows every seat's name.
  QTRY_COMPARE(clients[0]->session.Seats()[3], seats[3]);
}

void NetplayTest::AMessageArrivingWhileARoutineWaitsIsActedOn() {
  // The client's rotation waits frame by frame; a chat line the server
  // sends meanwhile, and nothing after it, still reaches the client's chat.
  HeldPair pair(21);
  if (QTest::currentTestFailed()) return;
  Machine &host = pair.host, &bob = *pair.clients[0];
  bob.loop.waits = true;
  QSignalSpy chat(&bob.session, &Session::chat);
  const float year = bob.game.state.GameYear;
  host.session.relay().SendGalaxyRotate();
  QTimer::singleShot(40, [&] { host.session.SendChat("during the rotation"); });
  QTRY_VERIFY(bob.game.state.GameYear > year);  // the rotation ran
  QTRY_COMPARE_WITH_TIMEOUT(chat.count(), 1, 5000);
  QCOMPARE(chat.at(0).at(0).toString(), QString("during the rotation"));
}

void NetplayTest::AFloodWhileTheServerIsBusyIsCutOff() {
  // While the server is inside a routine, messages wait; a link that piles
  // up thousands is closed, one with a turn's worth stays.
  Machine host(Session::Role::Server, 4);
  QString why;
  QVERIFY(host.session.Listen(0, &why));
  host.session.SetBusyCheck([] { return true; });
  QSignalSpy events(&host.session, &Session::event);
  QTcpSocket polite, flood;
  polite.connectToHost(QHostAddress::LocalHost, host.session.port());
  QVERIFY(polite.waitForConnected(5000));
  QTRY_VERIFY(host.session.Connected(1));
  flood.connectToHost(QHostAddress::LocalHost, host.session.port());
  QVERIFY(flood.waitForConnected(5000));
  QTRY_VERIFY(host.session.Connected(2));
  QSignalSpy closed(&flood, &QAbstractSocket::disconnected);
  const QByteArray line = "[MESSAGE] 00hello*";
  polite.write(line.repeated(200));
  flood.write(line.repeated(3000));
  QTRY_COMPARE(closed.count(), 1);
  QVERIFY(std::any_of(events.begin(), events.end(), [](const QList<QVariant>& e) {
    return e.at(0).toString() == "Link 2 sent more than 1024 messages while the game was busy: closed";
  }));
  QTest::qWait(100);
  QCOMPARE(polite.state(), QAbstractSocket::ConnectedState);
  QVERIFY(host.session.Connected(1));
}

void NetplayTest::TheServersLastWordsComeBeforeItsGoing() {
  // What a server said just before it went is acted on before the client
  // learns it is gone (a client ends then).
  HeldPair pair(31);
  if (QTest::currentTestFailed()) return;
  Machine &host = pair.host, &bob = *pair.clients[0];
  QStringList seen;
  connect(&bob.session, &Session::chat, [&](const QString& line) { seen << "chat " + line; });
  connect(&bob.session, &Session::serverLost, [&] { seen << "lost"; });
  // The client is inside a routine (a battle on screen) while the line and
  // the end of the link arrive.
  bool busy = true;
  bob.session.SetBusyCheck([&] { return busy; });
  host.session.SendChat("goodbye");
  host.session.Stop();
  QTRY_VERIFY(!bob.game.serverConnected);
  QTest::qWait(50);
  busy = false;
  QTRY_COMPARE(seen, (QStringList{"chat goodbye", "lost"}));
}

QTEST_GUILESS_MAIN(NetplayTest)
#include "netplay_test.moc"
