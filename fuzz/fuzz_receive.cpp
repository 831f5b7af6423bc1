// Bytes off the network into a running game: a server taking its clients'
// streams, or a client its server's. However the streams are cut and
// whatever they hold, neither side crashes or hangs, the server's game stays
// playable, a client's stays playable once it is open, everything either
// side sends reads back as the messages it meant, and a receive buffer never
// grows past its limit before its link is closed. The links are handled as
// the session handles them: a buffer per link, a link closed when it
// overflows, a dropped seat left and rejoined by name, a refused order
// answered with the whole state.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/playable.h"
#include "net/protocol/dispatch.h"
#include "net/protocol/encode.h"
#include "net/protocol/message.h"
#include "net/protocol/relay.h"
#include "receive.h"
#include "target.h"

namespace {

using namespace valkoran;
using namespace valkoran::net;
namespace rx = valkoran::fuzz::receive;

// A turn end is the longest thing a message can start, a conquest's twenty
// rotations aside: a few of them per input keep every input well under a
// second. The byte cap keeps floods to a few times the buffer's limit.
constexpr int kMaxTurnEnds = 3;
constexpr int kMaxRotations = 6;
constexpr int kMaxMessages = 2000;
constexpr size_t kMaxBytes = 4 * NetBuffer::kLimit;

// VALKORAN_FUZZ_TRACE=1 prints what each message did, to read a finding by.
bool Tracing() {
  static const bool on = std::getenv("VALKORAN_FUZZ_TRACE") != nullptr;
  return on;
}

std::string Shown(const Message& m) {
  std::string payload = m.payload.substr(0, 80);
  if (m.payload.size() > 80) payload += "...(" + std::to_string(m.payload.size()) + " bytes)";
  return "\"" + m.tag + "\" " + std::to_string(m.index) + " \"" + payload + "\"";
}

// Counts the turn ends and rotations the messages start.
struct Counter final : Presenter {
  void TurnEndOver() override { ++turnEnds; }
  // The first thing every rotation does.
  void PendingProximityDropped() override { ++rotations; }
  bool Spent() const { return turnEnds >= kMaxTurnEnds || rotations >= kMaxRotations; }
  int turnEnds = 0, rotations = 0;
};

// The links. Whatever goes out must be whole messages that a peer's buffer
// splits back into exactly what was framed.
struct Wire final : Transport {
  bool Connected(int socket) const override { return socket >= 0 && socket <= kMaxClients && up[socket]; }
  void Send(int socket, const std::string& bytes) override {
    if (!Connected(socket)) return;
    // The whole state is the same text each time: checked once an input.
    if (bytes.size() > 4096) {
      if (syncChecked) return;
      syncChecked = true;
    }
    if (bytes.empty() || bytes.back() != '*') fuzz::Found("sent bytes that do not end a message: " + bytes.substr(0, 200));
    NetBuffer b;
    b.Append(bytes);
    std::string again;
    while (auto m = b.Next()) again += Frame(m->tag, m->index, m->payload);
    if (again != bytes || b.Waiting() != 0)
      fuzz::Found("sent bytes that do not read back as the messages framed: " + bytes.substr(0, 200));
  }
  std::array<bool, kMaxClients + 1> up{};
  bool syncChecked = false;
};

struct ClientEvents final : SessionEvents {
  void Unplayable(const std::string&) override { left = true; }
  bool left = false;  // the client said why and left
};

struct Bases {
  Game server;
  Game fresh;                             // a client before anything arrives
  std::array<Game, kSeats> open;          // a client of seat 1..3 once the whole state is in
};

const Bases& TheBases() {
  static const Bases bases = [] {
    Bases b{rx::ServerGame(), Game(77), {}};
    if (auto why = PlayableProblem(b.server.state)) fuzz::Found("the server's game is not playable: " + *why);
    b.fresh.BeginNetworkPlay(NetRole::Client);
    b.fresh.serverConnected = true;
    for (int seat = 1; seat <= kMaxClients; ++seat) {
      Game& g = b.open[seat] = b.fresh;
      Wire wire;
      wire.up[0] = true;
      ProtocolRelay relay(wire, false);
      ClientEvents events;
      Dispatcher d(g, relay, events);
      g.SetRelay(&relay);
      NetBuffer buffer;
      buffer.Append(GalaxySyncText(b.server.state, seat));
      while (auto m = buffer.Next()) d.FromServer(*m);
      g.SetRelay(nullptr);
      if (!d.started || events.left) fuzz::Found("seat " + std::to_string(seat) + "'s client did not open the game");
    }
    return b;
  }();
  return bases;
}

// What one input may still do.
struct Budget {
  int messages = 0;
  size_t bytes = 0;
  bool Spent(const Counter& c) const { return messages >= kMaxMessages || bytes > kMaxBytes || c.Spent(); }
};

// A read into a link's buffer, a flood cut to what the input may still
// send; whatever stays behind waits for its "*". Returns the bytes read.
size_t Read(NetBuffer& buffer, const rx::Record& r, Budget& budget) {
  const size_t room = kMaxBytes - std::min(budget.bytes, kMaxBytes);
  size_t read = 0;
  for (int k = 0; k < r.repeats && (k == 0 || read + r.bytes.size() <= room); ++k) {
    buffer.Append(r.bytes);
    read += r.bytes.size();
  }
  budget.bytes += read;
  return read;
}

void CheckLeftOver(const NetBuffer& buffer, size_t read) {
  // Every message is out: what is left has no "*", so it is at most what
  // waited before (no more than the limit) and this read.
  if (buffer.Waiting() > NetBuffer::kLimit + read)
    fuzz::Found("a receive buffer holds " + std::to_string(buffer.Waiting()) + " bytes after a read of " +
                std::to_string(read));
}

// The server's game, fed its clients' streams. The state is checked at the
// end of the input, and after every message when tracing.
class Server {
 public:
  explicit Server(bool hostDone) : game_(TheBases().server), relay_(wire_, true), d_(game_, relay_, events_) {
    wire_.up = {false, true, true, true};
    game_.SetRelay(&relay_);
    game_.SetPresenter(&counter_);
    d_.started = true;
    if (hostDone) HostEndsTurn();
  }

