#include "net/protocol/encode.h"

#include <optional>

#include "game/fields.h"
#include "game/numbers.h"
#include "net/protocol/message.h"

namespace valkoran::net {

std::string FleetRecord(const GameState& s, int f) {
  return Format(static_cast<double>(s.FleetFrom[f]), "00") + Format(static_cast<double>(s.FleetTo[f]), "00") +
         Format(static_cast<double>(s.FleetOwner[f]), "00") + Format(s.FleetShips[f], "00000") +
         Format(static_cast<double>(s.FleetClass[f]), "0") + Format(static_cast<double>(s.FleetShield[f]), "000") +
         Format(s.FleetDistance[f], "0.000") + Format(static_cast<double>(s.FleetCourse[f]) + 10, "00.000") +
         Format(s.FleetRemaining[f], "0.000");
}

std::optional<FleetValues> ReadFleetRecord(std::string_view p) {
  if (p.size() != 31) return std::nullopt;
  auto number = [&](size_t at, size_t width) -> std::optional<double> {
    const std::string_view digits = p.substr(at, width);
    for (char c : digits)
      if ((c < '0' || c > '9') && c != '.') return std::nullopt;
    return ParseNumber(digits);
  };
  auto from = number(0, 2), to = number(2, 2), owner = number(4, 2), ships = number(6, 5), cls = number(11, 1),
       shield = number(12, 3), distance = number(15, 5), course = number(20, 6), remaining = number(26, 5);
  if (!from || !to || !owner || !ships || !cls || !shield || !distance || !course || !remaining) return std::nullopt;
  if (*shield > 255) return std::nullopt;
  FleetValues v;
  v.from = static_cast<uint8_t>(*from), v.to = static_cast<uint8_t>(*to), v.owner = static_cast<uint8_t>(*owner);
  v.ships = static_cast<float>(*ships), v.shipClass = static_cast<uint8_t>(*cls);
  v.shield = static_cast<uint8_t>(*shield);
  v.distance = static_cast<float>(*distance), v.course = static_cast<float>(*course - 10);
  v.remaining = static_cast<float>(*remaining);
  return v;
}

std::string GalaxySyncText(const GameState& s, int seat) {
  std::string out;
  out.reserve(96 * 1024);
  out += Frame("[NP]", 0, Str(static_cast<double>(s.WorldCount)));
  for (int p = 0; p < kSeats; ++p) out += Frame("[N]", p, s.PlayerName[p]);
  for (int p = 0; p < kSeats; ++p) out += Frame("[PV]", p, Str(static_cast<double>(s.PlayerCrystal[p])));
  out += Frame("[YEAR]", 0, Str(s.GameYear));
  // Each machine plays from its own seat: the client's current player is
  // the seat of its connection.
  out += Frame("[TURN]", 0, Str(static_cast<double>(seat)));
  out += Frame("[TIME]", 0, Str(s.ShotDelay));
  for (int w = 0; w < kWorlds; ++w)
    for (const Field& f : kWorldFields) out += Frame(f.tag, w, FieldText(f, s, w, seat));
  for (int f = 0; f < kFleets; ++f)
    for (const Field& field : kFleetFields) out += Frame(field.tag, f, FieldText(field, s, f));
  for (int b = 0; b < kBombs; ++b)
    for (const Field& field : kBombFields) out += Frame(field.tag, b, FieldText(field, s, b));
  out += Frame("[GH]", 0, s.GameHistory[seat]);
  out += Frame("[SHOW]", 0, "Galaxy");
  out += Frame("[SHIELD]", 0, s.ShieldOption ? "01" : "00");
  if (s.TruceTurn != 0) out += Frame("[TRUCE]", 0, Format(static_cast<double>(s.TruceTurn), "00"));
  return out;
}

}  // namespace valkoran::net
