#include "net/connection/session.h"

#include <cstdio>

#include "net/connection/clientendpoint.h"
#include "net/connection/serverendpoint.h"
#include "net/protocol/message.h"

#include <QTimer>
#include <algorithm>

namespace valkoran::net {

namespace {

// A machine's link is gone: acted on in turn with the messages, since the
// game goes on without that seat.
const char* const kLeft = "\x01left";
// The server is gone: told after the messages it sent before going.
const char* const kLost = "\x01lost";

// What a seat's name may hold: no "*" (it would end a message), no control
// characters, at most 255 bytes, cut between characters.
std::string CleanSeatName(const std::string& name) {
  std::string out;
  for (unsigned char c : name)
    if (c >= 0x20 && c != 0x7F && c != '*') out += static_cast<char>(c);
  if (out.size() > 255) {
    size_t cut = 255;
    while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80) --cut;
    out.resize(cut);
  }
  return out;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Session::Session(Game& game, Role role, QObject* parent)
    : QObject(parent), game_(game), role_(role), trace_(qEnvironmentVariableIsSet("VALKORAN_NET_TRACE")) {
  if (role == Role::Server) {
    server_ = new ServerEndpoint(this);
    link_ = server_;
    connect(server_, &ServerEndpoint::clientConnected, this, &Session::ClientJoined);
    connect(server_, &ServerEndpoint::clientDisconnected, this, &Session::ClientLeft);
    connect(server_, &ServerEndpoint::bytesReceived, this, &Session::Received);
    connect(server_, &ServerEndpoint::refused, this, [this] { emit event("A fourth client was turned away: every seat is taken"); });
  } else {
    client_ = new ClientEndpoint(this);
    link_ = client_;
    connect(client_, &ClientEndpoint::connected, this, [this] {
      buffers_[0].Clear();
      game_.serverConnected = true;
      emit event("Server Found");
      link_->Send(0, Frame("[NAME]", 0, ownName_));
    });
    connect(client_, &ClientEndpoint::disconnected, this, [this] {
      game_.serverConnected = false;
      queue_.emplace_back(0, Message{kLost, 0, {}});
      Drain();
    });
    connect(client_, &ClientEndpoint::bytesReceived, this, &Session::Received);
    game_.BeginNetworkPlay(NetRole::Client);
  }
  if (role == Role::Server) busy_ = [this] { return game_.BusyFlag != 0; };
  relay_ = std::make_unique<ProtocolRelay>(*link_, role == Role::Server);
  dispatcher_ = std::make_unique<Dispatcher>(game_, *relay_, *this);
  game_.SetRelay(relay_.get());
}

Session::~Session() {
  game_.SetRelay(nullptr);
  game_.serverConnected = false;
}

bool Session::Listen(quint16 port, QString* why) {
  if (!server_->Listen(port, why)) return false;
  emit event(QStringLiteral("Running Server... listening on port %1").arg(server_->port()));
  return true;
}

quint16 Session::port() const { return server_ ? server_->port() : 0; }

bool Session::Join(const QString& host, quint16 port, const std::string& name, QString* why) {
  ownName_ = CleanSeatName(name);
  if (!client_->Connect(host, port, why)) return false;
  emit event("Looking for Server...");
  return true;
}

void Session::SetRetryInterval(int ms) {
  if (client_) client_->SetRetryInterval(ms);
}

bool Session::Connected(int socket) const { return link_->Connected(socket); }

void Session::Stop() {
  if (server_) server_->Stop();
  if (client_) client_->Stop();
}

void Session::PrepareStart() {
  GameState& s = game_.state;
  game_.BeginNetworkPlay(NetRole::Server);
  dispatcher_->started = true;
  for (int p = 0; p < kSeats; ++p) game_.SetStatus(p, s.PlayerName[p].empty() ? "" : s.PlayerName[p] + kTakingTurn);
  relay_->GalaxySync(s);
}

void Session::StartGame() {
  PrepareStart();
  game_.presenter().Caption(game_.CaptionText());
  game_.GameCheck();
  game_.presenter().Console();
  game_.ShowGameLog();
}

void Session::SendChat(const std::string& text) {
  const std::string line = text.substr(0, kMaxChatLine);
  if (line.find_first_of("\r\n") != std::string::npos) return;
  if (role_ == Role::Server) {
    emit chat(Q(line));
    relay_->Broadcast(Frame("[MESSAGE]", 0, line));
  } else {
    link_->Send(0, Frame("[MESSAGE]", 0, line));
  }
}

void Session::Received(int socket, const QByteArray& bytes) {
  // A client listens to its server alone.
  if (socket < 0 || socket > kMaxClients || (role_ == Role::Client && socket != 0)) return;
  NetBuffer& buffer = buffers_[socket];
  buffer.Append(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  while (auto m = buffer.Next()) queue_.emplace_back(socket, std::move(*m));
  // A client sends a few messages a turn; thousands waiting for a busy
  // server are a flood, closed so memory stays bounded.
  const auto fromThisLink = [socket](const std::pair<int, Message>& q) { return q.first == socket; };
  if (role_ == Role::Server && std::count_if(queue_.begin(), queue_.end(), fromThisLink) > kMaxWaiting) {
    std::erase_if(queue_, fromThisLink);
    buffer.Clear();
    emit event(QStringLiteral("Link %1 sent more than %2 messages while the game was busy: closed")
                   .arg(socket)
                   .arg(kMaxWaiting));
    server_->Close(socket);
    return;
  }
  if (buffer.Overflowed()) {
    buffer.Clear();
    emit event(QStringLiteral("Link %1 sent 64 KiB without ending a message: closed").arg(socket));
    if (server_) server_->Close(socket);
    if (client_) client_->Stop();
  }
  // Acted on from the event loop, never inside the socket's readyRead: a
  // routine that waits (a turn end, a battle) lets events run, and bytes
  // that arrive meanwhile would raise no second readyRead while the first
  // is still being handled; they would sit unread until the peer's next
  // message, which waits for this machine.
  QMetaObject::invokeMethod(this, &Session::Drain, Qt::QueuedConnection);
}

void Session::Drain() {
  if (draining_) return;  // the message before this one is still being acted on
  draining_ = true;
  while (!queue_.empty()) {
    if (busy_ && busy_()) {
      // Taken up again once the routine under way is over.
      if (!retryArmed_) {
        retryArmed_ = true;
        QTimer::singleShot(10, this, [this] {
          retryArmed_ = false;
          Drain();
        });
      }
      break;
    }
    auto [socket, m] = std::move(queue_.front());
    queue_.pop_front();
    if (trace_)
      std::fprintf(stderr, "%s %d %s %02d %.40s | year %g busy %d\n", role_ == Role::Server ? "server" : "client", socket,
                   m.tag.c_str(), m.index, m.payload.c_str(), static_cast<double>(game_.state.GameYear),
                   static_cast<int>(game_.BusyFlag));
    if (role_ == Role::Client) {
      if (m.tag == kLost) {
        emit event("Connection with Server Lost!");
        emit serverLost();
      } else {
        dispatcher_->FromServer(m);
      }
      continue;
    }
    if (m.tag == kLeft) {
      if (dispatcher_->started && !game_.state.PlayerName[socket].empty()) game_.SeatLeft(socket);
      continue;
    }
    if (dispatcher_->started && m.tag == "[NAME]") {
      // Back after a drop: the seat of that name, if it waits for its player.
      // The link lands on the first free element, which may be another
      // waiting seat's: it moves to its own.
      const std::string name = CleanSeatName(m.payload);
      const int seat = WaitingSeat(name, socket);
      if (seat != socket && seat > 0 && server_->MoveLink(socket, seat)) {
        buffers_[seat] = std::move(buffers_[socket]);
        buffers_[socket].Clear();
        for (auto& queued : queue_)
          if (queued.first == socket) queued.first = seat;
        socket = seat;
      }
      if (seat > 0 && seat == socket) {
        game_.SeatRejoined(seat);
        relay_->SyncOne(game_.state, seat);
        emit event(Q(name) + " Rejoined");
      } else {
        emit event(QStringLiteral("A client named %1 was turned away: no seat of that name waits on link %2")
                       .arg(Q(name))
                       .arg(socket));
        server_->Close(socket);
      }
      continue;
    }
    bool resync = false;
    dispatcher_->FromClient(socket, m, &resync);
    if (resync) relay_->SyncOne(game_.state, socket);
  }
  draining_ = false;
}

int Session::WaitingSeat(const std::string& name, int socket) const {
  if (name.empty()) return 0;
  for (int seat = 1; seat <= kMaxClients; ++seat) {
    if (name != game_.state.PlayerName[seat] || !game_.state.PlayerLeft[seat]) continue;
    if (seat == socket || !server_->Connected(seat)) return seat;
  }
  return 0;
}

void Session::ClientJoined(int socket) {
  buffers_[socket].Clear();
  emit event(QStringLiteral("Client Connected on seat %1").arg(socket));
  if (!dispatcher_->started) SendSeatNames();
}

void Session::ClientLeft(int socket) {
  buffers_[socket].Clear();
  emit event(QStringLiteral("Client on seat %1 Disconnected").arg(socket));
  if (dispatcher_->started) {
    queue_.emplace_back(socket, Message{kLeft, socket, {}});
    Drain();
    return;
  }
  seats_[socket].clear();
  SendSeatNames();
  emit seatsChanged();
}

void Session::SendSeatNames() {
  for (int c = 1; c <= kMaxClients; ++c) {
    if (!link_->Connected(c)) continue;
    std::string names;
    // Every seat, the server's own too, so each setup window shows all four.
    for (int seat = 0; seat < kSeats; ++seat) names += Frame("[NAME]", seat, seats_[seat]);
    link_->Send(c, names);
  }
}

void Session::SeatName(int seat, const std::string& name) {
  seats_[seat] = CleanSeatName(name);
  if (role_ == Role::Server) {
    emit event(QStringLiteral("Seat %1: %2").arg(seat).arg(Q(seats_[seat])));
    SendSeatNames();
  }
  emit seatsChanged();
}

void Session::Chat(const std::string& text) { emit chat(Q(text)); }
void Session::GameShown() {
  emit event("Game started");
  emit gameShown();
}
void Session::OptionsChanged() { emit optionsChanged(); }
void Session::Unplayable(const std::string& why) { emit unplayable(Q(why)); }

}  // namespace valkoran::net
