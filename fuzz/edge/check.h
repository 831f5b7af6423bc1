// The check every saved file goes through in the sweep and the fuzzers: a
// file the loader refuses is fine; one it accepts must save to the same
// bytes and load back equal, play on without hanging, and still save and
// load back equal afterwards.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/autoplay.h"
#include "game/state.h"

namespace valkoran::edge {

struct CheckOptions {
  bool play = true;     // false: only the load, save and reload
  // The loaded game's own save and reload before play; the targets that
  // play leave it to the loading target, which does nothing else.
  bool roundTripFirst = true;
  long long turns = 2;  // turns processed by the play
  uint64_t seed = 1;    // the played game's generator
  // A run of play that goes past this many presenter calls, or one battle
  // past its own budget, is taken for a hang: no real game comes near.
  long long callBudget = 20'000'000;
  long long battleCallBudget = 1'000'000;
  // Folder for SaveGame's own check after play; empty: the same reload
  // check runs in memory instead.
  std::string saveDir;
};

struct CheckResult {
  bool loaded = false;               // the loader accepted the text
  std::optional<PlayEnd> end;        // how the play ended, when it did
  long long presenterCalls = 0;
  std::string finding;               // empty: nothing wrong
  explicit operator bool() const { return finding.empty(); }
};

CheckResult CheckGameText(const std::string& text, const CheckOptions& options = {});
// The same for a game the loader has read from a text over an empty state;
// `written` is WriteGameText(loaded) when the caller has it already.
CheckResult CheckLoadedGame(const GameState& loaded, const CheckOptions& options = {},
                            const std::string& written = {});

// Where SaveGame's check may write: $VALKORAN_CHECK_DIR, else a memory-backed
// folder when there is one, else the temporary folder. Created if missing.
std::string DefaultSaveDir();

// The first difference between two states as a reader of a message wants
// it ("WorldShips[3]: \" 12\" then \" 12.5\""), or "" when equal. Fields the
// file does not carry are compared too, by name.
std::string FirstDifference(const GameState& a, const GameState& b);

// The first line where two saved texts differ, named by its field.
std::string FirstTextDifference(const std::string& a, const std::string& b);

}  // namespace valkoran::edge
