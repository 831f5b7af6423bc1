#include "view/logic/viewlogic.h"

#include <climits>
#include <cmath>

#include "game/arrivaltime.h"
#include "game/numbers.h"
#include "game/orders.h"
#include "game/slots.h"
#include "view/logic/layout.h"

namespace valkoran::view {

namespace {

constexpr double kRadarRange = 80;  // model units around a watched home world

int InPlay(const GameState& s) { return s.WorldCount < kWorlds ? s.WorldCount : kWorlds; }
bool IsWorld(const GameState& s, int w) { return w >= 0 && w < InPlay(s); }
int Me(const GameState& s) { return s.CurrentPlayer + 1; }
bool IsSeat(int seat) { return seat >= 0 && seat < kSeats; }

std::string TurnWord(double turns) { return turns <= 1 ? " Turn" : " Turns"; }

// A world's place in the model plane, around the sun's centre, unscaled.
Point WorldModelPoint(const GameState& s, const Geometry& g, int w) {
  const double orbit = s.WorldOrbit[w], angle = s.WorldAngle[w];
  return {Sng(g.centerX + orbit * std::cos(angle)), Sng(g.centerY + orbit * std::sin(angle))};
}

double Distance(Point a, Point b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y)); }

// Characters, not bytes: a name or message may hold letters beyond ASCII.
size_t Length(const std::string& text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

std::string TrimBlanks(const std::string& text) {
  const size_t a = text.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return text.substr(a, text.find_last_not_of(' ') - a + 1);
}

}  // namespace

// ---- Geometry ---------------------------------------------------------------

Geometry MainGeometry() {
  Geometry g;
  g.centerX = layout::kViewCenterX;
  g.centerY = layout::kViewCenterY;
  g.scaleX = (static_cast<double>(g.centerX) + g.centerX) / 460;
  g.scaleY = static_cast<double>(g.centerY) * 3 / 750;
  return g;
}

int RoundPixel(double v) { return static_cast<int>(RoundHalfEvenClamped(v, INT_MIN, INT_MAX)); }

Point WorldPoint(const GameState& s, const Geometry& g, int world) {
  if (world < 0 || world >= kWorlds) return {g.centerX, g.centerY};
  const double orbit = s.WorldOrbit[world], angle = s.WorldAngle[world];
  return {g.centerX + orbit * std::cos(angle) * g.scaleX, g.centerY + orbit * std::sin(angle) * g.scaleY};
}

Point FleetModelPoint(const GameState& s, const Geometry& g, int fleet, double k, double kRadius) {
  if (!FleetInFlight(s, fleet)) return {g.centerX, g.centerY};
  const int from = s.FleetFrom[fleet] - 1, to = s.FleetTo[fleet] - 1;
  const double D = s.FleetDistance[fleet], R = s.FleetRemaining[fleet];
  // Fuel doubles the drift as it did when the trip was planned, so the drawn
  // fleet keeps to the path the turn end moves it along.
  const double course = s.WorldTreasure[from] == kDoubleFuel ? 2.0 * s.FleetCourse[fleet] : s.FleetCourse[fleet];
  const double orbitFrom = s.WorldOrbit[from];
  const double gap = static_cast<double>(RoundHalfEvenUnchecked(orbitFrom - s.WorldOrbit[to]));
  const double angle = static_cast<double>(s.WorldAngle[from]) + s.WorldSpin[from] * (k - (D - R) * 520) +
                       k * course * s.WorldOrbit[kHomeRing] / (orbitFrom * 520);
  double radius = orbitFrom - (kRadius * gap) / (D * 520 - 1);
  // A trip of exactly one frame divides nothing by nothing: it sits on its source.
  if (!std::isfinite(radius)) radius = orbitFrom;
  return {Sng(g.centerX + radius * std::cos(angle)), Sng(g.centerY + radius * std::sin(angle))};
}

double FleetFrame(const GameState& s, int fleet) {
  if (fleet < 0 || fleet >= kFleets) return 0;
  // Not held to 16 bits: a trip that found no meeting runs for 10000 years,
  // and its count must not wrap round to the start.
  const double moved = (static_cast<double>(s.FleetDistance[fleet]) - s.FleetRemaining[fleet]) * 520;
  return static_cast<double>(RoundHalfEvenUnchecked(moved));
}

Point FleetModelPointNow(const GameState& s, const Geometry& g, int fleet) {
  const double k = FleetFrame(s, fleet);
  return FleetModelPoint(s, g, fleet, k, k);
}

