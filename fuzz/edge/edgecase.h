// Saved games with edge values in chosen fields: the field map of a saved
// file, the values that sit on the rules' edges, and a game part-way through
// to put them in. The sweep in the test suite and the fuzzers share it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "game/state.h"

namespace valkoran::edge {

enum class Kind {
  Number,  // one line read as a number
  Name,    // one line of text
  Block,   // lines up to a " 255" line
};

struct Field {
  std::string name;    // "WorldShips[12]", "WorldHistory[3][1]", "GameYear"
  std::string column;  // "WorldShips"
  int slot = -1;       // world, fleet, bomb or seat; -1 for the file's scalars
  int seat = -1;       // the seat of a world's history block
  Kind kind = Kind::Number;
  size_t line = 0;     // the field's first line in the file (0-based)
  size_t lines = 1;    // lines it spans; a block's include its " 255"
};

// A saved file cut into its fields.
struct Layout {
  std::vector<std::string> lines;
  std::vector<Field> fields;
  // The field a line belongs to, or nullptr past the last field.
  const Field* FieldAt(size_t line) const;
  // The index of the field with this name; throws std::out_of_range.
  size_t Index(const std::string& name) const;
};

// Every field in the order the game writes them, found in `text`. Nothing
// when the text does not have the layout (too short, lines left over).
std::optional<Layout> MapFields(const std::string& text);

// Edge values as the lines (Number, Name) or block text (Block) that replace
// a field. The reduced sets are for fields edited two at a time.
const std::vector<std::string>& EdgeValues(Kind kind);
const std::vector<std::string>& ReducedValues(Kind kind);

struct Edit {
  size_t field;       // index into Layout::fields
  std::string value;  // a line, or a block's text (CR LF between its lines)
};

// The file with those fields replaced.
std::string Apply(const Layout& layout, const std::vector<Edit>& edits);
// "WorldShips[12] = \" .25\", FleetShips[3] = \"-1\"", long values shortened.
std::string Describe(const Layout& layout, const std::vector<Edit>& edits);
// A value as a reader of a message sees it: quoted, control bytes escaped,
// a long one cut to its start and length.
std::string Shown(const std::string& value);

// A game part-way through, with a slot for each role the rules treat apart.
// A role the game lacks is -1.
struct BaseGame {
  GameState state;
  int variant = 0;
  // Worlds.
  int humanHome = -1, computerHome = -1, unownedWorld = -1, unusedWorld = -1, bombedWorld = -1, fleetTarget = -1;
  // Fleet slots.
  int shipFleet = -1, scoutFleet = -1, bombFleet = -1, proximityFleet = -1, freeFleet = -1;
  // Proximity bomb slots.
  int armedBomb = -1, freeBomb = -1;
};

// Variant 0: twenty worlds, Ann, ENEMY1, Cid and ENEMY3, some turns played,
// Ann's ships, scout, annihilation bomb and proximity bomb under way, Cid's
// proximity bomb armed, Ann's pulse bomb armed on her home world. The other
// variants change the board: 1 thirty worlds with shields and a truce, two
// humans; 2 ten worlds and two seats; 3 variant 0 thirty turns later.
inline constexpr int kBaseVariants = 4;
BaseGame MakeBaseGame(int variant = 0);

}  // namespace valkoran::edge
