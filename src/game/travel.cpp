#include "game/travel.h"

#include <cmath>
#include <utility>

#include "game/arrivaltime.h"
#include "game/game.h"
#include "game/slots.h"

namespace valkoran {

float ReduceBySubtraction(float a) {
  while (a > kTwoPi) a = Sng(a - kTwoPi);
  return a;
}

namespace {

template <class Reduce>
Trip RuleSearch(const GameState& s, int from, int to, float step, Reduce reduce) {
  Trip r{10000.0f, 0.0f};
  const float gap = Sng(static_cast<double>(s.WorldOrbit[from]) - s.WorldOrbit[to]);
  const double k = s.WorldTreasure[from] == kDoubleFuel ? 2 : 1;
  const double orbit8 = s.WorldOrbit[kHomeRing];
  const double orbitFrom = s.WorldOrbit[from];
  const double spinFrom = s.WorldSpin[from], angleFrom = s.WorldAngle[from];
  const double spinTo = s.WorldSpin[to], angleTo = s.WorldAngle[to];
  const float last = Sng(9.424776);
  for (float c = Sng(-6.283184); c <= last; c = Sng(static_cast<double>(c) + step)) {
    const long long tMax = RoundHalfEvenUnchecked(orbit8 * 3);
    long long t = RoundHalfEvenUnchecked(std::fabs(static_cast<double>(gap)));
    while (t <= tMax) {
      const double td = static_cast<double>(t);
      const float a = reduce(Sng(td * k * c * orbit8 / (orbitFrom * 520) + td * spinFrom + angleFrom));
      const float b = reduce(Sng(td * spinTo + angleTo));
      if (Int(static_cast<double>(a) * 100) == Int(static_cast<double>(b) * 100)) {
        if (td / 520 < r.distance) {
          r.distance = Sng(td / 520);
          r.course = c;
        }
        break;
      }
      ++t;
    }
  }
  return r;
}

}  // namespace

Trip DistCalcReference(const GameState& s, int from, int to, float step) {
  return RuleSearch(s, from, to, step, [](float a) { return ReduceBySubtraction(a); });
}

Trip DistCalcReferenceWith(const GameState& s, int from, int to, float step, float (*reduce)(float)) {
  return RuleSearch(s, from, to, step, reduce);
}

void Game::DistCalc(int16_t from, int16_t to, float& distance, float& course, float step) {
  const Trip t = DistCalcFast(state, from, to, step);
  distance = t.distance;
  course = t.course;
}

void Game::Sendships(int16_t amount) {
  GameState& s = state;
  // A computer seat's orders come inside its turn, which holds the flag
  // until all are given; a player's order (this seat's or, on a server, a
  // client's) holds it only while it is carried out.
  const bool withinTurn = BusyFlag != 0;
  BusyFlag = kTrue;
  // Callers always select both worlds first; without them there is no trip.
  const bool selected = SelectedFrom >= 0 && SelectedFrom < kWorlds && SelectedTo >= 0 && SelectedTo < kWorlds;
  const int slot = selected ? FirstFreeFleetSlot(s) : -1;
  if (slot >= 0) {
    const int f = SelectedFrom, t = SelectedTo;
    s.FleetFrom[slot] = static_cast<uint8_t>(f + 1);
    s.FleetTo[slot] = static_cast<uint8_t>(t + 1);
    s.FleetOwner[slot] = s.WorldOwner[f];
    if (amount >= 101) {
      s.WorldBombs[f] -= 1;
      s.FleetShips[slot] = amount;
    } else if (amount <= 1) {
      s.FleetShips[slot] = kScout;
      s.WorldShips[f] = Sng(static_cast<double>(s.WorldShips[f]) - 1);
    } else {
      const double n = Int(static_cast<double>(amount) * s.WorldShips[f] / 100 + 0.99);
      // A fleet never carries 9999 or more (that would read as a bomb), and
      // the world pays exactly what leaves, so a big world cannot mint ships.
      const double carried = n < kMaxFleetShips ? n : kMaxFleetShips;
      s.FleetShips[slot] = Sng(carried);
      s.WorldShips[f] = Sng(static_cast<double>(s.WorldShips[f]) - carried);
    }
    s.FleetClass[slot] = s.WorldClass[f];
    s.FleetShield[slot] = s.ShieldOption ? s.WorldShield[f] : 0;
    DistCalc(static_cast<int16_t>(f), static_cast<int16_t>(t), CalcDistance, CalcCourse, 0.1f);
    const float d = DispatchedDistance(CalcDistance);
    s.FleetRemaining[slot] = s.FleetDistance[slot] = d;
    s.FleetCourse[slot] = CalcCourse;
    if (s.NetworkGame && role == NetRole::Client && serverConnected) relay().SendFleet(s, slot);
  }
  if (!withinTurn) {
    SortFleets();
    BusyFlag = kFalse;
    SelectedFrom = SelectedTo = -1;
  }
  presenter().GalaxyDraw();
  presenter().Console();
  presenter().PumpEvents();
}

void Game::SortFleets() {
  GameState& s = state;
  bool exchanged = true;
  while (exchanged) {
    exchanged = false;
    for (int i = 0; i < kFleets - 1; ++i) {
      if (s.FleetFrom[i + 1] == 0) continue;
      if (s.FleetFrom[i] == 0 || s.FleetRemaining[i] > s.FleetRemaining[i + 1]) {
        std::swap(s.FleetOwner[i], s.FleetOwner[i + 1]);
        std::swap(s.FleetFrom[i], s.FleetFrom[i + 1]);
        std::swap(s.FleetTo[i], s.FleetTo[i + 1]);
        std::swap(s.FleetShips[i], s.FleetShips[i + 1]);
        std::swap(s.FleetClass[i], s.FleetClass[i + 1]);
        std::swap(s.FleetShield[i], s.FleetShield[i + 1]);
        std::swap(s.FleetDistance[i], s.FleetDistance[i + 1]);
        std::swap(s.FleetCourse[i], s.FleetCourse[i + 1]);
        std::swap(s.FleetRemaining[i], s.FleetRemaining[i + 1]);
        exchanged = true;
      }
    }
  }
}

bool Game::TruceActive() const { return state.TruceTurn - CurrentTurn(state) >= 1; }

namespace {

// The latest step whose meeting would still be stored as fewer years than
// `bound`; -1 when none would.
long long LastStepBelow(float bound) {
  if (!(bound > 0)) return -1;
  double t = std::ceil(static_cast<double>(bound) * 520) + 1;
  while (t >= 0 && !(Sng(t / 520) < bound)) t -= 1;
  return static_cast<long long>(t);
}

void ClearNearest(std::array<std::array<float, 3>, 5>& list) {
  for (int r = 0; r < 4; ++r) {
    list[r][0] = -1;
    list[r][1] = 1000;
  }
}

// Worlds Nearest passes over whatever their distance: the source, the
// excluded owner's, and during a truce other players' worlds.
bool NearestSkips(const GameState& s, int w, int from, int excludeOwner, bool truce) {
  if (w == from || s.WorldOwner[w] == excludeOwner) return true;
  return truce && s.WorldOwner[w] != 0 && s.WorldOwner[w] != s.CurrentPlayer + 1;
}

// Before the first row farther away; the rows behind move down, row 3 drops out.
void InsertNearest(std::array<std::array<float, 3>, 5>& list, int w, float distance) {
  int row = 0;
  while (row < 4 && !(list[row][1] > distance)) ++row;
  for (int r = 3; r > row; --r) list[r] = list[r - 1];
  list[row][0] = static_cast<float>(w);
  list[row][1] = distance;
}

}  // namespace

void NearestReference(Game& game, int16_t from, int16_t excludeOwner, float (*reduce)(float)) {
  const GameState& s = game.state;
  ClearNearest(game.NearestList);
  const bool truce = game.TruceActive();
  for (int w = 0; w < s.WorldCount; ++w) {
    const Trip trip = reduce ? DistCalcReferenceWith(s, from, w, 0.2f, reduce) : DistCalcReference(s, from, w, 0.2f);
    game.CalcDistance = trip.distance;
    game.CalcCourse = trip.course;
    if (game.CalcDistance >= game.NearestList[3][1] || NearestSkips(s, w, from, excludeOwner, truce)) continue;
    InsertNearest(game.NearestList, w, game.CalcDistance);
  }
}

void Game::Nearest(int16_t from, int16_t excludeOwner) {
  const GameState& s = state;
  ClearNearest(NearestList);
  const bool truce = TruceActive();
  const int lastWorld = s.WorldCount - 1;
  bool lastKnown = false;
  for (int w = 0; w < s.WorldCount; ++w) {
    // A world skipped whatever its distance needs no search, and a trip only
    // matters when it beats row 3, so the search may stop at that distance.
    // Only CalcDistance and CalcCourse must end up holding the last world's
    // full trip, whether it was skipped or not.
    if (NearestSkips(s, w, from, excludeOwner, truce)) continue;
    const Trip trip = DistCalcFastWithin(s, from, w, 0.2f, LastStepBelow(NearestList[3][1]));
    if (w == lastWorld && trip.distance != 10000) {  // a meeting it finds is the full answer
      CalcDistance = trip.distance;
      CalcCourse = trip.course;
      lastKnown = true;
    }
    if (trip.distance < NearestList[3][1]) InsertNearest(NearestList, w, trip.distance);
  }
  if (lastWorld >= 0 && !lastKnown)
    DistCalc(from, static_cast<int16_t>(lastWorld), CalcDistance, CalcCourse, 0.2f);
}

}  // namespace valkoran
