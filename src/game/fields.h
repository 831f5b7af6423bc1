// The state's tables, named once: each field of a world, a fleet slot and a
// proximity-bomb slot with the tag it travels under on the network, in the
// order the saved file and the whole-state synchronisation write them. The
// saved game, the synchronisation and its receiver all go through here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "game/state.h"

namespace valkoran {

// How a field is written (Str of the number, or the text) and read back.
enum class FieldKind { Single, Byte, Int16, Text, History };

enum class FieldScope { World, Fleet, Bomb };

struct Field {
  const char* tag;  // "[S]", as the network writes it before the blank
  FieldScope scope;
  FieldKind kind;
  double (*get)(const GameState& s, int i);             // numbers
  void (*set)(GameState& s, int i, double v);           // numbers, within the kind's range
  std::string* (*text)(GameState& s, int i, int seat);  // texts; a history is the seat's own
};

// In the order the synchronisation sends them; the saved file writes a
// world's histories (FieldKind::History) after its other fields.
extern const std::array<Field, 14> kWorldFields;
extern const std::array<Field, 9> kFleetFields;
extern const std::array<Field, 3> kBombFields;

// Slots a scope has in play: worlds 0..29, fleets 0..99, bombs 0..19.
int SlotCount(FieldScope scope);

// The field's value as written: Str of a number (a leading blank when not
// negative), or the text itself.
std::string FieldText(const Field& f, const GameState& s, int i, int seat = 0);

// Reading a value back: why it was refused, as the loader reports it.
enum class FieldError { TypeMismatch, Overflow };
// Parses `text` for the field and stores it; the state is untouched when the
// value is refused.
std::optional<FieldError> SetFieldText(const Field& f, GameState& s, int i, std::string_view text, int seat = 0);

// A fleet slot as "[SEND] " carries it.
struct FleetValues {
  uint8_t from = 0, to = 0, owner = 0, shipClass = 0, shield = 0;
  float ships = 0, distance = 0, course = 0, remaining = 0;
};

// The field of that scope sent under `tag`, or null.
const Field* FindField(std::string_view tag);

}  // namespace valkoran
