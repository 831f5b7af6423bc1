#include <cmath>

#include "game/game.h"
#include "game/slots.h"

namespace valkoran {

namespace {

// The sun's place on the view, in the model units the bombs measure in.
constexpr double kViewCenterX = 509;
constexpr double kViewCenterY = 206;

constexpr double kProximityRange = 20;
constexpr float kPulseRange = 80;

}  // namespace

int Game::ProximityBombsInUse() const {
  const GameState& s = state;
  int n = 0;
  for (int j = 0; j < kBombs; ++j) n += s.BombOwner[j] > 0;
  for (int f = 0; f < kFleets; ++f) n += s.FleetFrom[f] != 0 && s.FleetShips[f] >= kProximityBombBase;
  return n;
}

void Game::mnuComSendPulse_Click() {
  GameState& s = state;
  if (SelectedFrom < 0 || SelectedFrom >= kWorlds) return;
  const int w = SelectedFrom;
  s.WorldTreasure[w] = kPulseArmed;
  s.WorldBombs[w] -= 1;
  if (s.NetworkGame && role == NetRole::Client && serverConnected) relay().SendPulseArmed(s, w);
  presenter().Notice(" Pulse Bomb Sent!");
  presenter().Pause(1500);
  SelectedFrom = SelectedTo = -1;
  presenter().GalaxyDraw();
  presenter().Console();
  presenter().PumpEvents();
}

void Game::ProximitySet(uint8_t f) {
  GameState& s = state;
  if (!FleetInFlight(s, f)) return;
  const int w = s.FleetTo[f] - 1, A = s.FleetOwner[f];
  const float t = Sng(static_cast<double>(s.FleetShips[f]) - kProximityBombBase);
  int slot = -1;
  for (int j = 0; j < kBombs && slot < 0; ++j)
    if (s.BombOwner[j] == 0) slot = j;
  if (slot >= 0) {
    s.BombOwner[slot] = static_cast<int16_t>(A);
    s.BombWorld[slot] = static_cast<float>(w);
    s.BombThreshold[slot] = t;
  }
  if (Viewer(A)) {
    if (slot >= 0) {
      const std::string text =
          " A Proximity Bomb With a Threshold of" + Str(t) + " Ships Was Set On World " + s.WorldName[w];
      presenter().Notice(" " + text);
      AddLog(A - 1, " " + text);
      AddWorldHistory(w, A - 1, DateStamp(s) + ":" + text);
      presenter().WorldRing(w, s.WorldOwner[w], 13, true);
      presenter().WorldMark(Mark::ProximityRange, w, A, 4);
      if (!s.SpeedGame) {
        presenter().Cue("reinforcements.wav");
        presenter().Pause(1000);
      }
    } else {
      // Launches stop at twenty, but a loaded game can still bring one too
      // many: its owner must not be told it was set.
      const std::string text =
          "  A Proximity Bomb Could Not Be Set On World " + s.WorldName[w] + ", Twenty Are Already Armed";
      presenter().Notice(text);
      AddLog(A - 1, text);
    }
    DataClear(f);
    presenter().Console();
    presenter().CleanGalaxy();
  } else {
    DataClear(f);
  }
  presenter().Notice("");
}

void Game::Proximity(int16_t f, int16_t j) {
  GameState& s = state;
  if (!FleetInFlight(s, f) || j < 0 || j >= kBombs || s.BombOwner[j] < 1 || s.BombOwner[j] > kSeats) return;
  const int P = s.BombOwner[j], A = s.FleetOwner[f], w = s.FleetTo[f] - 1;
  const long long b = RoundHalfEvenUnchecked(s.BombWorld[j]);
  if (b < 0 || b >= kWorlds) return;
  const float ships = s.FleetShips[f];
  presenter().WorldMark(Mark::ProximityRange, static_cast<int>(b), P, 4);
  WorldUp(static_cast<uint8_t>(f));
  // A fleet of the largest size is still ships; only the bomb codes are bombs.
  const std::string victim = ships < kAnnihilationBomb
                                 ? " Destroyed" + Str(ships) + " Ships From " + s.PlayerName[A - 1]
                                 : " Destroyed A Traveling Bomb From " + s.PlayerName[A - 1];
  const std::string text = " A Proximity Bomb Set By " + s.PlayerName[P - 1] + " On World " + s.WorldName[b] + victim;
  presenter().Notice(" " + text);
  AddLog(A - 1, " " + text);
  // Kept in the record of the fleet's target, but naming the world the bomb lay on.
  AddWorldHistory(w, A - 1, DateStamp(s) + ":" + text + " ");
  s.BombOwner[j] = 0;
  s.BombWorld[j] = 0;
  s.BombThreshold[j] = 0;
  if (!s.SpeedGame) presenter().Cue("bomb.wav");
  WorldDown(static_cast<uint8_t>(f));
  presenter().CleanGalaxy();
  DataClear(static_cast<uint8_t>(f));
  presenter().Console();
  presenter().Notice("");
}

bool Game::ProximityCheck(int f, int j) const {
  const GameState& s = state;
  if (!FleetInFlight(s, f) || j < 0 || j >= kBombs || s.BombOwner[j] <= 0) return false;
  if (s.FleetOwner[f] == s.BombOwner[j]) return false;
  const float ships = s.FleetShips[f];
  if (!(ships >= s.BombThreshold[j] || ships > kMaxFleetShips)) return false;
  const long long q = RoundHalfEvenUnchecked(s.BombWorld[j]);
  if (q < 0 || q >= kWorlds) return false;
  const int from = s.FleetFrom[f] - 1, to = s.FleetTo[f] - 1;
  const double D = s.FleetDistance[f], R = s.FleetRemaining[f];
  const double c = s.WorldTreasure[from] == kDoubleFuel ? 2.0 * s.FleetCourse[f] : s.FleetCourse[f];
  const double orbitS = s.WorldOrbit[from], orbitD = s.WorldOrbit[to], orbit8 = s.WorldOrbit[kHomeRing];
  const double angleS = s.WorldAngle[from], spinS = s.WorldSpin[from];
  const double orbitQ = s.WorldOrbit[q], angleQ = s.WorldAngle[q], spinQ = s.WorldSpin[q];
  // Eleven places across the turn's movement; the worlds have already turned
  // for this turn, so each is set back to where it stood at that moment.
  for (int k = 0; k <= 10; ++k) {
    const double remaining = R - k * 0.005;
    const double e = (D - remaining) * 520;
    const double back = 520 * 0.05 * (10 - k) / 10;
    const double angle = angleS - spinS * back + c * e * orbit8 / (orbitS * 520);
    const double radius = orbitS - e * (orbitS - orbitD) / (D * 520 - 1);
    const double fx = radius * std::cos(angle) + kViewCenterX, fy = radius * std::sin(angle) + kViewCenterY;
    const double bombAngle = angleQ - spinQ * back;
    const double bx = orbitQ * std::cos(bombAngle) + kViewCenterX, by = orbitQ * std::sin(bombAngle) + kViewCenterY;
    if (std::sqrt((fx - bx) * (fx - bx) + (fy - by) * (fy - by)) <= kProximityRange) return true;
  }
  return false;
}

void Game::PulseBomb(uint8_t k) {
  GameState& s = state;
  if (k >= kWorlds) return;
  const int O = s.WorldOwner[k];
  const double xk = s.WorldOrbit[k] * std::cos(static_cast<double>(s.WorldAngle[k])) + kViewCenterX;
  const double yk = s.WorldOrbit[k] * std::sin(static_cast<double>(s.WorldAngle[k])) + kViewCenterY;
  // The pulse is the owner's warning to everyone: its sounds and pauses play in a Speed Game too.
  for (int r = 13; r <= 15; ++r) {
    presenter().WorldRing(k, O, r, true);
    presenter().Pause(100);
  }
  presenter().Pause(500);
  for (int i = 0; i <= 60; i += 10) {
    presenter().CleanGalaxy();
    presenter().PulseRing(k, O, i);
  }
  presenter().Cue("pulse.wav");
  for (int f = 0; f < kFleets; ++f) {
    // A fleet launched this turn has not left its world yet.
    if (!FleetInFlight(s, f) || s.FleetRemaining[f] == s.FleetDistance[f] || s.FleetOwner[f] == O) continue;
    const int from = s.FleetFrom[f] - 1, to = s.FleetTo[f] - 1, A = s.FleetOwner[f];
    const double D = s.FleetDistance[f], R = s.FleetRemaining[f], q = s.FleetCourse[f];
    const double orbitS = s.WorldOrbit[from], orbitT = s.WorldOrbit[to];
    const double u = (D - R) * 520;
    const double gap = static_cast<double>(RoundHalfEvenUnchecked(orbitS - orbitT));
    const double theta = s.WorldAngle[from] + u * q * s.WorldOrbit[kHomeRing] / (orbitT * 520);
    const double rho = orbitS - gap * u / (520 * D - 1);
    const double x = rho * std::cos(theta) + kViewCenterX, y = rho * std::sin(theta) + kViewCenterY;
    if (Sng(std::sqrt((y - yk) * (y - yk) + (x - xk) * (x - xk))) > kPulseRange) continue;
    const float ships = s.FleetShips[f];
    presenter().WorldMark(Mark::PulseMark, f, A, ships < 100 ? 1 : ships < 500 ? 2 : ships < kAnnihilationBomb ? 3 : 4);
    const std::string& name = s.PlayerName[A - 1];
    const std::string tail = " Destroyed By A Pulse Bomb On World " + s.WorldName[k];
    const std::string text = ships == kScout             ? "  A Scout From " + name + " Was" + tail
                             : ships < kAnnihilationBomb ? "  " + Str(ships) + " Ships From " + name + " Were" + tail
                                                         : "  A Bomb From " + name + " Was" + tail;
    presenter().Notice(text);
    AddLog(A - 1, text);
    presenter().Cue("pulsegot.wav");
    presenter().Pause(1000);
    DataClear(static_cast<uint8_t>(f));
    presenter().Console();
  }
  presenter().Pause(2000);
  presenter().CleanGalaxy();
  s.WorldTreasure[k] = kNoTreasure;
}

}  // namespace valkoran
