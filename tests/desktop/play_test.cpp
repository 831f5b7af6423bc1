// The desktop game as a person plays it: quick taps with the click cues
// taking their time, double clicks, letting a choice go, leaving at any
// moment.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>

#include "game/newgame.h"
#include "game/numbers.h"
#include "store/savefile.h"

#include "desktop/drive.h"
#include "view/cues.h"
#include "view/galaxycanvas.h"
#include "view/galaxypresenter.h"
#include "view/proximitywindow.h"

using namespace valkoran;
using namespace valkoran::test;
using view::GalaxyWindow;
using view::ImageButton;

namespace {

// Plays every cue as long as a short clip lasts, waiting the way the
// program's own player does (painting on, input held).
class TimedCues : public view::CuePlayer {
 public:
  explicit TimedCues(GalaxyWindow* g) : g_(g) { view::SetCuePlayer(this); }
  ~TimedCues() override { view::SetCuePlayer(nullptr); }
  void Play(const std::string&) override { g_->Pause(60); }

 private:
  GalaxyWindow* g_;
};

// The game set up in the setup window on twelve worlds, its waits scaled.
GalaxyWindow* Started(app::Application& app, const QStringList& names, double pauseScale) {
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = pauseScale;
  StartGame(app, names, 12);
  return g;
}

// Bob's fleet has just left from beside Ann's home (world 8) for world 9:
// her radar rings.
void BobsFleetBesideAnnsHome(GameState& s) {
  s.FleetFrom[0] = 9, s.FleetTo[0] = 10, s.FleetOwner[0] = 2, s.FleetShips[0] = 5;
  s.FleetDistance[0] = 0.5f, s.FleetRemaining[0] = 0.45f;
}

// The current player gives `from` two bombs and chooses a proximity bomb
// from it to a world nobody owns: the threshold window opens.
void OpenProximityWindow(app::Application& app, int from) {
  GalaxyWindow* g = app.galaxyWindow();
  Game& game = app.game();
  game.state.WorldBombs[from] = 2;
  int target = 0;
  while (game.state.WorldOwner[target] != 0) ++target;
  QTest::mouseClick(g->canvas(), Qt::LeftButton, {}, At(app, from));
  QTest::mouseClick(g->canvas(), Qt::LeftButton, {}, At(app, target));
  auto* menu = Child<QMenu>(g, "mnuCommand");
  QTRY_VERIFY(menu->isVisible());
  Child<QAction>(g, "mnuComSendProx")->trigger();
  menu->hide();
}

}  // namespace

class PlayTest : public QObject {
  Q_OBJECT
 private slots:
  void QuickClicksOnButtonsCount();
  void DoubleClickOnAWorldWithoutShipsEndsTheTurn();
  void AChosenSourceCanBeLetGo();
  void QuitWorksWhileComputersPlay();
  void HandOverHidesOnePlayersPlansFromTheNext();
  void NothingOfATurnOutlivesIt();
  void TheWindowAndItsPanelsStayWhole();
  void ASavedGameOpensTheSameUnderACommaLocale();
  void APulseBombShowsAtOnceAndOnlyOnce();
  void TheRadarsAlertOpensTheTurn();
  void SeatsZeroAndThreeKeepTheirPanelsToThemselves();
};

void PlayTest::QuickClicksOnButtonsCount() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 1);
  TimedCues cues(g);
  Game& game = app.game();
  auto* done = Child<ImageButton>(g, "ImgDone");
  QuickClick(done);
  QTRY_COMPARE(game.state.CurrentPlayer, int16_t(1));
  QVERIFY(done->pixmap().isNull());  // drawn released again
  QuickClick(Child<QWidget>(g, "fraHandOver"));  // Bob takes the machine

  // The proximity window's Set, tapped as quickly.
  view::ProximityWindow* window = g->proximityWindow();
  OpenProximityWindow(app, 9);
  QVERIFY(window->isVisible());
  QuickClick(Child<ImageButton>(window, "ImgSet"));
  QTRY_VERIFY(!window->isVisible());
  int bombs = 0;
  for (int f = 0; f < kFleets; ++f) bombs += game.state.FleetFrom[f] != 0 && game.state.FleetShips[f] > 10000;
  QCOMPARE(bombs, 1);
  QCOMPARE(game.state.WorldBombs[9], int16_t(1));
}

