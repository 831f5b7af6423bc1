#include <QHostAddress>
#include <QNetworkInterface>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "net/connection/address.h"
#include "net/connection/clientendpoint.h"
#include "net/connection/serverendpoint.h"

using valkoran::net::ClientEndpoint;
using valkoran::net::ServerEndpoint;

namespace {

const QString kLooking = QStringLiteral("Looking for Server...");
const QString kFound = QStringLiteral("Server Found");

QString Loopback(quint16 port) { return QStringLiteral("127.0.0.1:%1").arg(port); }

// Every byte value, high ones included, in an order no codec would keep.
std::string Pattern(int size) {
  std::string bytes(size, '\0');
  for (int i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

// What arrives on a connection, chunks joined.
struct Inbox {
  QByteArray bytes;
  std::vector<int> sockets;
  template <class Endpoint>
  explicit Inbox(Endpoint& from) {
    QObject::connect(&from, &Endpoint::bytesReceived, [this](int socket, const QByteArray& b) {
      bytes += b;
      sockets.push_back(socket);
    });
  }
};

QList<int> Ints(const QSignalSpy& spy) {
  QList<int> out;
  for (const QList<QVariant>& args : spy) out << args.at(0).toInt();
  return out;
}

}  // namespace

class ConnectionTest : public QObject {
  Q_OBJECT

  // A client connected to `server`, which must have put it on `seat`.
  std::unique_ptr<ClientEndpoint> Join(ServerEndpoint& server, int seat) {
    QSignalSpy joined(&server, &ServerEndpoint::clientConnected);
    auto client = std::make_unique<ClientEndpoint>();
    QSignalSpy up(client.get(), &ClientEndpoint::connected);
    client->Connect(Loopback(server.port()), 1);
    [&] {
      QTRY_COMPARE(up.count(), 1);
      QTRY_COMPARE(joined.count(), 1);
      QCOMPARE(joined.at(0).at(0).toInt(), seat);
    }();
    return client;
  }

 private slots:
  void threeSeatsInOrderAndTheFourthIsRefused() {
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    QVERIFY(server.port() != 0);
    QSignalSpy joined(&server, &ServerEndpoint::clientConnected);
    QSignalSpy refused(&server, &ServerEndpoint::refused);
    std::vector<std::unique_ptr<ClientEndpoint>> clients;
    for (int seat = 1; seat <= 3; ++seat) {
      clients.push_back(Join(server, seat));
      if (QTest::currentTestFailed()) return;
      QCOMPARE(server.PeerAddress(seat), QStringLiteral("127.0.0.1"));
    }
    QCOMPARE(Ints(joined), (QList<int>{1, 2, 3}));

    ClientEndpoint fourth;
    QSignalSpy label(&fourth, &ClientEndpoint::stateText);
    QSignalSpy gone(&fourth, &ClientEndpoint::disconnected);
    fourth.Connect(Loopback(server.port()), 1);
    QTRY_COMPARE(refused.count(), 1);
    QTRY_COMPARE(gone.count(), 1);
    QCOMPARE(label.count(), 3);
    QCOMPARE(label.at(0).at(0).toString(), kLooking);
    QCOMPARE(label.at(1).at(0).toString(), kFound);  // the line answered, then hung up
    QCOMPARE(label.at(2).at(0).toString(), kLooking);
    QCOMPARE(joined.count(), 3);
    for (int seat = 1; seat <= 3; ++seat) QVERIFY(server.Connected(seat));
    for (int socket : {-1, 0, 4}) {
      QVERIFY(!server.Connected(socket));
      QVERIFY(server.PeerAddress(socket).isEmpty());
      server.Send(socket, "x*");  // nothing, and no harm
    }
    QVERIFY(!fourth.Connected(0));
    QVERIFY(!clients[0]->Connected(1));
  }

  void bytesArriveByteForByteBothWays() {
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    auto client = Join(server, 1);
    if (QTest::currentTestFailed()) return;
    Inbox atServer(server), atClient(*client);

    const std::string all = Pattern(256) + std::string(1, '\0') + "*";
    server.Send(1, all);
    client->Send(0, all);
    QTRY_COMPARE(atClient.bytes, QByteArray(all.data(), qsizetype(all.size())));
    QTRY_COMPARE(atServer.bytes, QByteArray(all.data(), qsizetype(all.size())));
    QVERIFY(std::all_of(atClient.sockets.begin(), atClient.sockets.end(), [](int s) { return s == 0; }));
    QVERIFY(std::all_of(atServer.sockets.begin(), atServer.sockets.end(), [](int s) { return s == 1; }));

    atServer.bytes.clear();
    atClient.bytes.clear();
    const std::string big = Pattern(1 << 20);
    server.Send(1, big);
    client->Send(0, big);
    QTRY_COMPARE_WITH_TIMEOUT(atClient.bytes.size(), qsizetype(big.size()), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(atServer.bytes.size(), qsizetype(big.size()), 20000);
    QVERIFY(atClient.bytes == QByteArray::fromStdString(big));
    QVERIFY(atServer.bytes == QByteArray::fromStdString(big));
  }

  // Close lets what was sent go out first, and reports the seat at once.
  void closeDeliversWhatWasSentThenEnds() {
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    auto client = Join(server, 1);
    if (QTest::currentTestFailed()) return;
    Inbox atClient(*client);
    QSignalSpy left(&server, &ServerEndpoint::clientDisconnected);
    QSignalSpy gone(client.get(), &ClientEndpoint::disconnected);
    const std::string last = Pattern(300000) + "bye*";
    server.Send(1, last);
    server.Close(1);
    QCOMPARE(Ints(left), QList<int>{1});
    QVERIFY(!server.Connected(1));
    server.Send(1, "late*");
    server.Close(1);
    QTRY_COMPARE(gone.count(), 1);
    QTRY_COMPARE(atClient.bytes.size(), qsizetype(last.size()));
    QVERIFY(atClient.bytes == QByteArray::fromStdString(last));
    QCOMPARE(left.count(), 1);
  }

  // A client that never takes what it is sent is let go, after Send returns.
  void aPeerThatDoesNotReadIsDropped() {
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    auto client = Join(server, 1);
    if (QTest::currentTestFailed()) return;
    QSignalSpy left(&server, &ServerEndpoint::clientDisconnected);
    QSignalSpy gone(client.get(), &ClientEndpoint::disconnected);
    server.Send(1, std::string((8 << 20) + 1, 'x'));
    QCOMPARE(left.count(), 0);
    QTRY_COMPARE(Ints(left), QList<int>{1});
    QTRY_COMPARE(gone.count(), 1);
    QVERIFY(!server.Connected(1));
  }

  void stopEndsEveryLinkAndListening() {
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    const quint16 port = server.port();
    auto one = Join(server, 1);
    auto two = Join(server, 2);
    if (QTest::currentTestFailed()) return;
    QSignalSpy left(&server, &ServerEndpoint::clientDisconnected);
    QSignalSpy gone(two.get(), &ClientEndpoint::disconnected);
    server.Stop();
    QCOMPARE(Ints(left), (QList<int>{1, 2}));
    QVERIFY(!server.Listening());
    QTRY_COMPARE(gone.count(), 1);
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(!probe.waitForConnected(5000));
  }

  void localhostInAnyCaseIsThisMachine() {
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    QSignalSpy joined(&server, &ServerEndpoint::clientConnected);
    ClientEndpoint byName, withPort;
    QSignalSpy up1(&byName, &ClientEndpoint::connected), up2(&withPort, &ClientEndpoint::connected);
    QVERIFY(byName.Connect(QStringLiteral("LocalHost"), server.port()));
    QVERIFY(withPort.Connect(QStringLiteral("localhost:%1").arg(server.port()), 1));
    QTRY_COMPARE(up1.count(), 1);
    QTRY_COMPARE(up2.count(), 1);
    QTRY_COMPARE(joined.count(), 2);
  }

  void ipv6LoopbackReachesTheServer() {
    if (!QNetworkInterface::allAddresses().contains(QHostAddress(QHostAddress::LocalHostIPv6)))
      QSKIP("this machine has no IPv6 loopback");
    ServerEndpoint server;
    QVERIFY(server.Listen(0, nullptr));
    QSignalSpy joined(&server, &ServerEndpoint::clientConnected);
    ClientEndpoint client;
    QSignalSpy up(&client, &ClientEndpoint::connected);
    QVERIFY(client.Connect(QStringLiteral("[::1]:%1").arg(server.port()), 1));
    QTRY_COMPARE(up.count(), 1);
    QTRY_COMPARE(joined.count(), 1);
    QCOMPARE(server.PeerAddress(1), QStringLiteral("::1"));
  }

  void parseAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("why");
    const auto good = [](const char* name, const char* text, const char* host, int port) {
      QTest::newRow(name) << QString::fromUtf8(text) << true << QString::fromUtf8(host) << port << QString();
    };
    const auto bad = [](const char* name, const char* text, const char* why) {
      QTest::newRow(name) << QString::fromUtf8(text) << false << QString() << 0 << QString::fromUtf8(why);
    };
    good("name", "galaxy.example", "galaxy.example", 330);
    good("name and port", "galaxy.example:4000", "galaxy.example", 4000);
    good("spaces around", "  10.0.0.2:65535 ", "10.0.0.2", 65535);
    good("leading zeros", "host:00001", "host", 1);
    good("localhost any case", "LOCALhost:3330", "127.0.0.1", 3330);
    good("bracketed v6 with port", "[::1]:3330", "::1", 3330);
    good("bracketed v6", "[fe80::1]", "fe80::1", 330);
    good("bare v6", "::1", "::1", 330);
    good("bare v6 full", "2001:db8:0:0:0:0:0:7", "2001:db8:0:0:0:0:0:7", 330);
    bad("empty", "", "Type the name or the address of the server.");
    bad("blank", "   ", "Type the name or the address of the server.");
    bad("port 0", "host:0", "\"0\" is not a port: a port is a number from 1 to 65535.");
    bad("port 65536", "host:65536", "\"65536\" is not a port: a port is a number from 1 to 65535.");
    bad("port 70000", "host:70000", "\"70000\" is not a port: a port is a number from 1 to 65535.");
    bad("port letters", "host:abc", "\"abc\" is not a port: a port is a number from 1 to 65535.");
    bad("junk after port", "host:330x", "\"330x\" is not a port: a port is a number from 1 to 65535.");
    bad("signed port", "host:+330", "\"+330\" is not a port: a port is a number from 1 to 65535.");
    bad("long port", "host:0000000330", "\"0000000330\" is not a port: a port is a number from 1 to 65535.");
    bad("colon only", "host:", "A port number from 1 to 65535 must follow the colon.");
    bad("port only", ":330", "Type the name or the address of the server before the colon.");
    bad("space in name", "my server", "\"my server\" is not a server name: a name has no spaces.");
    bad("no closing bracket", "[::1:330", "The address lacks its closing bracket \"]\".");
    bad("junk after bracket", "[::1]x330", "Only a colon and a port may follow \"]\", not \"x330\".");
    bad("v4 in brackets", "[10.0.0.2]:330", "\"10.0.0.2\" is not an IPv6 address.");
    bad("two colons", "host:330:1", "\"host:330:1\" is not an IPv6 address (with a port, write [address]:port).");
  }

  void parseAddress() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QString host = QStringLiteral("unchanged"), why;
    quint16 port = 7;
    QCOMPARE(valkoran::net::ParseAddress(text, 330, &host, &port, &why), ok);
    QTEST(why, "why");
    if (ok) {
      QTEST(host, "host");
      QTEST(int(port), "port");
    } else {
      QCOMPARE(host, QStringLiteral("unchanged"));
      QCOMPARE(port, quint16(7));
    }
  }

  void aBadAddressIsNotTried() {
    ClientEndpoint client;
    QSignalSpy label(&client, &ClientEndpoint::stateText);
    QString why;
    QVERIFY(!client.Connect(QStringLiteral("host:0"), 330, &why));
    QVERIFY(why.contains(QStringLiteral("1 to 65535")));
    QVERIFY(!client.findChild<QTimer*>(QStringLiteral("tmrConnect"))->isActive());
    QCOMPARE(label.count(), 0);
  }

  void aClientKeepsTryingUntilTheServerListens() {
    quint16 port = 0;
    {
      QTcpServer probe;  // a port free a moment ago, nobody listening now
      QVERIFY(probe.listen(QHostAddress::Any, 0));
      port = probe.serverPort();
    }
    ClientEndpoint client;
    QTimer* tmrConnect = client.findChild<QTimer*>(QStringLiteral("tmrConnect"));
    QVERIFY(tmrConnect);
    QCOMPARE(tmrConnect->interval(), 5000);
    client.SetRetryInterval(20);
    QSignalSpy label(&client, &ClientEndpoint::stateText);
    QSignalSpy up(&client, &ClientEndpoint::connected);
    QSignalSpy refusals(client.findChild<QTcpSocket*>(), &QAbstractSocket::errorOccurred);
    QVERIFY(client.Connect(Loopback(port), 1));
    QTRY_VERIFY(refusals.count() >= 3);
    QCOMPARE(up.count(), 0);
    QVERIFY(tmrConnect->isActive());
    QCOMPARE(label.count(), 1);  // the label is set once, not at every try
    QCOMPARE(label.at(0).at(0).toString(), kLooking);

    ServerEndpoint server;
    QString why;
    QVERIFY2(server.Listen(port, &why), qPrintable(why));
    QTRY_COMPARE(up.count(), 1);
    QTRY_VERIFY(server.Connected(1));
    QCOMPARE(label.last().at(0).toString(), kFound);
    // Ticks while connected change nothing.
    QTest::qWait(100);
    QVERIFY(client.Connected(0));
    QCOMPARE(up.count(), 1);
    client.Stop();
    QVERIFY(!tmrConnect->isActive());
  }

  void listeningOnAPortInUse() {
    ServerEndpoint first, second;
    QVERIFY(first.Listen(0, nullptr));
    QString why;
    QVERIFY(!second.Listen(first.port(), &why));
    QCOMPARE(why, QStringLiteral("Port %1 is already in use by another program.").arg(first.port()));
    QVERIFY(!second.Listening());
  }

  void listenFailureText() {
    using valkoran::net::ListenFailureText;
    QCOMPARE(ListenFailureText(330, QAbstractSocket::SocketAccessError, QStringLiteral("Permission denied")),
             QStringLiteral("Port 330 needs administrator rights on this system; choose a port above 1023 "
                            "(for example 3330)."));
    QCOMPARE(ListenFailureText(1023, QAbstractSocket::SocketAccessError, QStringLiteral("x")),
             QStringLiteral("Port 1023 needs administrator rights on this system; choose a port above 1023 "
                            "(for example 4023)."));
    // From 1024 up the rights are not the reason a player can act on.
    QCOMPARE(ListenFailureText(1024, QAbstractSocket::SocketAccessError, QStringLiteral("The address is protected")),
             QStringLiteral("Port 1024 cannot be opened for network play: The address is protected."));
    QCOMPARE(ListenFailureText(330, QAbstractSocket::AddressInUseError, QStringLiteral("x")),
             QStringLiteral("Port 330 is already in use by another program."));
    QCOMPARE(ListenFailureText(4000, QAbstractSocket::UnknownSocketError, QStringLiteral("")),
             QStringLiteral("Port 4000 cannot be opened for network play: the system gave no reason."));
  }
};

QTEST_GUILESS_MAIN(ConnectionTest)
#include "connection_test.moc"
