#include "game/autoplay.h"

namespace valkoran {

PlayEnd PlayLoadedGame(Game& game, long long limit, bool byMoves) {
  long long counted = 0, handedOn = 0;
  bool held = false;
  auto before = std::move(game.BeforeNextSeat);
  game.BeforeNextSeat = [&](bool turnEnded) {
    ++handedOn;
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
    const long long handedOnBefore = handedOn;
    if (game.TurnEndPending()) {
      game.RunPendingTurnEnd();
    } else {
      game.ImgDone_Click();  // a human seat ends its turn without orders
    }
    // The turn end was refused: the seat is out and nobody else can take a
    // turn. (Not the year, which stops growing at its ceiling while turns
    // still pass, nor the seat, which a one-seat game keeps.)
    if (!held && !game.GameIsOver && !game.TurnEndPending() && handedOn == handedOnBefore) {
      end = PlayEnd::Stuck;
      break;
    }
  }
  if (game.GameIsOver) end = PlayEnd::GameOver;
  game.BeforeNextSeat = std::move(before);
  return end;
}

}  // namespace valkoran
