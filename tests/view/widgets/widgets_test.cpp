// The battle frames and the proximity-bomb window, as a player sees and
// uses them.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <array>
#include <memory>

#include "game/presenter.h"
#include "view/battlepanel.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

using valkoran::BattlePanel;
using valkoran::view::BattleFrames;
using valkoran::view::ImageButton;
using valkoran::view::ProximityWindow;

namespace {

const QColor kCyan(0, 255, 255);
const QColor kGrey(128, 128, 128);
const std::array<QColor, 5> kColours{QColor(Qt::white), QColor(255, 0, 0), QColor(0, 200, 0), QColor(255, 255, 0),
                                     QColor(255, 0, 255)};

// Captions and values of one frame, row by row.
const char* const kFromCaptions[6] = {"Label7", "Label3", "Label8", "Label5", "Label4", "Label6"};
const char* const kToCaptions[6] = {"Label10", "Label9", "Label11", "Label12", "Label13", "Label14"};
const char* const kCaptionTexts[6] = {"Class:", "Ships Started:", "Shield %:", "Shots Left:", "Ships Left:",
                                      "Accuracy:"};
const char* const kFromValues[6] = {"lblFromClass", "lblFromOrig", "lblFromShield",
                                    "lblFromShot",  "lblFromCurr", "lblFromAccu"};
const char* const kToValues[6] = {"lblToClass", "lblToOrig", "lblToShield", "lblToShot", "lblToCurr", "lblToAccu"};

QColor TextColour(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

// Records refusals instead of showing a modal box.
class RecordingProximity : public ProximityWindow {
 public:
  QStringList refusals;

 protected:
  void Refuse(const QString& text) override { refusals << text; }
};

}  // namespace

class WidgetsTest : public QObject {
  Q_OBJECT

 private:
  QLabel* Label(QWidget* root, const char* name) {
    auto* label = root->findChild<QLabel*>(QString::fromLatin1(name));
    if (!label) qFatal("no label %s", name);
    return label;
  }

  BattlePanel Battle() {
    BattlePanel p;
    p.active = true;
    p.attacker = 2;
    p.defender = 0;
    p.from = {"ENEMY1", 3, 25, 0, 25, 25, 73};
    p.to = {"World Zea", 1, 30, 40, 17, 8.25f, 84};
    return p;
  }

 private slots:
  void battleFramesSitInTheirPlaces() {
    QWidget area;
    area.resize(valkoran::layout::kAreaWidth, valkoran::layout::kAreaHeight);
    BattleFrames frames(&area);
    for (auto [frame, r] : {std::pair{frames.fraFrom(), valkoran::layout::kFraFrom},
                            std::pair{frames.fraTo(), valkoran::layout::kFraTo}}) {
      QCOMPARE(frame->parentWidget(), &area);
      QCOMPARE(frame->geometry(), QRect(r.x, r.y, r.w, r.h));
      QCOMPARE(frame->title(), QStringLiteral("Fleet Captain"));
    }
    QCOMPARE(frames.fraFrom()->objectName(), QStringLiteral("fraFrom"));
    QCOMPARE(frames.fraTo()->objectName(), QStringLiteral("fraTo"));
    QCOMPARE(area.findChildren<QLabel*>().size(), 26);

    // Every label inside its frame, captions wide enough for their text and
    // values for the longest figure, no two rows on top of each other.
    const BattlePanel wide = [] {
      BattlePanel p;
      p.active = true;
      p.from = {"ENEMY3", 5, 9998, 100, 9998, 9998, 99};
      p.to = {"ENEMY2", 5, 9998, 100, 9998, 9998.25f, 99};
      return p;
    }();
    frames.Show(wide, kColours);
    for (const QGroupBox* frame : {frames.fraFrom(), frames.fraTo()}) {
      QList<QRect> rows;
      for (const QLabel* label : frame->findChildren<QLabel*>()) {
        QVERIFY2(frame->rect().contains(label->geometry()), qPrintable(label->objectName()));
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
        QVERIFY2(label->fontMetrics().height() <= label->height() + 2, qPrintable(label->objectName()));
        if (label->text().endsWith(':')) rows << label->geometry();
      }
      QCOMPARE(rows.size(), 6);
      for (int i = 0; i < rows.size(); ++i)
        for (int j = i + 1; j < rows.size(); ++j) QVERIFY(!rows[i].intersects(rows[j]));
    }
  }

