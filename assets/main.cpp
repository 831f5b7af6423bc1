// valkoran-assets: draws every picture and synthesises every sound cue the
// game loads by name, into the folder given on the command line. The build
// runs it; with --sheet it also lays everything out on one overview picture.
//
//   valkoran-assets [--sheet overview.png] <output folder>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <vector>

#include "pictures.h"
#include "sounds.h"
#include "view/logic/layout.h"

namespace {

using namespace valkoran;

struct ButtonPicture {
  int number;
  const char* face;
  QSize size;
};

QSize SizeOf(const layout::Rect& r) { return QSize(r.w, r.h); }

std::vector<ButtonPicture> Buttons() {
  std::vector<ButtonPicture> list;
  for (const auto& b : layout::kButtons) list.push_back({b.number, b.face, SizeOf(b.rect)});
  const QSize startScreen(130, 36), dialog(110, 30);
  list.push_back({8, "Start", startScreen});
  list.push_back({9, "Load", startScreen});
  list.push_back({10, "Help", startScreen});
  list.push_back({11, "Continue", startScreen});
  list.push_back({12, "Start", SizeOf(layout::kSetupStart)});
  list.push_back({13, "Connect", SizeOf(layout::kSetupConnect)});
  list.push_back({14, "Host Game", SizeOf(layout::kSetupConnect)});
  list.push_back({15, "Join Game", SizeOf(layout::kSetupConnect)});
  list.push_back({16, "Save", dialog});
  list.push_back({17, "Load", dialog});
  list.push_back({18, "Set", SizeOf(layout::kProximitySet)});
  list.push_back({19, "Cancel", dialog});
  list.push_back({20, "OK", dialog});
  return list;
}

class Writer {
 public:
  explicit Writer(const QDir& folder) : folder_(folder) {}

  void Picture(const QString& name, const QImage& image) {
    QImageWriter writer(folder_.filePath(name));
    if (name.endsWith(QLatin1String(".jpg"))) {
      writer.setFormat("jpeg");
      writer.setQuality(92);
    } else {
      writer.setFormat("png");
    }
    if (!writer.write(image)) Fail(name, writer.errorString());
  }

