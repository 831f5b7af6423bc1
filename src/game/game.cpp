#include "game/game.h"

#include "game/playable.h"

namespace valkoran {

Game::Game() : Game(0) {}

Game::Game(uint64_t seed) : rng(seed) {
  for (auto& row : NearestList) row = {-1, 1000, 0};
}

bool Game::Viewer(int owner) const {
  if (owner < 1 || owner > kSeats) return false;
  if (state.NetworkGame) return owner == state.CurrentPlayer + 1;
  return IsHuman(owner - 1);
}

void Game::SetStatus(int seat, const std::string& text) {
  StatusLine[seat] = text;
  presenter().Status(seat, text);
}

void Game::AddLog(int seat, const std::string& text) {
  state.GameHistory[seat] += "\r\n" + text;
  TrimGameLog(state.GameHistory[seat]);
  presenter().LogLine(seat, text);
}

void Game::AddWorldHistory(int world, int seat, const std::string& line) {
  std::string& h = state.WorldHistory[world][seat];
  h = line + "\r\n" + h;
  TrimWorldHistory(h);
  presenter().HistoryLine(world, seat, line);
}

std::string DateStamp(const GameState& s) {
  return " Year " + Format(ShownYear(s.GameYear), "0.00") + ", Turn #" + Format(static_cast<double>(CurrentTurn(s)), "0");
}

std::string Game::CaptionText(const char* suffix) const {
  return "Valkoran - Year " + Format(ShownYear(state.GameYear), "0.00") + ", Turn #" +
         Format(static_cast<double>(CurrentTurn(state)), "0") + ":  " + state.PlayerName[state.CurrentPlayer] + suffix;
}

}  // namespace valkoran