void PlayTest::DoubleClickOnAWorldWithoutShipsEndsTheTurn() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 1);
  TimedCues cues(g);
  Game& game = app.game();
  game.state.WorldShips[8] = 0, game.state.WorldBombs[8] = 0;
  DoubleClick(g->canvas(), At(app, 8));
  QTRY_COMPARE(game.state.CurrentPlayer, int16_t(1));
}

void PlayTest::AChosenSourceCanBeLetGo() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 0);
  auto* canvas = g->canvas();
  auto* menu = Child<QMenu>(g, "mnuCommand");
  // A click on empty space lets the source go: the next click on a world
  // chooses anew instead of opening the menu.
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
  QCOMPARE(g->selection().from, 8);
  QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(g->selection().from, -1);
  QTest::mouseClick(canvas, Qt::RightButton, {}, At(app, 9));
  QVERIFY(!menu->isVisible());
  // Escape does the same.
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
  QCOMPARE(g->selection().from, 8);
  QTest::keyClick(g, Qt::Key_Escape);
  QCOMPARE(g->selection().from, -1);
  // After the travel distance, the order is over.
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 9));
  QTRY_VERIFY(menu->isVisible());
  Child<QAction>(g, "mnuComCalc")->trigger();
  menu->hide();
  QCOMPARE(g->selection().from, -1);
  QTest::mouseClick(canvas, Qt::RightButton, {}, At(app, 4));
  QVERIFY(!menu->isVisible());
}

void PlayTest::QuitWorksWhileComputersPlay() {
  app::Application app(9);
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0.05;
  int quits = 0;
  g->quit = [&] { ++quits; };
  bool asked = false;
  g->askYesNo = [&](const QString&, const QString& text) {
    asked = text == "Are You Sure You Want To Quit?";
    return true;
  };
  // Ann is out at once: only computers move from then on.
  StartGame(app, {"Ann", "computer", "computer"}, 12);
  Game& game = app.game();
  game.state.WorldOwner[8] = 2;
  bool exitOffered = false, quitClicked = false;
  WhileRunning(
      [&] {
        Click(Child<ImageButton>(g, "ImgDone"));
        // The computers go on playing from the event loop.
        for (int i = 0; i < 1000 && !quitClicked; ++i) QTest::qWait(5);
      },
               [&] {
                 // Once the turn is processed, with the menus off.
                 if (Child<QMenu>(g, "mnuInfo")->isEnabled() || quitClicked) return;
                 exitOffered =
                     Child<QMenu>(g, "mnuFile")->isEnabled() && Child<QAction>(g, "mnuFileExit")->isEnabled();
                 quitClicked = true;
                 QuickClick(Child<ImageButton>(g, "ImgQuit"));
                 Child<QAction>(g, "mnuFileExit")->trigger();
               });
  QVERIFY(quitClicked);
  QVERIFY(asked);
  QVERIFY(exitOffered);
  QCOMPARE(quits, 2);
}

