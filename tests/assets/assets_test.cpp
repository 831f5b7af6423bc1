// Runs the artwork generator into a scratch folder and checks what the game
// relies on: every file it loads by name, the sprite masks that the AND/XOR
// transfers need, the button faces painted into the background, and WAV
// headers that give the clip length the cue player waits for.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <vector>

#include "view/logic/layout.h"

namespace {

using namespace valkoran;

struct Picture {
  QString name;
  QSize size;
};

QSize SizeOf(const layout::Rect& r) { return QSize(r.w, r.h); }

std::vector<Picture> Pictures() {
  std::vector<Picture> list{{"back1024.jpg", {layout::kBackgroundWidth, layout::kBackgroundHeight}},
                            {"sun.png", {50, 50}},
                            {"sunmask.png", {50, 50}},
                            {"bomb.png", {20, 20}},
                            {"fuel.png", {20, 20}},
                            {"crystal.png", {20, 20}}};
  for (int i = 0; i < 30; ++i) {
    const QString n = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    list.push_back({"world" + n + ".png", {20, 20}});
    list.push_back({"worldmask" + n + ".png", {20, 20}});
  }
  auto button = [&](int n, QSize size) {
    list.push_back({QStringLiteral("butt%1.jpg").arg(n), size});
    list.push_back({QStringLiteral("ddentbutt%1.jpg").arg(n), size});
  };
  for (const auto& b : layout::kButtons) button(b.number, SizeOf(b.rect));
  for (int n : {8, 9, 10}) button(n, {130, 36});
  button(12, SizeOf(layout::kSetupStart));
  for (int n : {13, 14, 15}) button(n, SizeOf(layout::kSetupConnect));
  for (int n : {16, 17, 19, 20}) button(n, {110, 30});
  button(18, SizeOf(layout::kProximitySet));
  return list;
}

struct Sound {
  const char* name;
  int shortestMs, longestMs;
};
constexpr Sound kSounds[] = {
    {"gamestart.wav", 1000, 1500}, {"click1.wav", 25, 60},         {"click2.wav", 20, 55},
    {"gameinfo.wav", 100, 250},    {"turn.wav", 300, 550},         {"timer.wav", 300, 550},
    {"battlestart.wav", 700, 1100}, {"battlewon.wav", 500, 900},   {"battlelost.wav", 500, 900},
    {"bomb.wav", 600, 1000},       {"pulse.wav", 500, 900},        {"pulsegot.wav", 200, 400},
    {"reinforcements.wav", 300, 550}, {"scout.wav", 350, 650},     {"console.wav", 150, 300},
    {"message.wav", 100, 250},
};

bool RunGenerator(const QString& folder) {
  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  run.setProcessEnvironment(env);
  run.start(QStringLiteral(VALKORAN_ASSETS_PROGRAM), {folder});
  return run.waitForFinished(40000) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
}

class Artwork : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new QTemporaryDir;
    generated_ = folder_->isValid() && RunGenerator(folder_->path());
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(generated_) << "the generator failed"; }

  static QString Path(const QString& name) { return folder_->filePath(name); }
  static QImage Load(const QString& name) { return QImage(Path(name)); }

  static QTemporaryDir* folder_;
  static bool generated_;
};
QTemporaryDir* Artwork::folder_ = nullptr;
bool Artwork::generated_ = false;

bool IsBlack(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0; }
bool IsWhite(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }
double Luma(QRgb c) { return 0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c); }

TEST_F(Artwork, EveryPictureExistsAtItsSize) {
  for (const Picture& p : Pictures()) {
    const QImage image = Load(p.name);
    ASSERT_FALSE(image.isNull()) << p.name.toStdString();
    EXPECT_EQ(image.size(), p.size) << p.name.toStdString();
  }
  for (const char* icon : {"bomb.png", "fuel.png", "crystal.png"}) {
    const QImage image = Load(icon);
    EXPECT_TRUE(image.hasAlphaChannel()) << icon;
    // Clear round the edges, so the icon sits on whatever is behind it.
    EXPECT_EQ(qAlpha(image.pixel(0, 19)), 0) << icon;
  }
}

