#include "view/cues.h"

namespace valkoran::view {

namespace {
class Silent final : public CuePlayer {
 public:
  void Play(const std::string&) override {}
};
Silent silent;
CuePlayer* current = &silent;
}  // namespace

CuePlayer& Cues() { return *current; }
void SetCuePlayer(CuePlayer* player) { current = player ? player : &silent; }

}  // namespace valkoran::view
