// The server's end of network play: element 0 listens, elements 1..3 each
// hold the link to one client, whose seat is that number.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <array>
#include <string>

#include "net/protocol/transport.h"

class QTcpServer;
class QTcpSocket;

namespace valkoran::net {

class ServerEndpoint : public QObject, public Transport {
  Q_OBJECT

 public:
  explicit ServerEndpoint(QObject* parent = nullptr);
  ~ServerEndpoint() override;

  // Listens on every address, IPv4 and IPv6, on `port` (0: a free one, see
  // port()). On failure `why` (when given) holds a sentence for the player.
  bool Listen(quint16 port, QString* why);
  bool Listening() const;
  quint16 port() const;

  // Elements 1..3; false for 0 and anything else (a server has no link 0).
  bool Connected(int socket) const override;
  void Send(int socket, const std::string& bytes) override;
  // Ends a link; what was sent before still goes out. Emits
  // clientDisconnected at once when the link was up.
  void Close(int socket);
  // Puts the link of element `from` on the free element `to`, quietly (no
  // disconnect or connect reported): a returning player whose link landed
  // on another seat's element. False when `from` holds no link or `to` is
  // in use.
  bool MoveLink(int from, int to);
  void CloseAll();
  // No more connections, and every link closed.
  void Stop();
  // The client's address as a player reads it ("192.0.2.7"), empty when
  // the element is free.
  QString PeerAddress(int socket) const;

 signals:
  void clientConnected(int socket);
  // Once per connection, however it ended. A link dropped for not reading
  // what was sent reports this from the event loop, never inside Send.
  void clientDisconnected(int socket);
  // Whatever arrived, as it arrived: messages may come split or joined.
  void bytesReceived(int socket, const QByteArray& bytes);
  // A fifth machine knocked while all three seats were taken; it was closed.
  void refused();

 private:
  void Accept();
  int Element(const QTcpSocket* link) const;  // 0 when it holds none
  void Lost(QTcpSocket* link);

  QTcpServer* listener_;
  std::array<QTcpSocket*, kMaxClients + 1> links_{};  // [0] unused: the listener
};

}  // namespace valkoran::net
