// What fuzz_receive reads and its seeds write: who is listening, then the
// bytes as the network hands them over, read by read. Also the running game
// both start from, so that a seed's fleet records and turn-end traffic are
// those of the very game the target plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "game/arrivaltime.h"
#include "game/game.h"
#include "game/newgame.h"
#include "game/slots.h"

namespace valkoran::fuzz::receive {

// The first byte.
//   bit 0   a client listens to its server; otherwise the server to its clients
//   bit 1   server: its own player (Ann) has ended her turn before anything
//             arrives, so the clients' statuses can end the turn
//           client: the whole state has arrived and the game is open
//   bits 2-3  the client's seat: 1 + value % 3
inline constexpr uint8_t kClient = 1, kReady = 2;
inline uint8_t Mode(bool client, bool ready, int seat = 1) {
  return static_cast<uint8_t>((client ? kClient : 0) | (ready ? kReady : 0) | ((seat - 1) % 3) << 2);
}
inline int ClientSeat(uint8_t mode) { return 1 + ((mode >> 2) & 3) % 3; }

// Then records, one after another. A header byte h: link h & 3, size h >> 2.
//   link 0..2   bytes from that link: on a server the client of seat 1..3,
//               on a client its server whatever the link
//     size < 63   that many bytes follow (fewer at the input's end)
//     size 63     a count n (two bytes, low first) and a repeat r: n bytes
//                 follow, handed over r + 1 times as one read (a flood)
//   link 3      no bytes: an event, its code the size. A server: code % 3
//               is 0 its own player ends her turn, 1 the link of seat
//               1 + code / 3 % 3 drops, 2 that link comes back (the client
//               then says "[NAME] " to rejoin). A client: its own player
//               ends its turn.
inline constexpr int kEventLink = 3;
inline constexpr size_t kLongForm = 63;

struct Record {
  int link = 0;
  int code = 0;  // an event's
  std::string_view bytes;
  int repeats = 1;
};

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
  std::optional<Record> Next() {
    if (p_ == end_) return std::nullopt;
    const uint8_t h = *p_++;
    Record r;
    r.link = h & 3;
    size_t size = h >> 2;
    if (r.link == kEventLink) {
      r.code = static_cast<int>(size);
      return r;
    }
    if (size == kLongForm) {
      const size_t low = Byte();
      size = low | Byte() << 8;
      r.repeats = static_cast<int>(Byte()) + 1;
    }
    size = std::min(size, static_cast<size_t>(end_ - p_));
    r.bytes = std::string_view(reinterpret_cast<const char*>(p_), size);
    p_ += size;
    return r;
  }

 private:
  size_t Byte() { return p_ == end_ ? 0 : *p_++; }
  const uint8_t* p_;
  const uint8_t* end_;
};

class Writer {
 public:
  explicit Writer(uint8_t mode) : out_(1, static_cast<char>(mode)) {}
  // The bytes in reads of at most `cut` bytes, the way TCP might deliver them.
  Writer& Send(int link, std::string_view bytes, size_t cut = kLongForm - 1) {
    cut = std::max<size_t>(1, std::min(cut, kLongForm - 1));
    for (size_t at = 0; at < bytes.size(); at += cut) {
      const std::string_view piece = bytes.substr(at, cut);
      out_ += static_cast<char>(link | piece.size() << 2);
      out_ += piece;
    }
    return *this;
  }
  // One read of `piece` over and over (piece below 64 KiB, times 1..256).
  Writer& Flood(int link, std::string_view piece, int times) {
    out_ += static_cast<char>(link | kLongForm << 2);
    out_ += static_cast<char>(piece.size() & 0xFF);
    out_ += static_cast<char>(piece.size() >> 8 & 0xFF);
    out_ += static_cast<char>(times - 1);
    out_ += piece;
    return *this;
  }
  Writer& Event(int code) {
    out_ += static_cast<char>(kEventLink | code << 2);
    return *this;
  }
  const std::string& bytes() const { return out_; }

 private:
  std::string out_;
};

// Server events.
inline constexpr int kHostEndsTurn = 0, kLinkDrops = 1, kLinkBack = 2;
inline int EventCode(int kind, int seat = 1) { return kind + 3 * (seat - 1); }

// A free slot's number, for the fleet an order is about to put there.
inline int NextFleetSlot(const GameState& s) { return FirstFreeFleetSlot(s); }

// Four seats on sixteen worlds, a few turns in, with Ann serving Bob, Cid
// and Dee: fleets of every kind under way, a pulse bomb armed, and the
// battle of Bob's fleet at Cid's home due at the next turn end. Everyone is
// taking their turn; nothing is being processed.
inline Game ServerGame() {
  Game game(11);
  NewGame(game, {.names = {"Ann", "Bob", "Cid", "Dee"}, .worlds = 16});
  for (int t = 0; t < 4; ++t) game.EndTurn();
  game.GameCheck();
  game.BeginNetworkPlay(NetRole::Server);
  auto taking = [&] {
    for (int p = 0; p < kSeats; ++p) game.SetStatus(p, game.state.PlayerName[p] + kTakingTurn);
  };
  taking();
  auto order = [&](const Order& o) { (void)game.Apply(o); };
  order(Order::Ships(1, 9, 10, 75));            // Bob at Cid's home
  order(Order::Ships(0, 8, 4, 50));
  order(Order::Ships(2, 10, 12, 25));
  order(Order::Scout(3, 11, 8));                // Dee's scout over Ann's home
  order(Order::Proximity(2, 10, 13, 5));        // Cid's bomb, off at five ships
  order(Order::Bomb(0, 8, 14));
  // On until the turn end that fights Bob's battle is the next one, with
  // fresh fleets sent each turn so that some are still under way after it.
  for (int t = 0; t < 12; ++t) {
    bool battleNext = false;
    for (int f = 0; f < kFleets; ++f)
      if (FleetInFlight(game.state, f) && game.state.FleetOwner[f] == 2 && game.state.FleetTo[f] == 11 &&
          TurnsToArrival(game.state.FleetRemaining[f]) == 1)
        battleNext = true;
    if (battleNext) break;
    game.EndTurn();
    taking();
    order(Order::Ships(3, 11, 15, 25));
    order(Order::Ships(0, 8, 5, 10));
  }
  order(Order::Pulse(3, 11));
  order(Order::Shield(2, 10));
  return game;
}

}  // namespace valkoran::fuzz::receive