  void Sound(const QString& name, const std::vector<uint8_t>& bytes) {
    QFile file(folder_.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
      Fail(name, file.errorString());
  }

  bool Ok() const { return ok_; }

 private:
  void Fail(const QString& name, const QString& why) {
    std::fprintf(stderr, "valkoran-assets: cannot write %s: %s\n", qPrintable(folder_.filePath(name)), qPrintable(why));
    ok_ = false;
  }

  QDir folder_;
  bool ok_ = true;
};

// Everything on one picture, to judge the artwork by eye.
QImage Overview(const QImage& background, const assets::Sprite& sun, const std::vector<assets::Sprite>& worlds,
                const std::vector<QImage>& buttons, const std::vector<QImage>& icons,
                const std::vector<QImage>& desktopIcons) {
  QImage sheet(1200, 1950, QImage::Format_RGB32);
  sheet.fill(QColor(40, 40, 46));
  QPainter p(&sheet);
  p.drawImage(QRect(10, 10, 640, 480), background);
  // The sprites as the game puts them on the sky: AND the mask, XOR the picture.
  auto blit = [&](const assets::Sprite& s, QRect to) {
    QImage cut(s.picture.size(), QImage::Format_RGB32);
    cut.fill(QColor(6, 9, 22));
    QPainter q(&cut);
    q.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    q.drawImage(0, 0, s.mask);
    q.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    q.drawImage(0, 0, s.picture);
    q.end();
    p.drawImage(to, cut);
  };
  blit(sun, QRect(670, 10, 200, 200));
  for (int i = 0; i < int(worlds.size()); ++i) blit(worlds[i], QRect(670 + (i % 6) * 88, 230 + (i / 6) * 88, 80, 80));
  int x = 10, y = 510, rowHeight = 0;
  for (const QImage& b : buttons) {
    if (x + b.width() * 2 > 660) {
      x = 10;
      y += rowHeight + 8;
      rowHeight = 0;
    }
    p.drawImage(QRect(x, y, b.width() * 2, b.height() * 2), b);
    x += b.width() * 2 + 8;
    rowHeight = std::max(rowHeight, b.height() * 2);
  }
  for (int i = 0; i < int(icons.size()); ++i) {
    p.fillRect(QRect(670 + i * 110, 690, 100, 100), QColor(6, 9, 22));
    p.drawImage(QRect(670 + i * 110, 690, 100, 100), icons[i]);
  }
  // The desktop's icons at their own sizes, the game's above its saved
  // games', on a dark and on a light panel.
  for (int panel = 0; panel < 2; ++panel) {
    const QRect area(670, 810 + panel * 565, 520, 555);
    p.fillRect(area, panel ? QColor(236, 236, 232) : QColor(24, 24, 28));
    int x = area.x() + 10;
    for (size_t i = 0; i < desktopIcons.size(); i += 2) {
      const bool largest = i + 2 == desktopIcons.size();
      if (largest) x = area.x() + 2;
      const int y = area.y() + (largest ? 292 : 10);
      p.drawImage(x, y, desktopIcons[i]);
      p.drawImage(largest ? x + 260 : x, largest ? y : y + 141, desktopIcons[i + 1]);
      x += desktopIcons[i].width() + 10;
    }
  }
  return sheet;
}

// The sky at full size with the orbit rings, the sun and the worlds on it,
// roughly as a game in progress shows it.
QImage Scene(const QImage& background, const assets::Sprite& sun, const std::vector<assets::Sprite>& worlds,
             const std::vector<QImage>& icons) {
  QImage scene = background.convertToFormat(QImage::Format_RGB32);
  QPainter p(&scene);
  const double cx = layout::kViewCenterX, cy = layout::kViewCenterY;
  const double sx = (cx + cx) / 460, sy = cy * 3 / 750;
  p.setPen(QColor(40, 40, 40));
  for (int k = 1; k <= 9; ++k) p.drawEllipse(QPointF(cx, cy), (20 * k + 30) * sx, (20 * k + 30) * sy);
  auto put = [&](const assets::Sprite& s, int x, int y) {
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(x, y, s.mask);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(x, y, s.picture);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  };
  put(sun, int(cx) - 25, int(cy) - 25);
  for (int i = 0; i < int(worlds.size()); ++i) {
    const double r = 20 * (i % 9 + 1) + 30, a = i * 2.39996;
    const int x = int(cx + r * std::cos(a) * sx), y = int(cy + r * std::sin(a) * sy);
    put(worlds[i], x - 10, y - 10);
    if (i >= 8 && i <= 11) {
      p.setPen(QColor(255, 255, 255));
      p.drawEllipse(QPoint(x, y), 14, 14);
    }
  }
  p.drawImage(layout::kImgBomb.x, layout::kImgBomb.y, icons[0]);
  p.drawImage(layout::kImgDouble.x, layout::kImgDouble.y, icons[1]);
  p.drawImage(layout::kImgCrystal.x, layout::kImgCrystal.y, icons[2]);
  return scene;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QString sheetPath;
  if (args.size() >= 2 && args[0] == QLatin1String("--sheet")) {
    sheetPath = args[1];
    args = args.mid(2);
  }
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: valkoran-assets [--sheet overview.png] <output folder>\n");
    return 2;
  }
  QDir folder(args[0]);
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "valkoran-assets: cannot create %s\n", qPrintable(args[0]));
    return 1;
  }
  Writer out(folder);

  const QImage background = assets::Background();
  out.Picture(QStringLiteral("back1024.jpg"), background);

  std::vector<QImage> buttonFaces;
  for (const ButtonPicture& b : Buttons()) {
    const QString text = QString::fromLatin1(b.face);
    const QImage released = assets::ButtonFace(b.size, text, false);
    const QImage pressed = assets::ButtonFace(b.size, text, true);
    out.Picture(QStringLiteral("butt%1.jpg").arg(b.number), released);
    out.Picture(QStringLiteral("ddentbutt%1.jpg").arg(b.number), pressed);
    buttonFaces.push_back(released);
    buttonFaces.push_back(pressed);
  }

  const assets::Sprite sun = assets::Sun();
  out.Picture(QStringLiteral("sun.png"), sun.picture);
  out.Picture(QStringLiteral("sunmask.png"), sun.mask);
  std::vector<assets::Sprite> worlds;
  for (int i = 0; i < assets::kWorldPictures; ++i) {
    worlds.push_back(assets::World(i));
    const QString number = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    out.Picture(QStringLiteral("world%1.png").arg(number), worlds.back().picture);
    out.Picture(QStringLiteral("worldmask%1.png").arg(number), worlds.back().mask);
  }

  const std::vector<QImage> icons{assets::BombIcon(), assets::FuelIcon(), assets::CrystalIcon()};
  out.Picture(QStringLiteral("bomb.png"), icons[0]);
  out.Picture(QStringLiteral("fuel.png"), icons[1]);
  out.Picture(QStringLiteral("crystal.png"), icons[2]);

  // The desktop's icons, one file per size; the build installs them under
  // the names the desktop looks for. The largest is the window's icon too.
  if (!folder.mkpath(QStringLiteral("icons"))) {
    std::fprintf(stderr, "valkoran-assets: cannot create %s\n", qPrintable(folder.filePath(QStringLiteral("icons"))));
    return 1;
  }
  std::vector<QImage> desktopIcons;
  for (int size : assets::kDesktopIconSizes) {
    const QImage app = assets::AppIcon(size), savedGame = assets::SavedGameIcon(size);
    out.Picture(QStringLiteral("icons/app-%1.png").arg(size), app);
    out.Picture(QStringLiteral("icons/saved-game-%1.png").arg(size), savedGame);
    if (size == 256) out.Picture(QStringLiteral("valkoran.png"), app);
    desktopIcons.insert(desktopIcons.end(), {app, savedGame});
  }

  for (const assets::Cue& cue : assets::Cues())
    out.Sound(QString::fromStdString(cue.file), assets::WaveFile(cue.samples));

  if (!sheetPath.isEmpty()) {
    const QString scenePath = QString(sheetPath).replace(QLatin1String(".png"), QLatin1String("-scene.png"));
    if (!Overview(background, sun, worlds, buttonFaces, icons, desktopIcons).save(sheetPath) ||
        !Scene(background, sun, worlds, icons).save(scenePath)) {
      std::fprintf(stderr, "valkoran-assets: cannot write %s\n", qPrintable(sheetPath));
      return 1;
    }
  }
  return out.Ok() ? 0 : 1;
}
