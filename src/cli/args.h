// The runner's argument reading, exit codes and file steps, shared by its
// commands.
#pragma once

#include <chrono>
#include <initializer_list>
#include <map>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "cli/printing.h"
#include "game/game.h"
#include "game/numbers.h"
#include "store/savefile.h"

namespace valkoran::cli {

inline constexpr int kOk = 0, kFileError = 1, kUsageError = 2, kCannotGoOn = 3;

struct BadArgs {
  std::string why;
};

// Options after the positional arguments: "--name value" pairs and flags.
class Args {
 public:
  Args(const std::vector<std::string>& args, size_t first, std::initializer_list<const char*> valued,
       std::initializer_list<const char*> flags = {}) {
    for (size_t i = first; i < args.size(); ++i) {
      const std::string& a = args[i];
      if (a.rfind("--", 0) != 0) {
        positional_.push_back(a);
        continue;
      }
      bool isFlag = false, isValued = false;
      for (auto f : flags) isFlag |= a == f;
      for (auto v : valued) isValued |= a == v;
      if (isFlag) {
        options_[a].push_back("");
      } else if (isValued) {
        if (i + 1 >= args.size()) throw BadArgs{a + " needs a value"};
        options_[a].push_back(args[++i]);
      } else {
        throw BadArgs{"unknown option " + a};
      }
    }
  }
  const std::vector<std::string>& Positional() const { return positional_; }
  bool Has(const std::string& name) const { return options_.count(name) > 0; }
  const std::vector<std::string>& All(const std::string& name) const {
    static const std::vector<std::string> none;
    auto it = options_.find(name);
    return it == options_.end() ? none : it->second;
  }
  std::string One(const std::string& name) const {
    const auto& v = All(name);
    if (v.empty()) throw BadArgs{name + " is required"};
    if (v.size() > 1) throw BadArgs{name + " given twice"};
    return v[0];
  }

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::vector<std::string>> options_;
};

inline long long WholeNumber(const std::string& text, long long lo, long long hi, const std::string& what) {
  size_t used = 0;
  long long v = 0;
  try {
    v = std::stoll(text, &used);
  } catch (...) {
    used = 0;
  }
  if (used == 0 || used != text.size() || v < lo || v > hi)
    throw BadArgs{what + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi)};
  return v;
}

inline float Number(const std::string& text, const std::string& what) {
  auto v = ParseSingle(text);
  if (!v) throw BadArgs{what + " must be a number"};
  return *v;
}


inline bool Load(Game& game, const std::string& path, std::ostream& err) {
  LoadOutcome o = LoadGame(path, game.state);
  if (!o.state) {
    err << ForTerminal(o.error) << "\n";
    if (!o.reason.empty()) err << "(" << o.reason << ")\n";
    return false;
  }
  game.state = std::move(*o.state);
  return true;
}

inline bool Save(const Game& game, const std::string& path, std::ostream& err) {
  if (auto e = SaveGame(path, game.state)) {
    err << ForTerminal(*e) << "\n";
    return false;
  }
  return true;
}

inline uint64_t ClockSeed() {
  return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
         (static_cast<uint64_t>(std::random_device{}()) << 32);
}

}  // namespace valkoran::cli
