// Network play's messages: the bytes each side writes, the receive buffer
// however TCP cuts the stream, the whole state arriving equal, and a server
// that takes nothing from a client beyond that client's own seat.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/numbers.h"
#include "net/protocol/dispatch.h"
#include "net/protocol/encode.h"
#include "net/protocol/message.h"
#include "net/protocol/relay.h"
#include "store/savefile.h"
#include "support/games.h"

namespace valkoran::net {
namespace {

// A network that records what each connection was sent.
struct Wire final : Transport {
  bool Connected(int socket) const override { return up.count(socket) && up.at(socket); }
  void Send(int socket, const std::string& bytes) override { sent[socket] += bytes; }
  std::map<int, bool> up{{1, true}, {2, true}};
  std::map<int, std::string> sent;
};

std::vector<Message> Split(const std::string& bytes) {
  NetBuffer b;
  b.Append(bytes);
  std::vector<Message> out;
  while (auto m = b.Next()) out.push_back(*m);
  return out;
}

TEST(Frame, BytesAndParts) {
  EXPECT_EQ(Frame("[NP]", 0, Str(7)), "[NP] 00 7*");
  EXPECT_EQ(Frame("[PN]", 29, "Eridania"), "[PN] 29Eridania*");
  EXPECT_EQ(Frame("[MESSAGE]", 0, "a*b"), "[MESSAGE] 00ab*");  // a "*" never leaves inside a text
  EXPECT_EQ(Frame("[N]", 3, ""), "[N] 03*");
  const Message m = Parse("[FRAMEUPDATE] 01 12");
  EXPECT_EQ(m.tag, "[FRAMEUPDATE]");
  EXPECT_EQ(m.index, 1);
  EXPECT_EQ(m.payload, " 12");
  EXPECT_EQ(Parse("[X]").tag, "[X]");
  EXPECT_EQ(Parse("[X] 4y").index, -1);  // no number: out of every range
}

TEST(NetBuffer, WholeMessagesHoweverTheyArrive) {
  NetBuffer b;
  b.Append("[NP] 00 12*[N] 01B");
  auto first = b.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->payload, " 12");
  EXPECT_FALSE(b.Next());  // cut by TCP: waits for the rest
  b.Append("ob*");
  auto second = b.Next();
  ASSERT_TRUE(second);
  EXPECT_EQ(std::tuple(second->tag, second->index, second->payload), std::tuple("[N]", 1, "Bob"));
  EXPECT_FALSE(b.Next());

  // A "*" in the first six characters cannot end a message: that broken
  // piece goes, and the stream goes on with the next one.
  for (int position = 1; position <= 6; ++position) {
    auto ms = Split(std::string(position - 1, 'x') + "*[N] 02Cid*");
    ASSERT_EQ(ms.size(), 1u) << position;
    EXPECT_EQ(ms[0].payload, "Cid");
  }
  // At the seventh it ends a message with an empty payload.
  auto seventh = Split("[N] 03**");
  ASSERT_EQ(seventh.size(), 1u);
  EXPECT_EQ(std::tuple(seventh[0].tag, seventh[0].index, seventh[0].payload), std::tuple("[N]", 3, ""));

