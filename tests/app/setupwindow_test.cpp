#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/setupwindow.h"
#include "game/numbers.h"
#include "view/cues.h"

using valkoran::app::SetupWindow;

namespace {

class RecordingCues final : public valkoran::view::CuePlayer {
 public:
  void Play(const std::string& wave) override { played.push_back(wave); }
  std::vector<std::string> played;
};

const QColor kGrey(0xC0, 0xC0, 0xC0);

}  // namespace

class SetupWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<SetupWindow> w;
  RecordingCues cues;

  template <class T>
  T* Find(const char* name) {
    T* found = w->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  QScrollBar* Scroll1() { return Find<QScrollBar>("VScroll1"); }
  QScrollBar* Scroll2() { return Find<QScrollBar>("VScroll2"); }
  QCheckBox* Truce() { return Find<QCheckBox>("chkTruce"); }
  QString Planets() { return Find<QLineEdit>("txtPlanets")->text(); }
  QString TruceText() { return Find<QLineEdit>("txtTruce")->text(); }
  bool TruceEnabled() {
    const bool on = Truce()->isEnabled();
    for (const char* n : {"Label13", "txtTruce", "VScroll2"})
      if (w->findChild<QWidget*>(QString::fromLatin1(n))->isEnabled() != on) qFatal("truce controls disagree");
    return on;
  }
  // One letter per seat: 'o' open (box, check box enabled, white box),
  // '-' closed (both disabled, grey box, empty), '?' anything between.
  QString Seats() {
    QString out;
    for (int s = 0; s < 4; ++s) {
      QLineEdit* box = w->txtPL(s);
      const bool on = box->isEnabled() && w->Check(s)->isEnabled();
      const QColor base = box->palette().color(QPalette::Base);
      if (on && base == Qt::white)
        out += 'o';
      else if (!box->isEnabled() && !w->Check(s)->isEnabled() && base == kGrey && box->text().isEmpty())
        out += '-';
      else
        out += '?';
    }
    return out;
  }
  void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    QTest::keyClicks(box, text);
  }
  void Erase(QLineEdit* box) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
  }
  // Starts the game with a click on the button; returns what a message box
  // said ("" when none came up).
  QString PressStart(QString* title = nullptr) {
    QString said;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        said = box->text();
        if (title) *title = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
      }
    });
    closer.start(10);
    QTest::mouseClick(Find<QWidget>("imgStart"), Qt::LeftButton);
    return said;
  }

 private slots:
  void init() {
    valkoran::view::SetCuePlayer(&cues);
    cues.played.clear();
    w = std::make_unique<SetupWindow>();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  }
  void cleanup() {
    w.reset();
    valkoran::view::SetCuePlayer(nullptr);
  }

  // What the player reads, and online play present but switched off.
  void windowAndControls() {
    QCOMPARE(w->windowTitle(), QString("Valkoran"));
    for (int s = 0; s < 4; ++s) QCOMPARE(w->Check(s)->text(), QString("Computer Player"));
    QCOMPARE(Find<QLabel>("Label13")->text(), QString("Player Battle Truce Until Turn:"));
    QCOMPARE(Find<QCheckBox>("chkShield")->text(), QString("Ships Travel with Shields for Battles"));
    QCOMPARE(Planets(), QString(" 30"));
    QCOMPARE(TruceText(), QString("10"));
    QVERIFY(!TruceEnabled());

    auto* online = Find<QCheckBox>("chkOnline");
    QCOMPARE(online->text(), QString("Online Multiplayer Game"));
    QCOMPARE(Find<QRadioButton>("OptServerClient0")->text(), QString("Server"));
    QCOMPARE(Find<QRadioButton>("OptServerClient1")->text(), QString("Client"));
    for (const char* n : {"chkOnline", "OptServerClient0", "OptServerClient1", "txtIP", "imgConnect"})
      QVERIFY2(!Find<QWidget>(n)->isEnabled(), n);
    QTest::mouseClick(Find<QWidget>("imgConnect"), Qt::LeftButton);
    QTest::mouseClick(online, Qt::LeftButton);
    QVERIFY(!online->isChecked());
    QVERIFY(cues.played.empty());
  }

  void seatsKeepTheirHomeWorlds() {
    const std::pair<int, const char*> steps[] = {{11, "ooo-"}, {10, "oo--"}, {9, "o---"}, {12, "oooo"}};
    for (auto [count, seats] : steps) {
      Scroll1()->setValue(count);
      QCOMPARE(Planets(), QString::fromStdString(valkoran::Str(count)));
      QCOMPARE(Seats(), QString(seats));
    }

    // A filled seat pushes the count back up to its home world, whatever
    // the jump; the highest filled seat decides.
    Scroll1()->setValue(30);
    Type(w->txtPL(2), "Bo");
    Scroll1()->setValue(10);
    QCOMPARE(Planets(), QString(" 11"));
    QCOMPARE(Seats(), QString("ooo-"));
    QCOMPARE(w->txtPL(2)->text(), QString("Bo"));
    Scroll1()->setValue(30);
    w->Check(3)->click();
    Scroll1()->setValue(9);
    QCOMPARE(Planets(), QString(" 12"));
    QCOMPARE(w->txtPL(3)->text(), QString("ENEMY3"));

    // A computer seat whose name was erased closes with its check box off.
    Erase(w->txtPL(3));
    Scroll1()->setValue(11);
    QCOMPARE(Seats(), QString("ooo-"));
    QVERIFY(!w->Check(3)->isChecked());
  }

  void computerSeatsAndTheTruce() {
    for (int s = 0; s < 4; ++s) {
      w->lblStatus(s)->setText("Client Connected");
      w->Check(s)->click();
      QCOMPARE(w->txtPL(s)->text(), QString("ENEMY%1").arg(s));
      QCOMPARE(w->lblStatus(s)->text(), QString("Client Connected"));
    }
    QVERIFY(TruceEnabled());

    Truce()->click();
    Scroll2()->setValue(25);
    QCOMPARE(TruceText(), QString(" 25"));
    // Moved while the truce is off, the bar is shown again when it is on.
    Truce()->click();
    Scroll2()->setValue(30);
    QCOMPARE(TruceText(), QString(" 25"));
    Truce()->click();
    QCOMPARE(TruceText(), QString(" 30"));
    QCOMPARE(cues.played, (std::vector<std::string>{"click1.wav", "click1.wav", "click1.wav"}));

    for (int s : {3, 2, 0}) {
      w->Check(s)->click();
      QCOMPARE(w->txtPL(s)->text(), QString());
      QCOMPARE(w->lblStatus(s)->text(), QString());
    }
    QVERIFY(TruceEnabled());
    w->Check(1)->click();
    QCOMPARE(w->txtPL(1)->text(), QString());
    QVERIFY(w->lblStatus(1)->isHidden());
    QVERIFY(!TruceEnabled());
    QVERIFY(!Truce()->isChecked());  // a truce nobody can switch off is off

    // Typing a second name opens the truce, erasing it closes it again.
    Type(w->txtPL(1), "Al");
    QVERIFY(TruceEnabled());
    Truce()->click();
    Erase(w->txtPL(1));
    QVERIFY(!TruceEnabled());
    QVERIFY(!Truce()->isChecked());
    QVERIFY(!w->Setup().truceChecked);
  }

  void starsNeverEnterANameBox() {
    QLineEdit* box = w->txtPL(0);
    Type(box, "A*b**c*");
    QCOMPARE(box->text(), QString("Abc"));
    QCOMPARE(box->cursorPosition(), 3);

    box->setCursorPosition(1);
    QApplication::clipboard()->setText("x*y");
    QTest::keySequence(box, QKeySequence::Paste);
    QCOMPARE(box->text(), QString("Axybc"));
    QCOMPARE(box->cursorPosition(), 3);
    QApplication::clipboard()->setText("**\r\n*z");
    box->paste();
    QCOMPARE(box->text(), QString("Axyzbc"));
    QCOMPARE(box->cursorPosition(), 4);

    box->setCursorPosition(6);
    box->insert("*q\t*");
    QCOMPARE(box->text(), QString("Axyzbcq"));
    QCOMPARE(box->cursorPosition(), 7);
    box->setText("**");
    QCOMPARE(box->text(), QString());

    // Names fit in 255 bytes, cut between characters, never inside one.
    box->insert(QString(300, QChar(0xE9)));
    QCOMPARE(box->text(), QString(127, QChar(0xE9)));
    box->setText(QString(253, 'a'));
    box->end(false);
    box->insert(QString::fromUtf8("\xF0\x9F\x98\x80"));
    QCOMPARE(box->text(), QString(253, 'a'));
    box->insert(QString::fromUtf8("\xC3\xA9\xC3\xA9"));
    QCOMPARE(box->text().toUtf8().size(), 255);
    QCOMPARE(box->cursorPosition(), 254);
    QVERIFY(!valkoran::ValidateSetup(w->Setup()));
  }

  void startNeedsAName() {
    QSignalSpy started(w.get(), &SetupWindow::startRequested);
    QString title;
    QCOMPARE(PressStart(&title), QString("You Must Enter Your Name First!"));
    QCOMPARE(title, QString("Valkoran"));
    QCOMPARE(started.count(), 0);
    QCOMPARE(cues.played, std::vector<std::string>{"click1.wav"});  // the press only
    QCOMPARE(Planets(), QString(" 30"));

    // The engine's own refusals come up the same way.
    Type(w->txtPL(0), "Ann");
    Type(w->txtPL(2), "Cy");
    QCOMPARE(PressStart(), QString("Player 3 Cannot Play While Seat 2 Is Empty!"));
    QCOMPARE(started.count(), 0);

    Erase(w->txtPL(2));
    QCOMPARE(PressStart(), QString());
    QCOMPARE(started.count(), 1);
  }

  void setupIsWhatTheControlsHold() {
    w->txtPL(0)->setText(QString::fromUtf8("Zo\xC3\xAB"));
    w->Check(1)->click();
    Type(w->txtPL(2), "Bo");
    Scroll1()->setValue(17);
    Truce()->click();
    Scroll2()->setValue(25);
    Find<QCheckBox>("chkShield")->click();
    QCOMPARE(cues.played, (std::vector<std::string>{"click1.wav", "click1.wav"}));

    using Names = std::array<std::string, 4>;
    valkoran::GameSetup s = w->Setup();
    QCOMPARE(s.names, (Names{"Zo\xC3\xAB", "ENEMY1", "Bo", ""}));
    QCOMPARE(s.worlds, 17);
    QVERIFY(s.truceChecked);
    QCOMPARE(s.truceText, std::string(" 25"));
    QVERIFY(s.shields && w->ShieldOption());

    cues.played.clear();
    w->hide();
    w->ResetForNewGame();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(w->focusWidget(), w->txtPL(0));
    s = w->Setup();
    QCOMPARE(s.names, Names{});
    for (int i = 0; i < 4; ++i) QVERIFY(!w->Check(i)->isChecked());
    QVERIFY(!s.truceChecked && !s.shields && !w->ShieldOption());
    QCOMPARE(s.worlds, 17);  // the count is the player's to keep
    QVERIFY(cues.played.empty());
  }
};

int RunSetupWindowTests(int argc, char** argv) {
  SetupWindowTest t;
  return QTest::qExec(&t, argc, argv);
}

#include "setupwindow_test.moc"
