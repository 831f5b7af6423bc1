// The game state: fixed tables with the slot counts, widths and codes the
// saved-game file and the network protocol carry field by field.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/numbers.h"

namespace valkoran {

// Table sizes. The last slot of each table exists but the game never uses it.
inline constexpr int kWorldSlots = 31;   // worlds 0..29
inline constexpr int kFleetSlots = 101;  // fleets 0..99
inline constexpr int kBombSlots = 21;    // proximity bombs 0..19
inline constexpr int kPlayerSlots = 5;   // seats 0..3
inline constexpr int kWorlds = 30;
inline constexpr int kFleets = 100;
inline constexpr int kBombs = 20;
inline constexpr int kSeats = 4;
inline constexpr int kMinWorlds = 9;
inline constexpr float kTurnLength = 0.05f;  // years per turn, as stored
inline constexpr int kHomeRing = 8;  // world index of seat 0's home world

inline constexpr double kTwoPi = 6.283184;  // the game's own 2*pi, on purpose
inline constexpr double kPi = 3.141592;

// FleetShips payload codes.
inline constexpr float kScout = 0;
inline constexpr float kMaxFleetShips = 9998;
inline constexpr float kAnnihilationBomb = 9999;
inline constexpr float kProximityBombBase = 10000;  // + threshold

// WorldTreasure codes.
enum Treasure : int16_t {
  kNoTreasure = 0,
  kExtraBomb = 1,
  kDoubleFuel = 2,
  kCrystal = 3,
  kFirstHangar = 4,   // 4 and up: that many ships in a secret hangar
  kPulseArmed = 10,   // on a home world whose seat is in use
};

inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

template <typename T, size_t N>
using Table = std::array<T, N>;

struct GameState {
  // Worlds.
  Table<float, kWorldSlots> WorldAngle{};
  Table<float, kWorldSlots> WorldOrbit{};
  Table<float, kWorldSlots> WorldSpin{};
  Table<std::string, kWorldSlots> WorldName{};
  Table<uint8_t, kWorldSlots> WorldProduction{};
  Table<uint8_t, kWorldSlots> WorldClass{};
  Table<uint8_t, kWorldSlots> WorldShield{};
  Table<uint8_t, kWorldSlots> WorldShieldOn{};
  Table<int16_t, kWorldSlots> WorldRevealed{};
  Table<uint8_t, kWorldSlots> WorldOwner{};
  Table<float, kWorldSlots> WorldShips{};
  Table<Table<std::string, kPlayerSlots>, kWorldSlots> WorldHistory{};
  Table<int16_t, kWorldSlots> WorldTreasure{};
  Table<int16_t, kWorldSlots> WorldBombs{};

  // Players.
  Table<std::string, kPlayerSlots> PlayerName{};
  Table<int16_t, kPlayerSlots> PlayerCrystal{};
  Table<int16_t, kPlayerSlots> PlayerLeft{};
  Table<std::string, kPlayerSlots> GameHistory{};
  Table<double, kPlayerSlots> PlayerColor{};
  // [seat][field 0..5][world]: 0 turn of the report, 1 class, 2 production,
  // 3 ships, 4 shield; 5 is never written.
  Table<Table<Table<int16_t, kWorldSlots>, 6>, kPlayerSlots> PlayerKnowledge{};

  // Traveling fleets.
  Table<uint8_t, kFleetSlots> FleetFrom{};  // world + 1; 0 = free slot
  Table<uint8_t, kFleetSlots> FleetTo{};
  Table<uint8_t, kFleetSlots> FleetOwner{};
  Table<float, kFleetSlots> FleetShips{};
  Table<uint8_t, kFleetSlots> FleetClass{};
  Table<uint8_t, kFleetSlots> FleetShield{};
  Table<float, kFleetSlots> FleetDistance{};
  Table<float, kFleetSlots> FleetCourse{};
  Table<float, kFleetSlots> FleetRemaining{};

  // Proximity bombs.
  Table<int16_t, kBombSlots> BombOwner{};
  Table<float, kBombSlots> BombWorld{};
  Table<float, kBombSlots> BombThreshold{};

  // Scalars.
  uint8_t WorldCount = 0;
  float GameYear = 0;
  int16_t CurrentPlayer = 0;
  int16_t TruceTurn = 0;
  float ShotDelay = 0;
  float AutoSaveYear = 0;
  int16_t SpeedGame = 0;
  int16_t TurnMinutesLeft = 0;
  int16_t NetworkGame = 0;
  // "Ships Travel with Shields for Battles": chosen per game and saved with
  // it as the file's first line, so it lives with the game.
  bool ShieldOption = false;

  bool operator==(const GameState&) const = default;
};

// RGB as the colour fields hold it: red + green*256 + blue*65536.
inline constexpr double Rgb(int r, int g, int b) { return r + g * 256.0 + b * 65536.0; }

// Clears the state for a new game, leaving alone what a new game rewrites or
// what means nothing in a free slot.
void DataSet(GameState& s);

// Owner colours; seat 0 is a lighter blue after a new game on this machine
// than after loading or joining one.
enum class ColourSource { NewGame, LoadedOrJoined };
void SetPlayerColours(GameState& s, ColourSource source);

// The turn number derived from GameYear.
inline int CurrentTurn(const GameState& s) { return TurnNumber(s.GameYear); }

bool IsComputerName(const std::string& name);  // begins with "ENEMY"

// A seat besides the first is taken (seat 1, or 2 or 3 behind an empty one).
inline bool AnotherSeat(const GameState& s) {
  return !s.PlayerName[1].empty() || !s.PlayerName[2].empty() || !s.PlayerName[3].empty();
}

// One more bomb stored on a world; the count stops at its field's limit
// rather than wrapping round to none.
inline int16_t AddBomb(int16_t bombs) { return bombs < INT16_MAX ? static_cast<int16_t>(bombs + 1) : bombs; }

}  // namespace valkoran
