#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

#include "noise.h"
#include "view/logic/layout.h"

namespace valkoran::assets {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb Lerp(Rgb a, Rgb b, double t) { return a + (b + a * -1.0) * t; }
Rgb Hex(uint32_t v) { return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0}; }
double Luma(Rgb c) { return 0.3 * c.r + 0.59 * c.g + 0.11 * c.b; }
int Byte(double v) { return std::clamp(int(std::lround(v * 255.0)), 0, 255); }

// ---------------------------------------------------------------- buttons

void Line(QPainter& p, int x0, int y0, int x1, int y1, QColor c) {
  p.fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), c);
}

}  // namespace

QImage ButtonFace(QSize size, const QString& text, bool pressed) {
  const int w = size.width(), h = size.height();
  QImage img(size, QImage::Format_RGB32);
  img.fill(QColor(5, 7, 12));
  QPainter p(&img);

  // A brushed steel-blue plate; the lit upper half is a touch brighter, as
  // on a convex face. Pressed, the plate is turned away from the light.
  QLinearGradient plate(0, 1, 0, h - 1);
  if (!pressed) {
    plate.setColorAt(0.00, QColor(118, 140, 174));
    plate.setColorAt(0.46, QColor(74, 93, 126));
    plate.setColorAt(0.54, QColor(58, 74, 103));
    plate.setColorAt(1.00, QColor(36, 47, 68));
  } else {
    plate.setColorAt(0.00, QColor(20, 26, 39));
    plate.setColorAt(1.00, QColor(44, 56, 80));
  }
  p.fillRect(1, 1, w - 2, h - 2, plate);
  for (int y = 2; y < h - 2; y += 2) Line(p, 3, y, w - 4, y, QColor(255, 255, 255, pressed ? 4 : 7));

  if (!pressed) {
    // Raised: light on the top and left edges, shade on the bottom and right.
    Line(p, 1, 1, w - 2, 1, QColor(196, 212, 236));
    Line(p, 1, 1, 1, h - 2, QColor(196, 212, 236));
    Line(p, 2, 2, w - 3, 2, QColor(142, 162, 194));
    Line(p, 2, 2, 2, h - 3, QColor(142, 162, 194));
    Line(p, 1, h - 2, w - 2, h - 2, QColor(14, 19, 29));
    Line(p, w - 2, 1, w - 2, h - 2, QColor(14, 19, 29));
    Line(p, 2, h - 3, w - 3, h - 3, QColor(27, 35, 51));
    Line(p, w - 3, 2, w - 3, h - 3, QColor(27, 35, 51));
  } else {
    // Sunk: the rim throws a shadow over the top and left of the face.
    const QColor shade[3] = {QColor(3, 4, 8), QColor(10, 13, 21), QColor(17, 22, 34)};
    for (int i = 0; i < 3; ++i) {
      Line(p, 1 + i, 1 + i, w - 2, 1 + i, shade[i]);
      Line(p, 1 + i, 1 + i, 1 + i, h - 2, shade[i]);
    }
    Line(p, 2, h - 2, w - 2, h - 2, QColor(80, 96, 124));
    Line(p, w - 2, 2, w - 2, h - 2, QColor(80, 96, 124));
  }

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(std::clamp(int(std::lround(h * 0.47)), 10, 16));
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  p.setFont(font);
  p.setRenderHint(QPainter::TextAntialiasing);
  QRect box(1, 0, w - 2, h - 1);
  if (pressed) box.translate(1, 1);
  // Raised letters lit from the upper left: a dark edge below and right.
  p.setPen(QColor(6, 9, 16));
  p.drawText(box.translated(1, 1), Qt::AlignCenter, text);
  p.setPen(pressed ? QColor(178, 192, 214) : QColor(238, 244, 252));
  p.drawText(box, Qt::AlignCenter, text);
  return img;
}

// ------------------------------------------------------------- background

namespace {

class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h), px_(size_t(w) * h) {}
  Rgb& At(int x, int y) { return px_[size_t(y) * w_ + x]; }
  int Width() const { return w_; }
  int Height() const { return h_; }

  // A round blob of light centred on (cx, cy) in pixel coordinates.
  void Glow(double cx, double cy, double sigma, Rgb light) {
    const int reach = int(std::ceil(sigma * 3.5));
    for (int y = int(cy) - reach; y <= int(cy) + reach; ++y)
      for (int x = int(cx) - reach; x <= int(cx) + reach; ++x) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) continue;
        const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
        At(x, y) = At(x, y) + light * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
      }
  }

  // The thin cross of a bright star seen through optics.
  void Spikes(double cx, double cy, double length, Rgb light) {
    for (int axis = 0; axis < 2; ++axis)
      for (int d = -int(length); d <= int(length); ++d)
        for (int across = -1; across <= 1; ++across) {
          const int x = int(cx) + (axis == 0 ? d : across);
          const int y = int(cy) + (axis == 0 ? across : d);
          if (x < 0 || y < 0 || x >= w_ || y >= h_) continue;
          const double off = axis == 0 ? y + 0.5 - cy : x + 0.5 - cx;
          const double k = std::exp(-std::abs(d) / (length / 3.0)) * std::exp(-off * off / 0.35);
          At(x, y) = At(x, y) + light * k;
        }
  }

  QImage ToImage() const {
    QImage img(w_, h_, QImage::Format_RGB32);
    for (int y = 0; y < h_; ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < w_; ++x) {
        // Half a step of fixed dither keeps the dark gradient from banding.
        const double d = (Lattice(x, y, 0, 977) - 0.5) / 255.0;
        const Rgb& c = px_[size_t(y) * w_ + x];
        line[x] = qRgb(Byte(c.r + d), Byte(c.g + d), Byte(c.b + d));
      }
    }
    return img;
  }

 private:
  int w_, h_;
  std::vector<Rgb> px_;
};

