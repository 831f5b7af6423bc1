#include "edge/edgecase.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>

#include "game/autoplay.h"
#include "game/newgame.h"
#include "game/playable.h"

namespace valkoran::edge {

namespace {

constexpr const char* kTerminator = " 255";

std::vector<std::string> SplitAtLineEnds(const std::string& text) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos) nl = text.size();
    std::string line = text.substr(at, nl - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    at = nl + 1;
  }
  return lines;
}

// The fields in the order the game writes them, without their places.
std::vector<Field> FieldOrder() {
  std::vector<Field> out;
  auto add = [&](const std::string& column, int slot, Kind kind, int seat = -1) {
    Field f;
    f.column = column;
    f.slot = slot;
    f.seat = seat;
    f.kind = kind;
    f.name = column;
    if (slot >= 0) f.name += "[" + std::to_string(slot) + "]";
    if (seat >= 0) f.name += "[" + std::to_string(seat) + "]";
    out.push_back(std::move(f));
  };
  add("ShieldOption", -1, Kind::Number);
  add("WorldCount", -1, Kind::Number);
  for (int p = 0; p < kSeats; ++p) {
    add("PlayerName", p, Kind::Name);
    add("PlayerCrystal", p, Kind::Number);
  }
  for (const char* c : {"GameYear", "CurrentPlayer", "ShotDelay", "TruceTurn"}) add(c, -1, Kind::Number);
  for (int w = 0; w < kWorlds; ++w) {
    for (const char* c : {"WorldAngle", "WorldOrbit", "WorldSpin"}) add(c, w, Kind::Number);
    add("WorldName", w, Kind::Name);
    for (const char* c : {"WorldProduction", "WorldClass", "WorldShield", "WorldShieldOn", "WorldRevealed",
                          "WorldOwner", "WorldShips", "WorldTreasure", "WorldBombs"})
      add(c, w, Kind::Number);
    for (int p = 0; p < kSeats; ++p) add("WorldHistory", w, Kind::Block, p);
  }
  for (int f = 0; f < kFleets; ++f)
    for (const char* c : {"FleetFrom", "FleetTo", "FleetOwner", "FleetShips", "FleetClass", "FleetShield",
                          "FleetRemaining", "FleetDistance", "FleetCourse"})
      add(c, f, Kind::Number);
  for (int b = 0; b < kBombs; ++b)
    for (const char* c : {"BombOwner", "BombWorld", "BombThreshold"}) add(c, b, Kind::Number);
  for (int p = 0; p < kSeats; ++p) add("GameHistory", p, Kind::Block);
  return out;
}

bool IsTerminator(const std::string& line) { return line == " 255" || line == "255"; }

std::string Repeat(const std::string& unit, size_t bytes) {
  std::string s;
  while (s.size() < bytes) s += unit;
  s.resize(bytes);
  return s;
}

// A block of whole lines "line NNNN ..." joined by CR LF, exactly `bytes` long.
std::string LongBlock(size_t bytes) {
  std::string s;
  for (int n = 0; s.size() < bytes; ++n) {
    if (!s.empty()) s += "\r\n";
    s += " Year 1.05, Turn #" + std::to_string(n) + ": a line of a long record";
  }
  s.resize(bytes);
  if (s.back() == '\r') s.back() = '.';
  return s;
}

}  // namespace

const Field* Layout::FieldAt(size_t line) const {
  auto it = std::upper_bound(fields.begin(), fields.end(), line,
                             [](size_t l, const Field& f) { return l < f.line; });
  if (it == fields.begin()) return nullptr;
  --it;
  return line < it->line + it->lines ? &*it : nullptr;
}

size_t Layout::Index(const std::string& name) const {
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name == name) return i;
  throw std::out_of_range("no field " + name);
}

std::optional<Layout> MapFields(const std::string& text) {
  Layout layout;
  layout.lines = SplitAtLineEnds(text);
  layout.fields = FieldOrder();
  size_t at = 0;
  for (Field& f : layout.fields) {
    f.line = at;
    if (f.kind == Kind::Block) {
      while (at < layout.lines.size() && !IsTerminator(layout.lines[at])) ++at;
    }
    if (at >= layout.lines.size()) return std::nullopt;
    ++at;
    f.lines = at - f.line;
  }
  if (at != layout.lines.size()) return std::nullopt;
  return layout;
}

