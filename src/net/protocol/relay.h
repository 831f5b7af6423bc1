// The engine's relay on the network: each call becomes its message, sent to
// the server (a client) or to every connected client (the server).
#pragma once

#include "game/relay.h"
#include "net/protocol/transport.h"

namespace valkoran::net {

class ProtocolRelay final : public Relay {
 public:
  ProtocolRelay(Transport& transport, bool server) : t_(transport), server_(server) {}

  // Every connected client, or the server.
  void Broadcast(const std::string& bytes);

  bool Connected(int socket) const override { return t_.Connected(socket); }
  void SendFleet(const GameState& s, int slot) override;
  void GalaxySync(const GameState& s) override;
  void SendStatus(int socket, int seat, const std::string& text) override;
  void SendEndTurn() override;
  void SendTravelShow() override;
  void SendTravelHide() override;
  void SendGalaxyRotate() override;
  void SendPulseBomb(int world) override;
  void SendProduction(const GameState& s, int world) override;
  void SendProximity(int fleet, int bomb) override;
  void SendProximitySet(int fleet) override;
  void SendReinforcements(int fleet) override;
  void SendScout(int fleet, int ownerSeat) override;
  void SendBattleAccu(int attacker, int defender) override;
  void SendBattleSetup(int fleet) override;
  void SendShotFrom() override;
  void SendShotTo() override;
  void SendFromHit(int fleet) override;
  void SendToHit(int fleet) override;
  void SendFrameUpdate(int side, int shotsLeft) override;
  void SendBattleDone(int side, int fleet) override;
  void SendShield(const GameState& s, int world) override;
  void SendPulseArmed(const GameState& s, int world) override;

  // The whole state to one client (a rejoin, or a refused order undone).
  void SyncOne(const GameState& s, int socket);

 private:
  Transport& t_;
  bool server_;
};

}  // namespace valkoran::net