constexpr int kCalmTop = 355;  // text widgets sit below; the sky quietens there

Rgb SkyBase(double y) {
  const Rgb top = Hex(0x070b1e), middle = Hex(0x03060f), bottom = Hex(0x020308);
  const double height = valkoran::layout::kBackgroundHeight;
  return y < kCalmTop ? Lerp(top, middle, y / kCalmTop) : Lerp(middle, bottom, (y - kCalmTop) / (height - kCalmTop));
}

// How deep (x, y) lies in the band of gas across the upper left, 0..1.
double BandAt(double x, double y) {
  const double warp = 46 * (Fbm3(x / 160.0, y / 160.0, 0.5, 11, 3) - 0.5);
  const double across = (y - 262 + 0.44 * x + warp) / 1.092;
  return std::exp(-(across * across) / (2 * 60.0 * 60.0));
}

}  // namespace

QImage Background() {
  using namespace valkoran::layout;
  Canvas sky(kBackgroundWidth, kBackgroundHeight);
  const double sunX = kViewCenterX, sunY = kViewCenterY;
  const Rgb violet{0.34, 0.16, 0.52}, teal{0.10, 0.34, 0.50}, rose{0.55, 0.20, 0.36};

  for (int y = 0; y < sky.Height(); ++y)
    for (int x = 0; x < sky.Width(); ++x) {
      Rgb c = SkyBase(y);
      // Kept well clear of the sun and of the panels below.
      const double band = BandAt(x, y) * SmoothStep(150, 250, std::hypot(x - sunX, y - sunY)) *
                          (1 - SmoothStep(250, 330, y));
      if (band > 0.002) {
        const double cloud = Fbm3(x / 85.0, y / 85.0, 1.7, 12, 5);
        const double dust = Fbm3(x / 30.0, y / 30.0, 3.3, 13, 4);
        const double hue = SmoothStep(0.3, 0.7, Fbm3(x / 240.0, y / 240.0, 5.1, 14, 2));
        const double density =
            band * (0.25 + SmoothStep(0.3, 0.75, cloud)) * (1 - 0.65 * SmoothStep(0.48, 0.7, dust));
        const Rgb gas = Lerp(Lerp(violet, teal, hue), rose, 0.45 * SmoothStep(0.58, 0.85, cloud));
        c = c + gas * (0.3 * density);
      }
      sky.At(x, y) = c;
    }

  Rng rng(0x5EED0001);
  const Rgb tints[] = {{0.78, 0.86, 1.0}, {0.9, 0.94, 1.0}, {1, 1, 1}, {1, 0.95, 0.84}, {1, 0.84, 0.64}};
  for (int i = 0; i < 1500; ++i) {
    const double x = rng.Range(0, sky.Width()), y = rng.Range(0, sky.Height());
    const double pick = rng.Uniform(), tint = rng.Uniform(), size = rng.Uniform();
    double bright = 0.12 + 0.95 * std::pow(pick, 3.2);
    if (y >= kCalmTop) {
      if (size < 0.7) continue;  // far fewer, and dim, behind the panels
      bright *= 0.4;
    }
    const double fromSun = std::hypot(x - sunX, y - sunY);
    if (fromSun < 48) continue;
    bright *= SmoothStep(48, 95, fromSun);
    const Rgb light = tints[std::min(4, int(tint * 5))];
    const double sigma = 0.42 + 0.35 * size * size + 0.2 * pick;
    sky.Glow(x, y, sigma, light * (bright * 1.2));
  }

  // The band is thick with faint stars, as a glimpse of the galaxy's disc.
  for (int i = 0; i < 900; ++i) {
    const double x = rng.Range(0, sky.Width()), y = rng.Range(0, 330), keep = rng.Uniform(), bright = rng.Uniform();
    if (keep > BandAt(x, y) || std::hypot(x - sunX, y - sunY) < 170) continue;
    sky.Glow(x, y, 0.45, Rgb{0.85, 0.88, 1.0} * (0.15 + 0.3 * bright * bright));
  }

  // A handful of bright stars with halos, away from the sun and the panels.
  int placed = 0;
  while (placed < 8) {
    const double x = rng.Range(24, sky.Width() - 24), y = rng.Range(18, 320);
    const double tint = rng.Uniform(), size = rng.Uniform();
    if (std::hypot(x - sunX, y - sunY) < 170) continue;
    const Rgb light = tints[std::min(4, int(tint * 5))];
    sky.Glow(x, y, 3.5 + 3.5 * size, light * (0.05 + 0.04 * size));
    sky.Glow(x, y, 0.8 + 0.3 * size, light * 1.1);
    if (placed % 2 == 0) sky.Spikes(x, y, 6 + 6 * size, light * 0.55);
    ++placed;
  }

  for (int y = kCalmTop - 25; y < sky.Height(); ++y) {
    const double calm = 1 - 0.35 * SmoothStep(kCalmTop - 25, kCalmTop + 40, y);
    for (int x = 0; x < sky.Width(); ++x) sky.At(x, y) = sky.At(x, y) * calm;
  }

  QImage img = sky.ToImage();
  QPainter p(&img);
  for (const auto& button : kButtons)
    p.drawImage(button.rect.x, button.rect.y,
                ButtonFace(QSize(button.rect.w, button.rect.h), QString::fromLatin1(button.face), false));
  return img;
}

