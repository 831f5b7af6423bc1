#include "game/newgame.h"

#include <initializer_list>

namespace valkoran {

namespace {

constexpr float kOrbits[kWorlds] = {50,  70,  90,  110, 150, 170, 190, 210, 130, 130,
                                    130, 130, 210, 190, 170, 150, 110, 90,  70,  210,
                                    190, 170, 150, 110, 210, 190, 170, 150, 210, 190};

constexpr const char* kNames[kWorlds] = {
    "Amenthes", "Axius",   "Borea",    "Brazos",  "Cognitum", "Cygnus",   "Drilon", "Durius",
    "Eridania", "Evros",   "Gaea",     "Hesperia", "Iridum",  "Iynx",     "Kasei",  "Liris",
    "Morpheos", "Mysia",   "Nilus",    "Nubium",  "Odii",     "Promethei", "Romulus", "Senus",
    "Sirenum",  "Trivium", "Ulyxis",   "Veris",   "Xanthe",   "Zea"};

// A ring of worlds placed around its first world: the first gets `r` plus its
// offset, every other one the first's angle plus its offset plus its own `r`.
struct Placed {
  int world;
  int num, den;  // offset num*pi/den
  double Offset() const { return num * kPi / den; }
};

void PlaceRing(GameState& s, Rng& rng, std::initializer_list<Placed> ring) {
  auto it = ring.begin();
  const int first = it->world;
  s.WorldAngle[first] = Sng(rng.Next() + it->Offset());
  for (++it; it != ring.end(); ++it)
    s.WorldAngle[it->world] = Sng(s.WorldAngle[first] + it->Offset() + rng.Next());
}

}  // namespace

float OrbitOf(int world) { return kOrbits[world]; }
const char* NameOf(int world) { return kNames[world]; }

std::optional<std::string> ValidateSetup(const GameSetup& setup) {
  if (setup.names[0].empty()) return "You Must Enter Your Name First!";
  if (setup.worlds < kMinWorlds || setup.worlds > kWorlds)
    return "The Solar System Must Have From 9 To 30 Worlds!";
  for (int s = 0; s < kSeats; ++s) {
    const std::string& n = setup.names[s];
    if (n.find('*') != std::string::npos) return "Player Names May Not Contain \"*\"!";
    if (n.find_first_of("\r\n") != std::string::npos) return "Player Names Must Fit On One Line!";
    // A saved game holds names of up to 255 bytes; a letter beyond ASCII
    // takes two to four of them.
    if (n.size() > 255) return "Player Names May Have At Most 255 Bytes!";
    if (n.empty()) continue;
    if (setup.worlds < 9 + s)
      return "Player " + std::to_string(s + 1) + " Needs At Least " + std::to_string(9 + s) +
             " Worlds In The Solar System!";
  }
  if (setup.truceChecked && setup.truceText != "0") {
    if (setup.names[1].empty()) return "A Battle Truce Needs A Second Player!";
    auto turn = RoundHalfEven(Val(setup.truceText), 10, 50);
    if (!turn) return "The Battle Truce Must End At A Turn From 10 To 50!";
  }
  return std::nullopt;
}

void NewGame(Game& game, const GameSetup& setup) {
  GameState& s = game.state;
  Rng& rng = game.rng;
  game.SelectedFrom = game.SelectedTo = -1;
  SetPlayerColours(s, ColourSource::NewGame);
  s.WorldCount = static_cast<uint8_t>(setup.worlds);
  if (setup.truceChecked && setup.truceText != "0")
    s.TruceTurn = static_cast<int16_t>(RoundHalfEvenUnchecked(Val(setup.truceText)));
  s.ShieldOption = setup.shields;

  DataSet(s);
  // Nothing of the last game may leak into this one: not its logs, not its
  // scout reports, not bombs stored on worlds that are unowned again.
  for (int p = 0; p < kPlayerSlots; ++p) {
    s.GameHistory[p].clear();
    s.PlayerKnowledge[p] = {};
  }
  s.WorldBombs = {};

  const int count = s.WorldCount;
  for (int w = 0; w < count; ++w) {
    s.WorldProduction[w] = static_cast<uint8_t>(Int(16 * static_cast<double>(rng.Next())));
    s.WorldClass[w] = static_cast<uint8_t>(Int(5 * static_cast<double>(rng.Next())) + 1);
    s.WorldShips[w] = 30;
    s.WorldOwner[w] = 0;
    s.WorldRevealed[w] = static_cast<int16_t>(Int(5 * static_cast<double>(rng.Next())) + 1);
    s.WorldShieldOn[w] = static_cast<uint8_t>(Int(2 * static_cast<double>(rng.Next())));
    s.WorldTreasure[w] = kNoTreasure;
  }

  const int n = static_cast<int>(Int(count / 4.0)) + 1;
  for (int k = 1; k <= n; ++k) {
    int w;
    do {
      w = 4 + static_cast<int>(Int((count - 4) * static_cast<double>(rng.Next())));
    } while (s.WorldTreasure[w] >= 1);
    const double q = static_cast<double>(k) / n;
    if (q < 0.26) {
      s.WorldTreasure[w] = kDoubleFuel;
    } else if (q < 0.63) {
      s.WorldTreasure[w] = kExtraBomb;
    } else if (q < 0.88) {
      const double ships = (Int(6 * static_cast<double>(rng.Next())) + 5) * s.WorldProduction[w];
      s.WorldTreasure[w] = static_cast<int16_t>(RoundHalfEvenUnchecked(ships));
    } else {
      s.WorldTreasure[w] = kCrystal;
    }
  }

  for (int w = 0; w < kWorlds; ++w) s.WorldOrbit[w] = kOrbits[w];

  s.WorldAngle[8] = rng.Next();
  s.WorldAngle[9] = Sng(s.WorldAngle[8] + kPi);
  s.WorldAngle[10] = Sng(s.WorldAngle[8] + kPi / 2);
  s.WorldAngle[11] = Sng(s.WorldAngle[8] + 3 * kPi / 2);
  PlaceRing(s, rng, {{7, 1, 5}, {12, 6, 5}, {19, 2, 5}, {24, 8, 5}, {28, 4, 5}});
  PlaceRing(s, rng, {{6, 2, 5}, {13, 6, 5}, {20, 2, 5}, {25, 8, 5}, {29, 4, 5}});
  PlaceRing(s, rng, {{5, 3, 4}, {14, 1, 1}, {21, 1, 2}, {26, 3, 2}});
  PlaceRing(s, rng, {{4, 1, 1}, {15, 1, 1}, {22, 1, 2}, {27, 3, 2}});
  PlaceRing(s, rng, {{3, 4, 3}, {16, 1, 3}, {23, 1, 1}});
  PlaceRing(s, rng, {{2, 3, 2}, {17, 1, 1}});
  PlaceRing(s, rng, {{1, 1, 2}, {18, 1, 1}});
  s.WorldAngle[0] = rng.Next();

  s.WorldSpin[8] = Sng(kTwoPi / (4 * static_cast<double>(s.WorldOrbit[8])));
  const double orbit8 = s.WorldOrbit[8];
  for (int w = 0; w < kWorlds; ++w) {
    if (w == 8) continue;
    const double o = s.WorldOrbit[w];
    s.WorldSpin[w] = Sng(orbit8 * orbit8 / (o * o) * s.WorldSpin[8]);
  }
  for (int w = 0; w < kWorlds; ++w) s.WorldName[w] = kNames[w];

  s.GameYear = 1.0f;
  s.AutoSaveYear = 1.0f;
  game.AutoSaveChecked = false;  // a new game starts with the reminder off
  s.CurrentPlayer = 0;
  s.ShotDelay = 0;
  for (int p = 0; p < kSeats; ++p) s.PlayerName[p].clear();

  for (int seat = 0; seat < kSeats; ++seat) {
    if (setup.names[seat].empty()) continue;
    const int h = kHomeRing + seat;
    s.WorldProduction[h] = 10;
    s.WorldClass[h] = 5;
    s.WorldShips[h] = 10;
    s.WorldOwner[h] = static_cast<uint8_t>(seat + 1);
    s.WorldShieldOn[h] = 0;
    s.WorldTreasure[h] = kNoTreasure;
    s.PlayerName[seat] = setup.names[seat];
    s.PlayerLeft[seat] = 0;
    s.PlayerCrystal[seat] = 0;
    const int16_t bombs = static_cast<int16_t>(Int(count / 8.0));
    s.WorldBombs[h] = (seat == 0 && setup.names[1].empty()) ? bombs : static_cast<int16_t>(bombs + 2);
  }

  game.TurnLock = game.BusyFlag = game.GameOverShown = kFalse;
  game.SelectedFrom = game.SelectedTo = -1;
  game.GameIsOver = false;
  s.SpeedGame = kFalse;
}

}  // namespace valkoran
