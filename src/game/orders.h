// Which orders a player may give. The command menu offers exactly these, the
// runner refuses the rest, and a host checks a peer's order the same way.
#pragma once

#include <optional>
#include <string>

namespace valkoran {

class Game;

// Sendships amounts as the orders name them.
inline constexpr int kOrderAll = 100, kOrder75 = 75, kOrder50 = 50, kOrder25 = 25, kOrder10 = 10;
inline constexpr int kOrderScout = 1;
inline constexpr int kOrderBomb = 9999;
inline constexpr int kOrderProximityBase = 10000;  // + threshold 1..9998

enum class OrderProblem {
  NotInPlay,          // a world outside the game
  NotOwnWorld,        // the source is not the current player's
  Truce,              // another player's world while the Battle Truce runs
  ShareNotOffered,    // no such share of this many ships
  NoShipForScout,
  OwnWorldScouted,
  NoBombs,            // the source stores no bombs
  BadThreshold,       // a proximity bomb's threshold outside 1..9998
  NoSecondPlayer,     // proximity bombs need seat 1
  ProximityBombsFull, // twenty armed or in flight
  UnknownAmount,
};

struct Refusal {
  OrderProblem code;
  std::string text;
};

// Why the current player may not send `amount` (a Sendships amount) from
// world `from` to world `to`, or nothing when the order stands. The checks
// run in a fixed order and the first that fails is given, so the twenty
// bombs' refusal comes only when everything else about the bomb is right.
std::optional<Refusal> RefuseOrder(const Game& game, int from, int to, int amount);

// The source's ship counts for which the command menu offers a share (and a
// scout): a whole 1, 2, 3 or 4, or more than 4. A share of any other count
// (none, a fraction) is never offered.
bool OffersShare(float ships, int percent);

}  // namespace valkoran
