// Runs the artwork generator into a scratch folder and checks the files the game loads by name.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QLineF>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include "view/logic/layout.h"

namespace {
using namespace valkoran;
bool RunGenerator(const QString& folder) { return QProcess::execute(VALKORAN_ASSETS_PROGRAM, {folder}) == 0; }
QByteArray Bytes(const QString& path) { QFile f(path); return f.open(QFile::ReadOnly) ? f.readAll() : ""; }
bool IsBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }
bool IsWhite(QRgb c) { return (c & 0xFFFFFF) == 0xFFFFFF; }
double Luma(QRgb c) { return 0.3 * qRed(c) + 0.59 * qGreen(c) + 0.11 * qBlue(c); }
QTemporaryDir folder;  // the generator's output, shared by the tests
class Artwork : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(RunGenerator(folder.path())) << "the generator failed"; }
  static QImage Load(const QString& name) { return QImage(folder.filePath(name)); }
};

TEST_F(Artwork, OtherWindowsButtonsAndIconsAtTheirSizes) {
  const std::pair<std::vector<int>, layout::Rect> buttons[] = {
      {{8, 9, 10, 11}, {0, 0, 130, 36}}, {{12}, layout::kSetupStart}, {{13, 14, 15}, layout::kSetupConnect},
      {{16, 17, 19, 20}, {0, 0, 110, 30}}, {{18}, layout::kProximitySet}};
  for (const auto& [numbers, r] : buttons)
    for (int n : numbers)
      for (const char* stem : {"butt", "ddentbutt"})
        EXPECT_EQ(Load(stem + QString::number(n) + ".jpg").size(), QSize(r.w, r.h)) << stem << n;
  // Buttons of one size show their own text: the start screen's four, the connect button's three roles.
  QSet<QByteArray> faces;
  for (int n : {8, 9, 10, 11, 13, 14, 15}) faces.insert(Bytes(folder.filePath(QString("butt%1.jpg").arg(n))));
  EXPECT_EQ(faces.size(), 7);
  // Icons are clear round the edges, so they sit on whatever is behind them.
  for (const char* icon : {"bomb.png", "fuel.png", "crystal.png"})
    EXPECT_TRUE(Load(icon).size() == QSize(20, 20) && qAlpha(Load(icon).pixel(0, 19)) == 0) << icon;
}

// The mask is ANDed, then the picture XORed: the body must be exactly the black of the mask, and nothing else of
// the picture may change the sky. Worlds are discs round (10, 10); no two of one size share a colour.
TEST_F(Artwork, SpritesFitTheirMasks) {
  std::vector<std::array<double, 4>> worlds;  // body, mean red, green, blue
  for (int i = -1; i < 30; ++i) {
    const QString stem = i < 0 ? "sun" : "world", number = i < 0 ? "" : QString("%1").arg(i, 2, 10, QChar('0'));
    const QImage picture = Load(stem + number + ".png"), mask = Load(stem + "mask" + number + ".png");
    const std::string name = (stem + number).toStdString();
    ASSERT_TRUE(picture.size() == mask.size() && mask.size() == QSize(i < 0 ? 50 : 20, i < 0 ? 50 : 20)) << name;
    double body = 0, red = 0, green = 0, blue = 0;
    QRect disc;
    for (int y = 0; y < mask.height(); ++y)
      for (int x = 0; x < mask.width(); ++x) {
        const QRgb m = mask.pixel(x, y), p = picture.pixel(x, y);
        ASSERT_TRUE(IsBlack(m) || IsWhite(m)) << name << " mask at " << x << "," << y;
        ASSERT_EQ(IsWhite(m), IsBlack(p)) << name << " at " << x << "," << y;
        if (IsWhite(m)) continue;
        body += 1, red += qRed(p), green += qGreen(p), blue += qBlue(p), disc |= QRect(x, y, 1, 1);
      }
    EXPECT_GT(body, mask.width() * mask.width() / 5) << name;
    if (i < 0) continue;
    EXPECT_TRUE(disc.left() + disc.right() == 19 && disc.top() + disc.bottom() == 19) << name;
    worlds.push_back({body, red / body, green / body, blue / body});
  }
  const QImage sun = Load("sun.png"), mask = Load("sunmask.png");  // a bright core, clear corners
  EXPECT_TRUE(Luma(sun.pixel(25, 25)) > 200 && IsWhite(mask.pixel(0, 0)) && IsWhite(mask.pixel(49, 49)));
  for (int i = 0; i < 30; ++i)
    for (int j = i + 1; j < 30; ++j)
      if (const auto &a = worlds[i], &b = worlds[j]; a[0] == b[0]) {  // one size: the colour must tell them apart
        EXPECT_GT(std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]) + std::abs(a[3] - b[3]), 15) << i << ", " << j;
      }
}