  void battleFramesDuringABattle() {
    QWidget area;
    BattleFrames frames(&area);
    frames.Show(Battle(), kColours);

    QCOMPARE(Label(&area, "Label1")->text(), QStringLiteral("ENEMY1"));
    QCOMPARE(Label(&area, "Label2")->text(), QStringLiteral("World Zea"));
    QCOMPARE(TextColour(Label(&area, "Label1")), kColours[2]);
    QCOMPARE(TextColour(Label(&area, "Label2")), QColor(Qt::white));  // nobody's world

    const char* fromTexts[6] = {" 3", " 25", " 0", " 25", " 25", " 73"};
    const char* toTexts[6] = {" 1", " 30", " 40", " 17", " 8.25", " 84"};
    for (int i = 0; i < 6; ++i) {
      QCOMPARE(Label(&area, kFromCaptions[i])->text(), QString::fromLatin1(kCaptionTexts[i]));
      QCOMPARE(Label(&area, kToCaptions[i])->text(), QString::fromLatin1(kCaptionTexts[i]));
      QCOMPARE(TextColour(Label(&area, kFromCaptions[i])), kCyan);
      QCOMPARE(TextColour(Label(&area, kToCaptions[i])), kCyan);
      QCOMPARE(Label(&area, kFromValues[i])->text(), QString::fromLatin1(fromTexts[i]));
      QCOMPARE(Label(&area, kToValues[i])->text(), QString::fromLatin1(toTexts[i]));
      QCOMPARE(TextColour(Label(&area, kFromValues[i])), kColours[2]);
      QCOMPARE(TextColour(Label(&area, kToValues[i])), QColor(Qt::white));
    }

    // An owned world shows its owner's colour; the frames follow each shot.
    BattlePanel owned = Battle();
    owned.defender = 4;
    owned.to.name = "ENEMY3 - World Zea";
    owned.to.ships = 0;
    frames.Show(owned, kColours);
    QCOMPARE(Label(&area, "Label2")->text(), QStringLiteral("ENEMY3 - World Zea"));
    QCOMPARE(TextColour(Label(&area, "Label2")), kColours[4]);
    QCOMPARE(TextColour(Label(&area, "lblToCurr")), kColours[4]);
    QCOMPARE(Label(&area, "lblToCurr")->text(), QStringLiteral(" 0"));
  }

  void battleFramesAfterABattle() {
    QWidget area;
    BattleFrames frames(&area);
    auto idle = [&] {
      for (const char* name : {"Label1", "Label2"}) {
        QCOMPARE(Label(&area, name)->text(), QString());
        QCOMPARE(TextColour(Label(&area, name)), kGrey);
      }
      for (int i = 0; i < 6; ++i) {
        QCOMPARE(TextColour(Label(&area, kFromCaptions[i])), kGrey);
        QCOMPARE(TextColour(Label(&area, kToCaptions[i])), kGrey);
        QCOMPARE(Label(&area, kFromCaptions[i])->text(), QString::fromLatin1(kCaptionTexts[i]));
        QCOMPARE(Label(&area, kFromValues[i])->text(), QString());
        QCOMPARE(Label(&area, kToValues[i])->text(), QString());
      }
    };
    idle();  // a fresh window shows no battle
    frames.Show(Battle(), kColours);
    BattlePanel done = Battle();
    done.active = false;  // the values of the last battle must not linger
    frames.Show(done, kColours);
    idle();
  }

