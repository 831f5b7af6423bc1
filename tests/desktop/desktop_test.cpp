// The desktop game driven through its windows' own events, headless.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "app/application.h"
#include "app/setupwindow.h"
#include "game/newgame.h"
#include "game/numbers.h"
#include "store/savefile.h"
#include "view/assets.h"
#include "view/galaxycanvas.h"
#include "view/galaxypainter.h"
#include "view/galaxypresenter.h"
#include "view/galaxywindow.h"
#include "view/imagebutton.h"
#include "view/logic/viewlogic.h"
#include "view/proximitywindow.h"

#include "desktop/drive.h"

using namespace valkoran;
using namespace valkoran::test;
using view::GalaxyWindow;
using view::ImageButton;


class DesktopTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void NarrowScreenEndsTheProgram();
  void SetupToConquestAndBack();
  void InputWaitsWhileTheEngineWorks();
  void BackBufferPixels();
  void ChatLineFiltersAndWaits();
  void TruceAndProximityRefusals();
  void OpensASavedGameFromTheCommandLine();

 private:
  bool narrow_ = false;
};

void DesktopTest::init() {
  const char* screen = std::getenv("VALKORAN_TEST_SCREEN");
  narrow_ = screen && QString(screen).startsWith("800");
  if (narrow_ && QString(QTest::currentTestFunction()) != "NarrowScreenEndsTheProgram")
    QSKIP("runs on the narrow screen only");
}

void DesktopTest::NarrowScreenEndsTheProgram() {
  if (!narrow_) QSKIP("needs the narrow screen");
  Game game(1);
  GalaxyWindow g(game);
  QString shown;
  g.showMessage = [&](const QString&, const QString& text) { shown = text; };
  QVERIFY(!g.FormSetup());
  QCOMPARE(shown, QString("Please Run At 1024 x 768 Or Higher Screen Resolution!\nRight-Click On Desktop, Then "
                          "Select Properties, Then Settings"));
}