// The mask is ANDed, then the picture XORed: the body must be exactly the
// black of the mask, and nothing else of the picture may change the sky.
TEST_F(Artwork, SpritePicturesAreBlackExactlyWhereTheirMasksAreWhite) {
  std::vector<std::pair<QString, QString>> sprites{{"sun.png", "sunmask.png"}};
  for (int i = 0; i < 30; ++i) {
    const QString n = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    sprites.push_back({"world" + n + ".png", "worldmask" + n + ".png"});
  }
  for (const auto& [pictureName, maskName] : sprites) {
    const QImage picture = Load(pictureName), mask = Load(maskName);
    ASSERT_EQ(picture.size(), mask.size()) << pictureName.toStdString();
    int body = 0, minX = 99, maxX = -1, minY = 99, maxY = -1;
    for (int y = 0; y < mask.height(); ++y)
      for (int x = 0; x < mask.width(); ++x) {
        const QRgb m = mask.pixel(x, y), p = picture.pixel(x, y);
        ASSERT_TRUE(IsBlack(m) || IsWhite(m)) << maskName.toStdString() << " at " << x << "," << y;
        if (IsWhite(m)) {
          ASSERT_TRUE(IsBlack(p)) << pictureName.toStdString() << " shows outside its mask at " << x << "," << y;
        } else {
          ASSERT_FALSE(IsBlack(p)) << pictureName.toStdString() << " has a hole at " << x << "," << y;
          ++body;
          minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
      }
    const int size = mask.width();
    EXPECT_GT(body, size * size / 5) << pictureName.toStdString();
    if (size == 20) {
      // Drawn with its corner at (x - 10, y - 10): the disc is centred on 10.
      EXPECT_EQ(minX + maxX, 19) << pictureName.toStdString();
      EXPECT_EQ(minY + maxY, 19) << pictureName.toStdString();
    } else {
      EXPECT_TRUE(IsBlack(mask.pixel(25, 25)));
      EXPECT_GT(Luma(picture.pixel(25, 25)), 200) << "the sun's core is bright";
      EXPECT_TRUE(IsWhite(mask.pixel(0, 0)) && IsWhite(mask.pixel(49, 49)));
    }
  }
}

TEST_F(Artwork, TheThirtyWorldsLookDifferent) {
  struct Look {
    double r, g, b;
    int body;
  };
  std::vector<Look> looks;
  for (int i = 0; i < 30; ++i) {
    const QString n = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    const QImage picture = Load("world" + n + ".png"), mask = Load("worldmask" + n + ".png");
    Look look{0, 0, 0, 0};
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x)
        if (IsBlack(mask.pixel(x, y))) {
          const QRgb c = picture.pixel(x, y);
          look.r += qRed(c), look.g += qGreen(c), look.b += qBlue(c), ++look.body;
        }
    look.r /= look.body, look.g /= look.body, look.b /= look.body;
    looks.push_back(look);
  }
  // Two worlds of one size need clearly different mean colours.
  for (int i = 0; i < 30; ++i)
    for (int j = i + 1; j < 30; ++j) {
      if (looks[i].body != looks[j].body) continue;
      const double d = std::abs(looks[i].r - looks[j].r) + std::abs(looks[i].g - looks[j].g) +
                       std::abs(looks[i].b - looks[j].b);
      EXPECT_GT(d, 15) << "worlds " << i << " and " << j;
    }
}

// The main window clears a released button to show the background: the
// background must carry the same face.
TEST_F(Artwork, BackgroundCarriesTheReleasedButtonFaces) {
  const QImage back = Load("back1024.jpg");
  for (const auto& b : layout::kButtons) {
    const QString name = QStringLiteral("butt%1.jpg").arg(b.number);
    const QImage face = Load(name), pressed = Load(QStringLiteral("ddentbutt%1.jpg").arg(b.number));
    double diff = 0, released = 0, sunk = 0;
    for (int y = 0; y < b.rect.h; ++y)
      for (int x = 0; x < b.rect.w; ++x) {
        const QRgb f = face.pixel(x, y), g = back.pixel(b.rect.x + x, b.rect.y + y);
        diff += std::abs(qRed(f) - qRed(g)) + std::abs(qGreen(f) - qGreen(g)) + std::abs(qBlue(f) - qBlue(g));
        released += Luma(f);
        sunk += Luma(pressed.pixel(x, y));
      }
    // JPEG leaves about 3 per channel; a face one pixel off is about 15.
    const double pixels = b.rect.w * b.rect.h;
    EXPECT_LT(diff / pixels / 3, 6.0) << name.toStdString() << " differs from the background";
    EXPECT_LT(sunk, released * 0.8) << "pressed " << b.number << " is not darker";
  }
  // No bright star where the sun goes.
  for (int y = 206 - 30; y <= 206 + 30; ++y)
    for (int x = 509 - 30; x <= 509 + 30; ++x) ASSERT_LT(Luma(back.pixel(x, y)), 40) << x << "," << y;
}

