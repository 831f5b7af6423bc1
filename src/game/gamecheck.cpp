#include "game/game.h"

namespace valkoran {

}  // namespace valkoran