// ---------------------------------------------------------------- sprites

namespace {

// Builds a picture and its mask from a per-pixel shader that says whether the
// pixel belongs to the body and, if so, its colour. Body pixels never come
// out pure black, which the XOR transfer would turn into a hole.
template <typename Shader>
Sprite MakeSprite(int size, Shader shade) {
  Sprite s{QImage(size, size, QImage::Format_RGB32), QImage(size, size, QImage::Format_RGB32)};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      Rgb c;
      if (shade(x, y, c)) {
        s.picture.setPixel(x, y, qRgb(std::max(1, Byte(c.r)), std::max(1, Byte(c.g)), std::max(1, Byte(c.b))));
        s.mask.setPixel(x, y, qRgb(0, 0, 0));
      } else {
        s.picture.setPixel(x, y, qRgb(0, 0, 0));
        s.mask.setPixel(x, y, qRgb(255, 255, 255));
      }
    }
  return s;
}

enum class Kind { Banded, Rocky, Desert, Icy, Ocean, Volcanic, Veiled };
enum Feature : unsigned { kPlain = 0, kCaps = 1, kCraters = 2, kClouds = 4, kStorm = 8, kTwoFaced = 16 };

struct Style {
  Kind kind;
  double radius;
  uint32_t a, b, c;  // dark, middle and light of the palette
  uint32_t accent;   // storm, ice cap, crack, highland or lava colour
  double scale;      // how fine the surface pattern is
  double tilt;       // of the axis, radians, seen face on
  unsigned features;
};