void DesktopTest::SetupToConquestAndBack() {
  app::Application app(11);
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0;
  StartGame(app, {"Ann", "computer", "computer"}, 12);
  QVERIFY(g->isVisible());
  QVERIFY(!app.setupWindow()->isVisible());
  QCOMPARE(g->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Ann"));
  QCOMPARE(Child<QLabel>(g, "lblStatus1")->text(), QString("ENEMY1:  Taking Turn"));
  Shot(g, "main-start");
  Child<QAction>(g, "mnuOptionsSpeed")->trigger();
  QCOMPARE(view::PlainCaption(Child<QAction>(g, "mnuOptionsSpeed")), QString("Turn Speed Game Off"));

  QSignalSpy over(g, &GalaxyWindow::gameOver);
  ImageButton* done = Child<ImageButton>(g, "ImgDone");
  Game& game = app.game();
  int clicks = 0;
  for (int i = 0; i < 200000 && over.isEmpty(); ++i) {
    QCoreApplication::processEvents();
    if (!g->Busy() && !game.TurnEndPending() && game.state.CurrentPlayer == 0 && !game.GameIsOver) {
      Click(done);  // the human only ends turns
      ++clicks;
    }
  }
  QVERIFY2(!over.isEmpty(), qPrintable(QString("no conquest after %1 turn ends").arg(clicks)));
  QCoreApplication::processEvents();
  QVERIFY(game.GameIsOver);
  QVERIFY(app.setupWindow()->isVisible());
  QVERIFY(!g->isVisible());
}

void DesktopTest::InputWaitsWhileTheEngineWorks() {
  app::Application app(5);
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0.05;
  StartGame(app, {"Ann"}, 12);
  GameState& s = app.game().state;
  // Sixty of Ann's ships are about to land on world 0, which holds thirty.
  s.WorldOwner[0] = 0;
  s.WorldShips[0] = 30;
  s.WorldProduction[0] = 0;
  s.FleetFrom[0] = 9;
  s.FleetTo[0] = 1;
  s.FleetOwner[0] = 1;
  s.FleetShips[0] = 60;
  s.FleetClass[0] = 3;
  s.FleetDistance[0] = 0.5f;
  s.FleetRemaining[0] = 0.01f;
  g->GalaxyDraw();

  bool clickedWhileTurning = false, sawBattle = false;
  QString attacker, defender, started, defended;
  view::GalaxyCanvas* canvas = g->canvas();
  const QPoint home = At(app, 8);
  auto pokeEverything = [&] {
    QTest::mouseClick(canvas, Qt::LeftButton, {}, home);
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, home);
    QTest::mouseClick(canvas, Qt::RightButton, {}, home);
    Click(Child<ImageButton>(g, "ImgDone"));
  };
  WhileRunning([&] { Click(Child<ImageButton>(g, "ImgDone")); },
               [&] {
                 if (!clickedWhileTurning && g->Busy() && !app.game().Panel.active) {
                   clickedWhileTurning = true;
                   pokeEverything();
                 }
                 if (!sawBattle && app.game().Panel.active) {
                   sawBattle = true;
                   attacker = Child<QLabel>(g, "Label1")->text();
                   defender = Child<QLabel>(g, "Label2")->text();
                   started = Child<QLabel>(g, "lblFromOrig")->text();
                   defended = Child<QLabel>(g, "lblToOrig")->text();
                   Shot(g, "battle");
                   pokeEverything();
                 }
               });
  QVERIFY(clickedWhileTurning);
  QVERIFY(sawBattle);
  QCOMPARE(attacker, QString("Ann"));
  QCOMPARE(defender, QString("World ") + QString::fromStdString(s.WorldName[0]));
  QCOMPARE(started, QString(" 60"));
  QCOMPARE(defended, QString(" 30"));
  // Nothing the pointer did meanwhile acted: one turn, no selection, no menu.
  QCOMPARE(CurrentTurn(s), 1);
  QCOMPARE(g->selection().from, -1);
  QVERIFY(!Child<QMenu>(g, "mnuCommand")->isVisible());
  QVERIFY(!Child<QListWidget>(g, "lstInfo")->isVisible());
  // After the battle the panel is grey and empty again.
  QCOMPARE(Child<QLabel>(g, "Label1")->text(), QString());

  // Fleets on the view and the world labels, for the eye.
  QVERIFY(!app.game().Apply(Order::Ships(0, 8, 3, 50)));
  Click(Child<ImageButton>(g, "ImgLabels"));
  QVERIFY(Child<QLabel>(g, "lblName0")->isVisible());
  Shot(g, "world-labels");
  {
    // Wherever the outermost world stands on its orbit, its name is whole
    // inside the map and on top of the battle frames the orbit passes under.
    int outer = 0;
    for (int w = 1; w < s.WorldCount; ++w)
      if (s.WorldOrbit[w] > s.WorldOrbit[outer]) outer = w;
    QLabel* name = Child<QLabel>(g, QString("lblName%1").arg(outer));
    const float kept = s.WorldAngle[outer];
    for (int step = 0; step < 24; ++step) {
      s.WorldAngle[outer] = static_cast<float>(step * 3.14159265 / 12);
      Click(Child<ImageButton>(g, "ImgLabels"));  // hides
      Click(Child<ImageButton>(g, "ImgLabels"));  // shows again, placed anew
      QVERIFY(name->isVisible());
      const QRect r(name->mapTo(g, QPoint(0, 0)), name->size());
      QVERIFY2(r.left() >= 0 && r.right() < g->width(), qPrintable(QString("step %1: %2").arg(step).arg(r.left())));
      // Stacked above the frames, below the hand-over screen.
      const QObjectList layers = g->canvas()->children();
      QVERIFY(layers.indexOf(name) > layers.indexOf(Child<QWidget>(g, "fraFrom")));
      QVERIFY(layers.indexOf(name) < layers.indexOf(Child<QWidget>(g, "fraHandOver")));
    }
    s.WorldAngle[outer] = kept;
  }
  Click(Child<ImageButton>(g, "ImgTravel"));
  QVERIFY(!Child<QLabel>(g, "lblName0")->isVisible());
  QVERIFY(Child<QLabel>(g, "lblShips0")->isVisible());
  QVERIFY(Child<QLabel>(g, "lblShips0")->text().contains("Turn"));
  Shot(g, "fleets");
  Click(Child<ImageButton>(g, "ImgTravel"));  // the second press hides them
  QVERIFY(!Child<QLabel>(g, "lblShips0")->isVisible());
}

void DesktopTest::BackBufferPixels() {
  app::Application app(3);
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0;
  StartGame(app, {"Ann", "computer"}, 30);
  GameState& s = app.game().state;
  g->presenter().CleanGalaxy();
  const QImage& buffer = g->canvas()->buffer();
  const view::Geometry geo = g->viewGeometry();
  // The innermost orbit ring crosses the line above the sun at y = 206 - 50 * 0.824.
  bool ring = false;
  const int top = view::RoundPixel(geo.centerY - 50 * geo.scaleY);
  for (int y = top - 1; y <= top + 1; ++y) ring = ring || buffer.pixelColor(509, y) == QColor(40, 40, 40);
  QVERIFY(ring);
  // Ann's home ring of radius 12 in her colour, right of the world.
  const QPoint home = At(app, 8);
  bool owner = false;
  for (int dx = 11; dx <= 13; ++dx) owner = owner || buffer.pixelColor(home.x() + dx, home.y()) == g->painter().PlayerColour(1);
  QVERIFY(owner);
  // A world through its mask: the body shows the picture, the corner the background.
  int w = 0;
  while (s.WorldOwner[w] != 0) ++w;
  const QPoint p = At(app, w);
  const QImage sprite = view::LoadImage(QString::asprintf("world%02d.png", w)).convertToFormat(QImage::Format_RGB32);
  QVERIFY(!sprite.isNull());
  QCOMPARE(buffer.pixelColor(p.x(), p.y()), sprite.pixelColor(10, 10));
  const QPoint corner(p.x() - 10, p.y() - 10);
  QCOMPARE(buffer.pixelColor(corner), g->canvas()->background().pixelColor(corner));
}

