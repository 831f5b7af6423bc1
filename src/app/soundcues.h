// The sound cues of the desktop game. Each cue plays to its end before the
// game goes on; the end is the clip's length from its WAV header, because
// Qt Multimedia reports no end at all when there is no audio device.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <memory>

#include "view/cues.h"

class QSoundEffect;

namespace valkoran::app {

// Milliseconds of sound in a RIFF/WAVE file (rounded up), from its "fmt "
// byte rate and "data" size; chunks may come in any order and others are
// skipped. -1 when the bytes are not a sound the game would wait for: too
// short, wrong magic, a chunk running past the end, no byte rate, or a clip
// longer than a minute.
int WaveLengthMs(const QByteArray& bytes);

class SoundCues : public view::CuePlayer {
 public:
  SoundCues();
  ~SoundCues() override;

  void Play(const std::string& wave) override;
  // How the game waits while a cue plays; by default a loop that keeps
  // timers and painting going but holds the player's input.
  void SetWait(std::function<void(int ms)> wait);

 protected:
  // Without an audio output nothing would be heard: cues are not waited for.
  virtual bool HasAudioOutput() const;

 private:
  struct Cue {
    std::unique_ptr<QSoundEffect> effect;  // null: the file is unusable
    int ms = 0;
  };
  std::function<void(int)> wait_;
  std::map<QString, Cue> cues_;  // by file name
};

}  // namespace valkoran::app