Point ModelToScreen(const Geometry& g, Point model) {
  return {g.centerX + (model.x - g.centerX) * g.scaleX, g.centerY + (model.y - g.centerY) * g.scaleY};
}

// ---- Pointer ----------------------------------------------------------------

int WorldAt(const GameState& s, const Geometry& g, int x, int y) {
  for (int i = 0; i < InPlay(s); ++i) {
    const Point c = WorldPoint(s, g, i);
    const double x0 = c.x - 10, y0 = c.y - 10;
    if (x0 < x && x < x0 + 20 && y0 < y && y < y0 + 20) return i;
  }
  return -1;
}

bool SunAt(const Geometry& g, int x, int y) {
  return g.centerX - 25 < x && x < g.centerX + 25 && g.centerY - 25 < y && y < g.centerY + 25;
}

bool NearAWorld(const GameState& s, const Geometry& g, int x, int y) {
  for (int i = 0; i < InPlay(s); ++i) {
    const Point c = WorldPoint(s, g, i);
    if (std::abs(x - c.x) < 20 && std::abs(y - c.y) < 20) return true;
  }
  return false;
}

// ---- Command menu -------------------------------------------------------------

CommandMenu BuildCommandMenu(const Game& game, int from, int to, const std::array<uint8_t, 4>& pulseMenu) {
  CommandMenu m;
  const GameState& s = game.state;
  if (!IsWorld(s, from) || !IsWorld(s, to)) return m;
  const int seat = s.CurrentPlayer;
  // A full fleet table or twenty proximity bombs do not hide an item: the
  // order's refusal tells the player why nothing left.
  auto offered = [&](const Order& order) {
    const auto refusal = RefuseOrder(game, order);
    return !refusal || refusal->code == OrderProblem::FleetsFull ||
           refusal->code == OrderProblem::ProximityBombsFull;
  };
  auto allowed = [&](int amount) { return offered(Order::FromAmount(seat, from, to, amount)); };
  // The threshold is chosen in the proximity window; any threshold will do
  // to ask whether the bomb may go.
  auto proximityOffered = [&] { return offered(Order::Proximity(seat, from, to, 1)); };

  if (from == to && from >= kHomeRing && from < kHomeRing + kSeats && pulseMenu[from - kHomeRing] &&
      offered(Order::Pulse(seat, from))) {
    m.pulseOnly = true;
    m.showPulse = true;
    m.showProx = proximityOffered();
    return m;
  }

  const std::string route = s.WorldName[from] + " To " + s.WorldName[to];
  auto caption = [&](double count) {
    return "Send" + Str(count) + (count <= 1 ? " Ship From World " : " Ships From World ") + route;
  };
  const double ships = s.WorldShips[from];
  auto share = [&](int percent) { return Int(ships * percent / 100 + 0.99); };
  m.all = caption(ships);
  m.p75 = caption(share(75));
  m.p50 = caption(share(50));
  m.p25 = caption(share(25));
  m.p10 = caption(share(10));
  m.scout = "Send A Scout Ship From World " + route;

  m.showAll = allowed(kOrderAll);
  m.show75 = allowed(kOrder75);
  m.show50 = allowed(kOrder50);
  m.show25 = allowed(kOrder25);
  m.show10 = allowed(kOrder10);
  m.showScout = allowed(kOrderScout);
  m.showLine9 = m.showScout;
  m.showLine2 = m.showAll || m.show75 || m.show50 || m.show25 || m.show10 || m.showScout;
  m.showBomb = allowed(kOrderBomb);
  m.showLine7 = m.showBomb;
  m.showProx = proximityOffered();
  return m;
}

std::optional<std::string> TruceNotice(const Game& game, int to) {
  const GameState& s = game.state;
  if (!IsWorld(s, to) || !game.TruceActive()) return std::nullopt;
  const int owner = s.WorldOwner[to];
  if (owner == 0 || owner == Me(s)) return std::nullopt;
  const int left = s.TruceTurn - CurrentTurn(s);
  if (left == 1) return "    Battle Truce Ends Next Turn    ";
  return "    Battle Truce Ends In" + Str(left) + " Turns    ";
}

// ---- Texts of the pointer's pop-ups --------------------------------------------

