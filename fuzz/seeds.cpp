// Writes the seed corpora: real games of several sizes and ages for the
// targets that read files, a few byte strings for the structure-aware one,
// and real network traffic, both ways, for the receive path.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "edge/edgecase.h"
#include "game/autoplay.h"
#include "game/newgame.h"
#include "net/protocol/dispatch.h"
#include "net/protocol/encode.h"
#include "net/protocol/message.h"
#include "net/protocol/relay.h"
#include "receive.h"
#include "store/savefile.h"

namespace {

using namespace valkoran;
namespace fs = std::filesystem;

void Write(const fs::path& dir, const std::string& name, const std::string& bytes) {
  fs::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

namespace rx = fuzz::receive;

// A network where every link is up and keeps what it was sent.
struct Recorder final : net::Transport {
  bool Connected(int socket) const override { return socket >= 0 && socket <= net::kMaxClients; }
  void Send(int socket, const std::string& bytes) override { sent[socket] += bytes; }
  std::array<std::string, net::kMaxClients + 1> sent;
};

// An order as the client's machine sends it: the record of the fleet it
// now shows in the slot the order filled. The seeds still get written when
// the served game has moved on under them, only weaker: say so.
std::string OrderMessage(const Game& served, const Order& o) {
  Game g = served;
  const int slot = rx::NextFleetSlot(g.state);
  if (auto refused = g.Apply(o)) {
    std::fprintf(stderr, "fuzz_receive seeds: seat %d's order is refused: %s\n", o.seat, refused->text.c_str());
    return {};
  }
  return net::Frame("[SEND]", 0, net::FleetRecord(g.state, slot));
}

std::string Status(const Game& served, int seat) {
  return net::Frame("[STATUS]", seat, served.state.PlayerName[seat] + kDoneTurn);
}

// What the server sends its clients while Ann and then Bob, Cid and Dee end
// their turns, and the turn end that follows: fleets moving, Bob's battle at
// Cid's home, Dee's pulse bomb.
std::array<std::string, net::kMaxClients + 1> TurnEndTraffic(const Game& served) {
  Game g = served;
  Recorder wire;
  net::ProtocolRelay relay(wire, true);
  net::SessionEvents events;
  net::Dispatcher d(g, relay, events);
  d.started = true;
  g.SetRelay(&relay);
  g.MouseDown(true);
  g.Form_DblClick();
  for (int seat = 1; seat <= net::kMaxClients; ++seat)
    d.FromClient(seat, {"[STATUS]", seat, served.state.PlayerName[seat] + kDoneTurn});
  for (int seat = 1; seat <= net::kMaxClients; ++seat)
    for (const char* tag : {"[ENDTURN]", "[BATTLESETUP]", "[FROMHIT]", "[BATTLEDONE]", "[PULSEBOMB]", "[TRAVELHIDE]"})
      if (wire.sent[seat].find(tag) == std::string::npos)
        std::fprintf(stderr, "fuzz_receive seeds: no %s in seat %d's turn end\n", tag, seat);
  return wire.sent;
}

void WriteReceiveSeeds(const fs::path& dir) {
  const Game served = rx::ServerGame();
  const GameState& s = served.state;
  const auto traffic = TurnEndTraffic(served);
  std::vector<std::pair<std::string, std::string>> seeds;
  auto add = [&](const std::string& name, const rx::Writer& w) { seeds.push_back({name, w.bytes()}); };

  // The server, from its clients: each one's orders, a chat line and the end
  // of its turn, cut into small reads and interleaved.
  const std::string bob = OrderMessage(served, Order::Ships(1, 9, 12, 50)) + net::Frame("[PM]", 9, " 1") +
                          net::Frame("[PT]", 9, " 10") + net::Frame("[MESSAGE]", 0, "Bob: hello") + Status(served, 1);
  const std::string cid = OrderMessage(served, Order::Scout(2, 10, 13)) +
                          OrderMessage(served, Order::Proximity(2, 10, 9, 20)) + Status(served, 2);
  const std::string dee = OrderMessage(served, Order::Bomb(3, 11, 7)) +
                          OrderMessage(served, Order::Ships(3, 11, 8, 100)) + Status(served, 3);
  add("server-orders", rx::Writer(rx::Mode(false, false)).Send(0, bob, 5).Send(1, cid, 9).Send(2, dee, 62));
  {
    rx::Writer w(rx::Mode(false, false));
    auto piece = [](const std::string& text, size_t at) { return at < text.size() ? text.substr(at, 7) : ""; };
    for (size_t at = 0; at < 200; at += 7) w.Send(0, piece(bob, at)).Send(1, piece(cid, at)).Send(2, piece(dee, at));
    add("server-orders-interleaved", w);
  }
  // The turn end: Ann is done and waits, the three clients end theirs.
  add("server-turn-end", rx::Writer(rx::Mode(false, true)).Send(0, Status(served, 1), 3).Send(2, Status(served, 3))
                             .Send(1, Status(served, 2), 1));
  // Cid's link drops and comes back; he rejoins by name and ends his turn.
  add("server-rejoin", rx::Writer(rx::Mode(false, false))
                           .Event(rx::EventCode(rx::kLinkDrops, 2))
                           .Event(rx::EventCode(rx::kLinkBack, 2))
                           .Send(1, net::Frame("[NAME]", 0, "Cid") + Status(served, 2))
                           .Event(rx::EventCode(rx::kHostEndsTurn))
                           .Send(0, Status(served, 1))
                           .Send(2, Status(served, 3)));
  // Bob floods his link past the limit and is shown out; the others go on.
  add("server-flood", rx::Writer(rx::Mode(false, true))
                          .Flood(0, std::string(300, 'x'), 256)
                          .Send(0, Status(served, 1))
                          .Send(1, Status(served, 2))
                          .Send(2, Status(served, 3)));
  add("server-chat", rx::Writer(rx::Mode(false, false)).Flood(2, net::Frame("[MESSAGE]", 0, "Dee: gg"), 40));

  // A client, from its server: the whole state, then the turn end.
  for (int seat = 1; seat <= net::kMaxClients; ++seat) {
    const std::string n = std::to_string(seat);
    const std::string sync = net::GalaxySyncText(s, seat);
    add("client-join-" + n, rx::Writer(rx::Mode(true, false, seat)).Send(0, sync).Send(0, traffic[seat], 41));
    add("client-turn-end-" + n, rx::Writer(rx::Mode(true, true, seat)).Send(0, traffic[seat], 13 + seat));
    // Its own turn ended first, then the state again (an order refused).
    add("client-resync-" + n, rx::Writer(rx::Mode(true, true, seat)).Event(0).Send(0, sync, 62));
  }
  for (const auto& [name, bytes] : seeds) Write(dir, "seed-" + name, bytes);
  std::printf("%zu receive seeds in %s\n", seeds.size(), dir.c_str());
}

struct NewSetup {
  const char* name;
  GameSetup setup;
  uint64_t seed;
  long long turns;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  std::vector<std::pair<std::string, std::string>> games;
  const NewSetup setups[] = {
      {"solo9", {.names = {"Ann", "", "", ""}, .worlds = 9}, 1, 0},
      {"duel10", {.names = {"Ann", "ENEMY1", "", ""}, .worlds = 10, .truceChecked = true, .truceText = "10"}, 2, 0},
      {"three16", {.names = {"ENEMY0", "Bob", "ENEMY2", ""}, .worlds = 16, .shields = true}, 3, 0},
      {"four30", {.names = {"Ann", "ENEMY1", "ENEMY2", "ENEMY3"}, .worlds = 30}, 4, 0},
      {"four30-turn8", {.names = {"ENEMY0", "ENEMY1", "ENEMY2", "ENEMY3"}, .worlds = 30}, 5, 8},
      {"four20-turn40", {.names = {"ENEMY0", "ENEMY1", "Cid", "ENEMY3"}, .worlds = 20, .shields = true}, 6, 40},
      {"duel12-turn25", {.names = {"ENEMY0", "ENEMY1", "", ""}, .worlds = 12, .truceChecked = true, .truceText = "12"}, 7, 25},
  };
  for (const NewSetup& n : setups) {
    Game game(n.seed);
    NewGame(game, n.setup);
    if (n.turns > 0) PlayLoadedGame(game, n.turns);
    if (game.GameIsOver) continue;
    games.push_back({n.name, WriteGameText(game.state)});
  }
  for (int v = 0; v < edge::kBaseVariants; ++v)
    games.push_back({"base" + std::to_string(v), WriteGameText(edge::MakeBaseGame(v).state)});
  for (const char* target : {"fuzz_load", "fuzz_play"})
    for (const auto& [name, text] : games) Write(root / target, "seed-" + name + ".gam", text);

  std::mt19937 rng(2024);
  for (int i = 0; i < 24; ++i) {
    std::string bytes(16 + i, '\0');
    for (char& c : bytes) c = static_cast<char>(rng());
    Write(root / "fuzz_edge", "seed-" + std::to_string(i), bytes);
  }
  std::printf("%zu games and 24 edit seeds in %s\n", games.size(), root.c_str());
  WriteReceiveSeeds(root / "fuzz_receive");
  return 0;
}