void DesktopTest::ChatLineFiltersAndWaits() {
  app::Application app(6);
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0;
  StartGame(app, {"Ann"}, 12);
  auto* line = Child<QLineEdit>(g, "txtMessage");
  auto* chat = Child<QPlainTextEdit>(g, "txtChat");
  line->setFocus();
  QTest::keyClicks(line, "hi*there");
  QCOMPARE(line->text(), QString("hithere"));
  QGuiApplication::clipboard()->setText(" x*y");
  line->paste();
  QCOMPARE(line->text(), QString("hithere xy"));
  QTest::keyClick(line, Qt::Key_Return);
  QCOMPARE(chat->toPlainText(), QString("Ann: hithere xy"));
  QVERIFY(line->text().isEmpty());
  // The send button rests two seconds: Enter meanwhile keeps the line.
  QTest::keyClicks(line, "again");
  QTest::keyClick(line, Qt::Key_Return);
  QCOMPARE(line->text(), QString("again"));
  QCOMPARE(chat->toPlainText(), QString("Ann: hithere xy"));

  // File > New Game, answered Yes: back to an empty setup window.
  g->askYesNo = [](const QString&, const QString&) { return true; };
  Child<QAction>(g, "mnuFileNew")->trigger();
  QVERIFY(!g->isVisible());
  QVERIFY(app.setupWindow()->isVisible());
  QVERIFY(Child<QLineEdit>(app.setupWindow(), "txtPL0")->text().isEmpty());
}

void DesktopTest::TruceAndProximityRefusals() {
  app::Application app(8);
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0.02;
  StartGame(app, {"Ann", "Bob"}, 12, 10);
  Game& game = app.game();
  view::GalaxyCanvas* canvas = g->canvas();
  QString notice;
  WhileRunning(
      [&] {
        QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
        QCOMPARE(g->selection().from, 8);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 9));
      },
      [&] {
        auto* banner = Child<QLabel>(g, "lblPlanet");
        if (banner->isVisible() && notice.isEmpty()) notice = banner->text();
      });
  QCOMPARE(notice, QString("    Battle Truce Ends In 10 Turns    "));
  QVERIFY(!Child<QMenu>(g, "mnuCommand")->isVisible());
  QCOMPARE(g->selection().from, -1);

  // Twenty proximity bombs armed: the window opens, setting is refused.
  for (int b = 0; b < kBombs; ++b) {
    game.state.BombOwner[b] = 2;
    game.state.BombWorld[b] = 4;
    game.state.BombThreshold[b] = 5;
  }
  int target = 0;
  while (game.state.WorldOwner[target] != 0) ++target;
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, 8));
  QTest::mouseClick(canvas, Qt::LeftButton, {}, At(app, target));
  QVERIFY(Child<QMenu>(g, "mnuCommand")->isVisible());
  QVERIFY(Child<QAction>(g, "mnuComSendProx")->isVisible());
  QString refused;
  g->showMessage = [&](const QString&, const QString& text) { refused = text; };
  Child<QAction>(g, "mnuComSendProx")->trigger();
  Child<QMenu>(g, "mnuCommand")->hide();
  view::ProximityWindow* window = g->proximityWindow();
  QVERIFY(window->isVisible());
  QCOMPARE(Child<QLineEdit>(window, "Text1")->text(), QString(" 10"));
  Click(Child<ImageButton>(window, "ImgSet"));
  QCOMPARE(refused, QString("Twenty Proximity Bombs Are Already Armed Or In Flight!"));
  for (int f = 0; f < kFleets; ++f) QCOMPARE(game.state.FleetFrom[f], uint8_t(0));
  QCOMPARE(game.state.WorldBombs[8], int16_t(3));
  QVERIFY(!window->isVisible());
}

void DesktopTest::OpensASavedGameFromTheCommandLine() {
  QTemporaryDir dir;
  const std::string path = (dir.path() + "/duel.gam").toStdString();
  {
    Game made(21);
    GameSetup setup;
    setup.names = {"Ann", "ENEMY1", "", ""};
    setup.worlds = 14;
    NewGame(made, setup);
    QVERIFY(!SaveGame(path, made.state));
  }
  {
    app::Application app(2);
    app.galaxyWindow()->pauseScale = 0;
    QVERIFY(app.StartWithGame(path));
    QVERIFY(app.galaxyWindow()->isVisible());
    QCOMPARE(app.galaxyWindow()->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Ann"));
    QVERIFY(Child<QListWidget>(app.galaxyWindow(), "lstOwned")->item(0)->text().contains("Eridania"));
  }
  {
    std::ofstream(dir.path().toStdString() + "/bad.gam") << "not a game\n";
    app::Application app(2);
    QString error;
    app.showError = [&](const QString& text) { error = text; };
    QVERIFY(!app.StartWithGame(dir.path().toStdString() + "/bad.gam"));
    QVERIFY(!error.isEmpty());
    QVERIFY(!app.galaxyWindow()->isVisible());
  }
}

int main(int argc, char** argv) {
  test::PrepareScreen();
  QApplication qt(argc, argv);
  DesktopTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