// Thirty worlds, each its own palette, size and pattern, so that no two look
// alike even at a glance.
constexpr Style kStyles[kWorldPictures] = {
    {Kind::Banded, 9.3, 0x6e3f24, 0xcfa878, 0xf4e8d0, 0xc0482c, 3.4, 0.10, kStorm},
    {Kind::Banded, 8.6, 0x14606c, 0x4fb0b8, 0xc4f0ec, 0xe8ffff, 2.4, -0.30, kPlain},
    {Kind::Banded, 9.5, 0x8c4412, 0xe0922e, 0xfadc88, 0x5a2408, 4.2, 0.38, kStorm},
    {Kind::Banded, 8.0, 0x4e2264, 0xa860a4, 0xf2c6e2, 0xfff0ff, 3.0, -0.15, kPlain},
    {Kind::Banded, 8.3, 0x0c2470, 0x2c5cd0, 0x9cc6ff, 0xf0f8ff, 2.2, 0.05, kStorm},
    {Kind::Banded, 9.0, 0x3e4a16, 0x8e9a40, 0xdedc9c, 0x3a2a10, 3.8, 0.22, kPlain},
    {Kind::Rocky, 6.0, 0x46464a, 0x8a8a8e, 0xcacaca, 0, 3.0, 0, kCraters},
    {Kind::Rocky, 6.6, 0x6a2412, 0xb4522a, 0xe48c58, 0xf6f2f0, 2.5, 0, kCaps},
    {Kind::Rocky, 7.0, 0x48301a, 0x8c6834, 0xccaa66, 0, 3.4, 0, kCraters},
    {Kind::Rocky, 5.8, 0x2c2e3a, 0x5a6078, 0xa0aed2, 0, 4.0, 0, kCraters},
    {Kind::Desert, 7.6, 0x9c5a22, 0xd8a058, 0xf8e0a4, 0, 3.0, 0.30, kPlain},
    {Kind::Rocky, 6.4, 0x66303c, 0xb8686e, 0xf2b4aa, 0, 3.2, 0, kCraters},
    {Kind::Icy, 6.6, 0x8aa4bc, 0xd8e6f2, 0xffffff, 0x9a4a26, 2.6, 0, kPlain},
    {Kind::Icy, 7.0, 0x52acc2, 0xaae4ee, 0xecffff, 0x1e6e88, 2.6, 0, kPlain},
    {Kind::Icy, 6.0, 0x7664b0, 0xb6aae0, 0xf0eaff, 0x44348a, 3.0, 0, kPlain},
    {Kind::Icy, 7.4, 0x8a8c90, 0xc4c6ca, 0xf6f6f4, 0x3a2a22, 2.2, 0.5, kCraters | kTwoFaced},
    {Kind::Icy, 7.0, 0x1a7668, 0x54bea6, 0xc6f4e2, 0x0c4842, 2.8, 0, kPlain},
    {Kind::Ocean, 7.6, 0x0a2a6c, 0x2068b8, 0x3a8a38, 0x9c7c4a, 2.2, 0, kClouds | kCaps},
    {Kind::Ocean, 8.0, 0x061e58, 0x184a9a, 0x5a8c4a, 0x8a8a68, 1.6, 0, kClouds},
    {Kind::Ocean, 7.0, 0x0850a0, 0x22b0e0, 0xeed8a0, 0xbc9c64, 2.6, 0, kPlain},
    {Kind::Ocean, 8.0, 0x060e3e, 0x142a6c, 0x2a3a5c, 0x4c5c7c, 1.8, 0, kClouds | kStorm},
    {Kind::Ocean, 7.4, 0x0e2e58, 0x28589a, 0x7a3688, 0xc87ab6, 2.4, 0, kClouds},
    {Kind::Ocean, 7.8, 0x0c3a5a, 0x28688a, 0x287c22, 0x62aa3c, 2.0, 0, kClouds},
    {Kind::Volcanic, 7.0, 0x141010, 0x3a2e2a, 0x5c4c42, 0xff8c1e, 3.2, 0, kPlain},
    {Kind::Volcanic, 6.6, 0x2a0a08, 0x6a1e14, 0x8c3c24, 0xffd83a, 3.0, 0, kPlain},
    {Kind::Volcanic, 6.4, 0x8e6c0e, 0xdac43e, 0xf6ee9c, 0x2a1606, 3.4, 0, kPlain},
    {Kind::Volcanic, 7.6, 0x18181e, 0x383842, 0x5a5a66, 0xff2c4c, 3.6, 0, kPlain},
    {Kind::Veiled, 8.2, 0x627210, 0xb0c036, 0xeef08a, 0, 2.0, 0, kPlain},
    {Kind::Veiled, 7.8, 0x9c8650, 0xdcc890, 0xfaf2da, 0, 1.8, 0, kPlain},
    {Kind::Icy, 7.0, 0x641248, 0xbe3a98, 0xf8a2e0, 0xffe4ff, 3.4, 0, kPlain},
};

Rgb Ramp(const Style& s, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t < 0.5 ? Lerp(Hex(s.a), Hex(s.b), t * 2) : Lerp(Hex(s.b), Hex(s.c), t * 2 - 1);
}

struct Vec {
  double x, y, z;
};
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Distance(Vec a, Vec b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }
Vec OnSphere(double longitude, double latitude) {
  return {std::sin(longitude) * std::cos(latitude), std::sin(latitude), std::cos(longitude) * std::cos(latitude)};
}

struct Surface {
  Rgb albedo;
  Rgb glow;           // light of its own, seen on the night side too
  double shine = 0;   // sunglint on water
  double haze = 0;    // strength of the lit rim of an atmosphere
  Rgb hazeColour;
};