void PlayTest::HandOverHidesOnePlayersPlansFromTheNext() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 0);
  Game& game = app.game();
  auto* cover = Child<QWidget>(g, "fraHandOver");
  auto* canvas = g->canvas();
  auto* menu = Child<QMenu>(g, "mnuCommand");
  auto* popup = Child<QLabel>(g, "lblPlanet");
  auto* info = Child<QListWidget>(g, "lstInfo");
  QVERIFY(!cover->isVisible());  // Ann set the game up herself
  // Ann's plans: an order, her fleets heading for a world, a world's panel.
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 4));
  QTRY_VERIFY(menu->isVisible());
  auto* half = Child<QAction>(g, "mnuComSend50");
  QVERIFY(view::PlainCaption(half).startsWith("Send 5 Ships From World"));
  half->trigger();
  menu->hide();
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 4));
  QVERIFY(popup->isVisible());
  QVERIFY(popup->text().contains(" 5 Ships With 0% Shield From World "));
  QTest::mouseClick(canvas, Qt::RightButton, {}, At(app, 4));
  QVERIFY(info->isVisible());

  Click(Child<ImageButton>(g, "ImgDone"));
  QCOMPARE(game.state.CurrentPlayer, int16_t(1));
  QVERIFY(cover->isVisible());
  QCOMPARE(Child<QLabel>(cover, "lblHandOver")->text(),
           QString::fromUtf8("Bob, your turn \u2014 Year 1.00, Turn #0"));
  QVERIFY(!popup->isVisible());
  QVERIFY(!info->isVisible());
  QCOMPARE(view::PlainCaption(half), QString("Send 50% of Ships Between Worlds"));
  QCOMPARE(g->selection().from, -1);
  // The screen lies over the view and every panel and button.
  QCOMPARE(cover->geometry(), canvas->rect());
  for (const char* name : {"lstOwned", "lstTravel", "txtMove", "txtOwned", "txtGame", "ImgDone", "txtChat"}) {
    auto* w = Child<QWidget>(g, name);
    QWidget* top = canvas->childAt(w->geometry().center());
    QVERIFY2(top == cover || cover->isAncestorOf(top), name);
  }
  // Bob's clock starts when he is there.
  QVERIFY(!Child<QTimer>(g, "tmrTurn")->isActive());
  QTest::keyClick(Child<QLineEdit>(g, "txtMessage"), Qt::Key_A);
  QVERIFY(!cover->isVisible());
  QVERIFY(Child<QLineEdit>(g, "txtMessage")->text().isEmpty());  // the key only took the screen away
  QVERIFY(Child<QTimer>(g, "tmrTurn")->isActive());
  QVERIFY(Child<QListWidget>(g, "lstOwned")->item(0)->text().contains("Evros"));

  // Bob ends his turn; the turn is processed and Ann's comes. The screen
  // is up from the moment the turn end is over, before her panel and log.
  Click(Child<ImageButton>(g, "ImgDone"));
  // A double click on her screen takes it away and no more: her turn stays hers.
  QCOMPARE(game.state.CurrentPlayer, int16_t(0));
  QVERIFY(cover->isVisible());
  // The first press lands on the screen, the second (the double click) on
  // the map that is uncovered by then.
  const QPoint middle = cover->rect().center();
  QTimer::singleShot(80, canvas, [canvas, middle] {
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(middle), canvas->mapToGlobal(QPointF(middle)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &dbl);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, middle);
  });
  QTest::mousePress(cover, Qt::LeftButton, {}, middle);
  QTest::mouseRelease(cover, Qt::LeftButton, {}, middle);
  QTest::qWait(120);
  QVERIFY(!cover->isVisible());
  QCOMPARE(game.state.CurrentPlayer, int16_t(0));
  QCOMPARE(CurrentTurn(game.state), 1);
  // A click on the screen while the engine still works (the truce's word at
  // the start of a turn) takes it away as soon as the engine is done, never
  // before: the board the player then sees takes clicks.
  game.state.TruceTurn = 10;
  g->pauseScale = 0.2;
  bool clickedWhileBusy = false;
  WhileRunning([&] { Click(Child<ImageButton>(g, "ImgDone")); },
               [&] {
                 if (clickedWhileBusy || !cover->isVisible() || !g->Busy()) return;
                 clickedWhileBusy = true;
                 QTest::mouseClick(cover, Qt::LeftButton);
                 QVERIFY(cover->isVisible());
                 QVERIFY(Child<QLabel>(cover, "lblHandOverHint")->text().startsWith("One moment"));
               });
  QVERIFY(clickedWhileBusy);
  QVERIFY(!cover->isVisible());
  QCOMPARE(game.state.CurrentPlayer, int16_t(1));
  g->pauseScale = 0;

  // The turn end's last word raises the screen for whoever moves first.
  Click(Child<ImageButton>(g, "ImgDone"));
  Click(cover);
  QCOMPARE(game.state.CurrentPlayer, int16_t(0));
  g->presenter().TurnEndOver();
  QVERIFY(cover->isVisible());
  QCOMPARE(Child<QLabel>(cover, "lblHandOver")->text().left(15), QString("Ann, your turn "));
  Click(cover);

  // Switched off, the next player's turn opens at once.
  Child<QAction>(g, "mnuOptionsHandOver")->trigger();
  Click(Child<ImageButton>(g, "ImgDone"));
  QCOMPARE(game.state.CurrentPlayer, int16_t(1));
  QVERIFY(!cover->isVisible());
}