  void Run(rx::Reader& in) {
    Feed(in);
    Check("the input's end (last: " + last_ + ")");
  }

 private:
  void Check(const std::string& after) {
    if (game_.GameIsOver) return;
    if (auto why = PlayableProblem(game_.state))
      fuzz::Found("the server's game became unplayable (" + *why + ") after " + after);
  }
  void HostEndsTurn() {
    game_.MouseDown(true);
    game_.Form_DblClick();
  }
  // The session's own steps when a link goes.
  void LinkLost(int seat) {
    buffers_[seat].Clear();
    wire_.up[seat] = false;
    if (!game_.state.PlayerName[seat].empty()) game_.SeatLeft(seat);
  }

  void Feed(rx::Reader& in) {
    GameState& s = game_.state;
    while (!game_.GameIsOver && !budget_.Spent(counter_)) {
      auto r = in.Next();
      if (!r) return;
      if (r->link == rx::kEventLink) {
        const int seat = 1 + r->code / 3 % 3;
        switch (r->code % 3) {
          case rx::kHostEndsTurn: HostEndsTurn(); break;
          case rx::kLinkDrops:
            if (wire_.up[seat]) LinkLost(seat);
            break;
          case rx::kLinkBack:
            if (!wire_.up[seat]) buffers_[seat].Clear(), wire_.up[seat] = true;
            break;
        }
        last_ = "event " + std::to_string(r->code);
        continue;
      }
      const int seat = r->link + 1;
      if (!wire_.up[seat]) continue;  // nobody is listening on a closed link
      NetBuffer& buffer = buffers_[seat];
      const size_t read = Read(buffer, *r, budget_);
      bool close = false;
      while (auto m = buffer.Next()) {
        if (++budget_.messages > kMaxMessages || counter_.Spent() || game_.GameIsOver) return;
        bool taken = false, resync = false;
        if (m->tag == "[NAME]") {
          // A dropped seat comes back by its name; anyone else is shown out.
          taken = !s.PlayerName[seat].empty() && m->payload == s.PlayerName[seat] && s.PlayerLeft[seat];
          if (taken) {
            game_.SeatRejoined(seat);
            relay_.SyncOne(s, seat);
          }
          close = close || !taken;
        } else {
          taken = d_.FromClient(seat, *m, &resync);
          if (resync) relay_.SyncOne(s, seat);
        }
        if (Tracing()) {
          std::fprintf(stderr, "seat %d %s: %s%s, turn ends %d\n", seat, Shown(*m).c_str(),
                       taken ? "taken" : "refused", resync ? " (whole state sent again)" : "", counter_.turnEnds);
          Check("seat " + std::to_string(seat) + "'s " + Shown(*m));
        }
        last_ = "seat " + std::to_string(seat) + "'s " + m->tag;
      }
      CheckLeftOver(buffer, read);
      if (buffer.Overflowed() || close) {
        LinkLost(seat);
        last_ = "seat " + std::to_string(seat) + "'s link closed";
      }
    }
  }