  // 64 KiB without a "*" is no peer of ours.
  NetBuffer flood;
  flood.Append(std::string(NetBuffer::kLimit, 'a'));
  EXPECT_FALSE(flood.Overflowed());
  flood.Append("a");
  EXPECT_TRUE(flood.Overflowed());
  flood.Append("*");
  EXPECT_FALSE(flood.Overflowed());
}

TEST(FleetRecord, FixedWidthBothWays) {
  Game game = test::Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  s.FleetFrom[0] = 9, s.FleetTo[0] = 4, s.FleetOwner[0] = 1, s.FleetShips[0] = 25, s.FleetClass[0] = 5;
  s.FleetShield[0] = 0, s.FleetDistance[0] = 0.3f, s.FleetCourse[0] = 1.234f, s.FleetRemaining[0] = 0.25f;
  EXPECT_EQ(FleetRecord(s, 0), "0904010002550000.30011.2340.250");
  s.FleetShips[0] = 10050, s.FleetCourse[0] = -2.5f;  // a proximity bomb, heading west
  EXPECT_EQ(FleetRecord(s, 0), "0904011005050000.30007.5000.250");
  auto back = ReadFleetRecord("0904010002550000.30011.2340.250");
  ASSERT_TRUE(back);
  EXPECT_EQ(std::tuple(back->from, back->to, back->owner, back->ships, back->shipClass), std::tuple(9, 4, 1, 25.f, 5));
  EXPECT_FLOAT_EQ(back->course, 1.234f);
  EXPECT_FALSE(ReadFleetRecord("0904010002550000.30011.2340.25"));    // short
  EXPECT_FALSE(ReadFleetRecord("09040100-2550000.30011.2340.250"));   // a sign
  EXPECT_FALSE(ReadFleetRecord("0904010002550000.30011.2340.2500"));  // long
}

TEST(Relay, EveryTagTheEngineSendsByteForByte) {
  Game game = test::Made({"Ann", "Bob", "", ""});
  GameState& s = game.state;
  s.WorldShieldOn[3] = 1, s.WorldShips[3] = 42, s.WorldShield[3] = 7, s.WorldBombs[3] = 2, s.WorldTreasure[3] = 10;
  s.FleetFrom[4] = 9, s.FleetTo[4] = 4, s.FleetOwner[4] = 1, s.FleetShips[4] = 9999, s.FleetClass[4] = 5;
  s.FleetDistance[4] = 0.3f, s.FleetCourse[4] = 1.234f, s.FleetRemaining[4] = 0.25f;
  Wire wire;
  ProtocolRelay server(wire, true);
  auto sent = [&](const std::function<void()>& call) {
    wire.sent.clear();
    call();
    // Every connected client gets the same bytes.
    EXPECT_EQ(wire.sent[1], wire.sent[2]);
    return wire.sent[1];
  };
  EXPECT_EQ(sent([&] { server.SendFleet(s, 4); }), "[SEND] 040904010999950000.30011.2340.250*");
  EXPECT_EQ(sent([&] { server.SendEndTurn(); }), "[ENDTURN] 00Endturn*");
  EXPECT_EQ(sent([&] { server.SendTravelShow(); }), "[TRAVELSHOW] 00TravelShow*");
  EXPECT_EQ(sent([&] { server.SendTravelHide(); }), "[TRAVELHIDE] 00TravelHide*");
  EXPECT_EQ(sent([&] { server.SendGalaxyRotate(); }), "[GALAXYROTATE] 00GALAXYROTATE*");
  EXPECT_EQ(sent([&] { server.SendPulseBomb(9); }), "[PULSEBOMB] 09PulseBomb*");
  EXPECT_EQ(sent([&] { server.SendProduction(s, 3); }), "[PM] 03 1*[PS] 03 42*[PH] 03 7*[PB] 03 2*[PT] 03 10*");
  EXPECT_EQ(sent([&] { server.SendProximity(4, 7); }), "[PROXIMITY] 0407*");
  EXPECT_EQ(sent([&] { server.SendProximitySet(4); }), "[PROXIMITYSET] 04ProximitySet*");
  EXPECT_EQ(sent([&] { server.SendReinforcements(4); }), "[REINFORCEMENTS] 04Reinforcements*");
  EXPECT_EQ(sent([&] { server.SendScout(4, 1); }), "[SCOUT] 04Scout*");
  EXPECT_EQ(sent([&] { server.SendBattleAccu(7, 63); }), "[BATTLEACCU] 000763*");
  EXPECT_EQ(sent([&] { server.SendBattleSetup(4); }), "[BATTLESETUP] 04BattleSetup*");
  EXPECT_EQ(sent([&] { server.SendShotFrom(); }), "[SHOTFROM] 00ShotFrom*");
  EXPECT_EQ(sent([&] { server.SendShotTo(); }), "[SHOTTO] 00ShotTo*");
  EXPECT_EQ(sent([&] { server.SendFromHit(4); }), "[FROMHIT] 04FromHit*");
  EXPECT_EQ(sent([&] { server.SendToHit(4); }), "[TOHIT] 04ToHit*");
  EXPECT_EQ(sent([&] { server.SendFrameUpdate(1, 12); }), "[FRAMEUPDATE] 01 12*");
  EXPECT_EQ(sent([&] { server.SendBattleDone(2, 4); }), "[BATTLEDONE] 02 4*");
  EXPECT_EQ(sent([&] { server.SendStatus(1, 1, "Bob:  Done Turn"); server.SendStatus(2, 1, "Bob:  Done Turn"); }),
            "[STATUS] 01Bob:  Done Turn*");
  EXPECT_EQ(sent([&] { server.Broadcast(Frame("[MESSAGE]", 0, "Ann: hi")); }), "[MESSAGE] 00Ann: hi*");
  // A client's messages go to its server alone: a new fleet names no slot.
  wire.sent.clear();
  ProtocolRelay client(wire, false);
  client.SendFleet(s, 4);
  client.SendShield(s, 3);
  client.SendPulseArmed(s, 3);
  client.SendStatus(0, 1, "Bob:  Done Turn");
  EXPECT_EQ(wire.sent[0], "[SEND] 000904010999950000.30011.2340.250*[PM] 03 1*[PT] 03 10*[PB] 03 2*"
                          "[STATUS] 01Bob:  Done Turn*");
  EXPECT_EQ(wire.sent.count(1), 0u);
}

// Ann (server, seat 0), Bob (seat 1) and Cid (seat 2), four turns in.
struct Served {
  Served() : game(test::Made({"Ann", "Bob", "Cid", ""})), relay(wire, true), dispatcher(game, relay, events) {
    for (int t = 0; t < 4; ++t) game.EndTurn();
    game.GameCheck();  // Ann's turn opens: nothing is being processed
    game.SetRelay(&relay);
    game.BeginNetworkPlay(NetRole::Server);
    dispatcher.started = true;
    for (int p = 0; p < 3; ++p) game.SetStatus(p, game.state.PlayerName[p] + kTakingTurn);
    wire.sent.clear();
  }
  // The server's whole state as the file writes it, and the status lines.
  std::string Snapshot() const {
    std::string out = WriteGameText(game.state);
    for (const auto& line : game.StatusLine) out += "|" + line;
    return out;
  }
  Game game;
  Wire wire;
  ProtocolRelay relay;
  SessionEvents events;
  Dispatcher dispatcher;
};

TEST(GalaxySync, TheWholeStateForEachSeat) {
  Served host;
  GameState& s = host.game.state;
  s.WorldHistory[3][1] = " Year 1.05, Turn #1\r\nBob saw it";
  s.WorldHistory[3][2] = "Cid's own";
  s.GameHistory[1] = "\r\nBob's log";
  const std::string text = GalaxySyncText(s, 1);
  const std::string head = "[NP] 00 12*[N] 00Ann*[N] 01Bob*[N] 02Cid*[N] 03*[PV] 00 0*[PV] 01 0*[PV] 02 0*[PV] 03 0*"
                           "[YEAR] 00" + Str(s.GameYear) + "*[TURN] 00 1*[TIME] 00 0*[S] 00" + Str(s.WorldAngle[0]) +
                           "*[R] 00" + Str(s.WorldOrbit[0]) + "*[M] 00" + Str(s.WorldSpin[0]) + "*[PN] 00" +
                           s.WorldName[0] + "*";
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("[PY] 03 Year 1.05, Turn #1\r\nBob saw it*[PT] 03"), std::string::npos);
  EXPECT_EQ(text.find("Cid's own"), std::string::npos);  // another seat's history stays home
  const std::string tail = "[BT] 19 0*[GH] 00\r\nBob's log*[SHOW] 00Galaxy*[SHIELD] 0000*";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(Split(text).size(), 12u + 30 * 14 + 100 * 9 + 20 * 3 + 3);
  s.TruceTurn = 12;
  const std::string cids = GalaxySyncText(s, 2);
  EXPECT_EQ(cids.substr(cids.size() - 27), "[SHIELD] 0000*[TRUCE] 0012*");