void PlayTest::NothingOfATurnOutlivesIt() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 0);
  Game& game = app.game();
  view::ProximityWindow* window = g->proximityWindow();
  auto openProximity = [&](int from) {
    OpenProximityWindow(app, from);
    QVERIFY(window->isVisible());
  };
  // Ann leaves the threshold window open and hands over: it closes, and Bob
  // cannot set her bomb.
  openProximity(8);
  Click(Child<ImageButton>(g, "ImgDone"));
  QVERIFY(!window->isVisible());
  Click(Child<QWidget>(g, "fraHandOver"));
  // Bob leaves it open as the turn ends in a Speed Game (no rotation frames).
  Child<QAction>(g, "mnuOptionsSpeed")->trigger();
  openProximity(9);
  Click(Child<ImageButton>(g, "ImgDone"));
  QCOMPARE(game.state.CurrentPlayer, int16_t(0));
  QVERIFY(!window->isVisible());
  for (int f = 0; f < kFleets; ++f) QVERIFY(game.state.FleetFrom[f] == 0 || game.state.FleetShips[f] < 10000);

  // An arrival's ship count goes with the next plain redraw.
  g->presenter().Arrival(8, 1, 12);
  QVERIFY(Child<QLabel>(g, "lblShips0")->isVisible());
  g->presenter().CleanGalaxy();
  QVERIFY(!Child<QLabel>(g, "lblShips0")->isVisible());
}

void PlayTest::TheWindowAndItsPanelsStayWhole() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann"}, 0);
  Game& game = app.game();
  // The window opens at its layout and does not shrink below it.
  const QSize layout = g->minimumSize();
  QVERIFY(layout.width() >= 1018);
  QVERIFY(layout.height() >= 693);
  QCOMPARE(g->size(), layout);
  g->resize(900, 600);
  QVERIFY(g->width() >= layout.width());
  QVERIFY(g->height() >= layout.height());
  // Made larger (maximised), it shows the board whole in its middle.
  g->resize(layout + QSize(200, 100));
  QTRY_COMPARE(g->size(), layout + QSize(200, 100));
  QCOMPARE(g->canvas()->size(), QSize(1018, 693));
  const QPoint corner = g->canvas()->mapTo(g, QPoint(0, 0));
  QCOMPARE(corner.x(), 100);
  QVERIFY2(std::abs(corner.y() - g->menuBar()->height() - 50) <= 1, qPrintable(QString::number(corner.y())));
  g->resize(layout);

  // An enlarged message box gives the notice line back when the turn's
  // notices come.
  auto* box = Child<QWidget>(g, "txtMove");
  auto* notice = Child<QLabel>(g, "txtGame");
  QTest::mouseClick(Child<QPlainTextEdit>(g, "txtMove")->viewport(), Qt::LeftButton);
  QVERIFY(!notice->isVisible());
  Click(Child<ImageButton>(g, "ImgDone"));
  QVERIFY(notice->isVisible());
  QVERIFY(box->height() < 30);
  // Long notices are shown whole: on one line in a smaller face, or, with
  // long names, on two.
  auto shownWhole = [&] {
    const QRect room = notice->contentsRect();
    const QFontMetrics m(notice->font());
    if (!notice->wordWrap()) return m.horizontalAdvance(notice->text()) <= room.width();
    const QRect needed = m.boundingRect(QRect(0, 0, room.width(), 1000), Qt::TextWordWrap, notice->text());
    return needed.height() <= room.height() && needed.width() <= room.width();
  };
  g->presenter().Notice("Battle Alert: 9998 Ships from Annabelle Attacking 9998 Ships on World Ultramarina");
  QVERIFY(shownWhole());
  QVERIFY(!notice->wordWrap());
  const std::string name(40, 'W');
  g->presenter().Notice(name + " Has Taken Over The Entire Solar System With An Rating Of 1234.5");
  QVERIFY(shownWhole());
  Shot(g, "two-line-notice");

  // The world panel stays while the pointer goes to it, and shows the shield
  // switched from the world list.
  auto* canvas = g->canvas();
  auto* info = Child<QListWidget>(g, "lstInfo");
  const QPoint home = At(app, 8);
  QTest::mouseClick(canvas, Qt::RightButton, {}, home);
  QVERIFY(info->isVisible());
  // Right, then down onto the panel: out of the world's box before the
  // pointer reaches the panel.
  for (const QPoint step : {QPoint(12, 2), QPoint(24, 4), QPoint(36, 6), QPoint(40, 10)}) {
    QTest::mouseMove(canvas, home + step);
    QVERIFY2(info->isVisible(), qPrintable(QString("at +%1,+%2").arg(step.x()).arg(step.y())));
  }
  auto shieldLine = [&] {
    for (int r = 0; r < info->count(); ++r)
      if (info->item(r)->text().startsWith(" Shield: ")) return info->item(r)->text();
    return QString();
  };
  const bool on = game.state.WorldShieldOn[8] != 0;
  auto* owned = Child<QListWidget>(g, "lstOwned");
  DoubleClick(owned->viewport(), owned->visualItemRect(owned->item(0)).center(), 50);
  QCOMPARE(game.state.WorldShieldOn[8] != 0, !on);
  QCOMPARE(shieldLine(), QString(on ? " Shield: Off" : " Shield: On"));

  // The command menu for a world at the window's right edge opens over the
  // window, not past it.
  GameState& s = game.state;
  {
    int outer = 0;
    for (int w = 1; w < s.WorldCount; ++w)
      if (s.WorldOwner[w] == 0 && s.WorldOrbit[w] > s.WorldOrbit[outer]) outer = w;
    s.WorldAngle[outer] = 0;  // rightmost on its orbit
    auto* menu = Child<QMenu>(g, "mnuCommand");
    QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, outer));
    QTRY_VERIFY(menu->isVisible());
    const QRect window(canvas->mapToGlobal(QPoint(0, 0)), canvas->size());
    QVERIFY2(window.contains(menu->geometry()), qPrintable(QString("menu right %1, window right %2")
                                                                .arg(menu->geometry().right())
                                                                .arg(window.right())));
    menu->hide();
    Click(Child<ImageButton>(g, "ImgLabels"));  // lets the chosen worlds go
    Click(Child<ImageButton>(g, "ImgLabels"));
  }

  // A fleet bound for a year beyond reckoning: its path is drawn, and the
  // window goes on.
  s.FleetFrom[0] = 9, s.FleetTo[0] = 1, s.FleetOwner[0] = 1, s.FleetShips[0] = 5;
  s.FleetDistance[0] = s.FleetRemaining[0] = 1e30f;
  s.FleetFrom[1] = 9, s.FleetTo[1] = 2, s.FleetOwner[1] = 1, s.FleetShips[1] = 5;
  s.FleetDistance[1] = s.FleetRemaining[1] = 10000;
  Click(Child<ImageButton>(g, "ImgTravel"));
  QVERIFY(Child<QLabel>(g, "lblShips0")->isVisible());
  // Both left the same world: their labels are drawn clear of each other.
  QVERIFY(Child<QLabel>(g, "lblShips1")->isVisible());
  QVERIFY(!Child<QLabel>(g, "lblShips0")->geometry().intersects(Child<QLabel>(g, "lblShips1")->geometry()));
}

