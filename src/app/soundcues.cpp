#include "app/soundcues.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "view/assets.h"

namespace valkoran::app {

namespace {

// Longer than any cue of the game: a header that claims more is lying, and
// believing it would freeze the game while it "plays".
constexpr std::int64_t kLongestCueMs = 60000;
// A minute of 48 kHz 16-bit stereo is under 12 MB; a bigger file is no cue.
constexpr qint64 kLargestCueFile = 16 << 20;

std::uint32_t Le32(const QByteArray& b, qsizetype at) {
  const auto* p = reinterpret_cast<const unsigned char*>(b.constData()) + at;
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

void WaitWithEvents(int ms) {
  QElapsedTimer clock;
  clock.start();
  for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 5)));
  }
}

}  // namespace

int WaveLengthMs(const QByteArray& bytes) {
  const qsizetype size = bytes.size();
  if (size < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return -1;
  std::int64_t byteRate = -1, dataSize = -1;
  for (qsizetype at = 12; at + 8 <= size;) {
    const QByteArray id = bytes.mid(at, 4);
    const std::int64_t length = Le32(bytes, at + 4);
    const qsizetype body = at + 8;
    if (length > size - body) return -1;
    if (id == "fmt ") {
      if (length < 16) return -1;
      byteRate = Le32(bytes, body + 8);
    } else if (id == "data") {
      dataSize = length;
    }
    // Chunks are padded to an even length; the last pad byte may be missing.
    at = body + length + (length & 1);
  }
  if (byteRate <= 0 || dataSize < 0) return -1;
  const std::int64_t ms = (dataSize * 1000 + byteRate - 1) / byteRate;
  return ms > kLongestCueMs ? -1 : static_cast<int>(ms);
}

SoundCues::SoundCues() : wait_(WaitWithEvents) {}
SoundCues::~SoundCues() = default;

void SoundCues::SetWait(std::function<void(int ms)> wait) { wait_ = wait ? std::move(wait) : WaitWithEvents; }

bool SoundCues::HasAudioOutput() const { return !QMediaDevices::audioOutputs().isEmpty(); }

void SoundCues::Play(const std::string& wave) {
  if (!HasAudioOutput()) return;
  const QString name = QString::fromStdString(wave);
  auto found = cues_.find(name);
  if (found == cues_.end()) {
    const QString path = view::FindDataFile(name);
    if (path.isEmpty()) return;  // named by FindDataFile, and looked for again next time
    Cue cue;
    QFile file(path);
    cue.ms = file.open(QIODevice::ReadOnly) && file.size() <= kLargestCueFile ? WaveLengthMs(file.readAll()) : -1;
    if (cue.ms < 0) {
      std::fprintf(stderr, "valkoran: %s is not a sound the game can play; going on without it\n",
                   qPrintable(name));
    } else {
      cue.effect = std::make_unique<QSoundEffect>();
      cue.effect->setSource(QUrl::fromLocalFile(path));
    }
    found = cues_.emplace(name, std::move(cue)).first;
  }
  // A cue may start another while this one waits: the map keeps its entries
  // in place, so this reference stays good.
  const Cue& cue = found->second;
  if (!cue.effect) return;
  cue.effect->play();
  if (cue.ms > 0) wait_(cue.ms);
}

}  // namespace valkoran::app