Surface ShadeSurface(const Style& s, uint32_t seed, Vec p) {
  const double k = s.scale;
  Surface out;
  switch (s.kind) {
    case Kind::Banded: {
      const double turb = Fbm3(p.x * 2.6, p.y * 2.6, p.z * 2.6, seed, 3) - 0.5;
      double v = 0.5 + 0.5 * std::sin(p.y * k * kPi + turb * 2.4 + 0.9 * std::sin(p.y * 7.0 + seed));
      v = 0.7 * v + 0.3 * Fbm3(p.x * 1.5, p.y * 9.0, p.z * 1.5, seed + 7, 2);
      out.albedo = Ramp(s, v);
      if (s.features & kStorm) {
        const Vec eye = OnSphere(0.5, -0.32);
        const double dx = (p.x - eye.x) * 0.62, dy = p.y - eye.y, dz = (p.z - eye.z) * 0.62;
        const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
        out.albedo = Lerp(out.albedo, Hex(s.accent), 1 - SmoothStep(0.10, 0.17, d));
      }
      out.haze = 0.45;
      out.hazeColour = Hex(s.c);
      break;
    }
    case Kind::Rocky:
    case Kind::Desert: {
      const double h = Fbm3(p.x * k, p.y * k, p.z * k, seed, 4);
      double t = SmoothStep(0.2, 0.8, h);
      if (s.kind == Kind::Desert) t = 0.55 * t + 0.45 * (0.5 + 0.5 * std::sin((p.y + 0.35 * p.x) * 16 + h * 9));
      out.albedo = Ramp(s, t);
      if (s.kind == Kind::Desert) {
        out.haze = 0.3;
        out.hazeColour = Hex(s.c);
      }
      break;
    }
    case Kind::Icy: {
      const double h = Fbm3(p.x * k, p.y * k, p.z * k, seed, 4);
      out.albedo = Ramp(s, 0.25 + 0.75 * h);
      const double vein = std::abs(Fbm3(p.x * k * 1.4, p.y * k * 1.4, p.z * k * 1.4, seed + 3, 3) - 0.5);
      out.albedo = Lerp(out.albedo, Hex(s.accent), 0.85 * (1 - SmoothStep(0.0, 0.045, vein)));
      out.shine = 0.25;
      out.haze = 0.2;
      out.hazeColour = {0.75, 0.88, 1.0};
      break;
    }
    case Kind::Ocean: {
      const double h = Fbm3(p.x * k, p.y * k, p.z * k, seed, 5);
      const double sea = 0.52;
      if (h < sea) {
        out.albedo = Lerp(Hex(s.a), Hex(s.b), SmoothStep(sea - 0.22, sea, h));
        out.shine = 0.7;
      } else {
        out.albedo = Lerp(Hex(s.c), Hex(s.accent), SmoothStep(sea, sea + 0.16, h));
      }
      Rgb white{0.95, 0.96, 1.0};
      if (s.features & kCaps) {
        const double cap = SmoothStep(0.78, 0.86, std::abs(p.y) + 0.08 * (h - 0.5));
        out.albedo = Lerp(out.albedo, white, cap);
      }
      if (s.features & kClouds) {
        const double w = Fbm3(p.x * 2, p.y * 2, p.z * 2, seed + 9, 2);
        const double cl = Fbm3(p.x * k * 1.3 + w * 2.5, p.y * k * 2.6, p.z * k * 1.3, seed + 11, 4);
        const double cover = SmoothStep(0.55, 0.7, cl) * 0.9;
        out.albedo = Lerp(out.albedo, white, cover);
        out.shine *= 1 - cover;
      }
      if (s.features & kStorm) {
        // A great cyclone: spiral arms of cloud about one eye.
        const Vec eye = OnSphere(-0.35, 0.2);
        const double d = Distance(p, eye);
        const double angle = std::atan2(p.y - eye.y, p.x - eye.x);
        const double arms = 0.5 + 0.5 * std::sin(2 * angle + d * 16);
        const double swirl = SmoothStep(0.45, 0.85, arms) * (1 - SmoothStep(0.35, 0.75, d)) * SmoothStep(0.04, 0.1, d);
        out.albedo = Lerp(out.albedo, white, swirl);
      }
      out.haze = 0.75;
      out.hazeColour = {0.42, 0.66, 1.0};
      break;
    }
    case Kind::Volcanic: {
      const double h = Fbm3(p.x * k, p.y * k, p.z * k, seed, 4);
      out.albedo = Ramp(s, h);
      const Rgb accent = Hex(s.accent);
      if (Luma(accent) > 0.4) {
        // Rivers of lava along the ridges of a second noise; they glow.
        const double ridge = std::abs(Fbm3(p.x * k * 1.1, p.y * k * 1.1, p.z * k * 1.1, seed + 5, 3) - 0.5);
        const double lava = 1 - SmoothStep(0.01, 0.04, ridge);
        out.albedo = Lerp(out.albedo, accent * 0.4, lava);
        out.glow = accent * (lava * 0.95);
      } else {
        // Sulphur plains pocked with dark vents ringed in orange.
        const double spot = Noise3(p.x * k * 1.8, p.y * k * 1.8, p.z * k * 1.8, seed + 5);
        out.albedo = Lerp(out.albedo, Rgb{0.85, 0.42, 0.12}, SmoothStep(0.62, 0.7, spot) * 0.8);
        out.albedo = Lerp(out.albedo, accent, SmoothStep(0.72, 0.78, spot));
      }
      break;
    }
    case Kind::Veiled: {
      const double w = Fbm3(p.x * k, p.y * k, p.z * k, seed, 3);
      const double v = Fbm3(p.x * k + 2.2 * w, p.y * k * 2.4, p.z * k + 2.2 * w, seed + 4, 4);
      out.albedo = Ramp(s, SmoothStep(0.25, 0.75, v));
      out.haze = 0.9;
      out.hazeColour = Hex(s.c);
      break;
    }
  }
  if (s.features & kCraters) {
    Rng rng(seed * 7919u + 3);
    for (int i = 0; i < 6; ++i) {
      const Vec centre = OnSphere(rng.Range(-1.3, 1.3), rng.Range(-1.0, 1.0));
      const double r = rng.Range(0.14, 0.3), d = Distance(p, centre);
      if (d < r * 0.8) out.albedo = out.albedo * 0.72;
      else if (d < r) out.albedo = out.albedo * 1.18;
    }
  }
  if (s.features & kTwoFaced) {
    // One hemisphere dusted dark, the other bright ice.
    const double side = p.x + 0.35 * (Fbm3(p.x * 3, p.y * 3, p.z * 3, seed + 13, 3) - 0.5);
    out.albedo = Lerp(Hex(s.accent), out.albedo, SmoothStep(-0.25, 0.15, side));
  }
  if (s.kind == Kind::Rocky && (s.features & kCaps)) {
    const double cap = SmoothStep(0.8, 0.87, std::abs(p.y) + 0.1 * (Noise3(p.x * 5, p.y * 5, p.z * 5, seed) - 0.5));
    out.albedo = Lerp(out.albedo, Hex(s.accent), cap);
  }
  return out;
}

}  // namespace

