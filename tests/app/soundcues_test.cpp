#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdint>
#include <vector>

#include "app/soundcues.h"

using valkoran::app::WaveLengthMs;

namespace {

QByteArray Le32(std::uint32_t v) {
  QByteArray b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = char((v >> (8 * i)) & 0xFF);
  return b;
}

QByteArray Chunk(const char* id, const QByteArray& body, std::uint32_t claimed) {
  QByteArray c = QByteArray(id, 4) + Le32(claimed) + body;
  if (body.size() & 1) c += '\0';
  return c;
}
QByteArray Chunk(const char* id, const QByteArray& body) { return Chunk(id, body, std::uint32_t(body.size())); }

// A PCM "fmt " body: mono, 16 bits, the given byte rate.
QByteArray Fmt(std::uint32_t byteRate, int size = 16) {
  QByteArray f = QByteArray::fromHex("01000100") + Le32(byteRate / 2) + Le32(byteRate) + QByteArray::fromHex("02001000");
  f.resize(size, '\0');
  return f;
}

QByteArray Riff(const QByteArray& chunks, const char* form = "WAVE") {
  return "RIFF" + Le32(std::uint32_t(chunks.size() + 4)) + QByteArray(form, 4) + chunks;
}

// Sound cues with or without an audio output, whatever this machine has.
class Speakers final : public valkoran::app::SoundCues {
 public:
  explicit Speakers(bool present) : present_(present) {}

 protected:
  bool HasAudioOutput() const override { return present_; }

 private:
  bool present_;
};

}  // namespace

class SoundCuesTest : public QObject {
  Q_OBJECT

 private slots:
  void lengthOfGoodHeaders() {
    QCOMPARE(WaveLengthMs(Riff(Chunk("fmt ", Fmt(8000)) + Chunk("data", QByteArray(4000, 'x')))), 500);
    // Rounded up: one byte of sound is still waited for.
    QCOMPARE(WaveLengthMs(Riff(Chunk("fmt ", Fmt(88200)) + Chunk("data", QByteArray(1, 'x')))), 1);
    QCOMPARE(WaveLengthMs(Riff(Chunk("fmt ", Fmt(8000)) + Chunk("data", {}))), 0);
    // Other chunks (odd-sized, padded), data before fmt, a longer fmt.
    QCOMPARE(WaveLengthMs(Riff(Chunk("LIST", "abc") + Chunk("data", QByteArray(16000, 'x')) +
                               Chunk("fmt ", Fmt(16000, 18)) + Chunk("fact", Le32(8000)))),
             1000);
    // An odd data chunk at the end may lack its pad byte.
    QByteArray unpadded = Riff(Chunk("fmt ", Fmt(1000)) + Chunk("data", QByteArray(3, 'x')));
    unpadded.chop(1);
    QCOMPARE(WaveLengthMs(unpadded), 3);
    // A minute is the longest cue waited for.
    QCOMPARE(WaveLengthMs(Riff(Chunk("fmt ", Fmt(100)) + Chunk("data", QByteArray(6000, 'x')))), 60000);
  }

  void malformedHeadersGiveMinusOne() {
    const QByteArray fmt = Chunk("fmt ", Fmt(8000));
    const QByteArray data = Chunk("data", QByteArray(800, 'x'));
    const std::vector<std::pair<const char*, QByteArray>> bad = {
        {"empty", {}},
        {"short", QByteArray("RIFF\0\0\0\0WAV", 11)},
        {"riff only", Riff({})},
        {"wrong magic", "RIFX" + Riff(fmt + data).mid(4)},
        {"wrong form", Riff(fmt + data, "AVI ")},
        {"no fmt", Riff(data)},
        {"no data", Riff(fmt)},
        {"zero byte rate", Riff(Chunk("fmt ", Fmt(0)) + data)},
        {"short fmt", Riff(Chunk("fmt ", Fmt(8000, 12)) + data)},
        {"data past the end", Riff(fmt + Chunk("data", QByteArray(800, 'x'), 801))},
        {"streaming size", Riff(fmt + Chunk("data", QByteArray(800, 'x'), 0xFFFFFFFFu))},
        {"chunk past the end", Riff(Chunk("LIST", "ab", 0xFFFFFFF0u) + fmt + data)},
        {"longer than a minute", Riff(Chunk("fmt ", Fmt(100)) + Chunk("data", QByteArray(6001, 'x')))},
        {"huge length, tiny rate", Riff(Chunk("fmt ", Fmt(1)) + Chunk("data", QByteArray(70, 'x')))},
    };
    for (const auto& [what, bytes] : bad) QVERIFY2(WaveLengthMs(bytes) == -1, what);
  }

  // A good file is waited for by its length, every time; an unusable or
  // missing one is skipped without a wait; without audio output nothing is
  // waited for at all.
  void playWaitsForTheClipOrSkips() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto write = [&](const char* name, const QByteArray& bytes) {
      QFile f(dir.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(bytes);
    };
    write("good.wav", Riff(Chunk("fmt ", Fmt(16000)) + Chunk("data", QByteArray(4000, '\0'))));
    write("bad.wav", "RIFF junk");

    const QString here = QDir::currentPath();
    QDir::setCurrent(dir.path());
    std::vector<int> heard, silent;
    {
      Speakers cues(true);
      cues.SetWait([&](int ms) { heard.push_back(ms); });
      for (const char* wave : {"good.wav", "bad.wav", "bad.wav", "nowhere.wav", "good.wav"}) cues.Play(wave);
      Speakers mute(false);
      mute.SetWait([&](int ms) { silent.push_back(ms); });
      mute.Play("good.wav");
    }
    QDir::setCurrent(here);
    QCOMPARE(heard, (std::vector<int>{250, 250}));
    QVERIFY(silent.empty());
  }
};

int RunSoundCuesTests(int argc, char** argv) {
  SoundCuesTest t;
  return QTest::qExec(&t, argc, argv);
}

#include "soundcues_test.moc"
