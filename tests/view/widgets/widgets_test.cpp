// The battle frames and the proximity-bomb window, as a player sees and uses them.
#include <QtTest>
#include <QtWidgets>

#include "game/presenter.h"
#include "view/battlepanel.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

using namespace valkoran;
using namespace valkoran::view;

namespace {

const QColor kGrey(128, 128, 128), kCyan(0, 255, 255);
const std::array<QColor, 5> kColours{Qt::white, Qt::red, QColor(0, 200, 0), Qt::yellow, Qt::magenta};
const BattlePanel kBattle{true, 2, 0, {"ENEMY1", 3, 25, 0, 25, 25, 73}, {"World Zea", 1, 30, 40, 17, 8.25f, 84}};
const QString kCaptions = "Class:|Ships Started:|Shield %:|Shots Left:|Ships Left:|Accuracy:";
const char* const kColumns[4][6] = {  // the frames' rows: the attacker's captions and values, the defender's
    {"Label7", "Label3", "Label8", "Label5", "Label4", "Label6"},
    {"lblFromClass", "lblFromOrig", "lblFromShield", "lblFromShot", "lblFromCurr", "lblFromAccu"},
    {"Label10", "Label9", "Label11", "Label12", "Label13", "Label14"},
    {"lblToClass", "lblToOrig", "lblToShield", "lblToShot", "lblToCurr", "lblToAccu"}};

QLabel* Label(QWidget* root, const char* name) {
  if (auto* label = root->findChild<QLabel*>(QString::fromLatin1(name))) return label;
  qFatal("no label %s", name);
}
QString Text(QWidget* root, const char* name) { return Label(root, name)->text(); }
QString Colour(QWidget* root, const char* name) { return Label(root, name)->palette().windowText().color().name(); }
QRect Place(const layout::Rect& r) { return {r.x, r.y, r.w, r.h}; }
QString Six(const QColor& colour) { return QStringList(6, colour.name()).join('|'); }
QString Column(QWidget* root, int column, bool colours = false) {  // texts or colours, top down
  QStringList out;
  for (const char* name : kColumns[column]) out << (colours ? Colour(root, name) : Text(root, name));
  return out.join('|');
}

// All a click on ImgSet does with a typed threshold: refusal box, window, box, signals, signals on closing again.
QString AfterSet(const QString& typed) {
  ProximityWindow w;
  QSignalSpy set(&w, &ProximityWindow::thresholdSet), none(&w, &ProximityWindow::closedWithoutBomb);
  w.Open(137);
  auto* text1 = w.findChild<QLineEdit*>("Text1");
  text1->setText(typed);
  QString out = typed + " ->";
  QTimer poll;  // the box runs its own event loop; answer it from there
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      out += " " + box->windowTitle() + ": " + box->text();
      box->accept();
    }
  });
  poll.start(5);
  QTest::mouseClick(w.findChild<ImageButton*>("ImgSet"), Qt::LeftButton);
  out += QString(w.isVisible() ? " open" : " closed") + (text1->text() == typed ? "" : " retyped");
  for (const QList<QVariant>& args : set) out += " set " + args.at(0).toString();
  out += QString(" none").repeated(none.count());
  if (w.isVisible()) return out;
  w.close();  // already gone: closing again says nothing more
  return out + QString(" again").repeated(set.count() + none.count() - 1);
}

}  // namespace

class WidgetsTest : public QObject {
  Q_OBJECT

 private slots:
  void battleFramesSitInPlaceShowEachShotAndClearAfterwards() {
    QWidget area;
    area.resize(layout::kAreaWidth, layout::kAreaHeight);
    BattleFrames frames(&area);
    QCOMPARE(area.findChildren<QLabel*>().size(), 26);
    auto idle = [&] {
      QCOMPARE(Text(&area, "Label1") + Text(&area, "Label2") + Column(&area, 1) + Column(&area, 3), QString(10, '|'));
      QCOMPARE(Column(&area, 0), kCaptions);
      QCOMPARE(Colour(&area, "Label1") + Colour(&area, "Label2"), kGrey.name() + kGrey.name());
      QCOMPARE(Column(&area, 0, true) + Column(&area, 2, true), Six(kGrey) + Six(kGrey));
    };
    idle();  // a fresh window shows no battle
    frames.Show(kBattle, kColours);
    QCOMPARE(Text(&area, "Label1") + "|" + Text(&area, "Label2"), QStringLiteral("ENEMY1|World Zea"));
    QCOMPARE(Colour(&area, "Label1") + Colour(&area, "Label2"), kColours[2].name() + "#ffffff");  // nobody's: white
    QCOMPARE(Column(&area, 0) + "|" + Column(&area, 2), kCaptions + "|" + kCaptions);
    QCOMPARE(Column(&area, 0, true) + Column(&area, 2, true), Six(kCyan) + Six(kCyan));
    QCOMPARE(Column(&area, 1), QStringLiteral(" 3| 25| 0| 25| 25| 73"));
    QCOMPARE(Column(&area, 3), QStringLiteral(" 1| 30| 40| 17| 8.25| 84"));
    QCOMPARE(Column(&area, 1, true) + Column(&area, 3, true), Six(kColours[2]) + Six(Qt::white));

    BattlePanel shot{true, 2, 4, kBattle.from, {"ENEMY3 - World Zea", 1, 30, 40, 17, 0, 84}};
    frames.Show(shot, kColours);  // the frames follow each shot; an owned world shows its owner's colour
    QCOMPARE(Text(&area, "Label2") + "|" + Text(&area, "lblToCurr"), QStringLiteral("ENEMY3 - World Zea| 0"));
    QCOMPARE(Colour(&area, "Label2") + Colour(&area, "lblToCurr"), kColours[4].name() + kColours[4].name());
    shot.active = false;  // the values of the last battle must not linger
    frames.Show(shot, kColours);
    idle();
    shot = {true, 3, 2, {"ENEMY3", 5, 9998, 100, 9998, 9998, 99}, {"ENEMY2", 5, 9998, 100, 9998, 9998.25f, 99}};
    frames.Show(shot, kColours);
    for (auto [frame, name, r] : {std::tuple{frames.fraFrom(), "fraFrom", layout::kFraFrom},
                                  std::tuple{frames.fraTo(), "fraTo", layout::kFraTo}}) {
      QCOMPARE(frame->objectName() + "|" + frame->title(), name + QStringLiteral("|Fleet Captain"));
      QVERIFY(frame->parentWidget() == &area && frame->geometry() == Place(r));
      QList<QRect> rows;  // every label inside its frame and big enough for the longest figures; rows apart
      for (const QLabel* label : frame->findChildren<QLabel*>()) {
        const QFontMetrics m = label->fontMetrics();
        QVERIFY2(frame->rect().contains(label->geometry()) && m.horizontalAdvance(label->text()) <= label->width() &&
                     m.height() <= label->height() + 2, qPrintable(label->objectName()));
        if (!label->text().endsWith(':')) continue;
        for (const QRect& row : rows) QVERIFY(!row.intersects(label->geometry()));
        rows << label->geometry();
      }
      QCOMPARE(rows.size(), 6);
    }
  }

