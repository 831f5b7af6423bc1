// One machine's part in a network game: its links (a server's three, or a
// client's one), the receive buffers, and the dispatcher that acts on each
// message. Received messages are acted on one at a time, in the order they
// came: a message whose routine waits (a battle replay, a turn end) is
// finished before the next one is taken, never re-entered.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include "game/game.h"
#include "net/protocol/dispatch.h"
#include "net/protocol/message.h"
#include "net/protocol/relay.h"

namespace valkoran::net {

class ServerEndpoint;
class ClientEndpoint;

class Session : public QObject, public SessionEvents {
  Q_OBJECT
 public:
  enum class Role { Server, Client };
  Session(Game& game, Role role, QObject* parent = nullptr);
  ~Session() override;

  Role role() const { return role_; }
  // Server: listens on `port` (0: any free one, see port()).
  bool Listen(quint16 port, QString* why);
  quint16 port() const;
  // Client: connects to `host` ("host", "host:port") as `name`, retrying
  // until the server answers.
  bool Join(const QString& host, quint16 port, const std::string& name, QString* why);
  void SetRetryInterval(int ms);
  // Server: the seats' names so far (seat 0 is the server's own).
  const std::array<std::string, kSeats>& Seats() const { return seats_; }
  void SetOwnName(const std::string& name) { seats_[0] = name; }
  // Server: the game built from the seats goes to every machine; from now
  // on the clients' messages are orders in it.
  void PrepareStart();
  // Server, headless: PrepareStart, then this machine's first turn opens.
  void StartGame();
  // A chat line from this machine.
  void SendChat(const std::string& text);
  // Stops listening or connecting and closes every link.
  void Stop();

  // Whether this machine is inside a routine that a message must not
  // interrupt: messages wait in arrival order until it is over. By default
  // a server's turn processing; a window adds its own waits.
  void SetBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }

  ProtocolRelay& relay() { return *relay_; }
  Dispatcher& dispatcher() { return *dispatcher_; }
  bool Connected(int socket) const;

 signals:
  // One line for each connection event, as a person would read it.
  void event(const QString& line);
  void seatsChanged();
  void chat(const QString& text);
  void gameShown();
  void optionsChanged();
  // Client: the server has gone.
  void serverLost();
  // Client: the server's state cannot be played.
  void unplayable(const QString& why);

 protected:
  // SessionEvents.
  void SeatName(int seat, const std::string& name) override;
  void Chat(const std::string& text) override;
  void GameShown() override;
  void OptionsChanged() override;
  void Unplayable(const std::string& why) override;

 private:
  void Received(int socket, const QByteArray& bytes);
  void Drain();
  void ClientJoined(int socket);
  void ClientLeft(int socket);
  void SendSeatNames();
  // The seat (1..3) of that name waiting for its player whose element is
  // free or is `socket`; 0 when none.
  int WaitingSeat(const std::string& name, int socket) const;

  // The most messages one client may have waiting to be acted on.
  static constexpr long kMaxWaiting = 1024;

  Game& game_;
  Role role_;
  Transport* link_ = nullptr;
  ServerEndpoint* server_ = nullptr;
  ClientEndpoint* client_ = nullptr;
  std::unique_ptr<ProtocolRelay> relay_;
  std::unique_ptr<Dispatcher> dispatcher_;
  std::array<NetBuffer, kMaxClients + 1> buffers_{};
  std::deque<std::pair<int, Message>> queue_;
  bool trace_;  // VALKORAN_NET_TRACE: each message taken, on stderr
  bool draining_ = false;
  bool retryArmed_ = false;
  std::function<bool()> busy_;
  std::array<std::string, kSeats> seats_{};
  std::string ownName_;
};

}  // namespace valkoran::net