  Game game_;
  Wire wire_;
  ProtocolRelay relay_;
  Counter counter_;
  SessionEvents events_;
  Dispatcher d_;
  std::array<NetBuffer, kMaxClients + 1> buffers_;
  Budget budget_;
  std::string last_ = "nothing";
};

// A client's game, fed its server's stream; once the game is open, checked
// as the server's is.
class Client {
 public:
  Client(int seat, bool open)
      : seat_(seat),
        game_(open ? TheBases().open[seat] : TheBases().fresh),
        relay_(wire_, false),
        d_(game_, relay_, events_) {
    wire_.up[0] = true;
    game_.SetRelay(&relay_);
    game_.SetPresenter(&counter_);
    d_.started = open;
  }

  void Run(rx::Reader& in) {
    Feed(in);
    Check("the input's end (last: " + last_ + ")");
  }

 private:
  void Check(const std::string& after) {
    if (!d_.started || game_.GameIsOver) return;
    if (auto why = PlayableProblem(game_.state))
      fuzz::Found("seat " + std::to_string(seat_) + "'s open game became unplayable (" + *why + ") after " + after);
  }

  void Feed(rx::Reader& in) {
    while (!events_.left && !game_.GameIsOver && !budget_.Spent(counter_)) {
      auto r = in.Next();
      if (!r) return;
      if (r->link == rx::kEventLink) {
        game_.ImgDone_Click();
        last_ = "its player's turn end";
        continue;
      }
      const size_t read = Read(buffer_, *r, budget_);
      while (auto m = buffer_.Next()) {
        if (++budget_.messages > kMaxMessages || counter_.Spent() || events_.left || game_.GameIsOver) return;
        d_.FromServer(*m);
        if (Tracing()) {
          std::fprintf(stderr, "server %s: %s, turn ends %d\n", Shown(*m).c_str(), d_.started ? "open" : "not open",
                       counter_.turnEnds);
          Check(Shown(*m));
        }
        last_ = m->tag;
      }
      CheckLeftOver(buffer_, read);
      if (buffer_.Overflowed()) return;  // the client closes its link
    }
  }

  int seat_;
  Game game_;
  Wire wire_;
  ProtocolRelay relay_;
  Counter counter_;
  ClientEvents events_;
  Dispatcher d_;
  NetBuffer buffer_;
  Budget budget_;
  std::string last_ = "nothing";
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  rx::Reader in(data + 1, size - 1);
  if (mode & rx::kClient) {
    Client(rx::ClientSeat(mode), (mode & rx::kReady) != 0).Run(in);
  } else {
    Server((mode & rx::kReady) != 0).Run(in);
  }
  return 0;
}
