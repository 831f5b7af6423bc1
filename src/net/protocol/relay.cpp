#include "net/protocol/relay.h"

#include "game/numbers.h"
#include "game/state.h"
#include "net/protocol/encode.h"
#include "net/protocol/message.h"

namespace valkoran::net {

void ProtocolRelay::Broadcast(const std::string& bytes) {
  if (!server_) {
    t_.Send(0, bytes);
    return;
  }
  for (int socket = 1; socket <= kMaxClients; ++socket)
    if (t_.Connected(socket)) t_.Send(socket, bytes);
}

void ProtocolRelay::SendFleet(const GameState& s, int slot) {
  // A client's new fleet names no slot: the server picks the first free one.
  Broadcast(Frame("[SEND]", server_ ? slot : 0, FleetRecord(s, slot)));
}

void ProtocolRelay::GalaxySync(const GameState& s) {
  for (int socket = 1; socket <= kMaxClients; ++socket) SyncOne(s, socket);
}

void ProtocolRelay::SyncOne(const GameState& s, int socket) {
  if (t_.Connected(socket)) t_.Send(socket, GalaxySyncText(s, socket));
}

void ProtocolRelay::SendStatus(int socket, int seat, const std::string& text) {
  t_.Send(socket, Frame("[STATUS]", seat, text));
}

void ProtocolRelay::SendEndTurn() { Broadcast(Frame("[ENDTURN]", 0, "Endturn")); }
void ProtocolRelay::SendTravelShow() { Broadcast(Frame("[TRAVELSHOW]", 0, "TravelShow")); }
void ProtocolRelay::SendTravelHide() { Broadcast(Frame("[TRAVELHIDE]", 0, "TravelHide")); }
void ProtocolRelay::SendGalaxyRotate() { Broadcast(Frame("[GALAXYROTATE]", 0, "GALAXYROTATE")); }
void ProtocolRelay::SendPulseBomb(int world) { Broadcast(Frame("[PULSEBOMB]", world, "PulseBomb")); }

void ProtocolRelay::SendProduction(const GameState& s, int w) {
  Broadcast(Frame("[PM]", w, Str(static_cast<double>(s.WorldShieldOn[w]))) +
            Frame("[PS]", w, Str(s.WorldShips[w])) + Frame("[PH]", w, Str(static_cast<double>(s.WorldShield[w]))) +
            Frame("[PB]", w, Str(static_cast<double>(s.WorldBombs[w]))) +
            Frame("[PT]", w, Str(static_cast<double>(s.WorldTreasure[w]))));
}

void ProtocolRelay::SendProximity(int fleet, int bomb) {
  Broadcast(Frame("[PROXIMITY]", fleet, Format(static_cast<double>(bomb), "00")));
}
void ProtocolRelay::SendProximitySet(int fleet) { Broadcast(Frame("[PROXIMITYSET]", fleet, "ProximitySet")); }
void ProtocolRelay::SendReinforcements(int fleet) { Broadcast(Frame("[REINFORCEMENTS]", fleet, "Reinforcements")); }

void ProtocolRelay::SendScout(int fleet, int /*ownerSeat*/) {
  // Every machine frees the scout's slot; only its owner's writes the report.
  Broadcast(Frame("[SCOUT]", fleet, "Scout"));
}

void ProtocolRelay::SendBattleAccu(int attacker, int defender) {
  Broadcast(Frame("[BATTLEACCU]", 0,
                  Format(static_cast<double>(attacker), "00") + Format(static_cast<double>(defender), "00")));
}
void ProtocolRelay::SendBattleSetup(int fleet) { Broadcast(Frame("[BATTLESETUP]", fleet, "BattleSetup")); }
void ProtocolRelay::SendShotFrom() { Broadcast(Frame("[SHOTFROM]", 0, "ShotFrom")); }
void ProtocolRelay::SendShotTo() { Broadcast(Frame("[SHOTTO]", 0, "ShotTo")); }
void ProtocolRelay::SendFromHit(int fleet) { Broadcast(Frame("[FROMHIT]", fleet, "FromHit")); }
void ProtocolRelay::SendToHit(int fleet) { Broadcast(Frame("[TOHIT]", fleet, "ToHit")); }
void ProtocolRelay::SendFrameUpdate(int side, int shotsLeft) {
  Broadcast(Frame("[FRAMEUPDATE]", side, Str(static_cast<double>(shotsLeft))));
}
void ProtocolRelay::SendBattleDone(int side, int fleet) {
  Broadcast(Frame("[BATTLEDONE]", side, Str(static_cast<double>(fleet))));
}

void ProtocolRelay::SendShield(const GameState& s, int world) {
  Broadcast(Frame("[PM]", world, Str(static_cast<double>(s.WorldShieldOn[world]))));
}

void ProtocolRelay::SendPulseArmed(const GameState& s, int world) {
  Broadcast(Frame("[PT]", world, Str(static_cast<double>(s.WorldTreasure[world]))) +
            Frame("[PB]", world, Str(static_cast<double>(s.WorldBombs[world]))));
}

}  // namespace valkoran::net
