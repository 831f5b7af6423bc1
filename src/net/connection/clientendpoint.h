// A client's end of network play: element 0, its one link to the server.
// Once told where the server is, it keeps trying until the server answers,
// and after losing the server it looks for it again the same way.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <string>

#include "net/protocol/transport.h"

class QTcpSocket;
class QTimer;

namespace valkoran::net {

class ClientEndpoint : public QObject, public Transport {
  Q_OBJECT

 public:
  static constexpr int kDefaultRetryMs = 5000;

  explicit ClientEndpoint(QObject* parent = nullptr);
  ~ClientEndpoint() override;

  // `hostText` as the player typed it (see ParseAddress). Drops any link
  // it has, tries at once and then every retry interval (tmrConnect) while
  // not connected; the timer keeps running while connected and does
  // nothing then. False, with the reason in `why`, when the text is not an
  // address: nothing is tried then.
  bool Connect(const QString& hostText, quint16 defaultPort, QString* why = nullptr);
  void SetRetryInterval(int ms);
  // Stops trying and closes the link; what was sent before still goes out.
  // A link that was up reports disconnected().
  void Stop();

  // Only element 0 exists on a client.
  bool Connected(int socket) const override;
  void Send(int socket, const std::string& bytes) override;

 signals:
  void connected();
  // Once per established link, when it ends for whatever reason.
  void disconnected();
  // `socket` is always 0. Whatever arrived, as it arrived.
  void bytesReceived(int socket, const QByteArray& bytes);
  // What the status label reads: "Looking for Server..." or "Server Found";
  // sent when it changes.
  void stateText(const QString& text);

 private:
  void Attempt();
  void Lost();
  void SetState(const QString& text);

  QTcpSocket* link_;
  QTimer* tmrConnect_;
  QString host_;
  quint16 port_ = 0;
  bool up_ = false;  // connected() sent, disconnected() not yet
  QString state_;
};

}  // namespace valkoran::net
