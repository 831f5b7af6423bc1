#include "game/orders.h"

#include "game/game.h"
#include "game/slots.h"

namespace valkoran {

Order Order::FromAmount(int seat, int from, int to, int amount) {
  if (amount == kOrderScout) return Scout(seat, from, to);
  if (amount == kOrderBomb) return Bomb(seat, from, to);
  if (amount >= kOrderProximityBase) return Proximity(seat, from, to, amount - kOrderProximityBase);
  return Ships(seat, from, to, amount);
}

int Order::SendshipsAmount() const {
  switch (kind) {
    case OrderKind::Scout: return kOrderScout;
    case OrderKind::Bomb: return kOrderBomb;
    case OrderKind::ProximityBomb: return kOrderProximityBase + amount;
    default: return amount;
  }
}

bool OffersShare(float ships, int percent) {
  // Shares round up, so a small stock would offer the same count twice; the
  // share that repeats another's count is left out: with 4 ships 10% is the
  // 25%'s one ship, with 3 ships 75% is all three and 10% the 25%'s one, with
  // 2 ships 25% and 10% are the 50%'s one, and a single ship only goes whole.
  if (ships > 4) return true;
  if (ships == 4) return percent != kOrder10;
  if (ships == 3) return percent != kOrder75 && percent != kOrder10;
  if (ships == 2) return percent != kOrder25 && percent != kOrder10;
  if (ships == 1) return percent == kOrderAll;
  return false;
}

namespace {

std::optional<Refusal> Refuse(OrderProblem code, std::string text) { return Refusal{code, std::move(text)}; }

}  // namespace

std::optional<Refusal> RefuseOrder(const Game& game, const Order& o) {
  const GameState& s = game.state;
  if (game.BusyFlag) return Refuse(OrderProblem::Busy, "A turn is being processed.");
  // A host takes each connected seat's orders while they all move at once;
  // everywhere else only the seat taking its turn gives orders.
  const bool seatMoves = o.seat >= 0 && o.seat < kSeats && !s.PlayerName[o.seat].empty() &&
                         (game.IsNetworkHost() || o.seat == s.CurrentPlayer);
  if (!seatMoves) return Refuse(OrderProblem::NotYourTurn, "It is not that player's turn.");
  if (game.EndsWith(o.seat, kEliminated) || game.EndsWith(o.seat, kDoneTurn) ||
      (o.seat == s.CurrentPlayer && game.TurnLock))
    return Refuse(OrderProblem::TurnOver, "That player's turn is over.");

  const int me = o.seat + 1;
  const int inPlay = s.WorldCount < kWorlds ? s.WorldCount : kWorlds;
  const bool targeted = o.kind != OrderKind::ShieldToggle && o.kind != OrderKind::PulseBomb;
  const int to = targeted ? o.target : o.source;
  if (o.source < 0 || o.source >= inPlay || to < 0 || to >= inPlay)
    return Refuse(OrderProblem::NotInPlay, "Both worlds must be in play.");
  const int from = o.source;
  const std::string& source = s.WorldName[from];
  if (s.WorldOwner[from] != me)
    return Refuse(OrderProblem::NotOwnWorld, "World " + source + " is not the current player's.");
  if (o.kind == OrderKind::ShieldToggle) return std::nullopt;
  if (game.TruceActive() && s.WorldOwner[to] != 0 && s.WorldOwner[to] != me)
    return Refuse(OrderProblem::Truce, "A Battle Truce is running.");

  const float ships = s.WorldShips[from];
  switch (o.kind) {
    case OrderKind::Ships:
      if (o.amount != kOrderAll && o.amount != kOrder75 && o.amount != kOrder50 && o.amount != kOrder25 &&
          o.amount != kOrder10)
        return Refuse(OrderProblem::UnknownAmount,
                      "AMOUNT must be 10, 25, 50, 75, 100 (percent), 1 (scout), 9999 (bomb) or 10000+threshold.");
      if (!OffersShare(ships, o.amount))
        return Refuse(OrderProblem::ShareNotOffered, "World " + source + " cannot send that share of its ships.");
      break;
    case OrderKind::Scout:
      // A scout goes with the shares: whenever sending everything is offered.
      if (!OffersShare(ships, kOrderAll))
        return Refuse(OrderProblem::NoShipForScout, "World " + source + " has no ship for a scout.");
      if (s.WorldOwner[to] == me) return Refuse(OrderProblem::OwnWorldScouted, "Own worlds are not scouted.");
      break;
    case OrderKind::Bomb:
      if (s.WorldBombs[from] <= 0) return Refuse(OrderProblem::NoBombs, "World " + source + " stores no bombs.");
      break;
    case OrderKind::ProximityBomb:
      // The threshold window offers 1..9998: 0 would go off for a scout.
      if (o.amount < 1 || o.amount > static_cast<int>(kMaxFleetShips))
        return Refuse(OrderProblem::BadThreshold, "The threshold of a proximity bomb must be 1 to 9998 ships.");
      if (s.WorldBombs[from] <= 0) return Refuse(OrderProblem::NoBombs, "World " + source + " stores no bombs.");
      if (s.PlayerName[1].empty()) return Refuse(OrderProblem::NoSecondPlayer, "Proximity bombs need a second player.");
      if (game.ProximityBombsInUse() >= kBombs)
        return Refuse(OrderProblem::ProximityBombsFull, "Twenty Proximity Bombs Are Already Armed Or In Flight!");
      break;
    case OrderKind::PulseBomb:
      if (from < kHomeRing || from >= kHomeRing + kSeats)
        return Refuse(OrderProblem::NotHomeWorld, "Pulse bombs are armed on home worlds only.");
      if (s.WorldBombs[from] <= 0) return Refuse(OrderProblem::NoBombs, "World " + source + " stores no bombs.");
      // A second pulse bomb on the same world would cost a bomb and do
      // nothing more: one goes off at the turn end either way.
      if (s.WorldTreasure[from] == kPulseArmed)
        return Refuse(OrderProblem::PulseArmed, "A Pulse Bomb Is Already Armed On World " + source + "!");
      return std::nullopt;
    case OrderKind::ShieldToggle:
      break;
  }
  // Last on purpose, as the twenty bombs: the menu offers the order and the
  // refusal says why no fleet left, where the rules dropped it silently.
  if (FirstFreeFleetSlot(s) < 0) return Refuse(OrderProblem::FleetsFull, "All 100 Fleet Slots Are In Use!");
  return std::nullopt;
}

}  // namespace valkoran

namespace valkoran {

std::optional<Refusal> Game::Apply(const Order& o) {
  if (auto refusal = RefuseOrder(*this, o)) return refusal;
  GameState& s = state;
  switch (o.kind) {
    case OrderKind::ShieldToggle: {
      const int w = o.source;
      s.WorldShieldOn[w] = s.WorldShieldOn[w] ? 0 : 1;
      if (IsNetworkClient() && serverConnected) relay().SendShield(s, w);
      presenter().Console();
      break;
    }
    case OrderKind::PulseBomb:
      SelectedFrom = SelectedTo = static_cast<int16_t>(o.source);
      mnuComSendPulse_Click();
      break;
    default:
      SelectedFrom = static_cast<int16_t>(o.source);
      SelectedTo = static_cast<int16_t>(o.target);
      Sendships(static_cast<int16_t>(o.SendshipsAmount()));
      break;
  }
  return std::nullopt;
}

}  // namespace valkoran
