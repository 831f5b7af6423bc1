// What a received message does. A client takes what its server sends and
// runs the same routines on it; the server takes from a client only what
// concerns that client's own seat, checked by the engine's own rules, and
// a message it refuses changes nothing anywhere.
#pragma once

#include <string>

#include "game/game.h"
#include "net/protocol/message.h"
#include "net/protocol/relay.h"

namespace valkoran::net {

// What a message asks of the program around the engine.
class SessionEvents {
 public:
  virtual ~SessionEvents() = default;
  virtual void SeatName(int /*seat*/, const std::string& /*name*/) {}  // "[NAME] "
  virtual void Chat(const std::string& /*text*/) {}                    // "[MESSAGE] "
  virtual void GameShown() {}       // "[SHOW] ": the game window replaces the setup window
  virtual void OptionsChanged() {}  // "[SHIELD] ", "[TRUCE] ": the menus follow the state
  // The server sent a state that cannot be played: the client says why and leaves.
  virtual void Unplayable(const std::string& /*why*/) {}
};

// The longest chat line the server passes on.
inline constexpr size_t kMaxChatLine = 255;

class Dispatcher {
 public:
  Dispatcher(Game& game, ProtocolRelay& relay, SessionEvents& events) : game_(game), relay_(relay), events_(events) {}

  // A client: one message from its server.
  void FromServer(const Message& m);

  // The server: one message from the client of `seat` (1..3). False when it
  // was refused or ignored. `resync` is set when that client must be sent
  // the whole state again (an order it already showed was refused).
  bool FromClient(int seat, const Message& m, bool* resync = nullptr);

  // The server: names are taken until the game starts. A client: the whole
  // state has arrived and the game is open.
  bool started = false;

 private:
  void Receive(const Message& m);
  bool ClientOrder(int seat, const Message& m, bool* resync);
  void ChangeChecked(const Field& f, int slot, const std::string& value);

  bool syncing_ = false;  // a whole state is arriving on an open game
  GameState before_;      // the game as it was when it began
  Game& game_;
  ProtocolRelay& relay_;
  SessionEvents& events_;
};

}  // namespace valkoran::net