std::vector<std::string> WorldInfoLines(const GameState& s, int world) {
  std::vector<std::string> lines;
  if (!IsWorld(s, world) || !IsSeat(s.CurrentPlayer)) return lines;
  const int w = world, me = Me(s), owner = s.WorldOwner[w];
  const bool crystal = IsSeat(s.CurrentPlayer) && s.PlayerCrystal[s.CurrentPlayer] == 1;
  const std::string na = "N/A";
  lines.push_back(" Name: " + s.WorldName[w]);

  if (owner != 0 && owner != me) {
    lines.push_back(" Owner: " + (owner <= kSeats ? s.PlayerName[owner - 1] : std::string()));
    for (const char* field : {" Production: ", " Class: ", " % Shield: ", " Shield: ", " Ships: "})
      lines.push_back(field + na);
    return lines;
  }

  const std::string shieldOnOff = s.WorldShieldOn[w] ? " Shield: On" : " Shield: Off";
  if (owner == me || crystal) {
    lines.push_back(" Owner: " + (owner == me ? s.PlayerName[me - 1] : na));
    lines.push_back(" Production: " + Str(s.WorldProduction[w]));
    lines.push_back(" Class: " + Str(s.WorldClass[w]));
    lines.push_back(" % Shield: " + Str(s.WorldShield[w]));
    lines.push_back(shieldOnOff);
    lines.push_back(" Ships: " + Str(s.WorldShips[w]));
    if (s.WorldBombs[w] > 0) lines.push_back(" Bombs: " + Str(s.WorldBombs[w]));
    if (s.WorldTreasure[w] == kDoubleFuel) lines.push_back(" Fuel: 2X");
    for (int b = 0; b < kBombs; ++b)
      if (s.BombOwner[b] == me && RoundHalfEvenUnchecked(s.BombWorld[b]) == w)
        lines.push_back(" Threshold: " + Str(s.BombThreshold[b]));
    return lines;
  }

  // Everybody sees one value of an unowned world, the same for all.
  const int shown = s.WorldRevealed[w];
  lines.push_back(" Owner: " + na);
  lines.push_back(" Production: " + (shown == 1 ? Str(s.WorldProduction[w]) : na));
  lines.push_back(" Class: " + (shown == 2 ? Str(s.WorldClass[w]) : na));
  lines.push_back(" % Shield: " + (shown == 3 ? Str(s.WorldShield[w]) : na));
  lines.push_back(shown == 4 ? shieldOnOff : " Shield: " + na);
  lines.push_back(" Ships: " + (shown == 5 ? Str(s.WorldShips[w]) : na));
  return lines;
}

std::string WorldPopupText(const GameState& s, int world) {
  std::string text;
  if (!IsWorld(s, world) || !IsSeat(s.CurrentPlayer)) return text;
  const int me = Me(s);
  auto add = [&text](const std::string& line) {
    if (!text.empty()) text += "\r\n";
    text += line;
  };
  for (int f = 0; f < kFleets; ++f) {
    if (!FleetInFlight(s, f) || s.FleetTo[f] != world + 1 || s.FleetOwner[f] != me) continue;
    const float ships = s.FleetShips[f];
    const std::string source = s.WorldName[s.FleetFrom[f] - 1];
    std::string what;
    if (ships == kAnnihilationBomb) {
      what = " An Annihilation Bomb From World ";
    } else if (ships > kAnnihilationBomb) {
      what = " A Proximity Bomb From World ";
    } else if (ships <= 0) {
      what = " A Scout Ship From World ";
    } else {
      what = " " + StrTrim(ships) + " Ships With" + Str(s.FleetShield[f]) + "% Shield From World ";
    }
    const double turns = TurnsToArrival(s.FleetRemaining[f]);
    add(what + source + " Will Arrive in " + Format(s.FleetRemaining[f], "0.00") + " Years (" + Format(turns, "0") +
        TurnWord(turns) + ") ");
  }
  const std::string& history = s.WorldHistory[world][s.CurrentPlayer];
  if (history.size() >= 2) add(history);
  return text;
}

std::vector<std::string> QuickHelpLines() {
  return {
      "  Quick Help  ",
      "  - Left-Click:  Selects Owned World or Shows Unowned World History  ",
      "  - Middle-Click:  Calculates Travel Distances From Owned Worlds",
      "  - Right-Click:  Shows Known World Information  ",
      "  - Double-Click:  Ends Player's Turn  ",
  };
}

std::vector<std::string> TravelHeadingLines() { return {"    World Travel    ", "Distances", "(in Turns)"}; }

