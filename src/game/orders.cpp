#include "game/orders.h"

#include "game/game.h"

namespace valkoran {

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

std::optional<Refusal> RefuseOrder(const Game& game, int from, int to, int amount) {
  const GameState& s = game.state;
  const int me = s.CurrentPlayer + 1;
  const int inPlay = s.WorldCount < kWorlds ? s.WorldCount : kWorlds;
  if (from < 0 || to < 0 || from >= inPlay || to >= inPlay)
    return Refusal{OrderProblem::NotInPlay, "Both worlds must be in play."};
  const std::string& source = s.WorldName[from];
  if (s.WorldOwner[from] != me)
    return Refusal{OrderProblem::NotOwnWorld, "World " + source + " is not the current player's."};
  if (game.TruceActive() && s.WorldOwner[to] != 0 && s.WorldOwner[to] != me)
    return Refusal{OrderProblem::Truce, "A Battle Truce is running."};
  const float ships = s.WorldShips[from];
  switch (amount) {
    case kOrderAll: case kOrder75: case kOrder50: case kOrder25: case kOrder10:
      if (!OffersShare(ships, amount))
        return Refusal{OrderProblem::ShareNotOffered, "World " + source + " cannot send that share of its ships."};
      return std::nullopt;
    case kOrderScout:
      // A scout goes with the shares: whenever sending everything is offered.
      if (!OffersShare(ships, kOrderAll))
        return Refusal{OrderProblem::NoShipForScout, "World " + source + " has no ship for a scout."};
      if (s.WorldOwner[to] == me) return Refusal{OrderProblem::OwnWorldScouted, "Own worlds are not scouted."};
      return std::nullopt;
    case kOrderBomb:
      if (s.WorldBombs[from] <= 0) return Refusal{OrderProblem::NoBombs, "World " + source + " stores no bombs."};
      return std::nullopt;
    default:
      break;
  }
  if (amount >= kOrderProximityBase) {
    // The threshold window offers 1..9998: 0 would go off for a scout.
    if (amount < kOrderProximityBase + 1 || amount > kOrderProximityBase + static_cast<int>(kMaxFleetShips))
      return Refusal{OrderProblem::BadThreshold, "The threshold of a proximity bomb must be 1 to 9998 ships."};
    if (s.WorldBombs[from] <= 0) return Refusal{OrderProblem::NoBombs, "World " + source + " stores no bombs."};
    if (s.PlayerName[1].empty()) return Refusal{OrderProblem::NoSecondPlayer, "Proximity bombs need a second player."};
    // Last on purpose: the menu still offers the bomb when this is all that
    // stands against it, and the threshold window gives the reason.
    if (game.ProximityBombsInUse() >= kBombs)
      return Refusal{OrderProblem::ProximityBombsFull, "Twenty Proximity Bombs Are Already Armed Or In Flight!"};
    return std::nullopt;
  }
  return Refusal{OrderProblem::UnknownAmount,
                 "AMOUNT must be 10, 25, 50, 75, 100 (percent), 1 (scout), 9999 (bomb) or 10000+threshold."};
}

}  // namespace valkoran