void PlayTest::ASavedGameOpensTheSameUnderACommaLocale() {
  // The test runs with LC_ALL=de_DE.UTF-8, whose decimal point is a comma.
  if (std::string(std::localeconv()->decimal_point) != ",")
    QSKIP("the de_DE.UTF-8 locale is not installed (scripts/deps.sh makes it)");
  QTemporaryDir dir;
  const std::string path = (dir.path() + "/comma.gam").toStdString();
  Game made(21);
  NewGame(made, {.names = {"Ann", "Bob", "", ""}, .worlds = 14});
  made.state.GameYear = 1.35f;
  QVERIFY(!SaveGame(path, made.state));
  app::Application app(2);
  app.galaxyWindow()->pauseScale = 0;
  QVERIFY(app.StartWithGame(path));
  const GameState& s = app.game().state;
  QCOMPARE(s.GameYear, 1.35f);
  QCOMPARE(s.WorldAngle, made.state.WorldAngle);
  QCOMPARE(s.WorldSpin, made.state.WorldSpin);
  QCOMPARE(app.galaxyWindow()->windowTitle(), QString("Valkoran - Year 1.35, Turn #7:  Ann"));
}

void PlayTest::APulseBombShowsAtOnceAndOnlyOnce() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 0);
  GameState& s = app.game().state;
  BobsFleetBesideAnnsHome(s);
  g->GalaxyDraw();
  QCOMPARE(g->radar().pulseMenu[0], uint8_t(1));
  auto* owned = Child<QListWidget>(g, "lstOwned");
  auto* menu = Child<QMenu>(g, "mnuCommand");
  auto* pulse = Child<QAction>(g, "mnuComSendPulse");
  QVERIFY(owned->item(0)->text().endsWith("BBB"));
  QTest::mouseClick(g->canvas(), Qt::LeftButton, {}, At(app, 8));
  QTest::mouseClick(g->canvas(), Qt::LeftButton, {}, At(app, 8));
  QTRY_VERIFY(menu->isVisible());
  QVERIFY(pulse->isVisible());
  pulse->trigger();
  menu->hide();
  QCOMPARE(s.WorldTreasure[8], uint8_t(kPulseArmed));
  QVERIFY2(owned->item(0)->text().endsWith(" BB"), qPrintable(owned->item(0)->text()));
  QCOMPARE(Child<QLabel>(g, "LblBomb")->text(), QString("2"));
  // Armed once: the second click offers no second pulse bomb.
  QTest::mouseClick(g->canvas(), Qt::LeftButton, {}, At(app, 8));
  QTest::mouseClick(g->canvas(), Qt::LeftButton, {}, At(app, 8));
  QTRY_VERIFY(menu->isVisible());
  QVERIFY(!pulse->isVisible());
  menu->hide();
  QCOMPARE(s.WorldBombs[8], int16_t(2));
}