// The main window clears a released button to show the background: the background carries the same face.
TEST_F(Artwork, BackgroundCarriesTheReleasedButtonFaces) {
  const QImage back = Load("back1024.jpg");
  ASSERT_EQ(back.size(), QSize(layout::kBackgroundWidth, layout::kBackgroundHeight));
  for (const auto& b : layout::kButtons) {
    const QImage face = Load(QString("butt%1.jpg").arg(b.number));
    const QImage sunk = Load(QString("ddentbutt%1.jpg").arg(b.number));
    ASSERT_TRUE(face.size() == QSize(b.rect.w, b.rect.h) && sunk.size() == face.size()) << "button " << b.number;
    double diff = 0, faceLuma = 0, sunkLuma = 0;
    for (int y = 0; y < b.rect.h; ++y)
      for (int x = 0; x < b.rect.w; ++x) {
        const QRgb f = face.pixel(x, y), g = back.pixel(b.rect.x + x, b.rect.y + y);
        diff += std::abs(qRed(f) - qRed(g)) + std::abs(qGreen(f) - qGreen(g)) + std::abs(qBlue(f) - qBlue(g));
        faceLuma += Luma(f), sunkLuma += Luma(sunk.pixel(x, y));
      }
    // JPEG leaves about 3 per channel; a face one pixel off is about 15.
    EXPECT_LT(diff / (b.rect.w * b.rect.h * 3), 6.0) << "button " << b.number << " differs from the background";
    EXPECT_LT(sunkLuma, faceLuma * 0.8) << "pressed " << b.number << " is not darker";
  }
  for (int y = 206 - 30; y <= 206 + 30; ++y)  // no bright star where the sun goes
    for (int x = 509 - 30; x <= 509 + 30; ++x) ASSERT_LT(Luma(back.pixel(x, y)), 40) << x << "," << y;
}

// The game waits for each cue to end: every one is short, a button's click the shortest.
TEST_F(Artwork, EveryCueIsAShortCleanWave) {
  const std::tuple<const char*, quint32, quint32> cues[] = {  // name, shortest and longest in milliseconds
      {"gamestart", 1000, 1500}, {"click1", 25, 60},   {"click2", 20, 55},   {"gameinfo", 100, 250},
      {"turn", 300, 550},        {"timer", 300, 550},  {"battlestart", 700, 1100}, {"battlewon", 500, 900},
      {"battlelost", 500, 900},  {"bomb", 600, 1000}, {"pulse", 500, 900},  {"pulsegot", 200, 400},
      {"reinforcements", 300, 550}, {"scout", 350, 650}, {"console", 150, 300}, {"message", 100, 250}};
  for (const auto& [cue, shortest, longest] : cues) {
    const QByteArray b = Bytes(folder.filePath(cue + QString(".wav")));
    ASSERT_GE(b.size(), 46) << cue;
    const quint32 data = quint32(b.size() - 44);
    // The canonical 44-byte header of 16-bit mono PCM at 22050 Hz.
    EXPECT_EQ(b.mid(8, 32), "WAVEfmt " + QByteArray::fromHex("10000000010001002256000044ac000002001000") + "data");
    const auto at = [&](int i) { return qFromLittleEndian<quint32>(b.constData() + i); };
    EXPECT_TRUE(b.startsWith("RIFF") && at(4) == data + 36 && at(40) == data) << cue << ": RIFF and sizes";
    EXPECT_TRUE(data * 500 >= shortest * 22050 && data * 500 <= longest * 22050) << cue << ": " << data / 44.1 << " ms";
    auto sample = [&](quint32 i) { return std::abs(int(qFromLittleEndian<qint16>(b.constData() + 44 + 2 * i))); };
    int peak = 0;
    for (quint32 i = 0; i < data / 2; ++i) peak = std::max(peak, sample(i));
    EXPECT_TRUE(peak > 8000 && peak < 32000) << cue << " is nearly silent or clips: " << peak;
    EXPECT_TRUE(sample(0) < 300 && sample(data / 2 - 1) < 300) << cue << " starts or stops with a click";
  }
}

// The desktop's icons, drawn afresh at every size it asks for: square, clear at the corners so they sit on any
// panel, mostly solid. At 16 pixels the game's icon still shows a warm sun at its centre and a blue world apart from
// it; the saved game's icon is a light page.
TEST_F(Artwork, DesktopIconsAtEverySize) {
  for (int size : {16, 24, 32, 48, 64, 128, 256})
    for (const QString kind : {"app", "saved-game"}) {
      const QImage icon = Load(QString("icons/%1-%2.png").arg(kind).arg(size));
      const std::string name = QString("%1-%2").arg(kind).arg(size).toStdString();
      ASSERT_TRUE(icon.size() == QSize(size, size) && icon.hasAlphaChannel()) << name;
      for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
        EXPECT_EQ(qAlpha(icon.pixel(corner)), 0) << name << " at " << corner.x() << "," << corner.y();
      int solid = 0, blue = 0, light = 0;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
          const QRgb c = icon.pixel(x, y);
          if (qAlpha(c) < 128) continue;
          ++solid;
          blue += qBlue(c) > qRed(c) + 60 && Luma(c) > 70 && QLineF(x, y, size / 2, size / 2).length() > size / 5;
          light += Luma(c) > 200;
        }
      EXPECT_GT(solid, size * size / 2) << name;
      if (kind == "app") {
        const QRgb centre = icon.pixel(size / 2, size / 2);
        EXPECT_TRUE(Luma(centre) > 180 && qRed(centre) > qBlue(centre) + 40) << name << ": no sun at the centre";
        EXPECT_GE(blue, 2) << name << ": no world";
      } else {
        EXPECT_GT(light, size * size / 8) << name << ": no page";
      }
    }
  EXPECT_EQ(Bytes(folder.filePath("valkoran.png")), Bytes(folder.filePath("icons/app-256.png")));
}

TEST_F(Artwork, ASecondRunWritesTheSameBytes) {
  QTemporaryDir again;
  ASSERT_TRUE(RunGenerator(again.path()));
  const auto filesIn = [](const QString& root) {
    QStringList names;
    for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
      names << QDir(root).relativeFilePath(it.next());
    names.sort();
    return names;
  };
  const QStringList names = filesIn(folder.path());
  ASSERT_EQ(filesIn(again.path()), names);
  for (const QString& name : names)
    EXPECT_TRUE(Bytes(folder.filePath(name)) == Bytes(again.filePath(name))) << name.toStdString() << " differs";
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
