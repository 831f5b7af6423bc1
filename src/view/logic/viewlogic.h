// What the main window computes that is not pixels: positions on the view,
// the hit test, the command menu, the texts of pop-ups and labels, the radar,
// game tips and the chat line. Pure C++: the Qt window places and paints it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/state.h"

namespace valkoran::view {

// ---- Geometry ---------------------------------------------------------------

struct Geometry {
  float centerX = 0, centerY = 0;  // ViewCenterX, ViewCenterY
  double scaleX = 0, scaleY = 0;   // ViewScaleX, ViewScaleY, derived from the centre
};
// The view of the layout table: centre (509, 206), scales 1018/460 and 0.824.
Geometry MainGeometry();

struct Point {
  double x = 0, y = 0;
};

// A float position to a pixel: nearest whole number, halves to even.
int RoundPixel(double v);

// Screen point of world i: centre + orbit*cos(angle)*scaleX, centre + orbit*sin(angle)*scaleY.
Point WorldPoint(const GameState& s, const Geometry& g, int world);

// A fleet's model point (orbit units around the sun's centre, not scaled):
// frame count `k` in the two angle terms, `kRadius` in the radius term.
// The current place is k = kRadius = (D - R) * 520 rounded half to even (a
// 16-bit count); the radar's track takes k - 1.3 j; the remaining path runs
// k = kRadius from Int(D * 520) down to Int((D - R) * 520).
Point FleetModelPoint(const GameState& s, const Geometry& g, int fleet, double k, double kRadius);
Point FleetModelPointNow(const GameState& s, const Geometry& g, int fleet);
// The current frame count k of a fleet: (D - R) * 520 rounded half to even.
double FleetFrame(const GameState& s, int fleet);
// A model point on the screen: centre + (x - centre) * scale.
Point ModelToScreen(const Geometry& g, Point model);

// ---- Pointer ----------------------------------------------------------------

// The world under the pointer: strictly within 10 pixels of its centre in
// both directions, lowest index first; -1 for none.
int WorldAt(const GameState& s, const Geometry& g, int x, int y);
// The sun: strictly within 25 pixels of the centre in both directions.
bool SunAt(const Geometry& g, int x, int y);
// The hover test of pointer moves: within a 20-pixel box of some world.
bool NearAWorld(const GameState& s, const Geometry& g, int x, int y);

// ---- Command menu -------------------------------------------------------------

struct CommandMenu {
  // Only mnuComSendPulse and mnuComSendProx: a second click on an armed-radar
  // home world that stores bombs.
  bool pulseOnly = false;
  std::string all, p75, p50, p25, p10, scout;  // captions of the dispatch items
  bool showAll = false, show75 = false, show50 = false, show25 = false, show10 = false;
  bool showLine9 = false, showScout = false, showLine2 = false;
  bool showLine7 = false, showBomb = false, showProx = false, showPulse = false;
};
// The menu for the pair (from, to), `pulseMenu` being the radar's flags of
// the home worlds 8..11. Which dispatch items show is decided by the
// engine's RefuseOrder, so the menu offers exactly what the rules allow.
CommandMenu BuildCommandMenu(const Game& game, int from, int to, const std::array<uint8_t, 4>& pulseMenu);

// The tooltip of a world under the pointer: its name and its owner (who
// owns a world is seen by everyone from its ring).
std::string WorldTooltip(const GameState& s, int world);

// What the hand-over screen says to the player whose turn starts:
// "Bob, your turn — Year 1.05, Turn #1".
std::string HandOverText(const GameState& s);
// Whether the turn of `seat` starting now is handed over from another human
// at this machine: a local game with two or more humans still in it.
bool HandOverDue(const Game& game, int seat);

// The second click's truce notice, when a running truce forbids the target.
std::optional<std::string> TruceNotice(const Game& game, int to);

// ---- Texts of the pointer's pop-ups --------------------------------------------

// lstInfo after a right click: what the current player knows of the world.
std::vector<std::string> WorldInfoLines(const GameState& s, int world);
// lblPlanet after a left click on a foreign or unowned world: the current
// player's fleets heading there, then the player's history of the world when
// it holds at least 2 characters. Lines are separated by CR LF.
std::string WorldPopupText(const GameState& s, int world);
// The quick help of a right click on empty space, one item per line.
std::vector<std::string> QuickHelpLines();
// The middle click's heading and one caption per world in play: the turn
// ends a fleet sent now from `from` would travel (DistCalc, which writes the
// game's calc values).
std::vector<std::string> TravelHeadingLines();
std::vector<std::string> TravelTurnCaptions(Game& game, int from);
// mnuComCalc's notice: CR LF + "    The Travel Distance Between Worlds is ..."
std::string TravelDistanceText(float distance);
// "    There Are Currently No Ships Or Bombs At This World!    "
std::string NoShipsText();

// ---- Labels ---------------------------------------------------------------------

// The caption of a fleet's label (ShowLabels step 3).
std::string FleetLabelCaption(const GameState& s, int fleet, bool radarAlert);

// ---- Radar ----------------------------------------------------------------------

struct RadarContact {
  int fleet = -1;  // fleet slot, or -1 for a proximity bomb
  int bomb = -1;   // bomb slot, or -1 for a fleet
  int home = 0;    // the watched home world, 8..11
};
struct RadarScan {
  int alerts = 0;                          // fleets found (bombs set the flags only)
  std::array<uint8_t, 4> pulseMenu{};      // PlayerPulseMenu
  std::vector<RadarContact> contacts;      // in drawing order: fleets by slot and home, then bombs
  bool alert() const { return !contacts.empty(); }
};
// Foreign fleets that have moved and foreign proximity bombs within 80 model
// units of a home world the current player holds, whose seat is human and in
// play. Nothing is scanned while a source world is selected or the game is busy.
RadarScan ScanRadar(const GameState& s, const Geometry& g, int selectedFrom, bool busy);
// The notice for n fleets: "" for none, the singular or the plural text.
std::string RadarNotice(int count);

// ---- Tips and chat -----------------------------------------------------------------

// A pointer move puts a tip in the notice line when draw `due` (0..1) gives
// the whole number 498 of 0..499; the tip's own draws pick its kind.
bool TipDue(double due);
std::string GameTip(const GameState& s, double kind, double leader);

// The chat text without "*": it ends network messages.
std::string WithoutStars(std::string text);
// The continuation pad of a sender's name: 14, 10, 6 or no blanks.
std::string ChatPad(const std::string& name);
// name + ": " + the message, broken at a blank once a line reaches 35
// characters; continuation lines begin with two tabs and the pad. Words are
// never cut and no line keeps a blank at either end; "" when the message
// holds nothing but blanks and stars (nothing to send).
std::string ChatLine(const std::string& name, const std::string& message);

}  // namespace valkoran::view
