// What every fuzz target does with a finding: say what it was and stop, so
// libFuzzer keeps the input as a crash artifact.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "edge/check.h"

namespace valkoran::fuzz {

[[noreturn]] inline void Found(const std::string& what) {
  std::fprintf(stderr, "\n*** Finding: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Expect(const edge::CheckResult& r, const std::string& context = {}) {
  if (!r) Found(context.empty() ? r.finding : context + ": " + r.finding);
}

// Options for the targets that play: a couple of turns, and the save's check
// in memory (the same check SaveGame makes before it writes; the disk adds
// nothing to it but time). The save of what was loaded is fuzz_load's work.
inline edge::CheckOptions PlayOptions() {
  edge::CheckOptions o;
  o.turns = 2;
  o.roundTripFirst = false;
  return o;
}

}  // namespace valkoran::fuzz
