// The main window's painter: everything drawn into the back buffer (orbits,
// sun, world sprites, rings, fleets, paths, marks, the strength bar) and the
// labels placed over the map. It draws what it is told; it decides nothing
// about the game.
#pragma once

#include <QColor>
#include <string>
#include <vector>

#include "view/galaxycontrols.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {

class GalaxyPainter {
 public:
  explicit GalaxyPainter(GalaxyContext& context) : x_(context) {}

  QColor PlayerColour(int owner) const;
  Point WorldPixel(int world) const;
  const RadarScan& radar() const { return radar_; }

  // The whole view into the back buffer, with the radar's tracks and labels
  // (the radar is scanned anew); no repaint.
  void DrawGalaxy();
  // Orbits, sun and worlds only; the current player's rings wide or not.
  void DrawPlain(bool currentWidth);
  // The current player's fleets with their paths and labels: slot + 1 for
  // one fleet, -1 for all.
  void DrawFleetPositions(int which);
  // The path a fleet leaving `from` for `to` now would take, with its
  // arrival marked.
  void DrawTrip(int from, int to, float distance, float course);

  // A chosen world's ring in its owner's colour, `radius` 12 or 14.
  void SelectionRing(int world, int radius);
  // The chosen source, home rings included, with a line to the pointer.
  void SourceTowards(int world, int x, int y);

  void ShowWorldNames();
  // The turns of a trip from the middle-clicked world, beside each world.
  void ShowTravelTurns(const std::vector<std::string>& turns);
  void HideWorldLabels();
  void HideFleetLabels();

  // The engine's animations and marks.
  void Arrival(int world, int owner, float ships);
  void WorldRing(int world, int owner, int radius, bool growing);
  void WorldMark(Mark mark, int world, int owner, int count);
  void StrengthBar(float attacker, float defender, int attackerOwner, int defenderOwner);
  void PulseRing(int world, int owner, int step);

 private:
  // Beside the world, inside the map, above the frames.
  void PlaceWorldLabel(QLabel* label, int world);
  void DrawWorlds(bool currentWidth);
  void DrawFleetMarker(double x, double y, float ships, QColor colour);
  void DrawBombMarker(double x, double y, QColor colour);
  // The path of a fleet from frame kFrom down to kTo; returns the point of
  // the farthest frame drawn.
  Point DrawFleetPath(const GameState& s, int fleet, QColor colour, QColor targetColour, double kFrom, double kTo);
  // A fleet's label at model point (x, y): its ships and turns to arrival,
  // or only its ships when `radarOnly`.
  void ShowLabels(int fleet, double x, double y, bool radarOnly = false);

  GalaxyContext& x_;
  RadarScan radar_;
  int LabelCounter = 0;
};

}  // namespace valkoran::view
