#include "view/galaxypainter.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <cmath>

#include "game/numbers.h"
#include "view/galaxycanvas.h"
#include "view/handoverscreen.h"
#include "view/logic/layout.h"

namespace valkoran::view {

namespace {

const QColor kBlack(0, 0, 0);

// A path is drawn frame by frame; past this many frames (four years, five
// times the longest trip a search can find) it only winds over itself, so
// a fleet bound for a distant year costs no more than one that arrives.
constexpr double kMaxPathFrames = 4 * 520;

}  // namespace

QColor GalaxyPainter::PlayerColour(int owner) const {
  if (owner < 0 || owner >= kPlayerSlots) return Qt::white;
  const auto v = static_cast<long long>(x_.game.state.PlayerColor[owner]);
  return QColor(static_cast<int>(v & 255), static_cast<int>((v >> 8) & 255), static_cast<int>((v >> 16) & 255));
}

Point GalaxyPainter::WorldPixel(int world) const { return WorldPoint(x_.game.state, x_.g, world); }

void GalaxyPainter::DrawWorlds(bool currentWidth) {
  const GameState& s = x_.game.state;
  GalaxyCanvas& canvas = *x_.c.canvas;
  for (int i = 0; i < s.WorldCount; ++i) {
    const Point p = WorldPixel(i);
    canvas.WorldSprite(i, p.x, p.y);
    const int owner = s.WorldOwner[i];
    if (owner == 0) continue;
    const int width = currentWidth && owner == s.CurrentPlayer + 1 ? 2 : 1;
    const QColor colour = PlayerColour(owner);
    canvas.Circle(p.x, p.y, 12, colour, width);
    if (i >= kHomeRing && i < kHomeRing + kSeats && !s.PlayerName[i - kHomeRing].empty()) {
      canvas.Circle(p.x, p.y, 14, Qt::white, width);
      canvas.Circle(p.x, p.y, 17, colour, width);
    }
  }
}

void GalaxyPainter::DrawBombMarker(double x, double y, QColor colour) {
  x_.c.canvas->Circle(x, y, 3, colour, 1, false, 1, kBlack);
  for (int dx : {-2, 2})
    for (int dy : {-2, 2}) x_.c.canvas->Circle(x + dx, y + dy, 3, colour, 1, false, 1, kBlack);
}

void GalaxyPainter::DrawFleetMarker(double x, double y, float ships, QColor colour) {
  if (ships >= kAnnihilationBomb) {
    DrawBombMarker(x, y, colour);
    return;
  }
  GalaxyCanvas& canvas = *x_.c.canvas;
  canvas.Circle(x, y, 3, colour, 1, false, 1, kBlack);
  if (ships >= 100) canvas.Circle(x + 3, y - 3, 3, colour, 1, false, 1, kBlack);
  if (ships >= 500) canvas.Circle(x - 3, y - 3, 3, colour, 1, false, 1, kBlack);
}

Point GalaxyPainter::DrawFleetPath(const GameState& s, int fleet, QColor colour, QColor targetColour, double kFrom,
                                   double kTo) {
  // Counted in whole steps from the fleet's end, so the loop ends whatever
  // the size of the frame numbers.
  const double span = kFrom - kTo;
  const long long frames = span >= 0 ? static_cast<long long>(std::min(span, kMaxPathFrames)) : -1;
  Point first{}, last{};
  for (long long step = 0; step <= frames; ++step) {
    const double k = kTo + static_cast<double>(frames - step);
    const Point p = ModelToScreen(x_.g, FleetModelPoint(s, x_.g, fleet, k, k));
    if (step == 0) {
      first = p;
    } else {
      x_.c.canvas->Line(last.x, last.y, p.x, p.y, colour, 1);
      // Every few frames a dot in the target owner's colour: where it is going.
      if (step % 8 == 0) x_.c.canvas->Line(p.x, p.y + 1, p.x + 1, p.y + 1, targetColour, 1);
    }
    last = p;
  }
  return first;
}

void GalaxyPainter::DrawGalaxy() {
  const GameState& s = x_.game.state;
  GalaxyCanvas& canvas = *x_.c.canvas;
  const Geometry& g = x_.g;
  canvas.Clear();
  x_.fleetsShown = false;
  HideFleetLabels();
  x_.c.txtOwned->show();
  x_.c.lstOwned->show();
  x_.c.lstTravel->show();
  radar_ = ScanRadar(s, g, x_.selection.from, x_.game.BusyFlag != 0);
  GalaxyCanvas::Batch batch(canvas);
  canvas.Rings(g);
  canvas.Sun(g);
  for (int i = 0; i < s.WorldCount; ++i) x_.c.lblName[i]->hide();
  DrawWorlds(true);
  LabelCounter = 0;
  const int me = s.CurrentPlayer + 1;
  const double aspect = g.scaleY / g.scaleX;
  if (x_.selection.Empty() && !x_.game.BusyFlag) {
    for (int f = 0; f < kFleets; ++f) {
      if (s.FleetFrom[f] == 0 || s.FleetOwner[f] != me) continue;
      const int t = s.FleetTo[f] - 1;
      const Point p = WorldPixel(t);
      const QColor mark = s.WorldOwner[t] != s.FleetOwner[f] ? QColor(255, 0, 0) : QColor(0, 255, 0);
      canvas.Circle(p.x, p.y, 3, mark);
      canvas.Circle(p.x, p.y, 2, kBlack);
      canvas.Circle(p.x, p.y, 1, mark);
    }
  }
  // The radar's range around a watched home: drawn once, however many
  // contacts it has (drawing it again would set the same pixels).
  std::array<bool, kSeats> ranged{};
  auto range = [&](int home) {
    if (ranged[home - kHomeRing]) return;
    ranged[home - kHomeRing] = true;
    const Point p = WorldPixel(home);
    canvas.Circle(p.x, p.y, 80 * g.scaleX, PlayerColour(me), 1, true, aspect);
  };
  for (const RadarContact& c : radar_.contacts) {
    if (c.fleet < 0) continue;
    const int f = c.fleet;
    range(c.home);
    const QColor colour = PlayerColour(s.FleetOwner[f]);
    const double k = FleetFrame(s, f);
    const Point now = FleetModelPointNow(s, g, f);
    Point last = ModelToScreen(g, now);
    for (int j = 1; j <= 10; ++j) {
      const Point p = ModelToScreen(g, FleetModelPoint(s, g, f, k - 1.3 * j, k));
      canvas.Line(last.x, last.y, p.x, p.y, colour);
      last = p;
    }
    const Point px = ModelToScreen(g, now);
    DrawFleetMarker(px.x, px.y, s.FleetShips[f], colour);
    // Only a foreign fleet the radar found is labelled by its ships alone:
    // the player's own fleets keep their turns to arrival.
    if (s.FleetShips[f] > 0 && s.FleetShips[f] < kAnnihilationBomb) ShowLabels(f, now.x, now.y, true);
  }
  // Proximity bombs: one's own always, a foreign one only when the radar saw it.
  std::array<bool, kBombs> seen{};
  for (const RadarContact& c : radar_.contacts)
    if (c.bomb >= 0) {
      seen[c.bomb] = true;
      range(c.home);
    }
  for (int b = 0; b < kBombs; ++b) {
    const int owner = s.BombOwner[b];
    if (owner <= 0 || (owner != me && !seen[b])) continue;
    const int w = static_cast<int>(RoundHalfEvenClamped(s.BombWorld[b], 0, kWorlds - 1));
    int n = 0;
    for (int e = 0; e < b; ++e)
      if (s.BombOwner[e] == owner && RoundHalfEvenClamped(s.BombWorld[e], 0, kWorlds - 1) == w) ++n;
    static constexpr int kOffsets[4][2] = {{-20, 0}, {20, 0}, {0, 20}, {0, -20}};
    const double ox = n < 4 ? kOffsets[n][0] : 0, oy = n < 4 ? kOffsets[n][1] : 0;
    const Point p = WorldPixel(w);
    const QColor colour = PlayerColour(owner);
    canvas.Circle(p.x, p.y, 20 * g.scaleX, colour, 1, true, aspect);
    DrawBombMarker(p.x + ox * g.scaleX, p.y + oy * g.scaleY, colour);
  }
}

void GalaxyPainter::DrawPlain(bool currentWidth) {
  x_.c.canvas->Clear();
  GalaxyCanvas::Batch batch(*x_.c.canvas);
  x_.c.canvas->Rings(x_.g);
  x_.c.canvas->Sun(x_.g);
  DrawWorlds(currentWidth);
}

void GalaxyPainter::DrawFleetPositions(int which) {
  const GameState& s = x_.game.state;
  LabelCounter = 0;
  const int first = which < 0 ? 0 : which - 1, last = which < 0 ? kFleets - 1 : which - 1;
  const int me = s.CurrentPlayer + 1;
  GalaxyCanvas::Batch batch(*x_.c.canvas);
  for (int f = first; f <= last; ++f) {
    if (f < 0 || f >= kFleets || s.FleetFrom[f] == 0 || s.FleetOwner[f] != me) continue;
    const Point model = FleetModelPointNow(s, x_.g, f);
    const Point p = ModelToScreen(x_.g, model);
    const QColor colour = PlayerColour(me);
    x_.c.canvas->Circle(p.x, p.y, 4, colour, 1, false, 1, colour);
    ShowLabels(f, model.x, model.y);
    const double D = s.FleetDistance[f], R = s.FleetRemaining[f];
    DrawFleetPath(s, f, colour, PlayerColour(s.WorldOwner[s.FleetTo[f] - 1]), std::floor(D * 520),
                  std::floor((D - R) * 520));
    DrawFleetMarker(p.x, p.y, s.FleetShips[f], colour);
  }
}

void GalaxyPainter::DrawTrip(int from, int to, float distance, float course) {
  const GameState& s = x_.game.state;
  // The rule of a traveling fleet, for a fleet that has not left yet, drawn
  // through a scratch fleet slot of a copy of the state.
  GameState trial = s;
  const int slot = 0;
  trial.FleetFrom[slot] = static_cast<uint8_t>(from + 1);
  trial.FleetTo[slot] = static_cast<uint8_t>(to + 1);
  trial.FleetDistance[slot] = distance;
  trial.FleetRemaining[slot] = distance;
  trial.FleetCourse[slot] = course;
  const QColor mine = PlayerColour(s.CurrentPlayer + 1);
  GalaxyCanvas::Batch batch(*x_.c.canvas);
  const Point arrival = DrawFleetPath(trial, slot, mine, mine, std::floor(static_cast<double>(distance) * 520), 0);
  x_.c.canvas->Circle(arrival.x, arrival.y, 12, PlayerColour(s.WorldOwner[to]));
  x_.c.canvas->Circle(arrival.x, arrival.y, 4, mine, 1, false, 1, mine);
}

void GalaxyPainter::SelectionRing(int world, int radius) {
  const Point p = WorldPixel(world);
  x_.c.canvas->Circle(p.x, p.y, radius, PlayerColour(x_.game.state.WorldOwner[world]), 2);
}

void GalaxyPainter::SourceTowards(int world, int x, int y) {
  DrawPlain(true);
  const Point p = WorldPixel(world);
  const QColor colour = PlayerColour(x_.game.state.WorldOwner[world]);
  GalaxyCanvas& canvas = *x_.c.canvas;
  canvas.Circle(p.x, p.y, 12, colour, 2);
  if (world >= kHomeRing && world < kHomeRing + kSeats) {
    canvas.Circle(p.x, p.y, 14, Qt::white, 2);
    canvas.Circle(p.x, p.y, 17, colour, 2);
  }
  canvas.Line(p.x, p.y, x, y, colour);
}

void GalaxyPainter::HideWorldLabels() {
  for (QLabel* l : x_.c.lblName) l->hide();
}

void GalaxyPainter::HideFleetLabels() {
  for (QLabel* l : x_.c.lblShips) l->hide();
}

void GalaxyPainter::ShowWorldNames() {
  const GameState& s = x_.game.state;
  for (int i = 0; i < s.WorldCount; ++i) {
    QLabel* l = x_.c.lblName[i];
    const bool home = i >= kHomeRing && i < kHomeRing + kSeats && !s.PlayerName[i - kHomeRing].empty();
    QFont f("DejaVu Sans", 8, QFont::Bold);
    f.setItalic(home);
    l->setFont(f);
    l->setText(Q(s.WorldName[i]));
    PlaceWorldLabel(l, i);
  }
}

void GalaxyPainter::PlaceWorldLabel(QLabel* l, int world) {
  l->adjustSize();
  const Point p = WorldPixel(world);
  int x = RoundPixel(p.x - l->width() - 18);
  // A world near the left edge is named on its right, so no name is cut.
  if (x < 2) x = RoundPixel(p.x + 18);
  l->move(x, RoundPixel(p.y - 7));
  l->show();
  // The outer orbit passes behind the battle frames; the name stays readable
  // there, and still under the hand-over screen that hides the board.
  l->stackUnder(x_.c.handOver);
}

void GalaxyPainter::ShowTravelTurns(const std::vector<std::string>& turns) {
  const GameState& s = x_.game.state;
  for (int j = 0; j < s.WorldCount && j < static_cast<int>(turns.size()); ++j) {
    QLabel* l = x_.c.lblName[j];
    l->setFont(QFont("DejaVu Sans", 8, QFont::Bold));
    l->setText(Q(turns[j]));
    PlaceWorldLabel(l, j);
  }
}

void GalaxyPainter::ShowLabels(int fleet, double x, double y, bool radarOnly) {
  QLabel* l = x_.c.FleetLabel(LabelCounter);
  l->setText(Q(FleetLabelCaption(x_.game.state, fleet, radarOnly)));
  l->adjustSize();
  const Geometry& g = x_.g;
  const double px = g.centerX + (x - g.centerX) * g.scaleX;
  const double py = g.centerY + (y - g.centerY) * g.scaleY;
  const bool above = y > g.centerY;
  QRect place(RoundPixel(px - l->width() / 2.0),
              above ? RoundPixel(py - l->height() - 5) : RoundPixel(py + l->height() - 5), l->width(), l->height());
  // Fleets that left one world together would share a place: each further
  // label steps away from the fleet until it reads clear of the others.
  for (int tries = 0; tries < LabelCounter; ++tries) {
    bool clear = true;
    for (int k = 0; k < LabelCounter && clear; ++k) clear = !x_.c.lblShips[k]->geometry().intersects(place);
    if (clear) break;
    place.translate(0, above ? -l->height() : l->height());
  }
  l->move(place.topLeft());
  l->show();
  l->stackUnder(x_.c.handOver);
  ++LabelCounter;
}

// ---- The engine's animations and marks -------------------------------------------

void GalaxyPainter::Arrival(int world, int owner, float ships) {
  const Point p = WorldPixel(world);
  const QColor colour = PlayerColour(owner);
  for (int r = 14; r <= 20; r += 3) x_.c.canvas->Circle(p.x, p.y, r, colour, 1);
  QLabel* l = x_.c.FleetLabel(0);
  l->setText(ships >= kAnnihilationBomb ? QString("Bomb") : Q(StrTrim(ships)));
  l->adjustSize();
  l->move(RoundPixel(p.x - l->width() / 2.0), RoundPixel(p.y - 22 - l->height()));
  l->show();
  l->raise();
}

void GalaxyPainter::WorldRing(int world, int owner, int radius, bool growing) {
  const Point p = WorldPixel(world);
  x_.c.canvas->Circle(p.x, p.y, radius, PlayerColour(owner), 3);
  x_.c.canvas->Circle(p.x, p.y, growing ? radius - 2 : radius + 2, kBlack, 3);
}

void GalaxyPainter::WorldMark(Mark mark, int world, int owner, int count) {
  const QColor colour = PlayerColour(owner);
  GalaxyCanvas& canvas = *x_.c.canvas;
  const Geometry& g = x_.g;
  switch (mark) {
    case Mark::AttackMarkers: {
      const Point p = WorldPixel(world);
      for (int i = 0; i < count && i < 3; ++i) canvas.Circle(p.x - 16, p.y - 6 + 6 * i, 3, colour);
      break;
    }
    case Mark::BombCluster: {
      const Point p = WorldPixel(world);
      DrawBombMarker(p.x, p.y, colour);
      break;
    }
    case Mark::WonRing: {
      const Point p = WorldPixel(world);
      canvas.Circle(p.x, p.y, 15, colour, 3);
      break;
    }
    case Mark::ProximityRange: {
      const Point p = WorldPixel(world);
      const double rx = 20 * g.scaleX;
      canvas.Circle(p.x, p.y, rx, colour, 1, true, g.scaleY / g.scaleX);
      for (int i = 0; i < count && i < 4; ++i) canvas.Circle(p.x - rx, p.y - 9 + 6 * i, 3, colour);
      break;
    }
    case Mark::PulseMark: {
      // `world` is the fleet slot caught by the pulse.
      const int f = world;
      const GameState& s = x_.game.state;
      if (f < 0 || f >= kFleets || s.FleetFrom[f] == 0) break;
      const Point model = FleetModelPointNow(s, g, f);
      const Point p = ModelToScreen(g, model);
      DrawFleetMarker(p.x, p.y, count >= 4 ? kAnnihilationBomb : count == 3 ? 500.0f : count == 2 ? 100.0f : 1.0f, colour);
      if (s.FleetShips[f] >= 1 && s.FleetShips[f] <= kMaxFleetShips) ShowLabels(f, model.x, model.y);
      break;
    }
  }
}

void GalaxyPainter::StrengthBar(float attacker, float defender, int attackerOwner, int defenderOwner) {
  using namespace layout;
  GalaxyCanvas& canvas = *x_.c.canvas;
  const double a = attacker, d = defender, sum = a + d;
  const double split = sum > 0 ? kBarLeft + (kBarRight - kBarLeft) * a / sum : kBarLeft;
  canvas.FillBox(kBarLeft, kBarTop, RoundPixel(split), kBarBottom, PlayerColour(attackerOwner));
  const double from = sum > 0 ? kBarRight - (kBarRight - kBarLeft) * d / sum : kBarRight;
  canvas.FillBox(kBarRight, kBarTop, RoundPixel(from), kBarBottom, PlayerColour(defenderOwner));
  canvas.Line(split, kBarTop, split, kBarBottom, kBlack, 3);
  for (int i = 0; i <= 40; ++i) {
    const double x = kBarLeft + i * (kBarRight - kBarLeft) / 40.0;
    canvas.Line(x, kBarTop, x, kBarBottom, kBlack, 2);
  }
}

void GalaxyPainter::PulseRing(int world, int owner, int step) {
  const Point p = WorldPixel(world);
  x_.c.canvas->Circle(p.x, p.y, (20 + step) * x_.g.scaleX, PlayerColour(owner), 3, true, x_.g.scaleY / x_.g.scaleX);
  LabelCounter = 0;
}

}  // namespace valkoran::view
