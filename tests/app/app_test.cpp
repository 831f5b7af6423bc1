#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/setupwindow.h"
#include "app/soundcues.h"
#include "view/cues.h"
#include "view/imagebutton.h"

using valkoran::app::SetupWindow;
using Played = std::vector<std::string>;

namespace {
struct RecordingCues final : valkoran::view::CuePlayer {
  void Play(const std::string& wave) override { played.push_back(wave); }
  Played played;
} cues;

// Sound cues with or without an audio output, whatever this machine has.
template <bool present>
struct Speakers final : valkoran::app::SoundCues {
  explicit Speakers(std::vector<int>& waited) { SetWait([&waited](int ms) { waited.push_back(ms); }); }
  bool HasAudioOutput() const override { return present; }
};

QByteArray Le32(quint32 v) { const char b[] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; return {b, 4}; }
QByteArray Chunk(const char* id, const QByteArray& body, qint64 claimed = -1) {
  return id + Le32(claimed < 0 ? body.size() : claimed) + body + QByteArray(body.size() & 1, '\0');
}
// A "fmt " body of `size` bytes (16 or more is whole) with this byte rate.
QByteArray Fmt(quint32 rate, int size = 16) { return QByteArray(8, '\0') + Le32(rate) + QByteArray(size - 12, '\0'); }
QByteArray Riff(const QByteArray& c, const char* form = "WAVE") { return "RIFF" + Le32(c.size() + 4) + form + c; }
QByteArray Wave(quint32 rate, int n) { return Riff(Chunk("fmt ", Fmt(rate)) + Chunk("data", QByteArray(n, 'x'))); }
}  // namespace

class AppTest : public QObject {
  Q_OBJECT
  SetupWindow* w = nullptr;