void PlayTest::TheRadarsAlertOpensTheTurn() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "Bob"}, 0);
  GameState& s = app.game().state;
  BobsFleetBesideAnnsHome(s);
  // At the start of Ann's next turn the radar's alert is on the notice line
  // with its ring, not only after a later redraw.
  Click(Child<ImageButton>(g, "ImgDone"));
  Click(Child<QWidget>(g, "fraHandOver"));
  Click(Child<ImageButton>(g, "ImgDone"));
  Click(Child<QWidget>(g, "fraHandOver"));
  QCOMPARE(s.CurrentPlayer, int16_t(0));
  QVERIFY(g->radar().alerts > 0);
  QCOMPARE(Child<QLabel>(g, "txtGame")->text(),
           QString::fromStdString(view::RadarNotice(g->radar().alerts)));
}

void PlayTest::SeatsZeroAndThreeKeepTheirPanelsToThemselves() {
  app::Application app(4);
  GalaxyWindow* g = Started(app, {"Ann", "", "", "Dee"}, 0.02);
  Game& game = app.game();
  auto* cover = Child<QWidget>(g, "fraHandOver");
  auto* owned = Child<QListWidget>(g, "lstOwned");
  Click(Child<ImageButton>(g, "ImgDone"));
  QCOMPARE(game.state.CurrentPlayer, int16_t(3));  // the empty seats are passed over
  QVERIFY(cover->isVisible());
  Click(cover);
  // While the turn is processed (the menus off) with a battle at Ann's
  // home, both watching, no world list is on show, as with seat 1 taken.
  GameState& s = game.state;
  s.FleetFrom[0] = 12, s.FleetTo[0] = 9, s.FleetOwner[0] = 4, s.FleetShips[0] = 5, s.FleetClass[0] = 1;
  s.FleetDistance[0] = 0.5f, s.FleetRemaining[0] = 0.01f;
  auto* info = Child<QMenu>(g, "mnuInfo");
  int processing = 0, shown = 0;
  WhileRunning([&] { Click(Child<ImageButton>(g, "ImgDone")); },
               [&] {
                 if (info->isEnabled()) return;
                 ++processing;
                 shown += owned->isVisible() && !cover->isVisible();
               });
  QVERIFY(processing > 0);
  QCOMPARE(shown, 0);
  QCOMPARE(game.state.CurrentPlayer, int16_t(0));
  QVERIFY(cover->isVisible());

  // The same game saved and opened again: both play on.
  QTemporaryDir dir;
  const std::string path = (dir.path() + "/gap.gam").toStdString();
  QVERIFY(!SaveGame(path, game.state));
  app::Application again(5);
  again.galaxyWindow()->pauseScale = 0;
  QVERIFY(again.StartWithGame(path));
  Click(Child<ImageButton>(again.galaxyWindow(), "ImgDone"));
  QCOMPARE(again.game().state.CurrentPlayer, int16_t(3));
  QCOMPARE(Child<QLabel>(again.galaxyWindow(), "lblHandOver")->text().left(15), QString("Dee, your turn "));
}

int main(int argc, char** argv) {
  PrepareScreen();
  QApplication qt(argc, argv);
  PlayTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "play_test.moc"
