// Sound cues. The view names a cue; the application plays it to its end (or
// skips it when there is no audio output). Tests install a recorder.
#pragma once

#include <string>

namespace valkoran::view {

class CuePlayer {
 public:
  virtual ~CuePlayer() = default;
  virtual void Play(const std::string& wave) = 0;
};

// The player in use; silent until the application installs one.
CuePlayer& Cues();
void SetCuePlayer(CuePlayer* player);

}  // namespace valkoran::view
