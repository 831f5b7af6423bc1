#include "cli/commands.h"
#include "cli/args.h"
#include "cli/printing.h"

#include <chrono>
#include <clocale>
#include <ctime>
#include <map>
#include <optional>
#include <ostream>
#include <random>

#include "game/autoplay.h"
#include "game/game.h"
#include "game/newgame.h"
#include "game/orders.h"
#include "game/console.h"
#include "store/highscore.h"
#include "store/savefile.h"

namespace valkoran::cli {

// The game's texts on a terminal: CR LF and a message box's lone CR become
// one line break.
std::string ForTerminal(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      out += '\n';
    }
  }
  return out;
}


namespace {


int16_t WorldArg(const std::string& text, const std::string& what) {
  return static_cast<int16_t>(WholeNumber(text, 0, kWorlds - 1, what));
}

// Worlds beyond the world count are empty slots, not places to travel.
void RequireInPlay(const GameState& s, int world, const std::string& what) {
  if (world >= s.WorldCount)
    throw BadArgs{what + " must be a world in play, 0 to " + std::to_string(s.WorldCount - 1)};
}

int CmdNew(const std::vector<std::string>& argv, std::ostream&, std::ostream& err) {
  Args a(argv, 1, {"--worlds", "--player", "--truce", "--seed", "--out"}, {"--shields"});
  if (!a.Positional().empty()) throw BadArgs{"unexpected argument " + a.Positional()[0]};
  GameSetup setup;
  setup.worlds = static_cast<int>(WholeNumber(a.One("--worlds"), 0, 255, "--worlds"));
  const auto& players = a.All("--player");
  if (players.empty()) throw BadArgs{"--player is required"};
  if (players.size() > kSeats) throw BadArgs{"at most four --player"};
  for (size_t i = 0; i < players.size(); ++i) setup.names[i] = players[i];
  if (a.Has("--truce")) {
    setup.truceChecked = true;
    setup.truceText = std::to_string(WholeNumber(a.One("--truce"), 0, 32767, "--truce"));
  }
  setup.shields = a.Has("--shields");
  const uint64_t seed = a.Has("--seed") ? static_cast<uint64_t>(WholeNumber(a.One("--seed"), 0, INT64_MAX, "--seed"))
                                        : ClockSeed();
  const std::string out = a.One("--out");
  if (auto why = ValidateSetup(setup)) {
    err << *why << "\n";
    return kUsageError;
  }
  Game game(seed);
  NewGame(game, setup);
  return Save(game, out, err) ? kOk : kFileError;
}

int CmdDistance(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {"--step"});
  if (a.Positional().size() != 3) throw BadArgs{"distance needs FILE.gam FROM TO"};
  const int16_t from = WorldArg(a.Positional()[1], "FROM");
  const int16_t to = WorldArg(a.Positional()[2], "TO");
  float step = 0.1f;
  if (a.Has("--step")) {
    step = Number(a.One("--step"), "--step");
    // A smaller step would stop the course loop from advancing.
    if (!(step >= 0.001f && step <= 16)) throw BadArgs{"--step must lie between 0.001 and 16"};
  }
  Game game;
  if (!Load(game, a.Positional()[0], err)) return kFileError;
  RequireInPlay(game.state, from, "FROM");
  RequireInPlay(game.state, to, "TO");
  float distance = 0, course = 0;
  game.DistCalc(from, to, distance, course, step);
  out << StrTrim(distance) << " " << StrTrim(course) << "\n";
  return kOk;
}

int CmdNearest(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {});
  if (a.Positional().size() != 3) throw BadArgs{"nearest needs FILE.gam FROM EXCLUDE_OWNER"};
  const int16_t from = WorldArg(a.Positional()[1], "FROM");
  // -1 excludes no one, as the computer players look for their own worlds.
  const auto exclude = static_cast<int16_t>(WholeNumber(a.Positional()[2], -1, kSeats, "EXCLUDE_OWNER"));
  Game game;
  if (!Load(game, a.Positional()[0], err)) return kFileError;
  RequireInPlay(game.state, from, "FROM");
  game.Nearest(from, exclude);
  for (int r = 0; r < 4; ++r)
    out << static_cast<int>(game.NearestList[r][0]) << " " << StrTrim(game.NearestList[r][1]) << "\n";
  return kOk;
}