  template <class T = QWidget>
  T* Find(const char* name) {
    if (T* found = w->findChild<T*>(name)) return found;
    qFatal("no control %s", name);
  }
  QString Text(const char* name) { return Find<QObject>(name)->property("text").toString(); }
  void Scroll(const char* bar, int value) { Find<QScrollBar>(bar)->setValue(value); }
  void Type(int seat, const QString& text) { w->txtPL(seat)->setFocus(); QTest::keyClicks(w->txtPL(seat), text); }
  void Erase(int seat) { w->txtPL(seat)->selectAll(); QTest::keyClick(w->txtPL(seat), Qt::Key_Backspace); }
  // Per seat 'o' open (white box), '-' closed (grey and empty); then the
  // truce controls, 'T' all on, 't' all off; '?' anything between.
  QString Controls() {
    QString out;
    for (int s = 0; s < 4; ++s) {
      const QLineEdit* box = w->txtPL(s);
      const QColor base = box->palette().color(QPalette::Base);
      const int on = box->isEnabled() + w->Check(s)->isEnabled();
      out += on == 2 && base == Qt::white ? 'o' : !on && base == QColor(0xC0C0C0) && box->text().isEmpty() ? '-' : '?';
    }
    int truce = 0;
    for (const char* n : {"chkTruce", "Label13", "txtTruce", "VScroll2"}) truce += Find(n)->isEnabled();
    return out + (truce == 4 ? 'T' : truce == 0 ? 't' : '?');
  }
  // Presses Start; returns title and text of every message box that came up, closing each.
  QString PressStart() {
    QString said;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        said += box->windowTitle() + ": " + box->text(), box->accept();
    });
    closer.start(10);
    QTest::mouseClick(Find("imgStart"), Qt::LeftButton);
    return said;
  }

 private slots:
  void init() { cues.played.clear(); w = new SetupWindow; w->show(); }
  void cleanup() { delete w; }
  void textsAndTheOnlineControlsSwitchedOff() {
    QCOMPARE(w->windowTitle(), QString("Valkoran - New Game"));
    const std::pair<const char*, const char*> texts[] = {
        {"Check1", "Computer Player"}, {"Check4", "Computer Player"}, {"Label13", "Player Battle Truce Until Turn:"},
        {"txtPlanets", " 30"}, {"txtTruce", "10"}, {"chkShield", "Ships Travel with Shields for Battles"},
        {"OptServerClient0", "Server"}, {"OptServerClient1", "Client"}, {"chkOnline", "Online Multiplayer Game"},
        {"txtPort", "330"}};
    for (auto [name, text] : texts) QCOMPARE(Text(name), QString(text));
    // The online controls wait for the check box, the address and the
    // connect button for a role.
    QVERIFY(Find("chkOnline")->isEnabled());
    for (const char* n : {"OptServerClient0", "OptServerClient1", "txtIP", "txtPort", "imgConnect"})
      QVERIFY2(!Find(n)->isEnabled(), n);
    Type(1, "Bob");
    Find<QCheckBox>("chkOnline")->click();
    QVERIFY(w->txtPL(1)->text().isEmpty());  // the clients' seats fill as they join
    QVERIFY(Find("OptServerClient0")->isEnabled());
    QVERIFY(!Find("imgConnect")->isEnabled());
    QVERIFY(!Find("imgStart")->isVisible());
    Find<QRadioButton>("OptServerClient1")->click();
    for (const char* n : {"txtIP", "txtPort", "imgConnect"}) QVERIFY2(Find(n)->isEnabled(), n);
    QVERIFY(!Find<QLineEdit>("txtIP")->isReadOnly());
    QCOMPARE(Find<valkoran::view::ImageButton>("imgConnect")->number(), 13);
    Find<QRadioButton>("OptServerClient0")->click();
    QVERIFY(Find<QLineEdit>("txtIP")->isReadOnly());
    QCOMPARE(Find<valkoran::view::ImageButton>("imgConnect")->number(), 14);
    QCOMPARE(cues.played, (Played{"click1.wav", "click1.wav", "click1.wav"}));
    Find<QCheckBox>("chkOnline")->click();
    QVERIFY(Find("imgStart")->isVisible());
  }
  void seatsKeepTheirHomeWorlds() {
    QCOMPARE(Controls(), QString("oooot"));
    for (auto [count, shown] : {std::pair(11, " 11ooo-t"), std::pair(9, " 9o---t"), std::pair(30, " 30oooot")}) {
      Scroll("VScroll1", count);
      QCOMPARE(Text("txtPlanets") + Controls(), QString(shown));
    }
    // A filled seat pushes the count back up to its home world; the highest one decides.
    Type(2, "Bo");
    w->Check(3)->click();
    Scroll("VScroll1", 9);
    QCOMPARE(Text("txtPlanets"), QString(" 12"));
    Erase(3);  // an erased computer seat closes with its check box off
    Scroll("VScroll1", 10);
    QCOMPARE(Text("txtPlanets") + Controls() + w->txtPL(2)->text(), QString(" 11ooo-tBo"));
    QVERIFY(!w->Check(3)->isChecked());
  }
  void upperArrowCountsUpAndKeepsTheNames() {
    // The arrow pointing up raises the number, as a person reads it, and a
    // click on it never takes a name box's text into a selection.
    Type(0, "Ann");
    for (const char* name : {"VScroll1", "VScroll2"}) {
      auto* bar = Find<QScrollBar>(name);
      if (!bar->isEnabled()) {
        Find<QCheckBox>("Check2")->click();
        Find<QCheckBox>("chkTruce")->click();
        QVERIFY(bar->isEnabled());
      }
      bar->setValue(20);
      QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 3));
      QVERIFY2(bar->value() == 21, name);
      QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
      QCOMPARE(bar->value(), 20);
    }
    QCOMPARE(Text("txtPlanets"), QString(" 20"));
    QVERIFY(w->txtPL(0)->selectedText().isEmpty());
    QCOMPARE(w->txtPL(0)->text(), QString("Ann"));
  }
  void countsCanBeTyped() {
    // A click on a count's box takes the keyboard there (not into a name),
    // a number in range moves the counter, a wrong one is put right on
    // leaving the box, and Up and Down step.
    Type(0, "Ann");
    Find<QCheckBox>("Check2")->click();  // a second seat: the truce opens
    auto* worlds = Find<QLineEdit>("txtPlanets");
    auto* bar = Find<QScrollBar>("VScroll1");
    QVERIFY(!worlds->isReadOnly() && (worlds->focusPolicy() & Qt::ClickFocus));
    auto typeInto = [](QLineEdit* box, const QString& text) {
      box->selectAll();
      QTest::keyClicks(box, text);
    };
    typeInto(worlds, "15");
    QCOMPARE(bar->value(), 15);
    QCOMPARE(worlds->text(), QString(" 15"));
    typeInto(worlds, "4");  // below the smallest system: waits
    QCOMPARE(bar->value(), 15);
    QTest::keyClick(worlds, Qt::Key_Return);
    QCOMPARE(worlds->text(), QString(" 15"));
    typeInto(worlds, "x");
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(worlds, &out);
    QCOMPARE(worlds->text(), QString(" 15"));
    QTest::keyClick(worlds, Qt::Key_Up);
    QCOMPARE(worlds->text() + Text("txtPlanets"), QString(" 16 16"));
    QTest::keyClick(worlds, Qt::Key_Down);
    QCOMPARE(bar->value(), 15);
    // Bob's home world is world 9: the count keeps it, as the counter does.
    typeInto(worlds, "9");
    QCOMPARE(worlds->text(), QString(" 10"));
    QCOMPARE(w->txtPL(1)->text(), QString("ENEMY1"));

    Find<QCheckBox>("chkTruce")->click();
    auto* truce = Find<QLineEdit>("txtTruce");
    typeInto(truce, "35");
    QCOMPARE(Find<QScrollBar>("VScroll2")->value(), 35);
    QCOMPARE(w->Setup().truceText, std::string(" 35"));
    QCOMPARE(w->Setup().worlds, 10);
    QCOMPARE(w->txtPL(0)->text(), QString("Ann"));
  }
  void computerSeatsAndTheTruce() {
    for (int s = 0; s < 4; ++s) {
      w->lblStatus(s)->setText("Client Connected");
      w->Check(s)->click();
      QCOMPARE(w->txtPL(s)->text() + w->lblStatus(s)->text(), QString("ENEMY%1Client Connected").arg(s));
    }
    Find<QCheckBox>("chkTruce")->click();
    Scroll("VScroll2", 25);
    Find<QCheckBox>("chkTruce")->click();
    Scroll("VScroll2", 30);  // moved while the truce is off: shown once it is on again
    QCOMPARE(Text("txtTruce"), QString(" 25"));
    Find<QCheckBox>("chkTruce")->click();
    QCOMPARE(Text("txtTruce"), QString(" 30"));
    for (int s : {3, 2, 0}) {
      w->Check(s)->click();
      QCOMPARE(w->txtPL(s)->text() + w->lblStatus(s)->text(), QString());
    }
    QCOMPARE(Controls(), QString("ooooT"));
    w->Check(1)->click();
    QVERIFY(w->txtPL(1)->text().isEmpty() && w->lblStatus(1)->isHidden());
    QCOMPARE(Controls(), QString("oooot"));
    QVERIFY(!Find<QCheckBox>("chkTruce")->isChecked());  // a truce nobody can switch off is off
    Type(1, "Al");
    QCOMPARE(Controls(), QString("ooooT"));
    Erase(1);
    QCOMPARE(Controls(), QString("oooot"));
  }
  void namesDropStarsAndControlsAndFit255Bytes() {
    QLineEdit* box = w->txtPL(0);
    Type(0, "A*b**c*");
    QCOMPARE(box->text(), QString("Abc"));
    const QString a253(253, 'a');
    const std::tuple<QString, int, QString, QString, int> pastes[] = {  // text, cursor, pasted; kept, cursor
        {"Abc", 1, "**x\r\n*\ty", "Axybc", 3},
        {"", 0, QString(300, QChar(0xE9)), QString(127, QChar(0xE9)), 127},
        {a253, 253, QString::fromUtf8("\xF0\x9F\x98\x80"), a253, 253},  // never half a character
        {a253, 253, QString::fromUtf8("\xC3\xA9\xC3\xA9"), a253 + QChar(0xE9), 254}};
    for (const auto& [text, at, pasted, kept, cursor] : pastes) {
      box->setText(text);
      box->setCursorPosition(at);
      QApplication::clipboard()->setText(pasted);
      QTest::keySequence(box, QKeySequence::Paste);
      QCOMPARE(std::pair(box->text(), box->cursorPosition()), std::pair(kept, cursor));
    }
    QVERIFY(!valkoran::ValidateSetup(w->Setup()));
  }
  void startTakesWhatTheControlsHoldUntilReset() {
    QSignalSpy started(w, &SetupWindow::startRequested);
    QCOMPARE(PressStart(), QString("Valkoran: You Must Enter Your Name First!"));
    QCOMPARE(cues.played, Played{"click1.wav"});  // the press only
    w->txtPL(0)->setText(QString::fromUtf8("Zo\xC3\xAB"));
    Type(2, "Bo");
    QCOMPARE(PressStart(), QString());  // an empty seat between two taken ones
    QCOMPARE(started.count(), 1);
    w->Check(1)->click();
    Scroll("VScroll1", 17);
    Find<QCheckBox>("chkTruce")->click();
    Scroll("VScroll2", 25);
    Find<QCheckBox>("chkShield")->click();
    QCOMPARE(PressStart(), QString());
    QCOMPARE(started.count(), 2);  // only the presses that nothing refused
    QCOMPARE(cues.played, Played(5, "click1.wav"));  // three presses, the truce and the shields
    valkoran::GameSetup s = w->Setup();
    QCOMPARE(s.names, (decltype(s.names){"Zo\xC3\xAB", "ENEMY1", "Bo", ""}));
    QVERIFY(s.worlds == 17 && s.truceChecked && s.truceText == " 25" && s.shields && w->ShieldOption());
    w->hide();
    w->ResetForNewGame();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QCOMPARE(w->focusWidget(), w->txtPL(0));
    s = w->Setup();
    QCOMPARE(s.names, decltype(s.names){});
    for (int i = 0; i < 4; ++i) QVERIFY(!w->Check(i)->isChecked());
    QVERIFY(s.worlds == 17 && !s.truceChecked && !s.shields && !w->ShieldOption());  // the count is kept
    QCOMPARE(cues.played.size(), 5u);
  }
  // Rounded up; chunks in any order, odd ones padded, the last pad byte may be missing.
  void waveLengthFromTheHeader() {
    const std::pair<QByteArray, int> good[] = {
        {Wave(8000, 4000), 500}, {Wave(88200, 1), 1}, {Wave(8000, 0), 0}, {Wave(100, 6000), 60000},
        {Riff(Chunk("LIST", "abc") + Chunk("data", QByteArray(16000, 'x')) + Chunk("fmt ", Fmt(16000, 18))), 1000},
        {Wave(1000, 3).chopped(1), 3}};
    for (const auto& [bytes, ms] : good) QCOMPARE(valkoran::app::WaveLengthMs(bytes), ms);
    // Not a sound the game would wait for; a minute is the longest cue.
    const QByteArray fmt = Chunk("fmt ", Fmt(8000)), sound(800, 'x'), data = Chunk("data", sound);
    const QByteArray bad[] = {Wave(100, 6001), QByteArray("RIFF\0\0\0\0WAV", 11), "RIFX" + Riff(fmt + data).mid(4),
                              Riff(fmt + data, "AVI "), Riff(data), Riff(fmt), Riff(Chunk("fmt ", Fmt(0)) + data),
                              Riff(Chunk("fmt ", Fmt(8000, 12)) + data), Riff(fmt + Chunk("data", sound, 801)),
                              Riff(Chunk("LIST", "ab", 0xFFFFFFF0u) + fmt + data)};
    for (const QByteArray& bytes : bad) QVERIFY2(valkoran::app::WaveLengthMs(bytes) == -1, bytes.toHex().left(60));
  }
  // A good file is waited for every time, a bad or missing one skipped; without audio output nothing waits.
  void cuesWaitForTheClipOrSkip() {
    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
      QFile f(dir.filePath(name));
      return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    QVERIFY(write("good.wav", Wave(16000, 4000)) && write("bad.wav", "RIFF junk"));
    std::vector<int> waited;
    Speakers<true> speakers(waited);
    Speakers<false> mute(waited);
    const QString here = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (const char* wave : {"good.wav", "bad.wav", "bad.wav", "nowhere.wav", "good.wav"}) speakers.Play(wave);
    mute.Play("good.wav");
    QDir::setCurrent(here);
    QCOMPARE(waited, (std::vector<int>{250, 250}));
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  valkoran::view::SetCuePlayer(&cues);
  AppTest t;
  return QTest::qExec(&t, argc, argv);
}

#include "app_test.moc"
