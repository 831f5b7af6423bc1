// Where things sit on the view and what the pointer finds there.
#include <gtest/gtest.h>

#include <cmath>

#include "game/slots.h"
#include "support/games.h"
#include "view/logic/viewlogic.h"

namespace valkoran::view {
namespace {

// Three worlds: 0 and 1 on the sun's centre (orbit 0), 2 to the right of it.
GameState ThreeWorlds() {
  GameState s;
  s.WorldCount = 3;
  s.WorldOrbit[2] = 130;
  return s;
}

TEST(ViewGeometry, ScalesComeFromTheCentreAndPixelsRoundHalfToEven) {
  const Geometry g = MainGeometry();
  EXPECT_EQ(g.centerX, 509.0f);
  EXPECT_EQ(g.centerY, 206.0f);
  EXPECT_DOUBLE_EQ(g.scaleX, 1018.0 / 460);
  EXPECT_DOUBLE_EQ(g.scaleY, 0.824);

  EXPECT_EQ(RoundPixel(2.5), 2);
  EXPECT_EQ(RoundPixel(3.5), 4);
  EXPECT_EQ(RoundPixel(-0.5), 0);
  EXPECT_EQ(RoundPixel(796.6956), 797);

  // A home-ring world straight below the sun; a model point above and right of it.
  GameState s = ThreeWorlds();
  s.WorldAngle[2] = static_cast<float>(3.141592 / 2);
  const Point p = WorldPoint(s, g, 2);
  EXPECT_NEAR(p.x, 509, 1e-3);
  EXPECT_NEAR(p.y, 206 + 130 * 0.824, 1e-9);
  const Point m = ModelToScreen(g, {509 + 100.0, 206 - 50.0});
  EXPECT_NEAR(m.x, 509 + 100 * 1018.0 / 460, 1e-9);
  EXPECT_NEAR(m.y, 206 - 50 * 0.824, 1e-9);
}

TEST(ViewPointer, HitTestIsStrictAndLowerIndexWins) {
  const Geometry g = MainGeometry();
  GameState s = ThreeWorlds();
  // Worlds 0 and 1 share the centre (509, 206): the lower index is found.
  EXPECT_EQ(WorldAt(s, g, 509, 206), 0);
  EXPECT_EQ(WorldAt(s, g, 518, 206), 0);
  EXPECT_EQ(WorldAt(s, g, 519, 206), -1);  // exactly 10 px right misses
  EXPECT_EQ(WorldAt(s, g, 500, 206), 0);
  EXPECT_EQ(WorldAt(s, g, 499, 206), -1);
  EXPECT_EQ(WorldAt(s, g, 509, 215), 0);
  EXPECT_EQ(WorldAt(s, g, 509, 216), -1);
  EXPECT_EQ(WorldAt(s, g, 509, 197), 0);
  EXPECT_EQ(WorldAt(s, g, 509, 196), -1);
  EXPECT_EQ(WorldAt(s, g, 518, 215), 0);  // the box, not a circle
  s.WorldOrbit[0] = 210;
  EXPECT_EQ(WorldAt(s, g, 509, 206), 1);

  // World 2's centre is at x = 796.69...: the box runs from 786.69 to 806.69.
  EXPECT_EQ(WorldAt(s, g, 786, 206), -1);
  EXPECT_EQ(WorldAt(s, g, 787, 206), 2);
  EXPECT_EQ(WorldAt(s, g, 806, 206), 2);
  EXPECT_EQ(WorldAt(s, g, 807, 206), -1);

  // Worlds beyond the world count are not there.
  s.WorldCount = 2;
  EXPECT_EQ(WorldAt(s, g, 796, 206), -1);
}

TEST(ViewPointer, SunBoxAndHoverBox) {
  const Geometry g = MainGeometry();
  EXPECT_TRUE(SunAt(g, 509, 206));
  EXPECT_TRUE(SunAt(g, 485, 230));
  EXPECT_TRUE(SunAt(g, 533, 182));
  EXPECT_FALSE(SunAt(g, 484, 206));
  EXPECT_FALSE(SunAt(g, 534, 206));
  EXPECT_FALSE(SunAt(g, 509, 181));
  EXPECT_FALSE(SunAt(g, 509, 231));

  const GameState s = ThreeWorlds();
  EXPECT_TRUE(NearAWorld(s, g, 528, 225));
  EXPECT_FALSE(NearAWorld(s, g, 529, 206));
  EXPECT_FALSE(NearAWorld(s, g, 509, 226));
  EXPECT_TRUE(NearAWorld(s, g, 777, 190));  // world 2, 19.7 px to its left
  EXPECT_FALSE(NearAWorld(s, g, 650, 206));
}

// A fleet's drawn place follows the trip the engine planned: it leaves from
// its source and is at the target when its remaining distance runs out.
TEST(ViewFleetPosition, StartsAtTheSourceAndEndsAtTheTarget) {
  const Geometry g = MainGeometry();
  for (bool fuel : {false, true}) {
    SCOPED_TRACE(fuel ? "with fuel" : "without fuel");
    Game game = test::Made({"Ann", "Bob", "", ""}, 16);
    GameState& s = game.state;
    const int from = 8, to = 13;
    s.WorldShips[from] = 40;
    if (fuel) s.WorldTreasure[from] = kDoubleFuel;
    game.SelectedFrom = from;
    game.SelectedTo = to;
    game.Sendships(50);
    ASSERT_TRUE(FleetInFlight(s, 0));
    ASSERT_EQ(s.FleetTo[0], to + 1);
    ASSERT_NE(s.FleetCourse[0], 0);

    auto model = [&](int w) {
      return Point{g.centerX + s.WorldOrbit[w] * std::cos(static_cast<double>(s.WorldAngle[w])),
                   g.centerY + s.WorldOrbit[w] * std::sin(static_cast<double>(s.WorldAngle[w]))};
    };
    auto gap = [](Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); };

    EXPECT_LT(gap(FleetModelPointNow(s, g, 0), model(from)), 1e-3);

    // Turn the worlds on by the whole trip and let it arrive.
    const double steps = static_cast<double>(s.FleetDistance[0]) * 520;
    for (int w = 0; w < s.WorldCount; ++w) s.WorldAngle[w] = Sng(s.WorldAngle[w] + s.WorldSpin[w] * steps);
    s.FleetRemaining[0] = 0;
    const Point end = FleetModelPointNow(s, g, 0);
    EXPECT_LT(gap(end, model(to)), 4.0);
    EXPECT_GT(gap(end, model(from)), 20.0);
  }
}

}  // namespace
}  // namespace valkoran::view
