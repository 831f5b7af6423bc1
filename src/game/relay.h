// Every message a host or client sends to its peers leaves through this
// interface, at the point the rules send it. A local game uses NullRelay.
#pragma once

namespace valkoran {

struct GameState;

class Relay {
 public:
  virtual ~Relay() = default;
  // A client's new fleet record for the server ("[SEND] ").
  virtual void SendFleet(const GameState& /*state*/, int /*slot*/) {}
};

class NullRelay final : public Relay {};

}  // namespace valkoran