  // Bob's machine, given it, holds the same game as Bob sees it.
  Game bob(77);
  Wire none;
  ProtocolRelay bobRelay(none, false);
  SessionEvents events;
  Dispatcher receive(bob, bobRelay, events);
  bob.BeginNetworkPlay(NetRole::Client);
  s.TruceTurn = 0;
  for (const Message& m : Split(GalaxySyncText(s, 1))) receive.FromServer(m);
  GameState expected = s;
  for (int w = 0; w < kWorldSlots; ++w)
    for (int p = 0; p < kPlayerSlots; ++p)
      if (p != 1) expected.WorldHistory[w][p].clear();
  for (int p = 0; p < kPlayerSlots; ++p)
    if (p != 1) expected.GameHistory[p].clear();
  expected.CurrentPlayer = 1;
  EXPECT_EQ(WriteGameText(bob.state), WriteGameText(expected));
  EXPECT_EQ(bob.StatusLine[2], "Cid:  Taking Turn");

  // On the open game, a lone header value that would break it is not taken.
  const std::string open = WriteGameText(bob.state);
  for (const Message& m : {Message{"[YEAR]", 0, " 0"}, Message{"[NP]", 0, " 5"}, Message{"[N]", 0, ""},
                           Message{"[TURN]", 0, " 3"}, Message{"[PO]", 3, " 9"}, Message{"[SEND]", 5, "x"}}) {
    receive.FromServer(m);
    if (m.tag == "[NP]") receive.FromServer({"[SHOW]", 0, "Galaxy"});  // a whole state that never came
    EXPECT_EQ(WriteGameText(bob.state), open) << m.tag;
  }