TEST_F(Artwork, ButtonsOfOneSizeShowTheirOwnText) {
  // The start screen's three, and the connect button's three roles.
  for (const auto& group : {std::vector<int>{8, 9, 10}, std::vector<int>{13, 14, 15}}) {
    QSet<QByteArray> faces;
    for (int n : group) {
      QFile file(Path(QStringLiteral("butt%1.jpg").arg(n)));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      faces.insert(file.readAll());
    }
    EXPECT_EQ(faces.size(), qsizetype(group.size())) << "two faces of button " << group[0] << ".. are the same";
  }
}

struct Wave {
  bool ok = false;
  std::string why;
  std::vector<int16_t> samples;
};

uint32_t Le(const QByteArray& b, int at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + i]);
  return v;
}

Wave ReadWave(const QString& path) {
  Wave w;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return w.why = "missing", w;
  const QByteArray b = file.readAll();
  if (b.size() < 44) return w.why = "short", w;
  if (b.mid(0, 4) != "RIFF" || b.mid(8, 4) != "WAVE" || b.mid(12, 4) != "fmt " || b.mid(36, 4) != "data")
    return w.why = "not a canonical RIFF WAVE", w;
  if (Le(b, 4, 4) != uint32_t(b.size() - 8)) return w.why = "RIFF size", w;
  if (Le(b, 16, 4) != 16 || Le(b, 20, 2) != 1 || Le(b, 22, 2) != 1 || Le(b, 24, 4) != 22050 ||
      Le(b, 28, 4) != 44100 || Le(b, 32, 2) != 2 || Le(b, 34, 2) != 16)
    return w.why = "not 16-bit mono PCM at 22050 Hz", w;
  if (Le(b, 40, 4) != uint32_t(b.size() - 44)) return w.why = "data size", w;
  for (int i = 44; i + 1 < b.size(); i += 2) w.samples.push_back(int16_t(Le(b, i, 2)));
  w.ok = true;
  return w;
}

TEST_F(Artwork, EveryCueIsAShortCleanWave) {
  for (const Sound& s : kSounds) {
    const Wave w = ReadWave(Path(s.name));
    ASSERT_TRUE(w.ok) << s.name << ": " << w.why;
    const double ms = w.samples.size() * 1000.0 / 22050;
    EXPECT_GE(ms, s.shortestMs) << s.name;
    EXPECT_LE(ms, s.longestMs) << s.name;
    int peak = 0;
    for (int16_t v : w.samples) peak = std::max(peak, std::abs(int(v)));
    EXPECT_GT(peak, 8000) << s.name << " is nearly silent";
    EXPECT_LT(peak, 32000) << s.name << " clips";
    // Faded at both ends, so it neither starts nor stops with a click.
    EXPECT_LT(std::abs(int(w.samples.front())), 300) << s.name;
    EXPECT_LT(std::abs(int(w.samples.back())), 300) << s.name;
  }
}

TEST_F(Artwork, ASecondRunWritesTheSameBytes) {
  QTemporaryDir again;
  ASSERT_TRUE(RunGenerator(again.path()));
  std::vector<QString> names;
  for (const Picture& p : Pictures()) names.push_back(p.name);
  for (const Sound& s : kSounds) names.push_back(QString::fromLatin1(s.name));
  for (const QString& name : names) {
    QFile a(Path(name)), b(again.filePath(name));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name.toStdString();
    EXPECT_TRUE(a.readAll() == b.readAll()) << name.toStdString() << " differs between runs";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
