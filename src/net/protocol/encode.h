// What the server and the clients write: the whole state for one client,
// and the fleet record of "[SEND] ".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "game/fields.h"
#include "game/state.h"

namespace valkoran::net {

// The fixed-width "[SEND] " payload of fleet slot `f`.
std::string FleetRecord(const GameState& s, int f);

// Reads a "[SEND] " payload; nothing when it is not one.
std::optional<FleetValues> ReadFleetRecord(std::string_view payload);

// Everything a client at `seat` needs to play, in the order its receiver
// takes it: the header, every world, fleet and bomb slot by the state's
// field table (the histories and the log as that seat knows them), then
// "[SHOW] ", "[SHIELD] " and, with a truce, "[TRUCE] ".
std::string GalaxySyncText(const GameState& s, int seat);

}  // namespace valkoran::net
