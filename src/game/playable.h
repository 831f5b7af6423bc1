// What a playable game is. The loader accepts a state only when this rule
// does, the saver writes only what it would accept, and the rules keep every
// state they are given inside it: whatever is loaded plays any number of
// turns without hanging, crashing or growing without bound, and saves again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "game/state.h"

namespace valkoran {

// A year stops growing at 2^20: 0.05 is then less than half a unit of the
// stored value. No game can pass it, so a game at the limit still loads.
inline constexpr float kMaxGameYear = 1048576.0f;
// Ships only ever grow by amounts below 2^15 (production, fleets, hangars),
// which stop adding up at 2^39; nothing in play pushes a count past 2^40.
inline constexpr float kMaxWorldShips = 1099511627776.0f;
// Fleet payloads: ships 1..9998, 0 a scout, 9999 a bomb, 10000 + threshold a
// proximity bomb; an order names at most 32767.
inline constexpr float kMaxFleetPayload = 32767.0f;
// Worlds turn by at most one radian a step from within 2^24 radians: a 32-bit
// angle there stops growing at 2^24, so angles never leave that range.
inline constexpr float kMaxAngle = 16777216.0f;
inline constexpr float kMinOrbit = 1, kMaxOrbit = 10000;
inline constexpr float kMaxSpin = 1;

// Texts. A player reads the last 2000 characters of a message log and the
// newest lines of a world's history (a label the height of the screen), so
// the game keeps several times that, dropping the oldest lines: a text over
// its limit is cut to three quarters of it.
inline constexpr size_t kMaxNameBytes = 255;
inline constexpr size_t kGameLogLimit = 16384;
inline constexpr size_t kWorldHistoryLimit = 8192;

// Nothing when the state is playable, otherwise why not (for the curious
// player; the game's message stays "   Corrupt Game File!   ").
std::optional<std::string> PlayableProblem(const GameState& s);

// Keep a log or a world's history within its limit by dropping its oldest
// whole lines: a log grows at its end, a world's history at its front.
void TrimGameLog(std::string& log);
void TrimWorldHistory(std::string& history);

}  // namespace valkoran