const std::vector<std::string>& EdgeValues(Kind kind) {
  static const std::vector<std::string> numbers = {
      // zero, signs and fractions below one
      " 0", "-1", " .5", " .25", " 1E-20", " 1E-45", " 1",
      // slot and code limits of the tables and payloads
      " 4", " 5", " 9", " 10", " 29", " 30", " 31", " 99", " 100", " 101", " 255", " 256", " 9998", " 9999",
      " 10000", " 19998", " 32767", " 32768", "-32768", " 65535",
      // where 32-bit values stop counting in ones, and beyond any game
      " 16777216", " 1E30", "-1E30", " 3E38", "-3E38",
      // years near turn 32767 and the year's own limit
      " 1639.35", " 1639.4", " 1640", " 100000", " 1048575.9", " 1048576", " 1048577", " 2000000"};
  static const std::vector<std::string> names = {
      "", "*", "Ann", "ENEMY", "ENEMY1", "ENEMY0x", " 255", Repeat("Nm", kMaxNameBytes), Repeat("Nm", kMaxNameBytes + 1)};
  static const std::vector<std::string> blocks = {
      "", "*", "255", std::string(kTerminator) + "\r\nafter the end", "\r\n\r\n",
      LongBlock(kWorldHistoryLimit), LongBlock(kWorldHistoryLimit + 1), LongBlock(kGameLogLimit),
      LongBlock(kGameLogLimit + 1), std::string(70000, 'x')};
  switch (kind) {
    case Kind::Number: return numbers;
    case Kind::Name: return names;
    default: return blocks;
  }
}

const std::vector<std::string>& ReducedValues(Kind kind) {
  static const std::vector<std::string> numbers = {" 0", "-1", " 1", " 9999"};
  static const std::vector<std::string> names = {"", "ENEMY1"};
  static const std::vector<std::string> blocks = {"", LongBlock(kWorldHistoryLimit)};
  switch (kind) {
    case Kind::Number: return numbers;
    case Kind::Name: return names;
    default: return blocks;
  }
}

std::string Apply(const Layout& layout, const std::vector<Edit>& edits) {
  std::map<size_t, const std::string*> byField;
  for (const Edit& e : edits) byField[e.field] = &e.value;
  std::string out;
  out.reserve(layout.lines.size() * 8 + 1024);
  size_t line = 0;
  auto copyUpTo = [&](size_t end) {
    for (; line < end; ++line) out += layout.lines[line], out += "\r\n";
  };
  for (const auto& [index, value] : byField) {
    const Field& f = layout.fields.at(index);
    copyUpTo(f.line);
    out += *value, out += "\r\n";
    if (f.kind == Kind::Block) out += kTerminator, out += "\r\n";
    line = f.line + f.lines;
  }
  copyUpTo(layout.lines.size());
  return out;
}

std::string Shown(const std::string& value) {
  std::string s = "\"";
  const size_t shown = value.size() > 24 ? 16 : value.size();
  for (size_t i = 0; i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (c == '\r') s += "\\r";
    else if (c == '\n') s += "\\n";
    else if (c == '"' || c == '\\') s += '\\', s += static_cast<char>(c);
    else if (c < 32 || c >= 127) {
      static const char* hex = "0123456789abcdef";
      s += "\\x", s += hex[c >> 4], s += hex[c & 15];
    } else s += static_cast<char>(c);
  }
  s += "\"";
  if (shown < value.size()) s += "... (" + std::to_string(value.size()) + " bytes)";
  return s;
}

std::string Describe(const Layout& layout, const std::vector<Edit>& edits) {
  std::string out;
  for (const Edit& e : edits) {
    if (!out.empty()) out += ", ";
    out += layout.fields.at(e.field).name + " = " + Shown(e.value);
  }
  return out;
}

namespace {

struct Variant {
  std::array<std::string, kSeats> names;
  int worlds;
  bool shields;
  int truce;  // 0: none
  uint64_t seed;
  int laterTurns;  // turns played before the bomb is laid
};

constexpr int kBombLayerTurnLimit = 40;

const Variant& VariantOf(int variant) {
  static const Variant variants[kBaseVariants] = {
      {{"Ann", "ENEMY1", "Cid", "ENEMY3"}, 20, false, 0, 11, 0},
      {{"Ann", "Bob", "ENEMY2", "ENEMY3"}, 30, true, 12, 23, 0},
      {{"Ann", "ENEMY1", "", ""}, 10, false, 0, 5, 8},
      {{"Ann", "ENEMY1", "Cid", "ENEMY3"}, 20, false, 0, 11, 30},
  };
  if (variant < 0 || variant >= kBaseVariants) throw std::out_of_range("no base game variant " + std::to_string(variant));
  return variants[variant];
}

int SeatsIn(const GameState& s) {
  int n = 0;
  while (n < kSeats && !s.PlayerName[n].empty()) ++n;
  return n;
}

// The world of `owner` code with the most ships, or -1.
int LargestWorldOf(const GameState& s, int owner) {
  int best = -1;
  for (int w = 0; w < s.WorldCount; ++w)
    if (s.WorldOwner[w] == owner && (best < 0 || s.WorldShips[w] > s.WorldShips[best])) best = w;
  return best;
}

void Send(Game& game, int from, int to, int amount) {
  game.SelectedFrom = static_cast<int16_t>(from);
  game.SelectedTo = static_cast<int16_t>(to);
  game.Sendships(static_cast<int16_t>(amount));
}

}  // namespace