int CmdSend(const std::vector<std::string>& argv, std::ostream&, std::ostream& err) {
  Args a(argv, 1, {"--out"});
  if (a.Positional().size() != 4) throw BadArgs{"send needs FILE.gam FROM TO AMOUNT"};
  const int16_t from = WorldArg(a.Positional()[1], "FROM");
  const int16_t to = WorldArg(a.Positional()[2], "TO");
  const auto amount = static_cast<int16_t>(WholeNumber(a.Positional()[3], 1, 32767, "AMOUNT"));
  const std::string outPath = a.One("--out");
  Game game;
  if (!Load(game, a.Positional()[0], err)) return kFileError;
  if (auto why = game.Apply(Order::FromAmount(game.state.CurrentPlayer, from, to, amount))) {
    err << why->text << "\n";
    return kUsageError;
  }
  return Save(game, outPath, err) ? kOk : kFileError;
}

int CmdResave(const std::vector<std::string>& argv, std::ostream&, std::ostream& err) {
  Args a(argv, 1, {"--out"});
  if (a.Positional().size() != 1) throw BadArgs{"resave needs FILE.gam"};
  const std::string outPath = a.One("--out");
  Game game;
  if (!Load(game, a.Positional()[0], err)) return kFileError;
  return Save(game, outPath, err) ? kOk : kFileError;
}


int CmdPlay(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {"--turns", "--moves", "--seed", "--out"}, {"--quiet"});
  if (a.Positional().size() != 1) throw BadArgs{"play needs FILE.gam"};
  if (a.Has("--turns") && a.Has("--moves")) throw BadArgs{"give --turns or --moves, not both"};
  const bool byMoves = a.Has("--moves");
  const long long limit = byMoves ? WholeNumber(a.One("--moves"), 1, 1000000, "--moves")
                                  : a.Has("--turns") ? WholeNumber(a.One("--turns"), 1, 1000000, "--turns") : 1;
  const uint64_t seed = a.Has("--seed") ? static_cast<uint64_t>(WholeNumber(a.One("--seed"), 0, INT64_MAX, "--seed"))
                                        : ClockSeed();
  Game game(seed);
  if (!Load(game, a.Positional()[0], err)) return kFileError;
  // The runner has no network: a file saved from a network game is played here.
  game.state.NetworkGame = kFalse;
  PrintingPresenter view(game, out, a.Has("--quiet"));
  game.SetPresenter(&view);

  const PlayEnd end = PlayLoadedGame(game, limit, byMoves);
  game.SetPresenter(nullptr);
  if (end == PlayEnd::Stuck) {
    err << "The game cannot go on: the turn of " << game.state.PlayerName[game.state.CurrentPlayer]
        << " cannot be ended and no other seat can move.\n";
    return kCannotGoOn;
  }
  if (end == PlayEnd::GameOver) {
    if (a.Has("--out") && view.finalBoard) {
      Game board;
      board.state = *view.finalBoard;
      if (!Save(board, a.One("--out"), err)) return kFileError;
    }
    return kOk;
  }
  if (a.Has("--out") && !Save(game, a.One("--out"), err)) return kFileError;
  out << ForTerminal(StatusReportText(game.state, game.StatusLine));
  return kOk;
}

int CmdReport(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {});
  if (a.Positional().size() != 1) throw BadArgs{"report needs FILE.gam"};
  Game game;
  if (!Load(game, a.Positional()[0], err)) return kFileError;
  GameState& s = game.state;
  out << ForTerminal(StatusReportText(s, game.StatusLine));
  for (int p = 0; p < kSeats; ++p) {
    if (s.PlayerName[p].empty() || !game.IsHuman(p)) continue;
    GameState view = s;
    view.CurrentPlayer = static_cast<int16_t>(p);
    const ConsolePanel panel = BuildConsole(view, false);
    out << "\n" << s.PlayerName[p] << "\n" << panel.header << "\n";
    for (const auto& row : panel.worlds) out << row.text << "\n";
    for (const auto& row : panel.fleets) out << row.text << "\n";
    out << ForTerminal(GameLogText(s, p));
  }
  return kOk;
}

std::string Today() {
  std::setlocale(LC_TIME, "");
  std::time_t now = std::time(nullptr);
  char buf[64];
  std::tm tm{};
  localtime_r(&now, &tm);
  return std::strftime(buf, sizeof buf, "%x", &tm) ? buf : "";
}