  void proximityWindowOpens() {
    RecordingProximity w;
    QCOMPARE(w.objectName(), QStringLiteral("frmProximity"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Proximity Bomb"));
    QVERIFY(w.isWindow());
    QCOMPARE(w.windowModality(), Qt::NonModal);
    auto* text1 = w.findChild<QLineEdit*>("Text1");
    auto* bar = w.findChild<QScrollBar*>("VScroll1");
    auto* set = w.findChild<ImageButton*>("ImgSet");
    QVERIFY(text1 && bar && set);
    QCOMPARE(bar->orientation(), Qt::Vertical);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 9998);
    QCOMPARE(set->number(), 18);
    const auto& r = valkoran::layout::kProximitySet;
    QCOMPARE(set->geometry(), QRect(r.x, r.y, r.w, r.h));
    bool captioned = false;
    for (const QLabel* label : w.findChildren<QLabel*>())
      captioned |= label->text() == QStringLiteral("Ship Threshold of Bomb");
    QVERIFY(captioned);

    w.Open(137);
    QVERIFY(w.isVisible());
    QCOMPARE(text1->text(), QStringLiteral(" 137"));
    QCOMPARE(bar->value(), 137);
    QCOMPARE(bar->singleStep(), 5);

    // Opened again for the same world after the player typed: the default
    // comes back although the bar does not move.
    text1->setText("50");
    w.Open(137);
    QCOMPARE(text1->text(), QStringLiteral(" 137"));

    // More ships than a threshold can take, none, and a fraction (the bar
    // rounds half to even, the box keeps the count).
    w.Open(12000);
    QCOMPARE(bar->value(), 9998);
    QCOMPARE(text1->text(), QStringLiteral(" 9998"));
    QCOMPARE(bar->singleStep(), 10);
    w.Open(0);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(text1->text(), QStringLiteral(" 0"));
    QCOMPARE(bar->singleStep(), 1);
    w.Open(8.5f);
    QCOMPARE(bar->value(), 8);
    QCOMPARE(text1->text(), QStringLiteral(" 8.5"));
    w.Open(9.5f);
    QCOMPARE(bar->value(), 10);
  }

  void proximityScrollBar() {
    RecordingProximity w;
    w.Open(0);
    auto* text1 = w.findChild<QLineEdit*>("Text1");
    auto* bar = w.findChild<QScrollBar*>("VScroll1");
    const std::pair<int, int> steps[] = {{99, 1}, {100, 5}, {499, 5}, {500, 10}, {9998, 10}, {0, 1}};
    for (auto [value, step] : steps) {
      bar->setValue(value);
      QCOMPARE(text1->text(), QString::fromStdString(" " + std::to_string(value)));
      QCOMPARE(bar->singleStep(), step);
    }
    bar->setValue(12000);  // the bar never leaves its range
    QCOMPARE(text1->text(), QStringLiteral(" 9998"));
  }

  void proximityThreshold_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("threshold");  // 0: closed without a bomb, -1: refused
    QTest::newRow("largest") << "9998" << 9998;
    QTest::newRow("as the bar writes it") << " 9998" << 9998;
    QTest::newRow("smallest") << "1" << 1;
    QTest::newRow("half to even down") << "12.5" << 12;
    QTest::newRow("half to even up") << "13.5" << 14;
    QTest::newRow("leading number") << "\t 25 ships" << 25;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks") << "   " << 0;
    QTest::newRow("too many") << "9999" << -1;
    QTest::newRow("just above") << "9998.5" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("rounds to nothing") << "0.5" << -1;
    QTest::newRow("words") << "many" << -1;
    QTest::newRow("a sign alone") << "-" << -1;
    QTest::newRow("beyond any number") << "1e999" << -1;
  }

  void proximityThreshold() {
    QFETCH(QString, typed);
    QFETCH(int, threshold);
    RecordingProximity w;
    QSignalSpy set(&w, &ProximityWindow::thresholdSet);
    QSignalSpy none(&w, &ProximityWindow::closedWithoutBomb);
    w.Open(137);
    auto* text1 = w.findChild<QLineEdit*>("Text1");
    text1->setText(typed);
    QTest::mouseClick(w.findChild<ImageButton*>("ImgSet"), Qt::LeftButton);

    if (threshold < 0) {
      QCOMPARE(w.refusals, QStringList{QStringLiteral("The Ship Threshold Must Be From 1 To 9998 Ships!")});
      QVERIFY(w.isVisible());
      QCOMPARE(text1->text(), typed);
      QCOMPARE(set.count(), 0);
      QCOMPARE(none.count(), 0);
      return;
    }
    QVERIFY(w.refusals.isEmpty());
    QVERIFY(!w.isVisible());
    if (threshold > 0) {
      QCOMPARE(set.count(), 1);
      QCOMPARE(set.at(0).at(0).toInt(), threshold);
      QCOMPARE(none.count(), 0);
    } else {
      QCOMPARE(set.count(), 0);
      QCOMPARE(none.count(), 1);
    }
    w.close();  // already gone: closing again says nothing more
    QCOMPARE(set.count() + none.count(), 1);
  }

  void proximityClosedByTitleBar() {
    RecordingProximity w;
    QSignalSpy set(&w, &ProximityWindow::thresholdSet);
    QSignalSpy none(&w, &ProximityWindow::closedWithoutBomb);
    w.Open(40);
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(none.count(), 1);
    QCOMPARE(set.count(), 0);
  }

  void proximityRefusalIsAMessageBox() {
    ProximityWindow w;
    w.Open(137);
    w.findChild<QLineEdit*>("Text1")->setText("-5");
    QString title, text;
    QTimer poll;  // the box runs its own event loop; answer it from there
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        box->accept();
      }
    });
    poll.start(10);
    w.ImgSet_Click();
    QCOMPARE(title, QStringLiteral("Valkoran"));
    QCOMPARE(text, QStringLiteral("The Ship Threshold Must Be From 1 To 9998 Ships!"));
    QVERIFY(w.isVisible());
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  WidgetsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "widgets_test.moc"
