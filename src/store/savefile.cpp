#include "store/savefile.h"

#include "store/fileio.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

namespace valkoran {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr size_t kMaxGameFile = 64u << 20;  // far beyond any real game

class Writer {
 public:
  void Line(const std::string& text) { out_ += text, out_ += kCrLf; }
  void Num(double v) { Line(Str(v)); }
  void NumF(float v) { Line(Str(v)); }
  void Block(const std::string& text) {
    Line(text);
    Line(" 255");
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

struct LoadError {
  std::string text;
};

class Reader {
 public:
  explicit Reader(const std::string& text) : lines_(fileio::SplitLines(text)) {}

  std::string_view Line() {
    if (next_ >= lines_.size()) throw LoadError{kCorruptGameFile};
    return lines_[next_++];
  }
  std::string Text() { return std::string(Line()); }

  double Number() {
    auto v = ParseNumber(Line());
    if (!v) throw LoadError{ErrorText(13, "Type mismatch")};
    return *v;
  }
  float Single() {
    std::string_view line = Line();
    if (!ParseNumber(line)) throw LoadError{ErrorText(13, "Type mismatch")};
    // A number that is no 32-bit value reads as infinite and is refused.
    auto v = ParseSingle(line);
    if (!v) throw LoadError{ErrorText(6, "Overflow")};
    return *v;
  }
  template <typename T>
  T Integer() {
    auto v = RoundHalfEven(Number(), std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    if (!v) throw LoadError{ErrorText(6, "Overflow")};
    return static_cast<T>(*v);
  }
  // Lines up to the " 255" terminator, joined by CR LF.
  std::string Block() {
    std::string text;
    bool first = true;
    for (;;) {
      std::string_view line = Line();
      if (line == " 255" || line == "255") return text;
      if (!first) text += kCrLf;
      text += line;
      first = false;
    }
  }

 private:
  std::vector<std::string_view> lines_;
  size_t next_ = 0;
};

// Values the game would index tables with or loop on: a file that holds
// anything else did not come from a game and would crash or hang one.
bool Plausible(const GameState& s) {
  if (s.WorldCount < kMinWorlds || s.WorldCount > kWorlds) return false;
  if (s.CurrentPlayer < 0 || s.CurrentPlayer >= kSeats) return false;
  if (!(s.GameYear >= 1 && s.GameYear <= 100000)) return false;
  if (!std::isfinite(s.ShotDelay)) return false;
  for (int w = 0; w < kWorlds; ++w) {
    if (s.WorldOwner[w] > kSeats) return false;
    if (!(std::fabs(s.WorldAngle[w]) <= 16777216.0f)) return false;
    if (!(s.WorldOrbit[w] >= 1 && s.WorldOrbit[w] <= 10000)) return false;
    if (!(std::fabs(s.WorldSpin[w]) <= 1)) return false;
    if (!(std::fabs(s.WorldShips[w]) <= 1e9f)) return false;
  }
  for (int f = 0; f < kFleets; ++f) {
    if (s.FleetFrom[f] == 0) continue;
    if (s.FleetFrom[f] > kWorlds || s.FleetTo[f] < 1 || s.FleetTo[f] > kWorlds) return false;
    if (s.FleetOwner[f] > kSeats) return false;
    if (!std::isfinite(s.FleetShips[f]) || !std::isfinite(s.FleetRemaining[f]) ||
        !std::isfinite(s.FleetDistance[f]) || !std::isfinite(s.FleetCourse[f]))
      return false;
  }
  for (int b = 0; b < kBombs; ++b) {
    if (s.BombOwner[b] <= 0) continue;
    if (s.BombOwner[b] > kSeats) return false;
    auto w = RoundHalfEven(s.BombWorld[b], 0, kWorlds - 1);
    if (!w || !std::isfinite(s.BombThreshold[b])) return false;
  }
  return true;
}

}  // namespace

std::string WriteGameText(const GameState& s) {
  Writer w;
  w.Line(s.ShieldOption ? "1" : "0");
  w.Num(s.WorldCount);
  for (int p = 0; p < kSeats; ++p) {
    w.Line(s.PlayerName[p]);
    w.Num(s.PlayerCrystal[p]);
  }
  w.NumF(s.GameYear);
  w.Num(s.CurrentPlayer);
  w.NumF(s.ShotDelay);
  w.Num(s.TruceTurn);
  for (int i = 0; i < kWorlds; ++i) {
    w.NumF(s.WorldAngle[i]);
    w.NumF(s.WorldOrbit[i]);
    w.NumF(s.WorldSpin[i]);
    w.Line(s.WorldName[i]);
    w.Num(s.WorldProduction[i]);
    w.Num(s.WorldClass[i]);
    w.Num(s.WorldShield[i]);
    w.Num(s.WorldShieldOn[i]);
    w.Num(s.WorldRevealed[i]);
    w.Num(s.WorldOwner[i]);
    w.NumF(s.WorldShips[i]);
    w.Num(s.WorldTreasure[i]);
    w.Num(s.WorldBombs[i]);
    for (int p = 0; p < kSeats; ++p) w.Block(s.WorldHistory[i][p]);
  }
  for (int f = 0; f < kFleets; ++f) {
    w.Num(s.FleetFrom[f]);
    w.Num(s.FleetTo[f]);
    w.Num(s.FleetOwner[f]);
    w.NumF(s.FleetShips[f]);
    w.Num(s.FleetClass[f]);
    w.Num(s.FleetShield[f]);
    w.NumF(s.FleetRemaining[f]);
    w.NumF(s.FleetDistance[f]);
    w.NumF(s.FleetCourse[f]);
  }
  for (int b = 0; b < kBombs; ++b) {
    w.Num(s.BombOwner[b]);
    w.NumF(s.BombWorld[b]);
    w.NumF(s.BombThreshold[b]);
  }
  for (int p = 0; p < kSeats; ++p) w.Block(s.GameHistory[p]);
  return w.Take();
}

LoadOutcome ReadGameText(const std::string& text, const GameState& current) {
  GameState s = current;
  try {
    Reader r(text);
    // The first line is the shield check box: anything but 0 checks it.
    s.ShieldOption = r.Number() != 0;
    s.WorldCount = r.Integer<uint8_t>();
    for (int p = 0; p < kSeats; ++p) {
      s.PlayerName[p] = r.Text();
      s.PlayerCrystal[p] = r.Integer<int16_t>();
    }
    s.GameYear = r.Single();
    s.CurrentPlayer = r.Integer<int16_t>();
    s.ShotDelay = r.Single();
    s.TruceTurn = r.Integer<int16_t>();
    for (int i = 0; i < kWorlds; ++i) {
      s.WorldAngle[i] = r.Single();
      s.WorldOrbit[i] = r.Single();
      s.WorldSpin[i] = r.Single();
      s.WorldName[i] = r.Text();
      s.WorldProduction[i] = r.Integer<uint8_t>();
      s.WorldClass[i] = r.Integer<uint8_t>();
      s.WorldShield[i] = r.Integer<uint8_t>();
      s.WorldShieldOn[i] = r.Integer<uint8_t>();
      s.WorldRevealed[i] = r.Integer<int16_t>();
      s.WorldOwner[i] = r.Integer<uint8_t>();
      s.WorldShips[i] = r.Single();
      s.WorldTreasure[i] = r.Integer<int16_t>();
      s.WorldBombs[i] = r.Integer<int16_t>();
      for (int p = 0; p < kSeats; ++p) s.WorldHistory[i][p] = r.Block();
    }
    for (int f = 0; f < kFleets; ++f) {
      s.FleetFrom[f] = r.Integer<uint8_t>();
      s.FleetTo[f] = r.Integer<uint8_t>();
      s.FleetOwner[f] = r.Integer<uint8_t>();
      s.FleetShips[f] = r.Single();
      s.FleetClass[f] = r.Integer<uint8_t>();
      s.FleetShield[f] = r.Integer<uint8_t>();
      s.FleetRemaining[f] = r.Single();
      s.FleetDistance[f] = r.Single();
      s.FleetCourse[f] = r.Single();
    }
    for (int b = 0; b < kBombs; ++b) {
      s.BombOwner[b] = r.Integer<int16_t>();
      s.BombWorld[b] = r.Single();
      s.BombThreshold[b] = r.Single();
    }
    for (int p = 0; p < kSeats; ++p) s.GameHistory[p] = r.Block();
  } catch (const LoadError& e) {
    return {std::nullopt, e.text};
  }
  if (!Plausible(s)) return {std::nullopt, kCorruptGameFile};
  SetPlayerColours(s, ColourSource::LoadedOrJoined);
  return {std::move(s), {}};
}

LoadOutcome LoadGame(const std::string& path, const GameState& current) {
  fileio::ReadResult file = fileio::ReadAll(path, kMaxGameFile);
  if (file.notFound) return {std::nullopt, kFileNotFound};
  // Nothing near this size was ever a saved game.
  if (file.tooLarge) return {std::nullopt, kCorruptGameFile};
  if (!file.data) return {std::nullopt, file.error};
  return ReadGameText(*file.data, current);
}

std::optional<std::string> SaveGame(const std::string& path, const GameState& s) {
  return fileio::WriteAtomically(path, WriteGameText(s));
}


}  // namespace valkoran
