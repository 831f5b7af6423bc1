#include "edge/check.h"

#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "edge/edgecase.h"
#include "game/game.h"
#include "game/presenter.h"
#include "store/savefile.h"

namespace valkoran::edge {

namespace {

namespace fs = std::filesystem;

// Thrown by the presenter to stop a run of play that does not end.
struct PlayHang {
  std::string why;
};

std::string Num(float v) { return Str(v); }

// Counts every call the engine makes and stops a run that goes on and on.
// A battle is counted from the panel's first showing to its clearing.
class BudgetPresenter final : public Presenter {
 public:
  BudgetPresenter(const CheckOptions& o, const Game& game) : options_(o), game_(game) {}
  long long calls = 0;
  // The board as a conquest leaves it, before it is cleared: what the runner
  // saves when a game ends that way.
  std::optional<GameState> conquered;

  void GalaxyDraw() override { Tick(); }
  void CleanGalaxy() override { Tick(); }
  void Console() override { Tick(); }
  void ShowPanels(bool) override { Tick(); }
  void EnableMenus(bool) override { Tick(); }
  void TravelShow() override { Tick(); }
  void TravelHide() override { Tick(); }
  void RotationFrame() override { Tick(); }
  void Notice(const std::string&) override { Tick(); }
  void Banner(const std::string&) override { Tick(); }
  void MessageBox(const std::string&) override { Tick(); }
  void ShowGameLog(const std::string&) override { Tick(); }
  void LogLine(int, const std::string&) override { Tick(); }
  void HistoryLine(int, int, const std::string&) override { Tick(); }
  void Status(int, const std::string&) override { Tick(); }
  void Caption(const std::string&) override { Tick(); }
  void StatusReport(const std::string&) override { Tick(); }
  void Cue(const char*) override { Tick(); }
  void Pause(int) override { Tick(); }
  void PumpEvents() override { Tick(); }
  void Arrival(int, int, float) override { Tick(); }
  void WorldRing(int, int, int, bool) override { Tick(); }
  void WorldMark(Mark, int, int, int) override { Tick(); }
  void StrengthBar(float, float, int, int) override { Tick(); }
  void PulseRing(int, int, int) override { Tick(); }
  void TurnTimer(bool) override { Tick(); }
  void OpenSaveWindow() override { Tick(); }
  void HighScore(const std::string&, float, float, float, float worlds, float) override {
    if (worlds == game_.state.WorldCount) conquered = game_.state;
    Tick();
  }
  void GameOver() override { Tick(); }
  void TurnEndPending() override { Tick(); }
  void BattlePanelChanged(const BattlePanel& panel) override {
    if (panel.active && !inBattle_) {
      inBattle_ = true;
      battleCalls_ = 0;
    } else if (!panel.active) {
      inBattle_ = false;
    }
    if (panel.active) panel_ = panel;
    Tick();
  }

 private:
  void Tick() {
    ++calls;
    if (inBattle_ && ++battleCalls_ > options_.battleCallBudget)
      throw PlayHang{"a battle went past " + std::to_string(options_.battleCallBudget) +
                     " presenter calls without ending (" + Side(panel_.from) + " against " + Side(panel_.to) + ")"};
    if (calls > options_.callBudget)
      throw PlayHang{"play went past " + std::to_string(options_.callBudget) + " presenter calls in " +
                     std::to_string(options_.turns) + " turns"};
  }
  static std::string Side(const BattleSideValues& v) {
    return Shown(v.name) + " with" + Num(v.ships) + " ships, shield" + Num(v.shield) + ", class" + Num(v.shipClass);
  }

