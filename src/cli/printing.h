// What the runner prints of a game: the lines a player would read.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "game/console.h"
#include "game/game.h"
#include "game/presenter.h"

namespace valkoran::cli {

// The game's texts on a terminal: CR LF and a message box's lone CR become
// one line break.
std::string ForTerminal(const std::string& text);

// Prints what a player would read during the run, one line each, after the
// turn number and a tab; keeps the final board of a conquest, which the game
// clears as it returns to the setup window.
class PrintingPresenter : public Presenter {
 public:
  PrintingPresenter(const Game& game, std::ostream& out, bool quiet) : game_(game), out_(out), quiet_(quiet) {}

  void Notice(const std::string& t) override { Print(t); }
  void Banner(const std::string& t) override {
    size_t start = 0;
    while (start <= t.size()) {
      size_t end = t.find("\r\n", start);
      if (end == std::string::npos) end = t.size();
      std::string line = t.substr(start, end - start);
      const size_t a = line.find_first_not_of(' '), b = line.find_last_not_of(' ');
      if (a != std::string::npos) Print(line.substr(a, b - a + 1));
      start = end + 2;
    }
  }
  // A report that is also shown, or that reaches every seat's log, is read once.
  void LogLine(int, const std::string& t) override {
    if (t != last_) Print(t);
  }
  void HighScore(const std::string&, float, float, float, float worlds, float) override {
    // A conquest: the winner's line comes next and ends the run.
    if (worlds == game_.state.WorldCount) {
      finalBoard = game_.state;
      winnerLineLeft_ = true;
    }
  }
  std::optional<GameState> finalBoard;

 private:
  void Print(const std::string& t) {
    if (quiet_ || t.empty() || (finalBoard && !winnerLineLeft_)) return;
    last_ = t;
    out_ << CurrentTurn(game_.state) << "\t" << ForTerminal(t) << "\n";
    winnerLineLeft_ = false;
  }
  const Game& game_;
  std::ostream& out_;
  bool quiet_;
  bool winnerLineLeft_ = false;
  std::string last_;
};

}  // namespace valkoran::cli