std::vector<std::string> TravelTurnCaptions(Game& game, int from) {
  std::vector<std::string> captions;
  if (!IsWorld(game.state, from)) return captions;
  for (int j = 0; j < InPlay(game.state); ++j) {
    game.DistCalc(static_cast<int16_t>(from), static_cast<int16_t>(j), game.CalcDistance, game.CalcCourse, 0.2f);
    // No fleet goes from a world to itself: the world clicked reads 0.
    captions.push_back(Format(j == from ? 0.0 : TripTurns(game.CalcDistance), "0"));
  }
  return captions;
}

std::string TravelDistanceText(float distance) {
  const double years = Int(static_cast<double>(distance) * 100 + 0.999) / 100;
  const double turns = TripTurns(distance);
  return "\r\n    The Travel Distance Between Worlds is " + Format(years, "0.00") + " Years, (" + Format(turns, "0") +
         TurnWord(turns) + ")    ";
}

std::string NoShipsText() { return "    There Are Currently No Ships Or Bombs At This World!    "; }

std::string WorldTooltip(const GameState& s, int world) {
  if (!IsWorld(s, world)) return "";
  const int owner = s.WorldOwner[world];
  const bool seated = owner >= 1 && owner <= kSeats && !s.PlayerName[owner - 1].empty();
  return s.WorldName[world] + "\n" + (seated ? "Owner: " + s.PlayerName[owner - 1] : std::string("No owner"));
}

// ---- Hand-over -----------------------------------------------------------------

std::string HandOverText(const GameState& s) {
  if (!IsSeat(s.CurrentPlayer)) return "";
  return s.PlayerName[s.CurrentPlayer] + ", your turn \xE2\x80\x94 Year " + Format(ShownYear(s.GameYear), "0.00") +
         ", Turn #" + Format(static_cast<double>(CurrentTurn(s)), "0");
}

bool HandOverDue(const Game& game, int seat) {
  const GameState& s = game.state;
  if (s.NetworkGame || !IsSeat(seat) || s.PlayerName[seat].empty() || !game.IsHuman(seat)) return false;
  int humans = 0;
  for (int p = 0; p < kSeats; ++p)
    if (!s.PlayerName[p].empty() && game.IsHuman(p) && !game.EndsWith(p, kEliminated)) ++humans;
  return humans >= 2;
}

// ---- Labels ---------------------------------------------------------------------

std::string FleetLabelCaption(const GameState& s, int fleet, bool radarAlert) {
  if (fleet < 0 || fleet >= kFleets) return "";
  const double turns = TurnsToArrival(s.FleetRemaining[fleet]);
  const float ships = s.FleetShips[fleet];
  if (ships > 0 && ships < kAnnihilationBomb) {
    // What the radar sees of a foreign fleet is its size, not its plan.
    if (radarAlert) return StrTrim(ships);
    return StrTrim(ships) + "  (" + Format(turns, "0") + TurnWord(turns) + ")";
  }
  return Format(turns, "0") + TurnWord(turns);
}

// ---- Radar ----------------------------------------------------------------------

RadarScan ScanRadar(const GameState& s, const Geometry& g, int selectedFrom, bool busy) {
  RadarScan scan;
  if (selectedFrom != -1 || busy || !IsSeat(s.CurrentPlayer)) return scan;
  const int me = Me(s);

  // The home worlds the current player holds for a human seat in play.
  std::vector<int> watched;
  for (int h = kHomeRing; h < kHomeRing + kSeats; ++h) {
    const std::string& seat = s.PlayerName[h - kHomeRing];
    if (IsWorld(s, h) && !seat.empty() && !IsComputerName(seat) && s.WorldOwner[h] == me) watched.push_back(h);
  }
  if (watched.empty()) return scan;

  for (int f = 0; f < kFleets; ++f) {
    if (!FleetInFlight(s, f) || s.FleetOwner[f] == me) continue;
    // A fleet launched this turn has not shown itself yet.
    if (s.FleetRemaining[f] == s.FleetDistance[f]) continue;
    const Point fleet = FleetModelPointNow(s, g, f);
    for (int h : watched) {
      if (!(Distance(fleet, WorldModelPoint(s, g, h)) <= kRadarRange)) continue;
      ++scan.alerts;
      scan.pulseMenu[h - kHomeRing] = 1;
      scan.contacts.push_back({f, -1, h});
    }
  }
  for (int b = 0; b < kBombs; ++b) {
    if (s.BombOwner[b] <= 0 || s.BombOwner[b] == me) continue;
    const long long q = RoundHalfEvenUnchecked(s.BombWorld[b]);
    if (q < 0 || q >= InPlay(s)) continue;
    const Point bomb = WorldModelPoint(s, g, static_cast<int>(q));
    for (int h : watched) {
      if (!(Distance(bomb, WorldModelPoint(s, g, h)) <= kRadarRange)) continue;
      scan.pulseMenu[h - kHomeRing] = 1;
      scan.contacts.push_back({-1, b, h});
    }
  }
  return scan;
}