Sprite Sun() {
  constexpr int kSize = 50;
  constexpr double kCentre = 25.0, kBody = 15.5, kReach = 24.6;
  return MakeSprite(kSize, [&](int x, int y, Rgb& c) {
    const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre, r = std::hypot(dx, dy);
    if (r <= kBody) {
      const double t = r / kBody;
      const Rgb core{1, 1, 0.93}, yellow{1, 0.93, 0.58}, amber{1, 0.74, 0.26}, rim{0.96, 0.5, 0.12};
      c = t < 0.45 ? Lerp(core, yellow, t / 0.45) : t < 0.8 ? Lerp(yellow, amber, (t - 0.45) / 0.35) : Lerp(amber, rim, (t - 0.8) / 0.2);
      c = c * (0.93 + 0.14 * Noise3(dx / 2.0, dy / 2.0, 0, 31));
      return true;
    }
    if (r > kReach) return false;
    // The corona: a glow that falls off fast, drawn out into soft streamers.
    // It is laid over the colour of the sky behind it, so it fades into the
    // sky without a seam.
    const double angle = std::atan2(dy, dx);
    const double streamer = Fbm3(std::cos(angle) * 2.0 + 5, std::sin(angle) * 2.0 + 5, 0.3, 37, 3);
    const double reach = 2.2 + 3.0 * SmoothStep(0.3, 0.75, streamer);
    const double fall = std::exp(-(r - kBody) / reach) * (1 - SmoothStep(kBody + 2, kReach, r));
    const Rgb glow = Lerp(Rgb{0.9, 0.3, 0.05}, Rgb{1, 0.74, 0.32}, fall) * (0.95 * fall);
    if (std::max({glow.r, glow.g, glow.b}) * 255 < 3) return false;
    c = glow + SkyBase(layout::kViewCenterY - kCentre + y + 0.5);
    return true;
  });
}

Sprite World(int index) {
  const Style& s = kStyles[index];
  const uint32_t seed = 1000u + 37u * uint32_t(index);
  // Radii that give the disc a smooth pixel outline, with flat rows of four
  // at the poles rather than a lone pixel sticking out.
  const double centre = 10.0, R = std::lround(s.radius) - 0.2;
  const double ct = std::cos(s.tilt), st = std::sin(s.tilt);
  const Vec light{-0.6, -0.55, 0.58};
  const double lightLen = std::sqrt(Dot(light, light));
  const Vec l{light.x / lightLen, light.y / lightLen, light.z / lightLen};
  const Vec half = [&] {
    const Vec h{l.x, l.y, l.z + 1};
    const double n = std::sqrt(Dot(h, h));
    return Vec{h.x / n, h.y / n, h.z / n};
  }();
  constexpr int kSub = 4;  // samples across a pixel, for a smooth surface

  return MakeSprite(20, [&](int x, int y, Rgb& c) {
    // The edge is crisp: a pixel is body when its centre lies on the disc.
    const double cx = x + 0.5 - centre, cy = y + 0.5 - centre;
    if (cx * cx + cy * cy > R * R) return false;
    Rgb sum;
    int n = 0;
    for (int j = 0; j < kSub; ++j)
      for (int i = 0; i < kSub; ++i) {
        const double sx = (x + (i + 0.5) / kSub - centre) / R, sy = (y + (j + 0.5) / kSub - centre) / R;
        const double rr = sx * sx + sy * sy;
        if (rr > 1) continue;
        const Vec nrm{sx, sy, std::sqrt(1 - rr)};
        const Vec p{ct * nrm.x - st * nrm.y, st * nrm.x + ct * nrm.y, nrm.z};
        const Surface surf = ShadeSurface(s, seed, p);
        const double ndl = Dot(nrm, l);
        const double lit = 0.1 + 0.9 * SmoothStep(-0.22, 0.55, ndl) * (0.6 + 0.4 * std::max(0.0, ndl));
        const double limb = 0.8 + 0.2 * nrm.z;
        const double glint = surf.shine * 0.75 * std::pow(std::max(0.0, Dot(nrm, half)), 28);
        const double rim = surf.haze * std::pow(1 - nrm.z, 2.2) * SmoothStep(-0.25, 0.45, ndl) * 0.7;
        sum = sum + surf.albedo * (lit * limb) + surf.glow + Rgb{1, 0.97, 0.9} * glint + surf.hazeColour * rim;
        ++n;
      }
    c = sum * (1.0 / std::max(1, n));
    return true;
  });
}

