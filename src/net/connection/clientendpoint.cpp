#include "net/connection/clientendpoint.h"

#include <QTcpSocket>
#include <QTimer>

#include "net/connection/address.h"
#include "net/connection/sendqueue.h"

namespace valkoran::net {

ClientEndpoint::ClientEndpoint(QObject* parent)
    : QObject(parent), link_(new QTcpSocket(this)), tmrConnect_(new QTimer(this)) {
  tmrConnect_->setObjectName(QStringLiteral("tmrConnect"));
  tmrConnect_->setInterval(kDefaultRetryMs);
  connect(tmrConnect_, &QTimer::timeout, this, [this] { Attempt(); });
  connect(link_, &QAbstractSocket::connected, this, [this] {
    up_ = true;
    // Messages are small and answered at once: no waiting to fill a packet.
    link_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    SetState(QStringLiteral("Server Found"));
    emit connected();
  });
  connect(link_, &QIODevice::readyRead, this, [this] { emit bytesReceived(0, link_->readAll()); });
  connect(link_, &QAbstractSocket::disconnected, this, [this] { Lost(); });
  // Some failures close the socket without a disconnected signal.
  connect(link_, &QAbstractSocket::errorOccurred, this, [this] {
    if (link_->state() == QAbstractSocket::UnconnectedState) Lost();
  });
}

ClientEndpoint::~ClientEndpoint() { link_->disconnect(this); }

bool ClientEndpoint::Connect(const QString& hostText, quint16 defaultPort, QString* why) {
  QString host;
  quint16 port = 0;
  if (!ParseAddress(hostText, defaultPort, &host, &port, why)) return false;
  host_ = host;
  port_ = port;
  link_->abort();  // a link to an earlier address reports its end here
  SetState(QStringLiteral("Looking for Server..."));
  tmrConnect_->start();
  Attempt();
  return true;
}

void ClientEndpoint::SetRetryInterval(int ms) { tmrConnect_->setInterval(ms); }

void ClientEndpoint::Stop() {
  tmrConnect_->stop();
  if (link_->state() == QAbstractSocket::ConnectedState) {
    while (link_->bytesToWrite() > 0 && link_->waitForBytesWritten(2000)) {
    }
    link_->disconnectFromHost();
  }
  else
    link_->abort();
}

bool ClientEndpoint::Connected(int socket) const {
  return socket == 0 && link_->state() == QAbstractSocket::ConnectedState;
}

void ClientEndpoint::Send(int socket, const std::string& bytes) {
  if (!Connected(socket) || link_->bytesToWrite() > kMaxUnsentBytes) return;
  if (QueueWrite(*link_, bytes)) return;
  // From the event loop, so the caller of Send is not re-entered.
  QMetaObject::invokeMethod(
      this, [this] {
        if (link_->bytesToWrite() > kMaxUnsentBytes) link_->abort();
      },
      Qt::QueuedConnection);
}

// While connected the tick does nothing; otherwise whatever attempt is
// still under way (a lookup, an unanswered call) is dropped for a fresh one.
void ClientEndpoint::Attempt() {
  if (link_->state() == QAbstractSocket::ConnectedState) return;
  link_->abort();
  link_->connectToHost(host_, port_);
}

void ClientEndpoint::Lost() {
  if (!up_) return;
  up_ = false;
  if (link_->bytesAvailable() > 0) emit bytesReceived(0, link_->readAll());
  if (tmrConnect_->isActive()) SetState(QStringLiteral("Looking for Server..."));
  emit disconnected();
}

void ClientEndpoint::SetState(const QString& text) {
  if (text == state_) return;
  state_ = text;
  emit stateText(text);
}

}  // namespace valkoran::net
