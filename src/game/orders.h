// A player's orders as values, and which of them the rules allow. Every
// order a player gives — from the command menu, the proximity window, a
// shield switch, the runner or a peer over the network — enters the engine
// through Game::Apply, which checks it here first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace valkoran {

class Game;

// Sendships amounts as the rules name them.
inline constexpr int kOrderAll = 100, kOrder75 = 75, kOrder50 = 50, kOrder25 = 25, kOrder10 = 10;
inline constexpr int kOrderScout = 1;
inline constexpr int kOrderBomb = 9999;
inline constexpr int kOrderProximityBase = 10000;  // + threshold 1..9998

enum class OrderKind : uint8_t {
  Ships,          // amount: the share in percent (10, 25, 50, 75, 100)
  Scout,
  Bomb,           // an annihilation bomb
  ProximityBomb,  // amount: the threshold in ships (1..9998)
  PulseBomb,      // armed on the source, a home world; no target
  ShieldToggle,   // switches the source's shield; no target
};

struct Order {
  OrderKind kind = OrderKind::Ships;
  int seat = 0;
  int source = -1;
  int target = -1;
  int amount = 0;

  static Order Ships(int seat, int from, int to, int percent) { return {OrderKind::Ships, seat, from, to, percent}; }
  static Order Scout(int seat, int from, int to) { return {OrderKind::Scout, seat, from, to, 0}; }
  static Order Bomb(int seat, int from, int to) { return {OrderKind::Bomb, seat, from, to, 0}; }
  static Order Proximity(int seat, int from, int to, int threshold) {
    return {OrderKind::ProximityBomb, seat, from, to, threshold};
  }
  static Order Pulse(int seat, int home) { return {OrderKind::PulseBomb, seat, home, home, 0}; }
  static Order Shield(int seat, int world) { return {OrderKind::ShieldToggle, seat, world, -1, 0}; }
  // The order a Sendships amount stands for (a share, 1 a scout, 9999 a
  // bomb, 10000 + t a proximity bomb); any other amount is a share order the
  // check refuses.
  static Order FromAmount(int seat, int from, int to, int amount);
  // The Sendships amount of a dispatch order.
  int SendshipsAmount() const;

  bool operator==(const Order&) const = default;
};

enum class OrderProblem {
  Busy,               // a turn is being processed
  NotYourTurn,        // the seat is not the one taking its turn
  TurnOver,           // the seat has ended its turn or is out
  NotInPlay,          // a world outside the game
  NotOwnWorld,        // the source is not the seat's
  Truce,              // another player's world while the Battle Truce runs
  ShareNotOffered,    // no such share of this many ships
  NoShipForScout,
  OwnWorldScouted,
  NoBombs,            // the source stores no bombs
  BadThreshold,       // a proximity bomb's threshold outside 1..9998
  NoSecondPlayer,     // proximity bombs need seat 1
  ProximityBombsFull, // twenty armed or in flight
  NotHomeWorld,       // pulse bombs are armed on home worlds
  PulseArmed,         // one is armed there already
  FleetsFull,         // every fleet slot is in use
  UnknownAmount,
};

struct Refusal {
  OrderProblem code;
  std::string text;
};

// Why the order may not be carried out, or nothing when it stands. The
// checks run in a fixed order and the first that fails is given, so the
// full tables (twenty proximity bombs, a hundred fleets) are named only when
// everything else about the order is right: the command menu still offers
// such an order, and its refusal tells the player why nothing left.
std::optional<Refusal> RefuseOrder(const Game& game, const Order& order);

// The source's ship counts for which the command menu offers a share (and a
// scout): a whole 1, 2, 3 or 4, or more than 4. A share of any other count
// (none, a fraction) is never offered.
bool OffersShare(float ships, int percent);

}  // namespace valkoran