BaseGame MakeBaseGame(int variant) {
  const Variant& v = VariantOf(variant);
  Game game(v.seed);
  GameSetup setup;
  setup.names = v.names;
  setup.worlds = v.worlds;
  setup.shields = v.shields;
  setup.truceChecked = v.truce > 0;
  setup.truceText = std::to_string(v.truce);
  if (auto why = ValidateSetup(setup)) throw std::logic_error("base game setup: " + *why);
  NewGame(game, setup);
  GameState& s = game.state;

  if (v.laterTurns > 0 && PlayLoadedGame(game, v.laterTurns) != PlayEnd::LimitReached)
    throw std::logic_error("base game ended early");

  // The proximity bomb that lies armed: laid by the third seat (else another
  // seat still in the game) on the world nearest its largest, as its owner would.
  int layer = -1, layerWorld = -1;
  for (int p : {2, 1, 3}) {
    if (p >= SeatsIn(s) || layer >= 0) continue;
    layerWorld = LargestWorldOf(s, p + 1);
    if (layerWorld >= 0) layer = p;
  }
  if (layer < 0) throw std::logic_error("base game: nobody but Ann holds a world");
  s.CurrentPlayer = static_cast<int16_t>(layer);
  game.Nearest(static_cast<int16_t>(layerWorld), static_cast<int16_t>(layer + 1));
  const int bombAt = static_cast<int>(game.NearestList[0][0]);
  if (bombAt < 0) throw std::logic_error("base game: no world for the proximity bomb");
  s.WorldBombs[layerWorld] = std::max<int16_t>(s.WorldBombs[layerWorld], 1);
  Send(game, layerWorld, bombAt, 10000 + 5);
  s.CurrentPlayer = 0;
  game.SelectedFrom = game.SelectedTo = -1;
  for (int turn = 0; turn < kBombLayerTurnLimit; ++turn) {
    bool armed = false;
    for (int b = 0; b < kBombs; ++b) armed = armed || s.BombOwner[b] > 0;
    if (armed) break;
    if (PlayLoadedGame(game, 1) != PlayEnd::LimitReached) throw std::logic_error("base game ended early");
  }
  // PlayLoadedGame stops as seat 0's turn is due: Ann gives her orders now.
  s.CurrentPlayer = 0;

  const int ann = LargestWorldOf(s, 1);
  if (ann >= 0) {
    game.Nearest(static_cast<int16_t>(ann), 1);
    std::array<int, 4> near{};
    for (int i = 0; i < 4; ++i) near[i] = static_cast<int>(game.NearestList[i][0]);
    if (near[3] < 0) throw std::logic_error("base game: Ann has too few worlds in reach");
    s.WorldBombs[ann] = std::max<int16_t>(s.WorldBombs[ann], 3);
    Send(game, ann, near[0], 50);
    Send(game, ann, near[1], 1);
    Send(game, ann, near[2], static_cast<int>(kAnnihilationBomb));
    Send(game, ann, near[3], 10000 + 25);
    if (s.WorldOwner[kHomeRing] == 1) {
      game.SelectedFrom = kHomeRing;
      game.mnuComSendPulse_Click();
    }
  }

  BaseGame base;
  base.variant = variant;
  base.state = s;
  for (int f = 0; f < kFleets; ++f) {
    const float ships = s.FleetShips[f];
    if (s.FleetFrom[f] == 0) {
      if (base.freeFleet < 0) base.freeFleet = f;
      continue;
    }
    const bool anns = s.FleetOwner[f] == 1;
    if (ships == kScout && (base.scoutFleet < 0 || anns)) base.scoutFleet = f;
    if (ships >= 1 && ships <= kMaxFleetShips && (base.shipFleet < 0 || anns)) base.shipFleet = f;
    if (ships == kAnnihilationBomb) base.bombFleet = f;
    if (ships >= kProximityBombBase) base.proximityFleet = f;
  }
  for (int b = kBombs - 1; b >= 0; --b) (s.BombOwner[b] > 0 ? base.armedBomb : base.freeBomb) = b;
  if (base.shipFleet >= 0) base.fleetTarget = s.FleetTo[base.shipFleet] - 1;
  if (base.armedBomb >= 0) base.bombedWorld = static_cast<int>(s.BombWorld[base.armedBomb]);
  if (s.WorldOwner[kHomeRing] == 1) base.humanHome = kHomeRing;
  else base.humanHome = LargestWorldOf(s, 1);
  for (int p = 0; p < kSeats && base.computerHome < 0; ++p) {
    if (!IsComputerName(s.PlayerName[p])) continue;
    base.computerHome = s.WorldOwner[kHomeRing + p] == p + 1 ? kHomeRing + p : LargestWorldOf(s, p + 1);
  }
  // An unowned world with no other role, else any.
  for (int w = s.WorldCount - 1; w >= 0; --w)
    if (s.WorldOwner[w] == 0 && (base.unownedWorld < 0 || (w != base.fleetTarget && w != base.bombedWorld)))
      base.unownedWorld = w;
  if (s.WorldCount < kWorlds) base.unusedWorld = s.WorldCount;
  return base;
}

}  // namespace valkoran::edge
