// Saved games: a text file of one value per line, CR LF line ends.
#pragma once

#include <optional>
#include <string>

#include "game/state.h"
#include "store/fileio.h"

namespace valkoran {

// The error texts a player reads (message box titled kErrorTitle).
inline constexpr const char* kErrorTitle = "Valkoran Error";
inline constexpr const char* kFileNotFound = "   File Not Found!   ";
inline constexpr const char* kCorruptGameFile = "   Corrupt Game File!   ";
inline constexpr const char* kOutOfMemory = "Error # 7\rOut of memory";
// A save the loader would refuse is not written: this, then the reason.
inline constexpr const char* kNotSaved = "The game was not saved: ";

// The whole file's text.
std::string WriteGameText(const GameState& s);

struct LoadOutcome {
  std::optional<GameState> state;  // set on success
  std::string error;               // the message otherwise
  std::string reason;              // for a refused game: which field, in words
};

// Reads a game over a copy of `current`: the file's fields replace the copy's,
// fields the file does not carry (scout reports, ...) keep the copy's values.
// On any error the caller's state is untouched.
LoadOutcome ReadGameText(const std::string& text, const GameState& current);
LoadOutcome LoadGame(const std::string& path, const GameState& current);

// Whether `text`, written from `s`, loads back to `s`; the save error otherwise.
std::optional<std::string> CheckSavable(const GameState& s, const std::string& text);

// Writes the file next to its target and renames it over the target, so a
// failed save leaves the previous file whole; a game the loader would refuse
// is not written at all. Returns the error text on failure.
std::optional<std::string> SaveGame(const std::string& path, const GameState& s);

}  // namespace valkoran