  const CheckOptions& options_;
  const Game& game_;
  bool inBattle_ = false;
  long long battleCalls_ = 0;
  BattlePanel panel_;
};

// The loader's words for a refusal, where it gives them.
template <typename Outcome>
std::string Refusal(const Outcome& o) {
  std::string text = Shown(o.error);
  if constexpr (requires { o.reason; }) {
    if (!o.reason.empty()) text += " (" + o.reason + ")";
  }
  return text;
}

std::string PlayEndName(PlayEnd end) {
  switch (end) {
    case PlayEnd::LimitReached: return "limit reached";
    case PlayEnd::GameOver: return "game over";
    default: return "stuck";
  }
}

// The save and reload a game must survive at any point: `text`, written from
// `s`, loads back over `base` to `s` itself and, when `bytes`, writes the same
// bytes again.
std::string RoundTrip(const GameState& s, const GameState& base, const std::string& text, bool bytes) {
  LoadOutcome back = ReadGameText(text, base);
  if (!back.state) return "its save does not load: " + Refusal(back);
  // The loader sets the colours; the game does the same on starting a loaded game.
  back.state->PlayerColor = s.PlayerColor;
  if (!(*back.state == s)) return "its save loads back different: " + FirstDifference(s, *back.state);
  if (!bytes) return {};
  const std::string again = WriteGameText(*back.state);
  if (again != text) return "saving it again changes the bytes: " + FirstTextDifference(text, again);
  return {};
}

std::string SaveCheck(const GameState& s, const std::string& dir) {
  if (dir.empty()) return {};
  const std::string path = dir + "/check.gam";
  if (auto error = SaveGame(path, s)) return "SaveGame refuses it: " + Shown(*error);
  return {};
}

// Removes the check folder when the program ends.
struct ScratchFolder {
  std::string path;
  ~ScratchFolder() {
    std::error_code ec;
    if (!path.empty()) fs::remove_all(path, ec);
  }
};

}  // namespace

std::string DefaultSaveDir() {
  static ScratchFolder folder;
  if (!folder.path.empty()) return folder.path;
  fs::path root;
  if (const char* env = std::getenv("VALKORAN_CHECK_DIR"); env && *env) {
    root = env;
  } else if (::access("/dev/shm", W_OK) == 0) {
    root = "/dev/shm";
  } else {
    root = fs::temp_directory_path();
  }
  fs::path dir = root / ("valkoran-check-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  folder.path = dir.string();
  return folder.path;
}

std::string FirstTextDifference(const std::string& a, const std::string& b) {
  const auto layout = MapFields(a);
  auto lineAt = [](const std::string& t, size_t from, size_t end) {
    std::string line = t.substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  };
  for (size_t line = 0, ia = 0, ib = 0;; ++line) {
    const size_t ea = a.find('\n', ia), eb = b.find('\n', ib);
    const std::string x = lineAt(a, ia, ea), y = lineAt(b, ib, eb);
    if (x != y || (ea == std::string::npos) != (eb == std::string::npos)) {
      std::string where = "line " + std::to_string(line + 1);
      if (const Field* f = layout ? layout->FieldAt(line) : nullptr) where += " (" + f->name + ")";
      return where + ": " + Shown(x) + " then " + Shown(y);
    }
    if (ea == std::string::npos) return "";
    ia = ea + 1, ib = eb + 1;
  }
}

std::string FirstDifference(const GameState& a, const GameState& b) {
  if (a == b) return "";
  const std::string ta = WriteGameText(a), tb = WriteGameText(b);
  if (ta != tb) return FirstTextDifference(ta, tb);
  // Only what the file does not carry is left.
  auto table = [](const std::string& name, const auto& x, const auto& y) -> std::string {
    for (size_t i = 0; i < x.size(); ++i)
      if (!(x[i] == y[i])) return name + "[" + std::to_string(i) + "]";
    return "";
  };
  if (auto d = table("PlayerLeft", a.PlayerLeft, b.PlayerLeft); !d.empty()) return d;
  if (auto d = table("PlayerColor", a.PlayerColor, b.PlayerColor); !d.empty()) return d;
  for (int p = 0; p < kPlayerSlots; ++p)
    for (int k = 0; k < 6; ++k)
      if (auto d = table("PlayerKnowledge[" + std::to_string(p) + "][" + std::to_string(k) + "]",
                         a.PlayerKnowledge[p][k], b.PlayerKnowledge[p][k]);
          !d.empty())
        return d;
  if (!(a.AutoSaveYear == b.AutoSaveYear)) return "AutoSaveYear";
  if (a.SpeedGame != b.SpeedGame) return "SpeedGame";
  if (a.TurnMinutesLeft != b.TurnMinutesLeft) return "TurnMinutesLeft";
  if (a.NetworkGame != b.NetworkGame) return "NetworkGame";
  // A value the file writes the same way although it differs (a NaN never equals itself).
  return "a field written alike in both, such as a NaN";
}

CheckResult CheckGameText(const std::string& text, const CheckOptions& options) {
  CheckResult r;
  const GameState empty;
  LoadOutcome first = ReadGameText(text, empty);
  if (!first.state) {
    if (first.error.empty()) r.finding = "load: refused without a message";
    return r;
  }
  return CheckLoadedGame(*first.state, options);
}

CheckResult CheckLoadedGame(const GameState& loaded, const CheckOptions& options, const std::string& written) {
  CheckResult r;
  r.loaded = true;
  const GameState empty;
  if (options.roundTripFirst) {
    if (auto why = RoundTrip(loaded, empty, written.empty() ? WriteGameText(loaded) : written, true); !why.empty()) {
      r.finding = "load: " + why;
      return r;
    }
  }
  if (!options.play) return r;

  Game game(options.seed);
  game.state = loaded;
  BudgetPresenter presenter(options, game);
  game.SetPresenter(&presenter);
  try {
    r.end = PlayLoadedGame(game, options.turns);
  } catch (const PlayHang& hang) {
    r.presenterCalls = presenter.calls;
    r.finding = "play: hang: " + hang.why;
    return r;
  } catch (const std::exception& e) {
    r.presenterCalls = presenter.calls;
    r.finding = std::string("play: threw ") + e.what();
    return r;
  }
  r.presenterCalls = presenter.calls;
  game.SetPresenter(nullptr);
  const GameState& s = game.state;
  // A game in which no seat holds a world cannot go on (the runner's exit 3);
  // any other game that stops is a fault.
  bool anyoneHolds = false;
  for (int w = 0; w < s.WorldCount; ++w) anyoneHolds = anyoneHolds || s.WorldOwner[w] != 0;
  if (*r.end == PlayEnd::Stuck && anyoneHolds) {
    r.finding = "play: stuck: seat " + std::to_string(s.CurrentPlayer) + " (" + Shown(s.PlayerName[s.CurrentPlayer]) +
                ") cannot end its turn in year" + Num(s.GameYear);
    return r;
  }
  // A conquest clears the board for the setup window; what can still be
  // saved is the board as the conquest left it.
  const GameState* after = &s;
  if (*r.end == PlayEnd::GameOver) {
    if (!presenter.conquered) {
      r.finding = "play: the game ended without a conquest";
      return r;
    }
    after = &*presenter.conquered;
  }
  // SaveGame writes only what loads back to the state itself (the sweep's
  // tools test holds it to that), the same check as the round trip here, so
  // the round trip runs only without it or to name what SaveGame refused.
  // Equal states write equal bytes: the reload's equality is the whole check.
  const std::string saved = SaveCheck(*after, options.saveDir);
  if (options.saveDir.empty() || !saved.empty()) {
    if (auto why = RoundTrip(*after, *after, WriteGameText(*after), false); !why.empty()) {
      r.finding = "after play (" + PlayEndName(*r.end) + "): " + why;
      if (!saved.empty()) r.finding += "; " + saved;
      return r;
    }
  }
  if (!saved.empty()) r.finding = "after play (" + PlayEndName(*r.end) + "): " + saved;
  return r;
}

}  // namespace valkoran::edge
