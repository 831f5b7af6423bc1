#include "net/protocol/dispatch.h"

#include <string_view>

#include "game/numbers.h"
#include "game/playable.h"
#include "net/protocol/encode.h"

namespace valkoran::net {

namespace {

bool Is(const Message& m, const char* tag) { return m.tag == tag; }
bool InRange(int index, int count) { return index >= 0 && index < count; }

std::optional<double> Number(const std::string& text) { return ParseNumber(text); }

// A chat line as the server passes it on: one line, at most 255 characters.
bool ChatLine(const std::string& text) {
  return text.size() <= kMaxChatLine && text.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

void Dispatcher::ChangeChecked(const Field& f, int slot, const std::string& value) {
  GameState& s = game_.state;
  const std::string before = FieldText(f, s, slot, s.CurrentPlayer);
  if (game_.ReceiveField(f, slot, value)) return;
  // Once the game is open, a value that would leave it unplayable is not taken.
  if (started && !syncing_ && PlayableProblem(s)) game_.ReceiveField(f, slot, before);
}

void Dispatcher::FromServer(const Message& m) {
  // The whole state again on an open game (a rejoin, an order the server
  // refused, a new game) is taken as one: fields that are only right once
  // all have come are not checked one by one, and a state that arrives
  // unplayable leaves the game as it was.
  if (started && Is(m, "[NP]")) {
    syncing_ = true;
    before_ = game_.state;
  }
  if (syncing_ && Is(m, "[SHOW]")) {
    syncing_ = false;
    if (PlayableProblem(game_.state)) {
      game_.ReceiveState(before_);
      return;
    }
  }
  // Once the game is open, a header value that would leave it unplayable is
  // not taken, as no field's is.
  if (started && !syncing_ && (Is(m, "[N]") || Is(m, "[YEAR]") || Is(m, "[TURN]") || Is(m, "[GH]"))) {
    const GameState before = game_.state;
    Receive(m);
    if (PlayableProblem(game_.state)) game_.ReceiveState(before);
    return;
  }
  Receive(m);
}

void Dispatcher::Receive(const Message& m) {
  GameState& s = game_.state;
  const int i = m.index;
  if (const Field* f = FindField(m.tag)) {
    if (InRange(i, SlotCount(f->scope))) ChangeChecked(*f, i, m.payload);
    return;
  }
  auto number = Number(m.payload);
  if (Is(m, "[NAME]")) {
    if (InRange(i, kSeats)) events_.SeatName(i, m.payload);
  } else if (Is(m, "[NP]")) {
    if (number && *number >= 0 && *number <= kWorlds) game_.ReceiveWorldCount(static_cast<int>(*number));
  } else if (Is(m, "[N]")) {
    if (InRange(i, kSeats)) game_.ReceivePlayer(i, m.payload);
  } else if (Is(m, "[PV]")) {
    if (InRange(i, kSeats) && number && *number >= -32768 && *number <= 32767)
      game_.ReceiveCrystal(i, static_cast<int16_t>(RoundHalfEvenUnchecked(*number)));
  } else if (Is(m, "[YEAR]")) {
    if (auto v = ParseSingle(m.payload)) game_.ReceiveYear(*v);
  } else if (Is(m, "[TURN]")) {
    if (number && *number >= 0 && *number < kSeats) game_.ReceiveSeat(static_cast<int>(*number));
  } else if (Is(m, "[TIME]")) {
    if (number && *number >= 0 && *number <= 255) game_.ReceiveShotDelay(static_cast<float>(*number));
  } else if (Is(m, "[GH]")) {
    game_.ReceiveLog(m.payload);
  } else if (Is(m, "[SHOW]")) {
    if (auto why = PlayableProblem(s)) {
      events_.Unplayable(*why);
      return;
    }
    started = true;
    events_.GameShown();
    game_.OpenNetworkGame();
  } else if (Is(m, "[SHIELD]")) {
    game_.ReceiveOptions(m.payload == "01", s.TruceTurn);
    events_.OptionsChanged();
  } else if (Is(m, "[TRUCE]")) {
    if (number && *number >= 0 && *number <= 32767) {
      game_.ReceiveOptions(s.ShieldOption != 0, static_cast<int16_t>(*number));
      events_.OptionsChanged();
    }
  } else if (Is(m, "[MESSAGE]")) {
    events_.Chat(m.payload);
    game_.presenter().Cue("message.wav");
  } else if (Is(m, "[STATUS]")) {
    if (InRange(i, kSeats)) game_.NetworkStatus(i, m.payload);
  } else if (Is(m, "[SEND]")) {
    auto fleet = ReadFleetRecord(m.payload);
    if (!fleet || !InRange(i, kFleets)) return;
    const FleetValues before{s.FleetFrom[i], s.FleetTo[i],     s.FleetOwner[i],    s.FleetClass[i], s.FleetShield[i],
                             s.FleetShips[i], s.FleetDistance[i], s.FleetCourse[i], s.FleetRemaining[i]};
    game_.ReceiveFleet(i, *fleet);
    if (started && !syncing_ && PlayableProblem(s)) game_.ReceiveFleet(i, before);
  } else if (!started || syncing_) {
    // Routines run only on a game that is open here, never on one whose
    // whole state is still arriving.
  } else if (Is(m, "[ENDTURN]")) {
    game_.EndTurn();
  } else if (Is(m, "[TRAVELSHOW]")) {
    game_.presenter().TravelShow();
  } else if (Is(m, "[GALAXYROTATE]")) {
    game_.ReceiveRotation();
  } else if (Is(m, "[GALAXYDRAW]")) {
    game_.ReceiveGalaxyDraw();
  } else if (Is(m, "[CONSOLE]")) {
    game_.presenter().Console();
  } else if (Is(m, "[TRAVELHIDE]")) {
    game_.ReceiveTravelHide();
  } else if (Is(m, "[REINFORCEMENTS]") || Is(m, "[SCOUT]") || Is(m, "[PROXIMITYSET]")) {
    // The fleet must be one in flight here: the routines read its slot.
    if (!InRange(i, kFleets) || s.FleetFrom[i] == 0) return;
    if (Is(m, "[REINFORCEMENTS]")) game_.Reinforcements(static_cast<uint8_t>(i));
    if (Is(m, "[SCOUT]")) game_.Scout(static_cast<uint8_t>(i));
    if (Is(m, "[PROXIMITYSET]")) game_.ProximitySet(static_cast<uint8_t>(i));
  } else if (Is(m, "[PULSEBOMB]")) {
    if (i >= kHomeRing && i < kHomeRing + kSeats) game_.PulseBomb(static_cast<uint8_t>(i));
  } else if (Is(m, "[PROXIMITY]")) {
    if (InRange(i, kFleets) && s.FleetFrom[i] != 0 && number && *number >= 0 && *number < kBombs)
      game_.Proximity(static_cast<int16_t>(i), static_cast<int16_t>(*number));
  } else if (Is(m, "[BATTLEACCU]")) {
    if (m.payload.size() == 4 && m.payload.find_first_not_of("0123456789") == std::string::npos)
      game_.ReplayBattleAccuracy(std::stoi(m.payload.substr(0, 2)), std::stoi(m.payload.substr(2, 2)));
  } else if (Is(m, "[BATTLESETUP]")) {
    if (InRange(i, kFleets) && s.FleetFrom[i] != 0) game_.BattleSetup(static_cast<uint8_t>(i));
  } else if (Is(m, "[SHOTFROM]")) {
    if (game_.Panel.active) game_.ShotFrom();
  } else if (Is(m, "[SHOTTO]")) {
    if (game_.Panel.active) game_.ShotTo();
  } else if (Is(m, "[FROMHIT]") || Is(m, "[TOHIT]")) {
    if (!game_.Panel.active || !InRange(i, kFleets) || s.FleetFrom[i] == 0) return;
    if (Is(m, "[FROMHIT]")) game_.FromHit(static_cast<uint8_t>(i));
    if (Is(m, "[TOHIT]")) game_.ToHit(static_cast<uint8_t>(i));
  } else if (Is(m, "[FRAMEUPDATE]")) {
    if ((i == 1 || i == 2) && game_.Panel.active && number && *number >= 0 && *number <= 32767)
      game_.ReplayFrame(i, static_cast<int16_t>(*number));
  } else if (Is(m, "[BATTLEDONE]")) {
    if ((i == 1 || i == 2) && number && *number >= 0 && *number < kFleets && s.FleetFrom[int(*number)] != 0)
      game_.ReplayBattleDone(i, static_cast<int>(*number));
  }
}

bool Dispatcher::FromClient(int seat, const Message& m, bool* resync) {
  if (seat < 1 || seat >= kSeats) return false;
  GameState& s = game_.state;
  const std::string& name = s.PlayerName[seat];
  if (Is(m, "[NAME]")) {
    if (started || m.index != 0) return false;
    events_.SeatName(seat, m.payload);
    return true;
  }
  if (Is(m, "[MESSAGE]")) {
    if (m.index != 0 || !ChatLine(m.payload)) return false;
    events_.Chat(m.payload);
    game_.presenter().Cue("message.wav");
    relay_.Broadcast(Frame("[MESSAGE]", 0, m.payload));
    return true;
  }
  // Everything else concerns a game under way and this seat's part in it.
  if (!started || !s.NetworkGame || name.empty() || s.PlayerLeft[seat]) return false;
  if (Is(m, "[STATUS]")) {
    // Only the seat itself, and only the end of its turn.
    if (m.index != seat || m.payload != name + kDoneTurn || !game_.EndsWith(seat, kTakingTurn) || game_.BusyFlag)
      return false;
    game_.NetworkStatus(seat, m.payload);
    return true;
  }
  return ClientOrder(seat, m, resync);
}

bool Dispatcher::ClientOrder(int seat, const Message& m, bool* resync) {
  GameState& s = game_.state;
  // Orders come while the seat is taking its turn, never during a turn's
  // processing.
  if (!game_.EndsWith(seat, kTakingTurn) || game_.BusyFlag) return false;
  std::optional<Order> order;
  if (Is(m, "[SEND]")) {
    auto f = ReadFleetRecord(m.payload);
    if (!f || m.index != 0 || f->owner != seat + 1 || f->from < 1 || f->to < 1) return false;
    const int from = f->from - 1, to = f->to - 1;
    if (from >= s.WorldCount || to >= s.WorldCount) return false;
    // The amount must be one the command menu offers for that world now.
    if (f->ships == kScout) {
      order = Order::Scout(seat, from, to);
    } else if (f->ships == kAnnihilationBomb) {
      order = Order::Bomb(seat, from, to);
    } else if (f->ships > kProximityBombBase && f->ships < kProximityBombBase + 9999) {
      order = Order::Proximity(seat, from, to, static_cast<int>(f->ships - kProximityBombBase));
    } else {
      const double stock = s.WorldShips[from];
      for (int percent : {kOrderAll, kOrder75, kOrder50, kOrder25, kOrder10}) {
        if (!OffersShare(s.WorldShips[from], percent)) continue;
        // A fleet carries at most 9998 ships, whatever the share.
        const double share = Int(percent * stock / 100 + 0.99);
        if ((share < kMaxFleetShips ? share : kMaxFleetShips) == f->ships) {
          order = Order::Ships(seat, from, to, percent);
          break;
        }
      }
    }
    // The client already shows its fleet: if the server will not have it,
    // that client gets the whole state again, as the server holds it.
    auto refused = order ? game_.Apply(*order) : std::optional<Refusal>(Refusal{});
    if (refused && resync) *resync = true;
    return !refused;
  }
  if (Is(m, "[PM]")) {
    const int w = m.index;
    auto v = Number(m.payload);
    if (!InRange(w, s.WorldCount) || !v || (*v != 0 && *v != 1) || s.WorldOwner[w] != seat + 1) return false;
    if (*v == s.WorldShieldOn[w]) return true;
    auto refused = game_.Apply(Order::Shield(seat, w));
    if (refused && resync) *resync = true;
    return !refused;
  }
  if (Is(m, "[PT]")) {
    // Only arming a pulse bomb on the seat's own home world.
    const int home = kHomeRing + seat;
    auto v = Number(m.payload);
    if (m.index != home || !v || *v != static_cast<double>(kPulseArmed)) return false;
    auto refused = game_.Apply(Order::Pulse(seat, home));
    if (refused && resync) *resync = true;
    return !refused;
  }
  // "[PB] " follows "[PT] ": the pulse order has charged the bomb already.
  return false;
}

}  // namespace valkoran::net
