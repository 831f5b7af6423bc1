// Every message a host or client sends to its peers leaves through this
// interface, one call per kind, at the point the rules send it. A local game
// uses NullRelay; the network layer frames and sends.
#pragma once

#include <string>

namespace valkoran {

struct GameState;

class Relay {
 public:
  virtual ~Relay() = default;
  // Whether the server's socket to seat `socket` (1..3) is connected.
  virtual bool Connected(int /*socket*/) const { return false; }
  // A fleet record ("[SEND] "): a client's new fleet for the server, or the
  // host's copy of a slot for every client.
  virtual void SendFleet(const GameState& /*state*/, int /*slot*/) {}
  virtual void GalaxySync(const GameState& /*state*/) {}  // the whole state to every client
  // "[STATUS] ": a seat's turn is done, on one socket (0: a client's
  // socket to the server; 1..3: the server's socket to that client).
  virtual void SendStatus(int /*socket*/, int /*seat*/, const std::string& /*text*/) {}
  virtual void SendEndTurn() {}     // "[ENDTURN] "
  virtual void SendTravelShow() {}  // "[TRAVELSHOW] "
  virtual void SendTravelHide() {}  // "[TRAVELHIDE] "
  virtual void SendGalaxyRotate() {}
  virtual void SendPulseBomb(int /*world*/) {}
  virtual void SendProduction(const GameState& /*state*/, int /*world*/) {}  // [PM] [PS] [PH] [PB] [PT]
  virtual void SendProximity(int /*fleet*/, int /*bomb*/) {}
  virtual void SendProximitySet(int /*fleet*/) {}
  virtual void SendReinforcements(int /*fleet*/) {}
  virtual void SendScout(int /*fleet*/, int /*ownerSeat*/) {}
  virtual void SendBattleAccu(int /*attacker*/, int /*defender*/) {}
  virtual void SendBattleSetup(int /*fleet*/) {}
  virtual void SendShotFrom() {}
  virtual void SendShotTo() {}
  virtual void SendFromHit(int /*fleet*/) {}
  virtual void SendToHit(int /*fleet*/) {}
  virtual void SendFrameUpdate(int /*side*/, int /*shotsLeft*/) {}
  virtual void SendBattleDone(int /*side*/, int /*fleet*/) {}
  // A client arming a pulse bomb tells the host ("[PT] " then "[PB] ").
  // A client's shield switch: "[PM] " + world + the new state, to the server.
  virtual void SendShield(const GameState& /*state*/, int /*world*/) {}
  virtual void SendPulseArmed(const GameState& /*state*/, int /*world*/) {}
};

class NullRelay final : public Relay {};

}  // namespace valkoran