  // The whole state again, with a fleet in a slot Bob holds empty: taken
  // as one, it arrives whole although the slot is half filled on the way.
  s.FleetFrom[9] = 10, s.FleetTo[9] = 4, s.FleetOwner[9] = 2, s.FleetShips[9] = 5, s.FleetClass[9] = 3;
  s.FleetDistance[9] = s.FleetRemaining[9] = 0.4f;
  for (const Message& m : Split(GalaxySyncText(s, 1))) receive.FromServer(m);
  EXPECT_EQ(bob.state.FleetTo[9], 4);
  EXPECT_EQ(bob.state.FleetShips[9], 5);
}

TEST(Server, ForgedMessagesChangeNothing) {
  Served host;
  GameState& s = host.game.state;
  s.WorldShips[9] = 40, s.WorldBombs[9] = 2, s.WorldBombs[8] = 3, s.TruceTurn = 0;
  const std::string before = host.Snapshot();
  auto send = [&](int from, int to, int owner, int ships) {
    GameState t = s;
    t.FleetFrom[0] = static_cast<uint8_t>(from + 1), t.FleetTo[0] = static_cast<uint8_t>(to + 1);
    t.FleetOwner[0] = static_cast<uint8_t>(owner), t.FleetShips[0] = static_cast<float>(ships);
    t.FleetClass[0] = 5, t.FleetDistance[0] = 0.5f, t.FleetRemaining[0] = 0.5f;
    return FleetRecord(t, 0);
  };
  const std::vector<std::pair<const char*, Message>> forged = {
      {"from Ann's world", {"[SEND]", 0, send(8, 3, 2, 10)}},
      {"as Ann", {"[SEND]", 0, send(9, 3, 1, 10)}},
      {"a count the menu does not offer", {"[SEND]", 0, send(9, 3, 2, 7)}},
      {"more ships than the world holds", {"[SEND]", 0, send(9, 3, 2, 41)}},
      {"threshold 0", {"[SEND]", 0, send(9, 3, 2, 10000)}},
      {"threshold 9999", {"[SEND]", 0, send(9, 3, 2, 19999)}},
      {"to a world out of play", {"[SEND]", 0, send(9, 20, 2, 10)}},
      {"a slot named", {"[SEND]", 5, send(9, 3, 2, 10)}},
      {"cut short", {"[SEND]", 0, send(9, 3, 2, 10).substr(0, 30)}},
      {"shield of Ann's world", {"[PM]", 8, " 1"}},
      {"shield out of range", {"[PM]", 45, " 1"}},
      {"pulse on Ann's home", {"[PT]", 8, " 10"}},
      {"bombs by hand", {"[PB]", 9, " 99"}},
      {"another treasure", {"[PT]", 9, " 3"}},
      {"Cid's status", {"[STATUS]", 2, "Cid:  Done Turn"}},
      {"not done", {"[STATUS]", 1, "Bob:  Eliminated"}},
      {"a name in play", {"[NAME]", 0, "Mallory"}},
      {"two lines", {"[MESSAGE]", 0, "hi\r\n[ENDTURN] 00Endturn"}},
      {"a long line", {"[MESSAGE]", 0, std::string(256, 'x')}},
      {"end the turn", {"[ENDTURN]", 0, "Endturn"}},
      {"the count", {"[NP]", 0, " 9"}},
      {"ships", {"[PS]", 9, " 9999"}},
      {"a rotation", {"[GALAXYROTATE]", 0, "GALAXYROTATE"}},
      {"a battle", {"[BATTLEDONE]", 2, " 0"}},
      {"unknown", {"[WHAT]", 0, ""}},
  };
  for (const auto& [why, m] : forged) {
    bool resync = false;
    EXPECT_FALSE(host.dispatcher.FromClient(1, m, &resync)) << why;
    EXPECT_EQ(host.Snapshot(), before) << why;
    // Nothing went out but, for an order Bob's machine already shows, the
    // whole state to Bob again.
    EXPECT_TRUE(host.wire.sent.empty()) << why;
  }
  // Seats that are not a client's.
  EXPECT_FALSE(host.dispatcher.FromClient(0, {"[SEND]", 0, send(8, 3, 1, 10)}));
  EXPECT_FALSE(host.dispatcher.FromClient(4, {"[SEND]", 0, send(9, 3, 2, 10)}));
  EXPECT_EQ(host.Snapshot(), before);

  // During a truce, an attack on another player is refused and Bob's
  // machine is told the whole state again.
  s.TruceTurn = 50;
  s.WorldOwner[3] = 3;
  bool resync = false;
  EXPECT_FALSE(host.dispatcher.FromClient(1, {"[SEND]", 0, send(9, 3, 2, 10)}, &resync));
  EXPECT_TRUE(resync);
}

