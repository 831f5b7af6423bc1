// What the engine shows and waits for goes out through this interface: the
// desktop app draws and plays it, tests record it, the runner drops it.
#pragma once

namespace valkoran {

class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual void GalaxyDraw() {}   // full redraw of the view
  virtual void Console() {}      // rebuild the current player's panel
  virtual void PumpEvents() {}   // let pending window events run once
};

// Shows nothing, waits for nothing.
class SilentPresenter final : public Presenter {};

}  // namespace valkoran
