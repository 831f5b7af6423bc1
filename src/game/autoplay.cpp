#include "game/autoplay.h"

namespace valkoran {

PlayEnd PlayLoadedGame(Game& game, long long limit, bool byMoves) {
  long long counted = 0;
  bool held = false;
  auto before = std::move(game.BeforeNextSeat);
  game.BeforeNextSeat = [&](bool turnEnded) {
    if (byMoves || turnEnded) ++counted;
    held = counted >= limit;
    return held;
  };
  PlayEnd end = PlayEnd::LimitReached;
  game.StartLoadedGame();
  while (!held) {
    if (game.GameIsOver) {
      end = PlayEnd::GameOver;
      break;
    }
    const int seat = game.state.CurrentPlayer;
    const float year = game.state.GameYear;
    if (game.TurnEndPending()) {
      game.RunPendingTurnEnd();
    } else {
      game.ImgDone_Click();  // a human seat ends its turn without orders
    }
    // Nothing moved: the seat is out and nobody else can take a turn.
    if (!held && !game.GameIsOver && !game.TurnEndPending() && seat == game.state.CurrentPlayer &&
        year == game.state.GameYear) {
      end = PlayEnd::Stuck;
      break;
    }
  }
  if (game.GameIsOver) end = PlayEnd::GameOver;
  game.BeforeNextSeat = std::move(before);
  return end;
}

}  // namespace valkoran
