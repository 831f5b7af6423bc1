#include "store/savefile.h"

#include "store/fileio.h"

#include <cmath>
#include <limits>
#include <new>
#include <string_view>

#include "game/fields.h"
#include "game/playable.h"

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

// Lines are taken one at a time from the text: a file of nothing but line
// breaks costs no more memory than its own bytes.
class Reader {
 public:
  explicit Reader(std::string_view text) : rest_(text) {}

  std::string_view Line() {
    if (rest_.empty()) throw LoadError{kCorruptGameFile};
    const size_t nl = rest_.find('\n');
    std::string_view line = rest_.substr(0, nl);
    rest_.remove_prefix(nl == std::string_view::npos ? rest_.size() : nl + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
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
  // One line into field `f` of slot `i`, refused as the loader refuses.
  void Value(const Field& f, GameState& s, int i) {
    if (auto error = SetFieldText(f, s, i, Line()))
      throw LoadError{*error == FieldError::TypeMismatch ? ErrorText(13, "Type mismatch") : ErrorText(6, "Overflow")};
  }
  // Lines up to the " 255" terminator, joined by CR LF. A log keeps growing
  // at its end and a world's history at its front, so however long the block
  // in the file, only about what the game keeps is ever held.
  enum class Grows { AtEnd, AtFront };
  std::string Block(Grows grows, size_t limit) {
    std::string text;
    bool first = true, full = false;
    for (;;) {
      std::string_view line = Line();
      if (line == " 255" || line == "255") return text;
      if (full) continue;
      if (!first) text += kCrLf;
      text += line;
      first = false;
      if (text.size() <= 2 * limit) continue;
      if (grows == Grows::AtEnd) {
        TrimGameLog(text);  // drops the oldest lines, from the front
      } else {
        full = true;  // the newest lines are in; the older ones would go
      }
    }
  }

 private:
  std::string_view rest_;
};

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
    for (const Field& f : kWorldFields)
      if (f.kind != FieldKind::History) w.Line(FieldText(f, s, i));
    for (int p = 0; p < kSeats; ++p) w.Block(s.WorldHistory[i][p]);
  }
  for (int f = 0; f < kFleets; ++f)
    for (const Field& field : kFleetFields) w.Line(FieldText(field, s, f));
  for (int b = 0; b < kBombs; ++b)
    for (const Field& field : kBombFields) w.Line(FieldText(field, s, b));
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
      for (const Field& f : kWorldFields)
        if (f.kind != FieldKind::History) r.Value(f, s, i);
      for (int p = 0; p < kSeats; ++p) s.WorldHistory[i][p] = r.Block(Reader::Grows::AtFront, kWorldHistoryLimit);
    }
    for (int f = 0; f < kFleets; ++f)
      for (const Field& field : kFleetFields) r.Value(field, s, f);
    for (int b = 0; b < kBombs; ++b)
      for (const Field& field : kBombFields) r.Value(field, s, b);
    for (int p = 0; p < kSeats; ++p) s.GameHistory[p] = r.Block(Reader::Grows::AtEnd, kGameLogLimit);
  } catch (const LoadError& e) {
    return {std::nullopt, e.text, {}};
  } catch (const std::bad_alloc&) {
    return {std::nullopt, kOutOfMemory, {}};
  }
  // Logs from before they were bounded: the game keeps what it would have kept.
  for (int p = 0; p < kSeats; ++p) {
    TrimGameLog(s.GameHistory[p]);
    for (int w = 0; w < kWorlds; ++w) TrimWorldHistory(s.WorldHistory[w][p]);
  }
  if (auto why = PlayableProblem(s)) return {std::nullopt, kCorruptGameFile, *why};
  SetPlayerColours(s, ColourSource::LoadedOrJoined);
  return {std::move(s), {}, {}};
}

LoadOutcome LoadGame(const std::string& path, const GameState& current) {
  try {
    fileio::ReadResult file = fileio::ReadAll(path, kMaxGameFile);
    if (file.notFound) return {std::nullopt, kFileNotFound, {}};
    // Nothing near this size was ever a saved game.
    if (file.tooLarge) return {std::nullopt, kCorruptGameFile, "the file is larger than 64 MiB"};
    if (!file.data) return {std::nullopt, file.error, {}};
    return ReadGameText(*file.data, current);
  } catch (const std::bad_alloc&) {
    return {std::nullopt, kOutOfMemory, {}};
  }
}

std::optional<std::string> CheckSavable(const GameState& s, const std::string& text) {
  LoadOutcome back = ReadGameText(text, s);
  if (!back.state && !back.reason.empty()) return kNotSaved + back.reason + ".";
  // Colours are the loader's to set; everything else must come back as it went.
  if (back.state) back.state->PlayerColor = s.PlayerColor;
  if (!back.state || !(*back.state == s)) return kNotSaved + std::string("it would not load back as it is.");
  return std::nullopt;
}

std::optional<std::string> SaveGame(const std::string& path, const GameState& s) {
  try {
    const std::string text = WriteGameText(s);
    if (auto why = CheckSavable(s, text)) return why;
    return fileio::WriteAtomically(path, text);
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}


}  // namespace valkoran