int CmdHighScore(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  Args a(argv, 1, {"--name", "--rating", "--ships", "--prod", "--plan", "--class", "--year", "--date"});
  if (a.Positional().size() != 1) throw BadArgs{"highscore needs FILE"};
  HighScoreEntry e;
  e.name = a.One("--name");
  if (e.name.find_first_of("\r\n") != std::string::npos) throw BadArgs{"--name must fit on one line"};
  e.rating = Number(a.One("--rating"), "--rating");
  e.ships = Number(a.One("--ships"), "--ships");
  e.prod = Number(a.One("--prod"), "--prod");
  e.plan = Number(a.One("--plan"), "--plan");
  e.cls = Number(a.One("--class"), "--class");
  e.gameYear = a.Has("--year") ? Number(a.One("--year"), "--year") : 1.0f;
  e.date = a.Has("--date") ? a.One("--date") : Today();
  // One cell a line: a line break would shift every later cell of the table.
  if (e.date.find_first_of("\r\n") != std::string::npos) throw BadArgs{"--date must fit on one line"};
  HighScoreOutcome o = HighScore(a.Positional()[0], e);
  if (o.error) {
    err << ForTerminal(*o.error) << "\n";
    return kFileError;
  }
  for (const auto& row : o.table) {
    if (!HighScoreRowEmpty(row)) {
      for (int c = 0; c < kHighScoreColumns; ++c) out << (c ? "\t" : "") << row[c];
    }
    out << "\n";
  }
  return kOk;
}

}  // namespace

std::string Usage() {
  return "usage: valkoran-cli COMMAND ...\n"
         "  new --worlds N --player NAME [--player NAME ...] [--truce TURN] [--shields] [--seed S] --out FILE.gam\n"
         "  distance FILE.gam FROM TO [--step STEP]\n"
         "  nearest FILE.gam FROM EXCLUDE_OWNER\n"
         "  send FILE.gam FROM TO AMOUNT --out OUT.gam\n"
         "  resave FILE.gam --out OUT.gam\n"
         "  play FILE.gam [--turns N | --moves N] [--seed S] [--out OUT.gam] [--quiet]\n"
         "  report FILE.gam\n"
         "  highscore FILE --name NAME --rating R --ships S --prod P --plan N --class C [--year Y] [--date D]\n"
         "  serve --name NAME [--port P] [--clients K] [--worlds N] [--truce T] [--shields] [--seed S] [--turns N]\n"
         "        [--out FILE.gam]\n"
         "  join --host H [--port P] --name NAME [--out FILE.gam]\n"
         "Worlds are numbered 0..29; the n-th --player takes seat n-1, an empty name (--player '') keeps it\n"
         "empty, seat 0 must be taken; a name starting with ENEMY is a computer seat.\n"
         "AMOUNT: 10, 25, 50, 75 or 100 percent of the ships, 1 a scout, 9999 a bomb, 10000+T a proximity bomb.\n";
}

namespace {

int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << Usage();
    return kUsageError;
  }
  const std::string& cmd = args[0];
  if (cmd == "--help" || cmd == "-h" || cmd == "help") {
    out << Usage();
    return kOk;
  }
  try {
    if (cmd == "new") return CmdNew(args, out, err);
    if (cmd == "distance") return CmdDistance(args, out, err);
    if (cmd == "nearest") return CmdNearest(args, out, err);
    if (cmd == "send") return CmdSend(args, out, err);
    if (cmd == "resave") return CmdResave(args, out, err);
    if (cmd == "play") return CmdPlay(args, out, err);
    if (cmd == "report") return CmdReport(args, out, err);
    if (cmd == "highscore") return CmdHighScore(args, out, err);
    throw BadArgs{"unknown command " + cmd};
  } catch (const BadArgs& e) {
    err << "valkoran-cli: " << e.why << "\n" << Usage();
    return kUsageError;
  }
}

}  // namespace

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const int code = Dispatch(args, out, err);
  // A script reading a report that never reached it must hear of it: a full
  // disk or a closed pipe is a failed run, not an empty answer.
  if (!out.flush()) {
    err << "valkoran-cli: the output could not be written\n";
    err.flush();
    return code == kOk ? kFileError : code;
  }
  return code;
}

}  // namespace valkoran::cli