  void proximityWindowOffersTheSourcesShipsInSteps() {
    ProximityWindow w;
    QSignalSpy set(&w, &ProximityWindow::thresholdSet), none(&w, &ProximityWindow::closedWithoutBomb);
    QCOMPARE(w.objectName() + "|" + w.windowTitle(), QStringLiteral("frmProximity|Proximity Bomb"));
    auto* text1 = w.findChild<QLineEdit*>("Text1");
    auto* bar = w.findChild<QScrollBar*>("VScroll1");
    auto* button = w.findChild<ImageButton*>("ImgSet");
    QVERIFY(w.isWindow() && w.windowModality() == Qt::NonModal && text1 && bar && button && button->number() == 18);
    QVERIFY(bar->orientation() == Qt::Vertical && bar->minimum() == 0 && bar->maximum() == 9998);
    QCOMPARE(button->geometry(), Place(layout::kProximitySet));
    // One size: a close button, nothing to maximise.
    QVERIFY(w.windowFlags().testFlag(Qt::WindowCloseButtonHint) && !w.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(w.minimumSize(), w.maximumSize());
    QVERIFY(std::ranges::any_of(w.findChildren<QLabel*>(),
                                [](const QLabel* label) { return label->text() == "Ship Threshold of Bomb"; }));
    // The source's ships within the bar's range: the bar rounds half to even, the box keeps the count.
    const std::tuple<float, int, const char*, int> opens[] = {
        {137, 137, " 137", 5}, {12000, 9998, " 9998", 10}, {0, 0, " 0", 1}, {8.5f, 8, " 8.5", 1},
        {9.5f, 10, " 9.5", 1}};
    for (auto [ships, value, text, step] : opens) {
      w.Open(ships);
      QCOMPARE(text1->text(), QString::fromLatin1(text));
      QVERIFY(w.isVisible() && bar->value() == value && bar->singleStep() == step);
    }
    text1->setText("50");  // opened again after the player typed: the default comes back though the bar stays
    w.Open(9.5f);
    QCOMPARE(text1->text(), QStringLiteral(" 9.5"));
    const std::pair<int, const char*> moves[] = {{99, " 99|1"}, {100, " 100|5"}, {499, " 499|5"}, {500, " 500|10"},
                                                 {9998, " 9998|10"}, {0, " 0|1"}, {12000, " 9998|10"}};
    for (auto [value, shown] : moves) {
      bar->setValue(value);
      QCOMPARE(text1->text() + "|" + QString::number(bar->singleStep()), QString::fromLatin1(shown));
    }
    QVERIFY(w.close() && !w.isVisible() && none.count() == 1 && set.count() == 0);  // by the title bar: no bomb
  }

  void proximityThresholdIsFromOneTo9998OrNothing() {
    const QString refused = " Valkoran: The Ship Threshold Must Be From 1 To 9998 Ships! open";
    const std::pair<const char*, QString> rows[] = {
        {"9998", " closed set 9998"}, {" 9998", " closed set 9998"}, {"1", " closed set 1"}, {"12.5", " closed set 12"},
        {"13.5", " closed set 14"}, {"\t 25 ships", " closed set 25"}, {"0", " closed none"}, {"", " closed none"},
        {"   ", " closed none"}, {"9999", refused}, {"9998.5", refused}, {"-1", refused}, {"0.5", refused},
        {"many", refused}, {"-", refused}, {"1e999", refused}};
    for (const auto& [typed, outcome] : rows) QCOMPARE(AfterSet(typed), typed + QStringLiteral(" ->") + outcome);
  }
};

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  WidgetsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "widgets_test.moc"
