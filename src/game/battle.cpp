#include <algorithm>
#include <string>
#include <utility>

#include "game/game.h"
#include "game/slots.h"

namespace valkoran {

namespace {

// Ships one hit destroys: a better class tears through more than one ship.
double Loss(int shooterClass, int targetClass) {
  if (shooterClass <= targetClass) return 1;
  return static_cast<double>(shooterClass) / targetClass / 2 + 0.5;
}

int16_t ShieldPoints(float panelValue) { return static_cast<int16_t>(RoundHalfEvenClamped(panelValue, -32768, 32767)); }

uint8_t ShieldField(int16_t points) { return static_cast<uint8_t>(std::clamp<int>(points, 0, 255)); }

}  // namespace

void Game::Battle(uint8_t f) {
  GameState& s = state;
  if (!FleetInFlight(s, f)) return;
  if (s.FleetShips[f] == kAnnihilationBomb) {
    BattleSide = 2;
    if (IsNetworkHost()) relay().SendBattleDone(2, f);
    BattleDone(f);
    return;
  }
  BattleSetup(f);
  presenter().PumpEvents();
  if (IsNetworkHost()) {
    relay().SendBattleAccu(AttackerAccuracy, DefenderAccuracy);
    relay().SendBattleSetup(f);
  }
  // A client fights the battle shot by shot as the host's messages arrive.
  if (IsNetworkClient()) return;
  const bool host = IsNetworkHost();
  BattleSide = 1;
  // Whole ship counts always leave one side a shot. Should neither side have
  // one (a fraction of a ship each), the world holds rather than the battle
  // going on for ever.
  int silentVolleys = 0;
  do {
    if (BattleSide == 1) {
      if (host) relay().SendShotFrom();
      ShotFrom();
    } else {
      if (host) relay().SendShotTo();
      ShotTo();
    }
    const long long shots = RoundHalfEvenUnchecked(ShooterShips);
    silentVolleys = shots >= 1 ? 0 : silentVolleys + 1;
    if (silentVolleys == 2) {
      ShotTo();  // the world keeps what it has, in whole ships
      ShooterShips = Sng(Int(ShooterShips));
      TargetShips = 0;
      BattleSide = 2;  // flipped below: the defender is the side left standing
    }
    for (long long n = shots; n >= 1; --n) {
      if (!s.SpeedGame) presenter().Pause(static_cast<int>(RoundHalfEvenClamped(s.ShotDelay, 0, 1000000)));
      const float x = Sng(100.0 * rng.Next());
      if (x <= ShooterAccuracy) {
        if (BattleSide == 1) {
          if (host) relay().SendFromHit(f);
          FromHit(f);
        } else {
          if (host) relay().SendToHit(f);
          ToHit(f);
        }
        if (TargetShips < 0) TargetShips = 0;
      }
      if (host) relay().SendFrameUpdate(BattleSide, static_cast<int>(n));
      FrameUpdate(static_cast<int16_t>(std::min<long long>(n, 32767)));
      if (TargetShips <= 0) {
        TargetShips = 0;
        break;
      }
    }
    BattleSide = BattleSide == 1 ? 2 : 1;
  } while (TargetShips > 0);
  if (host) relay().SendBattleDone(BattleSide, f);
  BattleDone(f);
}

void Game::BattleSetup(uint8_t f) {
  GameState& s = state;
  if (!FleetInFlight(s, f)) return;
  const int w = s.FleetTo[f] - 1, A = s.FleetOwner[f], D = s.WorldOwner[w];
  presenter().MessageBox("");
  presenter().Banner("");
  if (HostOrLocal()) {
    AttackerAccuracy = static_cast<uint8_t>(60 + Int(40.0 * rng.Next()));
    DefenderAccuracy = static_cast<uint8_t>(60 + Int(40.0 * rng.Next()));
  }
  const float F = s.FleetShips[f], S = s.WorldShips[w];
  Panel.active = true;
  Panel.attacker = A;
  Panel.defender = D;
  // Each side starts with as many shots as ships.
  auto side = [](std::string name, float shipClass, float ships, float shield, float accuracy) {
    return BattleSideValues{std::move(name), shipClass, ships, shield, ships, ships, accuracy};
  };
  Panel.from = side(s.PlayerName[A - 1], s.FleetClass[f], F, s.FleetShield[f], AttackerAccuracy);
  Panel.to = side(D > 0 ? s.PlayerName[D - 1] + " - World " + s.WorldName[w] : "World " + s.WorldName[w],
                  s.WorldClass[w], S, s.WorldShield[w], DefenderAccuracy);
  presenter().BattlePanelChanged(Panel);
  presenter().WorldMark(Mark::AttackMarkers, w, A, F < 100 ? 1 : F < 500 ? 2 : 3);
  WorldUp(f);
  // About three seconds for a volley of the attacker, whatever its size.
  const double sd = static_cast<double>(S), fd = static_cast<double>(F);
  // Whole ship counts keep this near 300 ms at most; fractions of a ship would
  // drive it towards infinity, which no saved game can hold.
  s.ShotDelay = S <= 0 || F <= 9 ? 300.0f : Sng(std::min(2 * (1500 * sd + fd) / (sd * fd), 60000.0));
  presenter().Notice("Battle Alert: " + Str(F) + " Ships from " + s.PlayerName[A - 1] + " Attacking" + Str(S) +
                     " Ships on World " + s.WorldName[w]);
  if (!s.SpeedGame) presenter().Cue("battlestart.wav");
}

void Game::WorldUp(uint8_t f) {
  if (!FleetInFlight(state, f)) return;
  const int w = state.FleetTo[f] - 1;
  for (int r = 13; r <= 15; ++r) {
    presenter().WorldRing(w, state.WorldOwner[w], r, true);
    if (!state.SpeedGame) presenter().Pause(100);
  }
}

void Game::WorldDown(uint8_t f) {
  if (!FleetInFlight(state, f)) return;
  const int w = state.FleetTo[f] - 1;
  for (int r = 15; r >= 13; --r) {
    presenter().WorldRing(w, state.WorldOwner[w], r, false);
    if (!state.SpeedGame) presenter().Pause(100);
  }
}

void Game::ShotFrom() { StartVolley(Panel.from, Panel.to); }
void Game::ShotTo() { StartVolley(Panel.to, Panel.from); }

// A volley starts from what the panel shows, so the fractions of ships lost
// in the last volley are gone: only whole ships fire and are fired at.
void Game::StartVolley(const BattleSideValues& shooter, const BattleSideValues& target) {
  ShooterShield = ShieldPoints(shooter.shield);
  ShooterShips = shooter.ships;
  ShooterAccuracy = shooter.accuracy;
  TargetShield = ShieldPoints(target.shield);
  TargetShips = target.ships;
  presenter().PumpEvents();
}

void Game::FromHit(uint8_t f) { Hit(f, true); }
void Game::ToHit(uint8_t f) { Hit(f, false); }

// One hit of the side firing this volley: the target's shield first, then
// its ships, by the classes in the tables rather than the panel's.
void Game::Hit(uint8_t f, bool attackerFires) {
  const GameState& s = state;
  if (!FleetInFlight(s, f)) return;
  const int w = s.FleetTo[f] - 1;
  if (TargetShield > 0) {
    --TargetShield;
  } else {
    const double loss = attackerFires ? Loss(s.FleetClass[f], s.WorldClass[w]) : Loss(s.WorldClass[w], s.FleetClass[f]);
    TargetShips = Sng(static_cast<double>(TargetShips) - loss);
  }
  if (TargetShips < 0) TargetShips = 0;
  if (s.SpeedGame) return;
  if (attackerFires) {
    presenter().StrengthBar(ShooterShips, TargetShips, s.FleetOwner[f], s.WorldOwner[w]);
  } else {
    presenter().StrengthBar(TargetShips, ShooterShips, s.FleetOwner[f], s.WorldOwner[w]);
  }
}

void Game::FrameUpdate(int16_t cc) {
  BattleSideValues* shooter = BattleSide == 1 ? &Panel.from : BattleSide == 2 ? &Panel.to : nullptr;
  if (!shooter) return;
  BattleSideValues& target = BattleSide == 1 ? Panel.to : Panel.from;
  shooter->shots = cc;
  target.shield = TargetShield;
  target.ships = Sng(Int(TargetShips));
  target.shots = target.ships;
  presenter().BattlePanelChanged(Panel);
}

void Game::BattleDone(uint8_t f) {
  GameState& s = state;
  if (!FleetInFlight(s, f)) return;
  const int w = s.FleetTo[f] - 1, A = s.FleetOwner[f], D = s.WorldOwner[w];
  const std::string& world = s.WorldName[w];
  const std::string& attacker = s.PlayerName[A - 1];
  const std::string stamp = DateStamp(s);
  auto toAll = [&](const std::string& text, const std::string& historyLine) {
    presenter().Notice(text);
    for (int k = 0; k < kSeats; ++k) AddLog(k, text);
    for (int k = 0; k < kSeats; ++k) AddWorldHistory(w, k, historyLine);
  };

  if (BattleSide == 2) {
    presenter().StrengthBar(1, 0, A, D);
    if (s.FleetShips[f] == kAnnihilationBomb) {
      const std::string tail = attacker + " Took Over World " + world + " With An Annihilation Bomb";
      toAll("  " + tail, stamp + ": " + tail + " ");
      s.WorldShips[w] = 0;
      s.WorldShield[w] = 0;
      presenter().WorldMark(Mark::BombCluster, w, A, 0);
      WorldUp(f);
      if (!s.SpeedGame) {
        presenter().Cue("bomb.wav");
        presenter().Pause(500);
      }
    } else {
      const std::string head = attacker + " Took Over World " + world + " With";
      // The log keeps the fraction a first volley can leave; the world's record only whole ships.
      toAll("  " + head + Str(ShooterShips) + " Ships Left",
            stamp + ": " + head + Str(Int(ShooterShips)) + " Ships Left ");
      s.WorldShips[w] = ShooterShips;
      s.WorldShield[w] = ShieldField(ShooterShield);
    }
    s.WorldOwner[w] = static_cast<uint8_t>(A);
    s.WorldShieldOn[w] = 0;
    presenter().WorldMark(Mark::WonRing, w, A, 1);
    if (!s.SpeedGame) presenter().Cue("battlewon.wav");

    // The conqueror's finds. The effects happen on every machine; the
    // reports only where the conqueror sits.
    const bool shown = !s.NetworkGame || A == s.CurrentPlayer + 1;
    auto find = [&](const std::string& text, const std::string& historyTail) {
      if (!shown) return;
      presenter().Notice(text);
      AddLog(A - 1, text);
      if (!s.SpeedGame) presenter().Cue("gameinfo.wav");
      AddWorldHistory(w, A - 1, stamp + historyTail);
    };
    if (s.WorldBombs[w] > 0) {
      find(s.WorldBombs[w] < 2 ? "A Bomb Was Found On World!" : Str(s.WorldBombs[w]) + " Bombs Were Found On World!",
           ":" + Str(s.WorldBombs[w]) + " Bombs Were Found On World!");
    }
    const int code = s.WorldTreasure[w];
    if (code > 0) {
      if (code == kExtraBomb) {
        s.WorldBombs[w] = AddBomb(s.WorldBombs[w]);
        s.WorldTreasure[w] = kNoTreasure;
        find("  A Bomb Was Found In A Secret Hangar!", ": Extra Bomb Found In Secret Hangar! ");
      } else if (code == kDoubleFuel) {
        find("  Double Speed Fuel Found On World!", ": Double Speed Fuel Found On World! ");
      } else if (code == kCrystal) {
        s.PlayerCrystal[A - 1] = 1;
        s.WorldTreasure[w] = kNoTreasure;
        find("  An Information Crystal Found On World!", ": Information Crystal Found On World!");
      } else {
        s.WorldShips[w] = Sng(static_cast<double>(s.WorldShips[w]) + code);
        find(" " + Str(code) + " Ships Were Found In A Secret Hangar!",
             ":" + Str(code) + " Ships Found In Secret Hangar! ");
        s.WorldTreasure[w] = kNoTreasure;
      }
      if (!s.SpeedGame) presenter().Pause(1000);
    }
  } else {
    presenter().StrengthBar(0, 1, A, D);
    const std::string ships = " Fought Off" + Str(s.FleetShips[f]) + " Ships From " + attacker;
    toAll((D > 0 ? "  " + s.PlayerName[D - 1] + " World " : std::string("  World ")) + world + ships,
          stamp + ":" + ships + ", " + Str(Int(ShooterShips)) + " Ships Left ");
    s.WorldShips[w] = ShooterShips;
    s.WorldShield[w] = ShieldField(ShooterShield);
    if (!s.SpeedGame) presenter().Cue("battlelost.wav");
  }

  presenter().Pause(1000);  // kept in a Speed Game: the outcome stays readable
  WorldDown(f);
  DataClear(f);
  presenter().Console();
  presenter().CleanGalaxy();
  Panel = BattlePanel{};
  presenter().BattlePanelChanged(Panel);
  presenter().Notice("");
}

}  // namespace valkoran