TEST(Server, AClientsOwnOrdersGoThroughTheEngine) {
  Served host;
  GameState& s = host.game.state;
  s.WorldShips[9] = 40, s.WorldBombs[9] = 2;
  // Bob sends a quarter of his home's ships to world 3, claiming a made-up
  // distance: the server reckons its own, as for an order given here.
  Game reckoned = host.game;
  reckoned.SetRelay(nullptr);
  ASSERT_FALSE(reckoned.Apply(Order::Ships(1, 9, 3, 25)));
  GameState t = s;
  t.FleetFrom[0] = 10, t.FleetTo[0] = 4, t.FleetOwner[0] = 2, t.FleetShips[0] = 10, t.FleetClass[0] = s.WorldClass[9];
  t.FleetDistance[0] = 0.001f, t.FleetRemaining[0] = 0.001f;
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[SEND]", 0, FleetRecord(t, 0)}));
  EXPECT_EQ(WriteGameText(s), WriteGameText(reckoned.state));
  EXPECT_EQ(s.WorldShips[9], 30);

  // Ann, at the server, ending her turn first does not close Bob's.
  host.game.TurnLock = kTrue;
  host.game.SetStatus(0, "Ann:  Done Turn");
  t.FleetShips[0] = 8;  // a quarter of the 30 left
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[SEND]", 0, FleetRecord(t, 0)}));
  EXPECT_EQ(s.WorldShips[9], 22);
  host.game.TurnLock = kFalse;

  // His shield, his pulse bomb, the end of his turn, a chat line.
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[PM]", 9, " 1"}));
  EXPECT_EQ(s.WorldShieldOn[9], 1);
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[PT]", 9, " 10"}));
  EXPECT_EQ(std::tuple(s.WorldTreasure[9], s.WorldBombs[9]), std::tuple(int16_t(kPulseArmed), int16_t(1)));
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[MESSAGE]", 0, "Bob: hello"}));
  EXPECT_NE(host.wire.sent[2].find("[MESSAGE] 00Bob: hello*"), std::string::npos);
  EXPECT_NE(host.wire.sent[1].find("[MESSAGE] 00Bob: hello*"), std::string::npos);
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[STATUS]", 1, "Bob:  Done Turn"}));
  EXPECT_EQ(host.game.StatusLine[1], "Bob:  Done Turn");
  EXPECT_NE(host.wire.sent[2].find("[STATUS] 01Bob:  Done Turn*"), std::string::npos);
  EXPECT_FALSE(host.dispatcher.FromClient(1, {"[STATUS]", 1, "Bob:  Done Turn"}));  // once
}

TEST(Server, EachSeatCountsOnceForTheTurnEnd) {
  Served host;
  Game& g = host.game;
  // Cid's machine is gone and he is out as well: he holds nobody up, and
  // counts once; Bob is still moving.
  host.wire.up[2] = false;
  g.SetStatus(2, "Cid:  Eliminated");
  g.SetStatus(0, "Ann:  Done Turn");
  EXPECT_FALSE(g.AllSeatsDone());
  const float year = g.state.GameYear;
  EXPECT_TRUE(host.dispatcher.FromClient(1, {"[STATUS]", 1, "Bob:  Done Turn"}));
  EXPECT_GT(g.state.GameYear, year);  // the turn was processed
  EXPECT_NE(host.wire.sent[1].find("[ENDTURN] 00Endturn*"), std::string::npos);
}

}  // namespace
}  // namespace valkoran::net
