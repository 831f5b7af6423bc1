#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game/game.h"
#include "support/recorder.h"

namespace valkoran {
namespace {

using Lines = std::vector<std::string>;
const std::string Y = " Year 1.05, Turn #1";

// The host's sends, in the same timeline as what the player sees.
struct RelayLog : Relay {
  explicit RelayLog(Lines& events) : e(events) {}
  void SendProximitySet(int f) override { Add("proximityset", f); }
  void SendReinforcements(int f) override { Add("reinforcements", f); }
  void SendScout(int f, int seat) override { Add("scout", f, seat); }
  void SendBattleAccu(int a, int d) override { Add("accu", a, d); }
  void SendBattleSetup(int f) override { Add("setup", f); }
  void SendBattleDone(int side, int f) override { Add("done", side, f); }
  void Add(const std::string& m, int a, int b = -1) {
    e.push_back("send: " + m + " " + std::to_string(a) + (b < 0 ? "" : " " + std::to_string(b)));
  }
  Lines& e;
};

// Seats Ann, ENEMY1, Bob; worlds 4 "Kasei" and 5 "Zea"; every world on orbit 100 at angle 0, standing still.
class Arrive : public ::testing::Test {
 protected:
  void SetUp() override {
    game.SetPresenter(&rec);
    s.PlayerName = {"Ann", "ENEMY1", "Bob", "", ""};
    s.WorldCount = 12, s.GameYear = 1.05f;
    for (int w = 0; w < kWorlds; ++w) s.WorldName[w] = "W" + std::to_string(w), s.WorldOrbit[w] = 100;
    s.WorldName[4] = "Kasei", s.WorldName[5] = "Zea";
  }
  // On a fresh record: arriving when `remaining` is 0; 0.5 means launched this turn.
  uint8_t Fleet(int f, int from, int to, int owner, float ships, int cls = 3, float remaining = 0) {
    rec.Clear(), s.GameHistory = {}, s.WorldHistory[5] = {};
    s.FleetFrom[f] = static_cast<uint8_t>(from + 1), s.FleetTo[f] = static_cast<uint8_t>(to + 1);
    s.FleetOwner[f] = static_cast<uint8_t>(owner), s.FleetShips[f] = ships, s.FleetClass[f] = static_cast<uint8_t>(cls);
    s.FleetDistance[f] = 0.5f, s.FleetRemaining[f] = remaining;
    return static_cast<uint8_t>(f);
  }
  // Fleet 3 of `attacker` lands on Zea from Kasei.
  void Land(int zeaOwner, float zeaShips, int attacker, float ships, int zeaClass = 3, int fleetClass = 3) {
    s.WorldOwner[5] = static_cast<uint8_t>(zeaOwner), s.WorldShips[5] = zeaShips;
    s.WorldClass[5] = static_cast<uint8_t>(zeaClass), game.EndTravel(Fleet(3, 4, 5, attacker, ships, fleetClass));
  }
  size_t Count(const std::string& e) const { return std::count(rec.events.begin(), rec.events.end(), e); }
  Game game{11};
  GameState& s = game.state;
  test::Recorder rec;
};

TEST_F(Arrive, OwnWorldsTakeInShipsAndBombsAndScoutsReportOnOthers) {
  const std::tuple<float, int, bool, float, int, std::string, std::string> cases[] = {
      // ships, owner, Speed Game, Zea's ships and bombs after, the text told, the record's line after the stamp
      {kScout, 1, false, 11, 0, "  1 Reinforcements From World Kasei Arrived At World Zea",
       ": 1 Reinforcements From World Kasei Arrived "},  // a scout home again is one more ship
      {25, 2, false, 35, 0, "", ""},                     // a computer player's: the state changes, nothing is said
      {9999, 1, true, 10, 1, " A Bomb From World Kasei Was Transferred To World Zea",
       ": A Bomb From World Kasei Was Transferred To World Zea "}};
  for (const auto& [ships, owner, speed, shipsAfter, bombsAfter, text, history] : cases) {
    s.SpeedGame = speed ? kTrue : kFalse, Land(owner, 10, owner, ships);
    EXPECT_EQ(std::tuple(s.WorldShips[5], +s.WorldBombs[5], +s.FleetFrom[3]), std::tuple(shipsAfter, bombsAfter, 0))
        << ships;
    Lines seen = {"notice: " + text, "log 0: " + text, "cue: reinforcements.wav", "pause: 1000", "notice: "};
    if (speed) seen.erase(seen.begin() + 2, seen.begin() + 4);
    if (text.empty()) seen = {"notice: "};
    EXPECT_EQ(rec.events, seen);
    EXPECT_EQ(s.WorldHistory[5][owner - 1], text.empty() ? "" : Y + history + "\r\n");
  }
  s.SpeedGame = kFalse, s.WorldProduction[5] = 7, s.WorldShield[5] = 40, s.WorldShieldOn[5] = 1, s.WorldBombs[5] = 2;
  Land(2, 30.5f, 1, kScout);
  const std::string fields = "  Prod: 7,  Class: 3,  Shield: On, 40%,  Ships: 30.5";
  const std::string report = "  Scout Information for World Zea:" + fields + ",  Bombs: 2";
  EXPECT_EQ(rec.events, (Lines{"notice: " + report, "log 0: " + report, "cue: scout.wav"}));
  EXPECT_EQ(s.WorldHistory[5][0], Y + ":  Scout Information:" + fields + ",  Bombs: 2 \r\n");
  const auto& k = s.PlayerKnowledge[0];
  EXPECT_EQ((std::vector<int>{k[0][5], k[1][5], k[2][5], k[3][5], k[4][5]}), (std::vector<int>{1, 3, 7, 30, 40}));
  // An unowned world's record leaves its bombs out; the report does not.
  Land(0, 30.5f, 1, kScout);
  EXPECT_EQ(rec.events[0] + s.WorldHistory[5][0], "notice: " + report + Y + ":  Scout Information:" + fields + " \r\n");
  // A computer player learns as much, silently; a turn or a count beyond the field stays at its top.
  s.GameYear = 5000, Land(0, 40000, 2, kScout);
  EXPECT_EQ(rec.events, Lines{});
  EXPECT_EQ(std::tuple(s.PlayerKnowledge[1][0][5], s.PlayerKnowledge[1][3][5]), std::tuple(32767, 32767));
}

TEST_F(Arrive, HostSendsBeforeEachHandlerAndAClientWaitsForTheHostsShots) {
  RelayLog relay(rec.events);
  game.SetRelay(&relay);
  s.NetworkGame = kTrue, s.SpeedGame = kTrue, game.role = NetRole::Server;
  const std::tuple<int, float, std::string> cases[] = {  // Zea's owner, the fleet's ships, the first send
      {1, 5, "reinforcements 3"}, {1, 10010, "proximityset 3"}, {2, kScout, "scout 3 0"},
      {2, 10010, "proximityset 3"}, {2, 9999, "done 2 3"}};
  for (const auto& [zeaOwner, ships, send] : cases) {
    Land(zeaOwner, 10, 1, ships);
    EXPECT_EQ(rec.events.at(0), "send: " + send);
  }
  Land(2, 3, 1, 20);
  const std::string accu = std::to_string(game.AttackerAccuracy) + " " + std::to_string(game.DefenderAccuracy);
  EXPECT_EQ(rec.Only("send: "), (Lines{"send: accu " + accu, "send: setup 3", "send: done 2 3"}));
  game.role = NetRole::Client, game.AttackerAccuracy = 73, game.DefenderAccuracy = 84;
  Land(2, 30, 1, 25);
  EXPECT_EQ(std::tuple(game.Panel.from.accuracy, game.Panel.to.accuracy, +s.FleetFrom[3], +s.WorldOwner[5]),
            std::tuple(73, 84, 5, 2));  // the fleet waits for the host's outcome
  EXPECT_EQ(rec.Only("send: "), Lines{});
  EXPECT_EQ(rec.events.back(), "notice: Battle Alert:  25 Ships from Ann Attacking 30 Ships on World Zea");
}

TEST_F(Arrive, HitsWearDownTheShieldThenCostShipsByClassInVolleysUntilASideHasNone) {
  Fleet(3, 4, 5, 1, 10);
  s.WorldClass[5] = 3, game.TargetShield = 40, game.TargetShips = 10;
  for (int i = 0; i < 41; ++i) game.FromHit(3);
  EXPECT_EQ(game.TargetShips, 9);  // forty hits taken by the shield
  for (const auto& [shooter, target, loss] : {std::tuple{1, 5, 1.0}, {2, 1, 1.5}, {4, 3, 1.1667}})
    for (bool attacker : {true, false}) {
      s.FleetClass[3] = static_cast<uint8_t>(attacker ? shooter : target);
      s.WorldClass[5] = static_cast<uint8_t>(attacker ? target : shooter);
      game.TargetShield = 0, game.TargetShips = 100, attacker ? game.FromHit(3) : game.ToHit(3);
      EXPECT_NEAR(game.TargetShips, 100 - loss, 1e-4) << shooter << " on " << target;
    }
  // Whether each of the attacker's first shots hits: the two accuracies are drawn first.
  auto draws = [](Rng r, int shots) {
    const double accuracy = 60 + Int(40.0 * r.Next());
    r.Next();
    std::vector<bool> hit(shots);
    for (auto&& h : hit) h = Sng(100.0 * r.Next()) <= accuracy;
    return hit;
  };
  // One volley of one-ship hits; class 5 answers three ships a hit and ends it in its first volley.
  const auto shots = draws(game.rng, 25);
  const int hits = static_cast<int>(std::count(shots.begin(), shots.end(), true));
  Land(0, 1000, 2, 25, 5, 1);
  EXPECT_TRUE(rec.Has("pause: 120"));  // 2*(1500*1000+25)/(1000*25) ms a shot
  EXPECT_TRUE(rec.Has("cue: battlelost.wav"));
  EXPECT_TRUE(rec.Has("log 2:   World Zea Fought Off 25 Ships From ENEMY1"));
  EXPECT_EQ(s.WorldOwner[5], 0);
  EXPECT_EQ(s.WorldShips[5], 1000 - hits);
  EXPECT_EQ(s.WorldHistory[5][3], Y + ": Fought Off 25 Ships From ENEMY1, " + Str(1000 - hits) + " Ships Left \r\n");
  // One class-2 ship against two class-1 ships. A first hit leaves 0.5, shown as 0: the defender's volley is
  // empty and the attacker's next shot ends the battle even when it misses.
  uint64_t seed = 1;
  while (draws(Rng(seed), 2) != std::vector<bool>{true, false}) ++seed;
  game.rng = Rng(seed), Land(2, 2, 1, 1, 1, 2);
  EXPECT_EQ(std::tuple(Count("pause: 300"), +s.WorldOwner[5], s.WorldShips[5]), std::tuple(2, 1, 1.0f));
  // Half a ship on each side: neither fires a shot, and the world holds in whole ships.
  Land(2, .5f, 1, .5f, 1, 1);
  EXPECT_EQ(std::tuple(Count("pause: 300"), +s.WorldOwner[5], s.WorldShips[5], +s.FleetFrom[3]),
            std::tuple(0, 2, 0.0f, 0));
  for (float tiny : {1e-20f, 1e-45f}) {  // almost no ships do not make the shots wait for ever
    s.WorldShips[5] = tiny, game.BattleSetup(Fleet(3, 4, 5, 1, 20, 1));
    EXPECT_LE(s.ShotDelay, 60000) << tiny;  // and so not a NaN
  }
}

TEST_F(Arrive, AnnihilationSpeedGameAndConquestOfAnEmptyWorld) {
  s.WorldShield[5] = 60, Land(2, 40, 1, kAnnihilationBomb);
  const std::string text = "Ann Took Over World Zea With An Annihilation Bomb";
  EXPECT_TRUE(rec.Has("log 3:   " + text));
  EXPECT_EQ(s.WorldHistory[5][2], Y + ": " + text + " \r\n");
  EXPECT_EQ(std::tuple(s.WorldShips[5], +s.WorldShield[5], +s.WorldOwner[5]), std::tuple(0.0f, 0, 1));
  EXPECT_EQ(rec.Only("cue"), (Lines{"cue: bomb.wav", "cue: battlewon.wav"}));
  EXPECT_EQ(rec.Only("pause").size(), 8u);  // rings, 500, the final second, rings: no shots
  s.SpeedGame = kTrue, Land(2, 3, 1, 30);
  EXPECT_EQ(rec.Only("pause"), Lines{"pause: 1000"});
  EXPECT_EQ(rec.Only("cue"), Lines{});
  s.SpeedGame = kFalse;
  // An empty world falls at once and the conqueror finds its treasures.
  const std::tuple<int, int, int, bool, float, int, int, int, Lines> cases[] = {
      // attacker, treasure, bombs, network game; Zea's ships, bombs and treasure after, crystal; the finds told,
      // each as the log's text and the record's line after the stamp
      {1, kExtraBomb, 1, false, 12.5f, 2, 0, 0,
       {"A Bomb Was Found On World!", ": 1 Bombs Were Found On World!",
        "  A Bomb Was Found In A Secret Hangar!", ": Extra Bomb Found In Secret Hangar! "}},
      {1, kDoubleFuel, 0, false, 12.5f, 0, kDoubleFuel, 0,
       {"  Double Speed Fuel Found On World!", ": Double Speed Fuel Found On World! "}},
      {2, kCrystal, 0, false, 12.5f, 0, 0, 1,
       {"  An Information Crystal Found On World!", ": Information Crystal Found On World!"}},
      {1, 12, 3, false, 24.5f, 3, 0, 0,
       {" 3 Bombs Were Found On World!", ": 3 Bombs Were Found On World!",
        "  12 Ships Were Found In A Secret Hangar!", ": 12 Ships Found In Secret Hangar! "}},
      {1, 12, 0, true, 24.5f, 0, 0, 0, {}}};  // told on the conqueror's machine only
  for (const auto& [attacker, treasure, bombs, network, ships, bombsAfter, treasureAfter, crystal, finds] : cases) {
    s.NetworkGame = network ? kTrue : kFalse, s.CurrentPlayer = 2;  // Bob's machine
    game.role = network ? NetRole::Server : NetRole::Local;
    s.WorldTreasure[5] = static_cast<int16_t>(treasure), s.WorldBombs[5] = static_cast<int16_t>(bombs);
    Land(3, 0, attacker, 12.5f);
    EXPECT_EQ(Count("pause: 300"), 1u);  // one shot, hit or miss
    // The log keeps the fraction, the world's record whole ships.
    const std::string took = s.PlayerName[attacker - 1] + " Took Over World Zea With";
    std::string log = "\r\n  " + took + " 12.5 Ships Left", record = Y + ": " + took + " 12 Ships Left \r\n";
    EXPECT_EQ(s.GameHistory[3] + s.WorldHistory[5][3], log + record);  // every seat is told the takeover
    for (size_t i = 0; i < finds.size(); i += 2) log += "\r\n" + finds[i], record = Y + finds[i + 1] + "\r\n" + record;
    EXPECT_EQ(s.GameHistory[attacker - 1] + s.WorldHistory[5][attacker - 1], log + record);
    EXPECT_EQ(std::tuple(+s.WorldOwner[5], s.WorldShips[5], +s.WorldBombs[5], +s.WorldTreasure[5],
                         +s.PlayerCrystal[attacker - 1]),
              std::tuple(attacker, ships, bombsAfter, treasureAfter, crystal))
        << treasure;
  }
}

TEST_F(Arrive, ProximityBombsDestroyBigEnoughForeignFleetsWithinTwentyAndTwentyAreSet) {
  // The bomb's world may have turned since the turn began: it is checked where it stood.
  const std::tuple<float, int, float, float, float, bool> cases[] = {
      // ships, owner, orbit of the course, the angle and spin of the bomb's world, fires
      {49, 1, 100, 0, 0, false},  {50, 1, 100, 0, 0, true},      {5000, 3, 100, 0, 0, false},
      {50, 1, 120, 0, 0, true},   {50, 1, 120.01f, 0, 0, false}, {9998, 1, 100, 0, 0, true},
      {9999, 2, 100, 0, 0, true}, {50, 1, 100, 0.5f, 0, false},  {50, 1, 100, 0.5f, Sng(0.5 / 26), true}};
  for (const auto& [ships, owner, orbit, angle, spin, fires] : cases) {
    s.BombOwner[0] = 3, s.BombWorld[0] = 6, s.BombThreshold[0] = 50, s.WorldAngle[6] = angle, s.WorldSpin[6] = spin;
    s.WorldOrbit[4] = s.WorldOrbit[5] = orbit, Fleet(3, 4, 5, owner, ships, 3, 0.25f);
    EXPECT_EQ(game.ProximityCheck(3, 0), fires) << ships << " " << orbit;
    if (!fires) continue;
    game.Proximity(3, 0);
    const std::string text = "A Proximity Bomb Set By Bob On World W6 Destroyed" +
                             (ships < 9999 ? Str(ships) + " Ships From Ann" : " A Traveling Bomb From ENEMY1");
    EXPECT_TRUE(rec.Has("notice:   " + text));
    EXPECT_TRUE(rec.Has("cue: bomb.wav"));  // the bomb's owner hears nothing
    EXPECT_EQ(s.GameHistory[owner - 1] + s.GameHistory[2] + s.WorldHistory[5][owner - 1],
              "\r\n  " + text + Y + ": " + text + " \r\n");
    EXPECT_EQ(s.BombOwner[0] + s.BombWorld[0] + s.BombThreshold[0] + s.FleetFrom[3], 0);
  }
  std::fill_n(s.BombOwner.begin(), 19, 3), Land(2, 10, 1, 10050);
  const std::string set = " A Proximity Bomb With a Threshold of 50 Ships Was Set On World Zea";
  EXPECT_EQ(rec.Only("log"), Lines{"log 0:  " + set});
  EXPECT_EQ(s.WorldHistory[5][0], Y + ":" + set + "\r\n");
  EXPECT_EQ(std::tuple(s.BombOwner[19], s.BombWorld[19], s.BombThreshold[19]), std::tuple(1, 5.0f, 50.0f));
  Fleet(4, 4, 6, 2, 10005, 3, 0.25f), Fleet(5, 4, 6, 2, 9999, 3, 0.25f);
  EXPECT_EQ(game.ProximityBombsInUse(), 21);
  Land(2, 10, 1, 10050);
  EXPECT_EQ(rec.Only("log"), Lines{"log 0:   A Proximity Bomb Could Not Be Set On World Zea, Twenty Are Already Armed"});
  EXPECT_EQ(rec.Only("cue"), Lines{});
  EXPECT_EQ(s.WorldHistory[5][0], "");
  EXPECT_EQ(std::tuple(+s.FleetFrom[3], s.BombOwner[0]), std::tuple(0, 3));
}

TEST_F(Arrive, APulseBombSweepsEightyUnitsAroundTheHomeWorld) {
  s.WorldOwner[8] = 1, s.WorldBombs[8] = 2, game.SelectedFrom = 8, game.mnuComSendPulse_Click();
  EXPECT_EQ(rec.Only("notice"), Lines{"notice:  Pulse Bomb Sent!"});
  EXPECT_TRUE(rec.Has("pause: 1500"));
  EXPECT_EQ(std::tuple(+s.WorldTreasure[8], +s.WorldBombs[8]), std::tuple(+kPulseArmed, 1));
  // Fleet f flies along world f's orbit at angle 0, as the home world does on orbit 100.
  const std::tuple<int, float, float, float, bool> fleets[] = {
      // owner, ships, orbit, remaining, destroyed
      {2, 25, 180, 0.25f, true},     {2, kScout, 180.01f, 0.25f, false}, {3, 9999, 150, 0.25f, true},
      {2, kScout, 150, 0.25f, true}, {2, 40, 150, 0.5f, false},          {1, 40, 150, 0.25f, false}};
  for (int f = 0; f < 6; ++f) {
    const auto& [owner, ships, orbit, remaining, destroyed] = fleets[f];
    s.WorldOrbit[f] = orbit, Fleet(f, f, f, owner, ships, 3, remaining);
  }
  s.SpeedGame = kTrue, game.PulseBomb(8);
  for (int f = 0; f < 6; ++f) EXPECT_EQ(!s.FleetFrom[f], std::get<4>(fleets[f])) << f;
  EXPECT_EQ(rec.Only("log"), (Lines{"log 1:    25 Ships From ENEMY1 Were Destroyed By A Pulse Bomb On World W8",
                                    "log 2:   A Bomb From Bob Was Destroyed By A Pulse Bomb On World W8",
                                    "log 1:   A Scout From ENEMY1 Was Destroyed By A Pulse Bomb On World W8"}));
  EXPECT_EQ(rec.Only("cue"), (Lines{"cue: pulse.wav", "cue: pulsegot.wav", "cue: pulsegot.wav", "cue: pulsegot.wav"}));
  EXPECT_EQ(rec.Only("pause").size(), 3u + 1 + 3 + 1);  // rings, 500, a second a loss, 2000: Speed Game or not
  EXPECT_EQ(s.WorldTreasure[8], 0);
}

}  // namespace
}  // namespace valkoran
