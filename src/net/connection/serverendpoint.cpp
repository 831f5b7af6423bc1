#include "net/connection/serverendpoint.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "net/connection/address.h"
#include "net/connection/sendqueue.h"

namespace valkoran::net {
namespace {
// How long a closed link may take to hand over what was sent before it.
constexpr int kLingerMs = 30000;
}  // namespace

ServerEndpoint::ServerEndpoint(QObject* parent) : QObject(parent), listener_(new QTcpServer(this)) {
  connect(listener_, &QTcpServer::newConnection, this, [this] { Accept(); });
}

// The links die with the listener; nobody is told, as nobody is left to care.
ServerEndpoint::~ServerEndpoint() {
  for (QTcpSocket* link : links_)
    if (link) link->disconnect(this);
}

bool ServerEndpoint::Listen(quint16 port, QString* why) {
  listener_->close();
  if (listener_->listen(QHostAddress::Any, port)) return true;
  if (why) *why = ListenFailureText(port, listener_->serverError(), listener_->errorString());
  return false;
}

bool ServerEndpoint::Listening() const { return listener_->isListening(); }

quint16 ServerEndpoint::port() const { return listener_->serverPort(); }

bool ServerEndpoint::Connected(int socket) const {
  return socket >= 1 && socket <= kMaxClients && links_[socket] &&
         links_[socket]->state() == QAbstractSocket::ConnectedState;
}

void ServerEndpoint::Send(int socket, const std::string& bytes) {
  if (!Connected(socket)) return;
  QTcpSocket* link = links_[socket];
  if (link->bytesToWrite() > kMaxUnsentBytes) return;  // already being let go
  if (QueueWrite(*link, bytes)) return;
  QMetaObject::invokeMethod(
      this, [this, socket, link] {
        if (links_[socket] != link) return;
        link->abort();  // its unsent bytes would never be read
        Lost(link);
      },
      Qt::QueuedConnection);
}

bool ServerEndpoint::MoveLink(int from, int to) {
  if (from < 1 || from > kMaxClients || to < 1 || to > kMaxClients || from == to) return false;
  if (!links_[from] || Connected(to)) return false;
  // A link that went down there unreported: its seat is already given up.
  if (QTcpSocket* dead = links_[to]) {
    dead->disconnect(this);
    dead->deleteLater();
  }
  links_[to] = links_[from];
  links_[from] = nullptr;
  return true;
}

void ServerEndpoint::Close(int socket) {
  if (socket < 1 || socket > kMaxClients || !links_[socket]) return;
  QTcpSocket* link = links_[socket];
  links_[socket] = nullptr;
  link->disconnect(this);
  connect(link, &QAbstractSocket::disconnected, link, &QObject::deleteLater);
  QTimer::singleShot(kLingerMs, link, [link] {
    link->abort();
    link->deleteLater();
  });
  link->disconnectFromHost();
  if (link->state() == QAbstractSocket::UnconnectedState) link->deleteLater();
  emit clientDisconnected(socket);
}

void ServerEndpoint::CloseAll() {
  for (int socket = 1; socket <= kMaxClients; ++socket) Close(socket);
}

void ServerEndpoint::Stop() {
  listener_->close();
  // The last messages (a game's end) reach the clients before the links
  // go, even when no event loop runs after this.
  for (QTcpSocket* link : links_)
    if (link && link->state() == QAbstractSocket::ConnectedState)
      while (link->bytesToWrite() > 0 && link->waitForBytesWritten(2000)) {
      }
  CloseAll();
}

QString ServerEndpoint::PeerAddress(int socket) const {
  if (!Connected(socket)) return {};
  // The listener is dual-stack: IPv4 peers come as ::ffff:a.b.c.d.
  const QHostAddress address = links_[socket]->peerAddress();
  bool v4 = false;
  const quint32 ip4 = address.toIPv4Address(&v4);
  return v4 ? QHostAddress(ip4).toString() : address.toString();
}

void ServerEndpoint::Accept() {
  while (QTcpSocket* link = listener_->nextPendingConnection()) {
    int socket = 1;
    while (socket <= kMaxClients && Connected(socket)) ++socket;
    if (socket > kMaxClients) {
      // Closed at once, so the caller learns now instead of waiting on a
      // line that never answers.
      link->close();
      link->deleteLater();
      emit refused();
      continue;
    }
    if (links_[socket]) Lost(links_[socket]);  // down but not yet reported
    links_[socket] = link;
    // Messages are small and answered at once: no waiting to fill a packet.
    link->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(link, &QIODevice::readyRead, this, [this, link] {
      if (const int socket = Element(link)) emit bytesReceived(socket, link->readAll());
    });
    connect(link, &QAbstractSocket::disconnected, this, [this, link] { Lost(link); });
    // Some failures close the socket without a disconnected signal.
    connect(link, &QAbstractSocket::errorOccurred, this, [this, link] {
      if (link->state() == QAbstractSocket::UnconnectedState) Lost(link);
    });
    emit clientConnected(socket);
  }
}

int ServerEndpoint::Element(const QTcpSocket* link) const {
  for (int socket = 1; socket <= kMaxClients; ++socket)
    if (links_[socket] == link) return socket;
  return 0;
}

void ServerEndpoint::Lost(QTcpSocket* link) {
  const int socket = Element(link);
  if (!socket) return;
  link->disconnect(this);
  // The last words before the close still count.
  if (link->bytesAvailable() > 0) emit bytesReceived(socket, link->readAll());
  links_[socket] = nullptr;
  link->deleteLater();
  emit clientDisconnected(socket);
}

}  // namespace valkoran::net