// ------------------------------------------------------------------ icons

namespace {

QImage Icon(int size = 20) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

}  // namespace

QImage BombIcon() {
  QImage img = Icon();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // The fuse first, so the casing covers its root.
  QPainterPath fuse(QPointF(13.2, 6.0));
  fuse.cubicTo(QPointF(14.5, 3.2), QPointF(16.0, 4.4), QPointF(17.2, 2.4));
  p.setPen(QPen(QColor(214, 190, 140), 1.3, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(fuse);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(120, 124, 134));
  p.drawRect(QRectF(11.2, 5.0, 3.2, 3.0));
  QRadialGradient casing(QPointF(6.6, 9.0), 9.5, QPointF(5.8, 8.2));
  casing.setColorAt(0.0, QColor(230, 92, 72));
  casing.setColorAt(0.28, QColor(150, 28, 24));
  casing.setColorAt(0.75, QColor(40, 8, 10));
  casing.setColorAt(1.0, QColor(14, 4, 6));
  p.setBrush(casing);
  p.setPen(QPen(QColor(180, 70, 58), 0.9));
  p.drawEllipse(QPointF(8.8, 12.0), 6.8, 6.8);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 230, 220, 170));
  p.drawEllipse(QPointF(6.4, 9.4), 1.6, 1.1);
  // The spark at the end of the fuse.
  QRadialGradient spark(QPointF(17.4, 2.4), 3.0);
  spark.setColorAt(0.0, QColor(255, 255, 235));
  spark.setColorAt(0.35, QColor(255, 220, 80, 230));
  spark.setColorAt(1.0, QColor(255, 110, 20, 0));
  p.setBrush(spark);
  p.drawEllipse(QPointF(17.4, 2.4), 3.0, 3.0);
  p.setPen(QPen(QColor(255, 236, 150, 220), 0.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(17.4, 0.0), QPointF(17.4, 4.8));
  p.drawLine(QPointF(15.0, 2.4), QPointF(19.8, 2.4));
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

QImage FuelIcon() {
  QImage img = Icon();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // Two chevrons: twice the speed.
  QLinearGradient fill(0, 3, 0, 17);
  fill.setColorAt(0.0, QColor(250, 244, 96));
  fill.setColorAt(0.5, QColor(168, 226, 60));
  fill.setColorAt(1.0, QColor(44, 170, 64));
  p.setBrush(fill);
  p.setPen(QPen(QColor(12, 48, 16), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  for (double x0 : {1.5, 8.5}) {
    QPainterPath chevron;
    chevron.moveTo(x0, 3.5);
    chevron.lineTo(x0 + 4.5, 3.5);
    chevron.lineTo(x0 + 10.0, 10.0);
    chevron.lineTo(x0 + 4.5, 16.5);
    chevron.lineTo(x0, 16.5);
    chevron.lineTo(x0 + 5.5, 10.0);
    chevron.closeSubpath();
    p.drawPath(chevron);
  }
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

QImage CrystalIcon() {
  QImage img = Icon();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF top(10, 1), left(3.5, 7.5), right(16.5, 7.5), bottom(10, 19), waist(10, 9.5), leftLow(5.5, 12), rightLow(14.5, 12);
  auto facet = [&](std::initializer_list<QPointF> corners, QColor colour) {
    p.setBrush(colour);
    p.drawPolygon(QPolygonF(QList<QPointF>(corners)));
  };
  p.setPen(Qt::NoPen);
  facet({top, left, waist}, QColor(190, 252, 255));
  facet({top, right, waist}, QColor(80, 210, 236));
  facet({left, leftLow, bottom, waist}, QColor(40, 160, 212));
  facet({right, rightLow, bottom, waist}, QColor(14, 96, 160));
  p.setPen(QPen(QColor(210, 255, 255, 230), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolygon(QPolygonF(QList<QPointF>{top, right, rightLow, bottom, leftLow, left}));
  p.setPen(QPen(QColor(230, 255, 255, 140), 0.6));
  p.drawLine(top, waist);
  p.drawLine(left, waist);
  p.drawLine(right, waist);
  p.drawLine(waist, bottom);
  // A glint on the lit facet.
  p.setPen(QPen(QColor(255, 255, 255, 235), 0.9, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(7.0, 3.6), QPointF(7.0, 7.0));
  p.drawLine(QPointF(5.3, 5.3), QPointF(8.7, 5.3));
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------- desktop icons

namespace {

// The emblem: a sun, an orbit seen at a slant and a world on it, on a round
// patch of night sky, in a square of `size` pixels round `centre`. Lengths
// are in 256ths of the square, and no stroke or body falls under a pixel or
// two, so the three still read apart at 16 pixels.
void DrawEmblem(QPainter& p, QPointF centre, double size) {
  const double k = size / 256.0;
  auto at = [&](double units, double least) { return std::max(units * k, least); };
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(centre);

  const double rim = at(6, 1.0), sky = size * 0.47 - rim / 2;
  QRadialGradient night(QPointF(-0.25 * sky, -0.3 * sky), sky * 1.3);
  night.setColorAt(0.0, QColor(38, 58, 118));
  night.setColorAt(0.6, QColor(14, 22, 56));
  night.setColorAt(1.0, QColor(5, 8, 24));
  p.setBrush(night);
  p.setPen(QPen(QColor(108, 140, 206), rim));
  p.drawEllipse(QPointF(0, 0), sky, sky);

  // The far half of the orbit passes behind the sun, the near half in front.
  constexpr double kTilt = -24;
  const double rx = 96 * k, ry = at(40, 2.5);
  const QRectF orbit(-rx, -ry, 2 * rx, 2 * ry);
  auto arc = [&](int from) {
    p.save();
    p.rotate(kTilt);
    p.setPen(QPen(QColor(160, 200, 255, 220), at(7, 1.0)));
    p.setBrush(Qt::NoBrush);
    p.drawArc(orbit, from * 16, 180 * 16);
    p.restore();
  };
  arc(0);

  const double sun = at(44, 2.6);
  QRadialGradient glow(QPointF(0, 0), sun * 1.7);
  glow.setColorAt(0.0, QColor(255, 200, 90, 200));
  glow.setColorAt(0.6, QColor(255, 150, 40, 110));
  glow.setColorAt(1.0, QColor(255, 120, 20, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(QPointF(0, 0), sun * 1.7, sun * 1.7);
  QRadialGradient body(QPointF(0, 0), sun, QPointF(-0.3 * sun, -0.3 * sun));
  body.setColorAt(0.0, QColor(255, 255, 236));
  body.setColorAt(0.5, QColor(255, 226, 110));
  body.setColorAt(1.0, QColor(242, 136, 28));
  p.setBrush(body);
  p.drawEllipse(QPointF(0, 0), sun, sun);

  arc(180);

  // The world rides the near half, lit from the sun's side; a ring of sky
  // colour keeps it apart from the orbit line.
  const double t = 28 * kPi / 180, turn = kTilt * kPi / 180;
  const double ex = rx * std::cos(t), ey = ry * std::sin(t);
  const QPointF world(ex * std::cos(turn) - ey * std::sin(turn), ex * std::sin(turn) + ey * std::cos(turn));
  const double r = at(24, 1.8), toSun = std::hypot(world.x(), world.y());
  const QPointF lit = world - world * (0.45 * r / toSun);
  QRadialGradient sea(world, r * 1.2, lit);
  sea.setColorAt(0.0, QColor(170, 236, 255));
  sea.setColorAt(0.45, QColor(40, 134, 214));
  sea.setColorAt(1.0, QColor(10, 36, 96));
  p.setBrush(sea);
  p.setPen(QPen(QColor(8, 12, 32), at(5, 0.6)));
  p.drawEllipse(world, r, r);
  p.restore();
}

}  // namespace

QImage AppIcon(int size) {
  QImage img = Icon(size);
  QPainter p(&img);
  DrawEmblem(p, QPointF(size / 2.0, size / 2.0), size);
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

QImage SavedGameIcon(int size) {
  QImage img = Icon(size);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const double k = size / 256.0;
  // The page's edges on whole pixels, so they stay sharp at small sizes.
  const double line = std::max(1.0, std::round(5 * k));
  const double left = std::round(36 * k) + line / 2, right = size - left;
  const double top = std::round(8 * k) + line / 2, bottom = size - top;
  const double fold = std::round(56 * k);
  QPainterPath page;
  page.moveTo(left, top);
  page.lineTo(right - fold, top);
  page.lineTo(right, top + fold);
  page.lineTo(right, bottom);
  page.lineTo(left, bottom);
  page.closeSubpath();
  QLinearGradient paper(0, top, 0, bottom);
  paper.setColorAt(0.0, QColor(246, 248, 252));
  paper.setColorAt(1.0, QColor(212, 218, 230));
  p.setBrush(paper);
  p.setPen(QPen(QColor(84, 94, 116), line, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawPath(page);
  p.setBrush(QColor(186, 196, 214));
  p.drawPolygon(QPolygonF({QPointF(right - fold, top), QPointF(right - fold, top + fold), QPointF(right, top + fold)}));
  if (size >= 48) {  // a few lines of writing, where there is room for them
    const double h = std::max(2.0, std::round(8 * k));
    for (int i = 0; i < 3; ++i)
      p.fillRect(QRectF(std::round(left + 24 * k), std::round(top + (34 + 20 * i) * k), std::round((i == 2 ? 60 : 92) * k), h),
                 QColor(150, 160, 182));
  }
  DrawEmblem(p, QPointF(size / 2.0, top + (bottom - top) * 0.64), size * 0.6);
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace valkoran::assets
