#include "game/fields.h"

#include <limits>

#include "game/numbers.h"

namespace valkoran {

namespace {

// One accessor set per table of the state.
#define VALKORAN_NUMBER(table) \
  [](const GameState& s, int i) -> double { return s.table[i]; }, \
  [](GameState& s, int i, double v) { s.table[i] = static_cast<decltype(s.table)::value_type>(v); }, nullptr
#define VALKORAN_TEXT(table) \
  nullptr, nullptr, [](GameState& s, int i, int) -> std::string* { return &s.table[i]; }

}  // namespace

const std::array<Field, 14> kWorldFields = {{
    {"[S]", FieldScope::World, FieldKind::Single, VALKORAN_NUMBER(WorldAngle)},
    {"[R]", FieldScope::World, FieldKind::Single, VALKORAN_NUMBER(WorldOrbit)},
    {"[M]", FieldScope::World, FieldKind::Single, VALKORAN_NUMBER(WorldSpin)},
    {"[PN]", FieldScope::World, FieldKind::Text, VALKORAN_TEXT(WorldName)},
    {"[PP]", FieldScope::World, FieldKind::Byte, VALKORAN_NUMBER(WorldProduction)},
    {"[PC]", FieldScope::World, FieldKind::Byte, VALKORAN_NUMBER(WorldClass)},
    {"[PH]", FieldScope::World, FieldKind::Byte, VALKORAN_NUMBER(WorldShield)},
    {"[PM]", FieldScope::World, FieldKind::Byte, VALKORAN_NUMBER(WorldShieldOn)},
    {"[PD]", FieldScope::World, FieldKind::Int16, VALKORAN_NUMBER(WorldRevealed)},
    {"[PO]", FieldScope::World, FieldKind::Byte, VALKORAN_NUMBER(WorldOwner)},
    {"[PS]", FieldScope::World, FieldKind::Single, VALKORAN_NUMBER(WorldShips)},
    {"[PY]", FieldScope::World, FieldKind::History, nullptr, nullptr,
     [](GameState& s, int i, int seat) -> std::string* { return &s.WorldHistory[i][seat]; }},
    {"[PT]", FieldScope::World, FieldKind::Int16, VALKORAN_NUMBER(WorldTreasure)},
    {"[PB]", FieldScope::World, FieldKind::Int16, VALKORAN_NUMBER(WorldBombs)},
}};

const std::array<Field, 9> kFleetFields = {{
    {"[FP]", FieldScope::Fleet, FieldKind::Byte, VALKORAN_NUMBER(FleetFrom)},
    {"[TP]", FieldScope::Fleet, FieldKind::Byte, VALKORAN_NUMBER(FleetTo)},
    {"[FO]", FieldScope::Fleet, FieldKind::Byte, VALKORAN_NUMBER(FleetOwner)},
    {"[NS]", FieldScope::Fleet, FieldKind::Single, VALKORAN_NUMBER(FleetShips)},
    {"[TC]", FieldScope::Fleet, FieldKind::Byte, VALKORAN_NUMBER(FleetClass)},
    {"[TS]", FieldScope::Fleet, FieldKind::Byte, VALKORAN_NUMBER(FleetShield)},
    {"[TD]", FieldScope::Fleet, FieldKind::Single, VALKORAN_NUMBER(FleetRemaining)},
    {"[SD]", FieldScope::Fleet, FieldKind::Single, VALKORAN_NUMBER(FleetDistance)},
    {"[SS]", FieldScope::Fleet, FieldKind::Single, VALKORAN_NUMBER(FleetCourse)},
}};

const std::array<Field, 3> kBombFields = {{
    {"[BO]", FieldScope::Bomb, FieldKind::Int16, VALKORAN_NUMBER(BombOwner)},
    {"[BW]", FieldScope::Bomb, FieldKind::Single, VALKORAN_NUMBER(BombWorld)},
    {"[BT]", FieldScope::Bomb, FieldKind::Single, VALKORAN_NUMBER(BombThreshold)},
}};

#undef VALKORAN_NUMBER
#undef VALKORAN_TEXT

int SlotCount(FieldScope scope) {
  switch (scope) {
    case FieldScope::World: return kWorlds;
    case FieldScope::Fleet: return kFleets;
    case FieldScope::Bomb: return kBombs;
  }
  return 0;
}

std::string FieldText(const Field& f, const GameState& s, int i, int seat) {
  switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::History:
      // The accessor hands out a pointer into the state; reading changes nothing.
      return *f.text(const_cast<GameState&>(s), i, seat);
    case FieldKind::Single:
      return Str(static_cast<float>(f.get(s, i)));
    case FieldKind::Byte:
    case FieldKind::Int16:
      return Str(f.get(s, i));
  }
  return {};
}

std::optional<FieldError> SetFieldText(const Field& f, GameState& s, int i, std::string_view text, int seat) {
  switch (f.kind) {
    case FieldKind::Text:
    case FieldKind::History:
      *f.text(s, i, seat) = std::string(text);
      return std::nullopt;
    case FieldKind::Single: {
      if (!ParseNumber(text)) return FieldError::TypeMismatch;
      // A number that is no 32-bit value reads as infinite and is refused.
      auto v = ParseSingle(text);
      if (!v) return FieldError::Overflow;
      f.set(s, i, *v);
      return std::nullopt;
    }
    case FieldKind::Byte:
    case FieldKind::Int16: {
      auto number = ParseNumber(text);
      if (!number) return FieldError::TypeMismatch;
      const bool byte = f.kind == FieldKind::Byte;
      auto v = RoundHalfEven(*number, byte ? 0 : std::numeric_limits<int16_t>::min(),
                             byte ? std::numeric_limits<uint8_t>::max() : std::numeric_limits<int16_t>::max());
      if (!v) return FieldError::Overflow;
      f.set(s, i, static_cast<double>(*v));
      return std::nullopt;
    }
  }
  return FieldError::TypeMismatch;
}

const Field* FindField(std::string_view tag) {
  for (const auto* table : {kWorldFields.data(), kFleetFields.data(), kBombFields.data()}) {
    const size_t n = table == kWorldFields.data() ? kWorldFields.size()
                     : table == kFleetFields.data() ? kFleetFields.size()
                                                   : kBombFields.size();
    for (size_t k = 0; k < n; ++k)
      if (tag == table[k].tag) return &table[k];
  }
  return nullptr;
}

}  // namespace valkoran