std::string RadarNotice(int count) {
  if (count > 1) return "Radar Alert: " + Str(count) + " Enemy Traveling Fleets Detected!";
  if (count == 1) return "Radar Alert: " + Str(count) + " Enemy Traveling Fleet Detected!";
  return "";
}

// ---- Tips and chat -----------------------------------------------------------------

bool TipDue(double due) { return Int(due * 500) == 498; }

std::string GameTip(const GameState& s, double kind, double leader) {
  if (kind < 0.5) {
    // A treasure still hidden: any code on a world, except an armed pulse
    // bomb (10 on a home world whose seat is in use) and fuel already found.
    // Fuel keeps its code after a conquest, for it still speeds the trips
    // from its world; a world that has an owner has been taken, so its fuel
    // is known, and only fuel on a world nobody holds is still to be found.
    int hidden = 0;
    for (int w = 0; w < InPlay(s); ++w) {
      const int code = s.WorldTreasure[w];
      if (code <= 0) continue;
      const bool home = w >= kHomeRing && w < kHomeRing + kSeats;
      if (code == kPulseArmed && home && !s.PlayerName[w - kHomeRing].empty()) continue;
      if (code == kDoubleFuel && s.WorldOwner[w] != 0) continue;
      ++hidden;
    }
    if (hidden == 1) return " There Is Still" + Str(hidden) + " World Treasure To Be Found!";
    return " There Are Still" + Str(hidden) + " World Treasures To Be Found!";
  }

  std::array<double, kSeats> worlds{}, ships{}, traveling{};
  for (int w = 0; w < InPlay(s); ++w) {
    const int owner = s.WorldOwner[w];
    if (owner < 1 || owner > kSeats) continue;
    worlds[owner - 1] += 1;
    ships[owner - 1] += s.WorldShips[w];
  }
  for (int f = 0; f < kFleets; ++f) {
    if (!FleetInFlight(s, f)) continue;
    const float n = s.FleetShips[f];
    if (n > 0 && n < kAnnihilationBomb) traveling[s.FleetOwner[f] - 1] += n;
  }
  const double pick = Int(3 * leader);
  const int which = pick <= 0 ? 0 : pick >= 2 ? 2 : 1;
  const auto& tally = which == 0 ? worlds : which == 1 ? ships : traveling;
  int best = -1;
  for (int p = 0; p < kSeats; ++p) {
    if (s.PlayerName[p].empty() || s.PlayerLeft[p] != 0) continue;
    if (best < 0 || tally[p] > tally[best]) best = p;
  }
  if (best < 0) return "";
  const char* what[] = {" Currently Owns The Most Worlds!", " Currently Has The Most Ships!",
                        " Currently Has The Most Traveling Ships!"};
  return " " + s.PlayerName[best] + what[which];
}

std::string WithoutStars(std::string text) {
  std::erase(text, '*');
  return text;
}

std::string ChatPad(const std::string& name) {
  const size_t n = Length(name);
  if (n < 4) return std::string(14, ' ');
  if (n < 6) return std::string(10, ' ');
  if (n < 8) return std::string(6, ' ');
  return "";
}

std::string ChatLine(const std::string& name, const std::string& message) {
  constexpr size_t kLine = 35;
  const std::string text = TrimBlanks(WithoutStars(message));
  if (text.empty()) return "";
  const std::string who = WithoutStars(name);
  const std::string breakText = "\r\n\t\t" + ChatPad(who);
  std::string out = who + ": ";
  std::string line;
  size_t length = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ' ' && length >= kLine) {
      // The line is long enough: break here, and the blanks go with the break.
      out += TrimBlanks(line) + breakText;
      line.clear();
      length = 0;
      while (i + 1 < text.size() && text[i + 1] == ' ') ++i;
      continue;
    }
    line += c;
    length += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }
  return out + TrimBlanks(line);
}

}  // namespace valkoran::view
