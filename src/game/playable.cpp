#include "game/playable.h"

#include <cmath>

namespace valkoran {

namespace {

bool Whole(float x) { return std::isfinite(x) && x == std::floor(x); }

std::string World(int w) { return "world " + std::to_string(w); }
std::string Fleet(int f) { return "fleet " + std::to_string(f); }
std::string Seat(int p) { return "seat " + std::to_string(p); }

// An owner code that names a seat someone sits in.
bool Seated(const GameState& s, int owner) {
  return owner >= 1 && owner <= kSeats && !s.PlayerName[owner - 1].empty();
}

std::optional<std::string> NameProblem(const std::string& name, const std::string& what) {
  if (name.size() > kMaxNameBytes) return what + " is longer than " + std::to_string(kMaxNameBytes) + " bytes";
  // "*" ends a network message; a line break would split the saved line.
  if (name.find_first_of("*\r\n") != std::string::npos) return what + " holds a \"*\" or a line break";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> PlayableProblem(const GameState& s) {
  if (s.WorldCount < kMinWorlds || s.WorldCount > kWorlds) return "the world count is not 9 to 30";
  if (!(s.GameYear >= 1 && s.GameYear <= kMaxGameYear)) return "the year is not 1 to 1048576";
  if (!std::isfinite(s.ShotDelay)) return "the shot delay is not a number";

  // Any seat may stay empty but the first, whose player starts the game;
  // the turn passes over empty seats to every taken one.
  for (int p = 0; p < kSeats; ++p)
    if (auto why = NameProblem(s.PlayerName[p], Seat(p) + "'s name")) return why;
  if (s.PlayerName[0].empty()) return Seat(0) + " is empty";
  if (s.CurrentPlayer < 0 || s.CurrentPlayer >= kSeats || s.PlayerName[s.CurrentPlayer].empty())
    return "the current seat is not a player's";

  for (int w = 0; w < kWorlds; ++w) {
    const bool inPlay = w < s.WorldCount;
    if (auto why = NameProblem(s.WorldName[w], World(w) + "'s name")) return why;
    if (!(std::fabs(s.WorldAngle[w]) <= kMaxAngle)) return World(w) + "'s angle is out of range";
    if (!(s.WorldOrbit[w] >= kMinOrbit && s.WorldOrbit[w] <= kMaxOrbit)) return World(w) + "'s orbit is out of range";
    if (!(std::fabs(s.WorldSpin[w]) <= kMaxSpin)) return World(w) + "'s spin is out of range";
    if (!(Whole(s.WorldShips[w]) && s.WorldShips[w] >= 0 && s.WorldShips[w] <= kMaxWorldShips))
      return World(w) + "'s ships are not a whole number from 0 to 2^40";
    if (s.WorldBombs[w] < 0) return World(w) + "'s bombs are fewer than none";
    if (s.WorldOwner[w] > kSeats) return World(w) + "'s owner is not a seat";
    if (inPlay && s.WorldOwner[w] != 0 && !Seated(s, s.WorldOwner[w]))
      return World(w) + " belongs to an empty seat";
    // Battles and the computer players divide by a world's class.
    if (inPlay && s.WorldClass[w] == 0) return World(w) + " has no class";
    for (int p = 0; p < kSeats; ++p) {
      if (s.WorldHistory[w][p].size() > kWorldHistoryLimit) return World(w) + "'s history is too long";
    }
  }

  for (int f = 0; f < kFleets; ++f) {
    if (s.FleetFrom[f] == 0) continue;
    if (s.FleetFrom[f] > s.WorldCount || s.FleetTo[f] < 1 || s.FleetTo[f] > s.WorldCount)
      return Fleet(f) + " travels between worlds not in play";
    if (!Seated(s, s.FleetOwner[f])) return Fleet(f) + " belongs to an empty seat";
    if (s.FleetClass[f] == 0) return Fleet(f) + " has no class";
    if (!(Whole(s.FleetShips[f]) && s.FleetShips[f] >= 0 && s.FleetShips[f] <= kMaxFleetPayload))
      return Fleet(f) + "'s payload is not a whole number from 0 to 32767";
    if (!std::isfinite(s.FleetRemaining[f]) || !std::isfinite(s.FleetDistance[f]) || !std::isfinite(s.FleetCourse[f]))
      return Fleet(f) + "'s course is not a number";
  }

  for (int b = 0; b < kBombs; ++b) {
    if (s.BombOwner[b] <= 0) continue;
    if (!Seated(s, s.BombOwner[b])) return "proximity bomb " + std::to_string(b) + " belongs to an empty seat";
    const float w = s.BombWorld[b];
    if (!(Whole(w) && w >= 0 && w < s.WorldCount)) return "proximity bomb " + std::to_string(b) + " lies on no world";
    if (!std::isfinite(s.BombThreshold[b])) return "proximity bomb " + std::to_string(b) + "'s threshold is not a number";
  }

  for (int p = 0; p < kSeats; ++p)
    if (s.GameHistory[p].size() > kGameLogLimit) return Seat(p) + "'s message log is too long";
  return std::nullopt;
}

// Once over its limit, a text is cut to three quarters of it, so that a long
// game trims now and then rather than at every line.
void TrimGameLog(std::string& log) {
  if (log.size() <= kGameLogLimit) return;
  // The log reads "\r\n" + line + "\r\n" + line ...: cut before a line break
  // so it goes on starting with one.
  const size_t cut = log.find("\r\n", log.size() - kGameLogLimit / 4 * 3);
  log.erase(0, cut == std::string::npos ? log.size() : cut);
}

void TrimWorldHistory(std::string& history) {
  if (history.size() <= kWorldHistoryLimit) return;
  // Newest line first, each ended by "\r\n": keep whole lines from the front.
  const size_t end = history.rfind("\r\n", kWorldHistoryLimit / 4 * 3 - 2);
  history.resize(end == std::string::npos ? 0 : end + 2);
}

}  // namespace valkoran
