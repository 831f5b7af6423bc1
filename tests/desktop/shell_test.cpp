// The program around the game: the start screen, saving and loading, the
// AutoSave reminder, the high scores, About and help, leaving and coming
// back, the picture buttons of every window.
#include <QAction>
#include <QCheckBox>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTextBrowser>
#include <QtTest>

#include "app/aboutwindow.h"
#include "app/filewindow.h"
#include "app/highscorewindow.h"
#include "desktop/drive.h"
#include "game/newgame.h"
#include "game/numbers.h"
#include "game/orders.h"
#include "store/highscore.h"
#include "store/savefile.h"
#include "view/assets.h"
#include "view/cues.h"

using namespace valkoran;
using namespace valkoran::test;
using app::FileWindow;
using view::GalaxyWindow;
using view::ImageButton;

namespace {

struct RecordingCues final : view::CuePlayer {
  RecordingCues() { view::SetCuePlayer(this); }
  ~RecordingCues() override { view::SetCuePlayer(nullptr); }
  void Play(const std::string& wave) override { played << QString::fromStdString(wave); }
  QStringList played;
};

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage Picture(const QString& name) { return view::LoadImage(name).convertToFormat(QImage::Format_RGB32); }
QImage Shown(const ImageButton* b) { return b->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

// Keys go to the window the player looks at.
void Activate(QWidget* w) {
  QApplication::setActiveWindow(w);
  QTRY_COMPARE(QApplication::activeWindow(), w);
}

// The game's file text, which holds every saved field.
std::string Text(const Game& game) { return WriteGameText(game.state); }

// A game of Ann and a computer player on twelve worlds, waits at no length.
GalaxyWindow* Started(app::Application& app, const QStringList& names = {"Ann", "computer"}) {
  GalaxyWindow* g = app.galaxyWindow();
  g->pauseScale = 0;
  StartGame(app, names, 12);
  return g;
}

// Ends Ann's turn and lets the computer seats move until it is hers again.
void EndAnnsTurn(app::Application& app) {
  GalaxyWindow* g = app.galaxyWindow();
  Click(Child<ImageButton>(g, "ImgDone"));
  Game& game = app.game();
  QTRY_VERIFY(!g->Busy() && !game.TurnEndPending() && game.state.CurrentPlayer == 0);
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { QFile::remove(scratch_ + "/running.gam"); }
  void initTestCase() {
    app::Application probe(1);
    scratch_ = Isolate(probe);
  }

  void StartScreenButtonsAndKeys();
  void LeavingKeepsTheGameForContinue();
  void SaveCompletesTheNameOnEnterAndDoubleClickAndLoadsBack();
  void ALoadThatFailsLeavesTheRunningGame();
  void CancelledLoadReturnsToTheStartScreenOnlyWithoutAGame();
  void AutoSaveReminderHalfAYearAfterSwitchingOn();
  void HighScoresAfterAWinAndFromTheMenu();
  void AboutHelpAndLinks();
  void PictureButtonsOfEveryWindow();

 private:
  QString scratch_;
};

void ShellTest::StartScreenButtonsAndKeys() {
  app::Application app(3);
  Isolate(app);
  RecordingCues cues;
  app.Start();
  QWidget* start = app.startScreen();
  QVERIFY(start->isVisible());
  QCOMPARE(start->windowTitle(), QString("Valkoran"));
  QCOMPARE(Child<QLabel>(start, "lblResolution")->text(), QString("Run at 1024 x 768 or Higher Resolution"));
  QVERIFY(!Child<ImageButton>(start, "ImgContinue")->isVisible());  // nothing kept
  QTRY_COMPARE(cues.played, QStringList{"gamestart.wav"});
  Shot(start, "start-screen");

  // Start: the setup window, titled apart from the start screen.
  Click(Child<ImageButton>(start, "ImgStart"));
  QVERIFY(!start->isVisible());
  QVERIFY(app.setupWindow()->isVisible());
  QCOMPARE(app.setupWindow()->windowTitle(), QString("Valkoran - New Game"));
  // Closing the setup window without a game goes back.
  app.setupWindow()->close();
  QVERIFY(start->isVisible());

  // A touchpad tap (press and release 10 ms apart) while the click cue
  // takes its time still counts.
  {
    struct SlowCues final : view::CuePlayer {
      explicit SlowCues(GalaxyWindow* g) : g_(g) { view::SetCuePlayer(this); }
      ~SlowCues() override { view::SetCuePlayer(nullptr); }
      void Play(const std::string&) override { g_->Pause(60); }
      GalaxyWindow* g_;
    } slow(app.galaxyWindow());
    QuickClick(Child<ImageButton>(start, "ImgStart"));
    QTRY_VERIFY(app.setupWindow()->isVisible());
    app.setupWindow()->close();
    QVERIFY(start->isVisible());
  }
  view::SetCuePlayer(&cues);

  // The keys do what the buttons do.
  Activate(start);
  QTest::keyClick(start, Qt::Key_O, Qt::ControlModifier);
  QVERIFY(app.loadWindow()->isVisible());
  QVERIFY(!start->isVisible());
  QTest::keyClick(app.loadWindow()->Text1(), Qt::Key_Escape);
  QVERIFY(!app.loadWindow()->isVisible());
  QVERIFY(start->isVisible());
  Activate(start);
  QTest::keyClick(start, Qt::Key_F1);
  QVERIFY(app.helpWindow()->isVisible());
  app.helpWindow()->hide();
  Activate(start);
  QTest::keyClick(start, Qt::Key_R, Qt::ControlModifier);  // no Continue offered: nothing
  QVERIFY(start->isVisible());
  QVERIFY(!app.galaxyWindow()->isVisible());
  Activate(start);
  QTest::keyClick(start, Qt::Key_N, Qt::ControlModifier);
  QVERIFY(app.setupWindow()->isVisible());
  QVERIFY(!start->isVisible());
}

void ShellTest::LeavingKeepsTheGameForContinue() {
  const QString kept = scratch_ + "/running.gam";
  std::string before;
  {
    app::Application app(5);
    GalaxyWindow* g = Started(app);
    QVERIFY(!app.game().Apply(Order::Ships(0, 8, 3, 50)));
    EndAnnsTurn(app);
    QVERIFY(!app.game().Apply(Order::Scout(0, 8, 4)));
    before = Text(app.game());
    // Closing the main window ends the program at once, without asking.
    g->close();
    QVERIFY(QFile::exists(kept));
  }
  QCOMPARE(Read(kept).toStdString(), before);
  {
    app::Application app(6);
    Isolate(app);
    app.galaxyWindow()->pauseScale = 0;
    app.Start();
    auto* resume = Child<ImageButton>(app.startScreen(), "ImgContinue");
    QVERIFY(resume->isVisible());
    Activate(app.startScreen());
    QTest::keyClick(app.startScreen(), Qt::Key_R, Qt::ControlModifier);
    QVERIFY(app.galaxyWindow()->isVisible());
    QVERIFY(!app.startScreen()->isVisible());
    QCOMPARE(Text(app.game()), before);  // the orders given are still on their way
    QCOMPARE(app.galaxyWindow()->windowTitle(), QString("Valkoran - Year 1.05, Turn #1:  Ann"));
    // File > Exit keeps it again; a new game (Yes) forgets it.
    Child<QAction>(app.galaxyWindow(), "mnuFileExit")->trigger();
    QVERIFY(QFile::exists(kept));
    app.galaxyWindow()->askYesNo = [](const QString&, const QString&) { return true; };
    Child<QAction>(app.galaxyWindow(), "mnuFileNew")->trigger();
    QVERIFY(!QFile::exists(kept));
    QVERIFY(app.setupWindow()->isVisible());
  }
  {
    // A kept file that does not load says why and is offered no more.
    QFile bad(kept);
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(" 0\r\n 12\r\n");
    bad.close();
    app::Application app(7);
    Isolate(app);
    QString error;
    app.showError = [&](const QString& text) { error = text; };
    app.Start();
    Click(Child<ImageButton>(app.startScreen(), "ImgContinue"));
    QVERIFY(error.startsWith("   Corrupt Game File!   "));
    QVERIFY(app.startScreen()->isVisible());
    QVERIFY(!Child<ImageButton>(app.startScreen(), "ImgContinue")->isVisible());
    QCOMPARE(Read(kept), QByteArray(" 0\r\n 12\r\n"));  // left as it was
  }
}

void ShellTest::SaveCompletesTheNameOnEnterAndDoubleClickAndLoadsBack() {
  app::Application app(8);
  GalaxyWindow* g = Started(app);
  QVERIFY(!app.game().Apply(Order::Ships(0, 8, 3, 25)));
  const std::string saved = Text(app.game());

  // Ctrl+S opens the save window on the scratch folder.
  Activate(g);
  QTest::keyClick(g, Qt::Key_S, Qt::ControlModifier);
  FileWindow* save = app.saveWindow();
  QVERIFY(save->isVisible());
  QCOMPARE(save->windowTitle(), QString("Save Game"));
  QCOMPARE(save->folder(), scratch_);
  QTest::keyClicks(save->Text1(), "alpha");
  QTest::keyClick(save->Text1(), Qt::Key_Return);
  QCOMPARE(save->Text1()->text(), QString("alpha.gam"));
  QVERIFY(!save->isVisible());
  QCOMPARE(Read(scratch_ + "/alpha.gam").toStdString(), saved);

  // Opened again: the name stays, the file is listed; a double click on it
  // saves over it without asking.
  EndAnnsTurn(app);
  const std::string later = Text(app.game());
  Child<QAction>(g, "mnuFileSave")->trigger();
  QCOMPARE(save->Text1()->text(), QString("alpha.gam"));
  const auto found = save->File1()->findItems("alpha.gam", Qt::MatchExactly);
  QCOMPARE(found.size(), 1);
  Shot(save, "save-window");
  const QRect line = save->File1()->visualItemRect(found[0]);
  DoubleClick(save->File1()->viewport(), line.center());
  QVERIFY(!save->isVisible());
  QCOMPARE(Read(scratch_ + "/alpha.gam").toStdString(), later);

  // An empty name does nothing.
  Child<QAction>(g, "mnuFileSave")->trigger();
  save->Text1()->clear();
  Click(Child<ImageButton>(save, "ImgSave"));
  QVERIFY(save->isVisible());
  Click(Child<ImageButton>(save, "ImgCancel"));
  QVERIFY(!save->isVisible());

  // Loaded back over a game that moved on: the same game, its menus and
  // title as the file says, the turn opened.
  EndAnnsTurn(app);
  QVERIFY(Text(app.game()) != later);
  Activate(g);
  QTest::keyClick(g, Qt::Key_O, Qt::ControlModifier);
  FileWindow* load = app.loadWindow();
  QVERIFY(load->isVisible());
  QCOMPARE(load->windowTitle(), QString("Load Game"));
  QVERIFY(load->Text1()->text().isEmpty());
  QTest::keyClicks(load->Text1(), "alpha");
  QTest::keyClick(load->Text1(), Qt::Key_Return);
  QVERIFY(!load->isVisible());
  QCOMPARE(Text(app.game()), later);
  QCOMPARE(g->windowTitle(), QString("Valkoran - Year 1.05, Turn #1:  Ann"));
  QCOMPARE(view::PlainCaption(Child<QAction>(g, "mnuOptionsTruce")), QString("No Battle Truce"));
  QVERIFY(!Child<QAction>(g, "mnuOptionsShield")->isChecked());
  QVERIFY(Child<QListWidget>(g, "lstTravel")->count() > 0);  // the fleet sent before saving

  // A game with shields and a truce brings its menu items and the setup
  // window's shield box along.
  {
    Game made(21);
    GameSetup setup;
    setup.names = {"Ann", "Bob", "", ""};
    setup.worlds = 14;
    setup.truceChecked = true;
    setup.truceText = "12";
    setup.shields = true;
    NewGame(made, setup);
    QVERIFY(!SaveGame((scratch_ + "/armed.gam").toStdString(), made.state));
  }
  Child<QAction>(g, "mnuFileLoad")->trigger();
  load->Text1()->setText("armed.gam");
  Click(Child<ImageButton>(load, "ImgLoad"));
  QVERIFY(!load->isVisible());
  QCOMPARE(view::PlainCaption(Child<QAction>(g, "mnuOptionsTruce")), QString("Battle Truce Until Turn #12"));
  QVERIFY(Child<QAction>(g, "mnuOptionsTruce")->isChecked());
  QVERIFY(Child<QAction>(g, "mnuOptionsShield")->isChecked());
  QVERIFY(Child<QCheckBox>(app.setupWindow(), "chkShield")->isChecked());
  QCOMPARE(app.game().state.PlayerName[1], std::string("Bob"));

  // The folder list moves up and back down.
  Child<QAction>(g, "mnuFileLoad")->trigger();
  const QString here = load->folder();
  load->Dir1()->setCurrentRow(0);
  emit load->Dir1()->itemActivated(load->Dir1()->item(0));  // ".."
  QCOMPARE(load->folder(), QFileInfo(here).absolutePath());
  const QString name = QFileInfo(here).fileName();
  const auto down = load->Dir1()->findItems(name, Qt::MatchExactly);
  QCOMPARE(down.size(), 1);
  emit load->Dir1()->itemActivated(down[0]);
  QCOMPARE(load->folder(), here);
  QVERIFY(!load->File1()->findItems("armed.gam", Qt::MatchExactly).isEmpty());
  Click(Child<ImageButton>(load, "ImgCancel"));
}

void ShellTest::ALoadThatFailsLeavesTheRunningGame() {
  app::Application app(9);
  GalaxyWindow* g = Started(app);
  QVERIFY(!app.game().Apply(Order::Ships(0, 8, 3, 50)));
  const std::string running = Text(app.game());
  const QString title = g->windowTitle();
  QString error;
  app.showError = [&](const QString& text) { error = text; };
  {
    // Cut short: the first ten lines of a good file.
    QFile cut(scratch_ + "/cut.gam");
    QVERIFY(cut.open(QIODevice::WriteOnly));
    const QList<QByteArray> lines = QByteArray::fromStdString(running).split('\n');
    for (int i = 0; i < 10; ++i) cut.write(lines[i] + "\n");
  }
  Child<QAction>(g, "mnuFileLoad")->trigger();
  FileWindow* load = app.loadWindow();
  load->Text1()->setText("cut");
  Click(Child<ImageButton>(load, "ImgLoad"));
  QVERIFY(error.startsWith("   Corrupt Game File!   "));
  QVERIFY(load->isVisible());  // open for another choice
  QCOMPARE(Text(app.game()), running);
  QVERIFY(g->isVisible());
  QCOMPARE(g->windowTitle(), title);

  load->Text1()->setText("nothing here");
  QTest::keyClick(load->Text1(), Qt::Key_Return);
  QCOMPARE(error, QString("   File Not Found!   "));
  QCOMPARE(load->Text1()->text(), QString("nothing here.gam"));
  QCOMPARE(Text(app.game()), running);

  // A save that cannot be written says so and leaves the old file whole.
  QVERIFY(QDir(scratch_).mkpath("folder.gam"));
  error.clear();
  Child<QAction>(g, "mnuFileSave")->trigger();
  app.saveWindow()->Text1()->setText("folder");
  QTest::keyClick(app.saveWindow()->Text1(), Qt::Key_Return);
  QVERIFY(!error.isEmpty());
  QVERIFY(app.saveWindow()->isVisible());
  QVERIFY(QFileInfo(scratch_ + "/folder.gam").isDir());
}

void ShellTest::CancelledLoadReturnsToTheStartScreenOnlyWithoutAGame() {
  app::Application app(10);
  Isolate(app);
  app.Start();
  Click(Child<ImageButton>(app.startScreen(), "ImgLoad"));
  QVERIFY(app.loadWindow()->isVisible());
  Click(Child<ImageButton>(app.loadWindow(), "ImgCancel"));
  QVERIFY(app.startScreen()->isVisible());
  // The title bar's close counts as cancel.
  Click(Child<ImageButton>(app.startScreen(), "ImgLoad"));
  app.loadWindow()->close();
  QVERIFY(app.startScreen()->isVisible());

  GalaxyWindow* g = Started(app);
  Child<QAction>(g, "mnuFileLoad")->trigger();
  Click(Child<ImageButton>(app.loadWindow(), "ImgCancel"));
  QVERIFY(!app.startScreen()->isVisible());
  QVERIFY(g->isVisible());
}

void ShellTest::AutoSaveReminderHalfAYearAfterSwitchingOn() {
  app::Application app(12);
  GalaxyWindow* g = Started(app, {"Ann"});
  QAction* autoSave = Child<QAction>(g, "mnuFileAutoSave");
  QCOMPARE(view::PlainCaption(autoSave), QString("AutoSave Off"));
  QVERIFY(autoSave->isEnabled());
  autoSave->trigger();  // in year 1.00
  QCOMPARE(view::PlainCaption(autoSave), QString("AutoSave On"));
  QVERIFY(autoSave->isChecked());
  FileWindow* save = app.saveWindow();
  save->Open(scratch_, false);
  save->Text1()->setText("kept name");
  save->hide();
  int turns = 0;
  while (!save->isVisible() && turns < 40) {
    EndAnnsTurn(app);
    ++turns;
  }
  // Half a year is ten turns; ten float steps fall just short of it.
  QCOMPARE(turns, 11);
  float year = 1;
  for (int i = 0; i < 11; ++i) year = Sng(static_cast<double>(year) + 0.05);
  QCOMPARE(app.game().state.GameYear, year);
  QVERIFY(save->Text1()->text().isEmpty());
  QTest::keyClick(save->Text1(), Qt::Key_Escape);
  QVERIFY(!save->isVisible());
  autoSave->trigger();
  QCOMPARE(view::PlainCaption(autoSave), QString("AutoSave Off"));
  for (int i = 0; i < 12; ++i) {
    EndAnnsTurn(app);
    QVERIFY(!save->isVisible());
  }
}

void ShellTest::HighScoresAfterAWinAndFromTheMenu() {
  const QString path = scratch_ + "/HighScore";
  QFile::remove(path);
  for (float rating : {5000.0f, 0.5f}) {
    HighScoreEntry e;
    e.name = rating > 1 ? "Best" : "Least", e.rating = rating, e.ships = 10, e.prod = 5, e.plan = 2, e.cls = 4;
    e.date = "1/2/26";
    QVERIFY(!HighScore(path.toStdString(), e).error);
  }
  const QByteArray stored = Read(path);

  app::Application app(14);
  GalaxyWindow* g = Started(app);
  app.today = [] { return QString("12/8/26"); };
  // From the menu: shown, nothing written.
  Child<QAction>(g, "mnuInfoHigh")->trigger();
  app::HighScoreWindow* high = app.highScoreWindow();
  QVERIFY(high->isVisible());
  QCOMPARE(high->windowTitle(), QString("Valkoran HighScores"));
  QCOMPARE(high->Cell(1, 0)->text(), QString("Best"));
  QCOMPARE(high->Cell(0, 0)->text(), QString("5000.0"));
  QCOMPARE(high->Cell(1, 2)->text(), QString());  // an empty row shows nothing
  QCOMPARE(high->Cell(1, 0)->palette().color(QPalette::WindowText), app::kHighScoreNormal);
  QCOMPARE(Read(path), stored);
  Activate(high);
  QTest::keyClick(high, Qt::Key_Escape);
  QVERIFY(!high->isVisible());

  // Ann holds every world: she has won, her row enters between the two,
  // drawn in the highlight colour, and the table waits its five seconds
  // inside the game's own wait.
  GameState& s = app.game().state;
  for (int w = 0; w < s.WorldCount; ++w) s.WorldOwner[w] = 1;
  g->pauseScale = 0.01;  // 5000 ms become 50
  bool shownWhileWaiting = false;
  WhileRunning([&] { Click(Child<ImageButton>(g, "ImgDone")); },
               [&] { shownWhileWaiting |= high->isVisible() && g->Busy(); });
  QTRY_VERIFY(app.game().GameIsOver);
  QVERIFY(shownWhileWaiting);
  QVERIFY(high->isVisible());
  QCOMPARE(high->Cell(1, 1)->text(), QString("Ann"));
  QCOMPARE(high->Cell(7, 1)->text(), QString("12/8/26"));
  QCOMPARE(high->Cell(1, 1)->palette().color(QPalette::WindowText), app::kHighScoreHighlight);
  QCOMPARE(high->Cell(0, 1)->palette().color(QPalette::WindowText), app::kHighScoreHighlight);
  QCOMPARE(high->Cell(1, 0)->palette().color(QPalette::WindowText), app::kHighScoreNormal);
  QCOMPARE(high->Cell(1, 2)->text(), QString("Least"));
  const QList<QByteArray> lines = Read(path).split('\n');
  QCOMPARE(lines.size(), 81);  // 80 lines, each ended
  QCOMPARE(lines[9], QByteArray("Ann\r"));
  Shot(high, "high-scores");
  Click(Child<ImageButton>(high, "ImgOk"));
  QVERIFY(!high->isVisible());

  // A table never written is made with ten empty rows when looked at.
  QFile::remove(path);
  g->show();
  Child<QAction>(g, "mnuInfoHigh")->trigger();
  QCOMPARE(Read(path), QByteArray(80, '\0').replace('\0', "\r\n"));
}

void ShellTest::AboutHelpAndLinks() {
  app::Application app(15);
  GalaxyWindow* g = Started(app);
  QList<QUrl> opened;
  app.openUrl = [&](const QUrl& url) { opened << url; };

  Child<QAction>(g, "mnuHelpAbout")->trigger();
  QWidget* about = app.aboutWindow();
  QVERIFY(about->isVisible());
  QCOMPARE(about->windowTitle(), QString("About Valkoran"));
  QCOMPARE(Child<QLabel>(about, "lblTitle")->text(), QString("valkoran"));
  QCOMPARE(Child<QLabel>(about, "lblVersion")->text(), QString("Version 1.00"));
  Activate(about);
  QTest::keyClick(about, Qt::Key_Escape);
  QVERIFY(!about->isVisible());

  // The Help button opens the help on its contents and gives the chat line
  // its focus back.
  g->activateWindow();
  Click(Child<ImageButton>(g, "ImgHelp"));
  app::HelpWindow* help = app.helpWindow();
  QVERIFY(help->isVisible());
  QCOMPARE(help->windowTitle(), QString("Valkoran Help"));
  QVERIFY(help->browser()->toPlainText().contains("Contents"));
  QVERIFY(help->browser()->toPlainText().contains("Battle Truce"));
  QCOMPARE(help->browser()->verticalScrollBar()->value(), 0);
  QCOMPARE(g->focusWidget(), Child<QWidget>(g, "txtMessage"));
  help->resize(760, 640);
  Shot(help, "help-window");
  Activate(help);
  QTest::keyClick(help->browser(), Qt::Key_Escape);
  QVERIFY(!help->isVisible());
  Child<QAction>(g, "mnuHelpValkoran")->trigger();
  QVERIFY(help->isVisible());

  for (const char* item : {"mnuHelpWeb", "mnuHelpUpgrade", "mnuHelpBug"}) Child<QAction>(g, item)->trigger();
  QCOMPARE(opened.size(), 3);
  QCOMPARE(opened[0].scheme(), QString("https"));
  QCOMPARE(opened[1].scheme(), QString("https"));
  QCOMPARE(opened[2].scheme(), QString("mailto"));

  // Every item of the menu bar has its access key.
  for (QMenu* menu : g->findChildren<QMenu*>())
    for (QAction* a : menu->actions())
      if (!a->isSeparator() && !a->text().isEmpty()) QVERIFY2(a->text().contains('&'), qPrintable(a->text()));
}

void ShellTest::PictureButtonsOfEveryWindow() {
  app::Application app(16);
  Isolate(app);
  app.Start();
  RecordingCues cues;
  app.saveWindow()->Open(scratch_, false);
  app.loadWindow()->Open(scratch_, true);
  app.aboutWindow()->show();
  app.highScoreWindow()->Show(HighScoreTable{}, -1);
  const std::pair<QWidget*, const char*> buttons[] = {
      {app.startScreen(), "ImgHelp"},  {app.startScreen(), "ImgLoad"}, {app.startScreen(), "ImgStart"},
      {app.saveWindow(), "ImgSave"},   {app.saveWindow(), "ImgCancel"}, {app.loadWindow(), "ImgLoad"},
      {app.loadWindow(), "ImgCancel"}, {app.aboutWindow(), "ImgOk"},    {app.highScoreWindow(), "ImgOk"}};
  for (const auto& [window, name] : buttons) {
    auto* b = Child<ImageButton>(window, name);
    const QString n = QString::number(b->number());
    QCOMPARE(Shown(b), Picture("butt" + n + ".jpg"));
    cues.played.clear();
    QTest::mousePress(b, Qt::LeftButton);
    QCOMPARE(Shown(b), Picture("ddentbutt" + n + ".jpg"));
    QCOMPARE(cues.played, QStringList{"click1.wav"});
    QTest::mouseRelease(b, Qt::LeftButton);
    QCOMPARE(Shown(b), Picture("butt" + n + ".jpg"));
    QCOMPARE(cues.played, QStringList{"click1.wav"});  // no cue on release off the main window
  }
  const QList<int> numbers = {Child<ImageButton>(app.startScreen(), "ImgStart")->number(),
                              Child<ImageButton>(app.startScreen(), "ImgLoad")->number(),
                              Child<ImageButton>(app.startScreen(), "ImgHelp")->number(),
                              Child<ImageButton>(app.saveWindow(), "ImgSave")->number(),
                              Child<ImageButton>(app.loadWindow(), "ImgLoad")->number(),
                              Child<ImageButton>(app.saveWindow(), "ImgCancel")->number(),
                              Child<ImageButton>(app.aboutWindow(), "ImgOk")->number()};
  QCOMPARE(numbers, (QList<int>{8, 9, 10, 16, 17, 19, 20}));
  // Laid out at one size, each keeps it: nothing to maximise or drag larger.
  for (QWidget* w : {static_cast<QWidget*>(app.startScreen()), static_cast<QWidget*>(app.setupWindow()),
                     static_cast<QWidget*>(app.saveWindow()), static_cast<QWidget*>(app.loadWindow()),
                     static_cast<QWidget*>(app.aboutWindow()), static_cast<QWidget*>(app.highScoreWindow())}) {
    QVERIFY2(!w->windowFlags().testFlag(Qt::WindowMaximizeButtonHint), qPrintable(w->objectName()));
    QVERIFY(w->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(w->minimumSize(), w->maximumSize());
  }
}

int main(int argc, char** argv) {
  test::PrepareScreen();
  QApplication qt(argc, argv);
  ShellTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "shell_test.moc"
