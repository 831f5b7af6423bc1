// Two desktop programs in one process, a server and a client on a free
// port: set up through their setup windows' online controls, they play a
// turn with a chat line.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTcpServer>
#include <QtTest>

#include "app/setupwindow.h"
#include "desktop/drive.h"
#include "net/connection/session.h"

using namespace valkoran;
using namespace valkoran::test;
using view::GalaxyWindow;
using view::ImageButton;

namespace {

quint16 FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  return probe.serverPort();
}

// The setup window of `app` online in the given role, with the name and
// address typed in, and its connect button pressed.
void GoOnline(app::Application& app, bool server, const QString& name, quint16 port) {
  Isolate(app);
  app.galaxyWindow()->pauseScale = 0;
  app.Start();
  Click(Child<ImageButton>(app.startScreen(), "ImgStart"));
  app::SetupWindow* setup = app.setupWindow();
  Child<QLineEdit>(setup, "txtPL0")->setText(name);
  Child<QCheckBox>(setup, "chkOnline")->click();
  Child<QRadioButton>(setup, server ? "OptServerClient0" : "OptServerClient1")->click();
  if (!server) Child<QLineEdit>(setup, "txtIP")->setText("LOCALHOST");
  Child<QLineEdit>(setup, "txtPort")->setText(QString::number(port));
  Click(Child<ImageButton>(setup, "imgConnect"));
}

}  // namespace

class NetWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void ServerAndClientPlayATurnWithChat();
};

void NetWindowsTest::ServerAndClientPlayATurnWithChat() {
  const quint16 port = FreePort();
  app::Application ann(5), bob(6);
  QString annError, bobError;
  ann.showError = [&](const QString& t) { annError = t; };
  bob.showError = [&](const QString& t) { bobError = t; };
  GoOnline(ann, true, "Ann", port);
  QVERIFY2(annError.isEmpty(), qPrintable(annError));
  app::SetupWindow* annSetup = ann.setupWindow();
  QCOMPARE(annSetup->lblStatus(0)->text(), QString("Running Server..."));
  QCOMPARE(annSetup->lblStatus(1)->text(), QString("Waiting for Client..."));
  QVERIFY(!Child<ImageButton>(annSetup, "imgStart")->isVisible());

  GoOnline(bob, false, "Bob", port);
  QVERIFY2(bobError.isEmpty(), qPrintable(bobError));
  QTRY_COMPARE(Child<QLineEdit>(annSetup, "txtPL1")->text(), QString("Bob"));
  QCOMPARE(annSetup->lblStatus(1)->text(), QString("Client Connected"));
  QTRY_COMPARE(bob.setupWindow()->lblStatus(0)->text(), QString("Server Found"));
  // Every setup window shows every seat.
  QTRY_COMPARE(Child<QLineEdit>(bob.setupWindow(), "txtPL0")->text(), QString("Ann"));
  QTRY_COMPARE(Child<QLineEdit>(bob.setupWindow(), "txtPL1")->text(), QString("Bob"));
  QVERIFY(Child<ImageButton>(annSetup, "imgStart")->isVisible());
  Shot(annSetup, "net-setup-server");
  Shot(bob.setupWindow(), "net-setup-client");

  // The server starts: both windows open on the same game, each on its seat.
  Click(Child<ImageButton>(annSetup, "imgStart"));
  GalaxyWindow* a = ann.galaxyWindow();
  GalaxyWindow* b = bob.galaxyWindow();
  QTRY_VERIFY(b->isVisible());
  QVERIFY(a->isVisible());
  QCOMPARE(a->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Ann"));
  QCOMPARE(b->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Bob"));
  QCOMPARE(bob.game().state.WorldCount, ann.game().state.WorldCount);
  QVERIFY(!Child<QAction>(b, "mnuFileNew")->isEnabled());
  QVERIFY(!Child<QAction>(b, "mnuFileLoad")->isEnabled());
  QVERIFY(Child<QAction>(a, "mnuFileNew")->isEnabled());

  // A chat line from Bob reaches both chat boxes once.
  Child<QLineEdit>(b, "txtMessage")->setText("hello Ann");
  Click(Child<ImageButton>(b, "ImgSend"));
  QTRY_VERIFY(Child<QPlainTextEdit>(a, "txtChat")->toPlainText().contains("hello Ann"));
  QTRY_VERIFY(Child<QPlainTextEdit>(b, "txtChat")->toPlainText().contains("hello Ann"));
  QCOMPARE(Child<QPlainTextEdit>(b, "txtChat")->toPlainText().count("hello Ann"), 1);

  // Ann is done first: her title says so and Bob's machine shows it; when
  // Bob is done the turn is processed on both.
  Click(Child<ImageButton>(a, "ImgDone"));
  QTRY_COMPARE(a->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Ann (Done Turn)"));
  QTRY_COMPARE(Child<QLabel>(b, "lblStatus0")->text(), QString("Ann:  Done Turn"));
  Click(Child<ImageButton>(b, "ImgDone"));
  QTRY_COMPARE(a->windowTitle(), QString("Valkoran - Year 1.05, Turn #1:  Ann"));
  QTRY_COMPARE(b->windowTitle(), QString("Valkoran - Year 1.05, Turn #1:  Bob"));
  QCOMPARE(bob.game().state.GameYear, ann.game().state.GameYear);
  Shot(a, "net-server");
  Shot(b, "net-client");
  // Bob first this time: the server's own Done ends the turn, and its new
  // turn's title is a fresh one. The waits run at full length now, as a
  // player sees them, so messages arrive in the middle of the client's
  // animations.
  a->pauseScale = 1;
  b->pauseScale = 1;
  Click(Child<ImageButton>(b, "ImgDone"));
  QTRY_COMPARE(Child<QLabel>(a, "lblStatus1")->text(), QString("Bob:  Done Turn"));
  Click(Child<ImageButton>(a, "ImgDone"));
  QTRY_COMPARE_WITH_TIMEOUT(b->windowTitle(), QString("Valkoran - Year 1.10, Turn #2:  Bob"), 30000);
  QTRY_COMPARE(a->windowTitle(), QString("Valkoran - Year 1.10, Turn #2:  Ann"));
  QTest::qWait(50);
  QCOMPARE(a->windowTitle(), QString("Valkoran - Year 1.10, Turn #2:  Ann"));

  // The server starts another game: Bob keeps his seat and is given it.
  a->askYesNo = [](const QString&, const QString&) { return true; };
  Child<QAction>(a, "mnuFileNew")->trigger();
  QVERIFY(annSetup->isVisible());
  QCOMPARE(Child<QLineEdit>(annSetup, "txtPL1")->text(), QString("Bob"));
  QVERIFY(Child<ImageButton>(annSetup, "imgStart")->isVisible());
  Click(Child<ImageButton>(annSetup, "imgStart"));
  QTRY_COMPARE(b->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Bob"));
  QCOMPARE(a->windowTitle(), QString("Valkoran - Year 1.00, Turn #0:  Ann"));
  QCOMPARE(Child<QLabel>(b, "lblStatus0")->text(), QString("Ann:  Taking Turn"));
}

int main(int argc, char** argv) {
  test::PrepareScreen();
  QApplication qt(argc, argv);
  NetWindowsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "netwindows_test.moc"
