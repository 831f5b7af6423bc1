#include "view/galaxycontrols.h"

#include <QAction>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>

#include "game/console.h"
#include "view/assets.h"
#include "view/battlepanel.h"
#include "view/galaxycanvas.h"
#include "view/handoverscreen.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

namespace valkoran::view {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QString Lines(const std::string& s) { return Q(s).replace("\r\n", "\n"); }

namespace {

QRect R(const layout::Rect& r) { return QRect(r.x, r.y, r.w, r.h); }

// The world list's rows carry tabs between their columns: they are drawn
// with tab stops under the columns of the header line above the list.
class TabbedRows : public QStyledItemDelegate {
 public:
  TabbedRows(QObject* parent, const QFont& font) : QStyledItemDelegate(parent), font_(font) {
    const QFontMetricsF m(font);
    const QString header = QString::fromStdString(kConsoleHeader);
    for (const char* column : {"Class:", "Prod:", "Shield:", "Ships/Bombs:"})
      stops_.append(m.horizontalAdvance(header.left(header.indexOf(column))) - 2);
  }
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    const QString text = o.text;
    o.text.clear();
    o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, p, o.widget);
    QTextOption layout;
    layout.setTabArray(stops_);
    layout.setWrapMode(QTextOption::NoWrap);
    p->save();
    p->setFont(font_);
    p->setPen(o.palette.color(QPalette::Text));
    p->drawText(QRectF(o.rect).adjusted(2, 0, 0, 0), text, layout);
    p->restore();
  }

 private:
  QFont font_;
  QList<qreal> stops_;
};

}  // namespace

void GalaxyControls::Build(QMainWindow* window) {
  // The board keeps its size; a window made larger (maximised) shows it in
  // the middle of the night sky's colour rather than in a corner.
  auto* stage = new QWidget(window);
  stage->setObjectName("stage");
  QPalette night = stage->palette();
  night.setColor(QPalette::Window, QColor(4, 6, 14));
  stage->setPalette(night);
  stage->setAutoFillBackground(true);
  canvas = new GalaxyCanvas(stage);
  auto* centre = new QGridLayout(stage);
  centre->setContentsMargins(0, 0, 0, 0);
  centre->addWidget(canvas, 0, 0, Qt::AlignCenter);
  window->setCentralWidget(stage);

  QFont small("DejaVu Sans", 8);
  const QString panel =
      "background: rgba(6, 10, 24, 215); color: rgb(215, 225, 240); border: 1px solid rgb(50, 65, 95);";

  // The notice line: one line, or two in a smaller face when a notice is
  // longer than the line (long names), so nothing of it is ever cut.
  txtGame = new QLabel(canvas);
  txtGame->setObjectName("txtGame");
  txtGame->setFont(QFont("DejaVu Sans", 9));
  txtGame->setGeometry(R(layout::kTxtGame));
  txtGame->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  txtGame->setContentsMargins(3, 0, 3, 0);
  txtGame->setStyleSheet(panel + "color: rgb(255, 230, 140);");

  txtMove = new QPlainTextEdit(canvas);
  txtMove->setObjectName("txtMove");
  txtMove->setReadOnly(true);
  txtMove->setFont(small);
  txtMove->setGeometry(R(layout::kTxtMove));
  txtMove->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtMove->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtMove->setStyleSheet("QPlainTextEdit {" + panel + "}");
  txtMove->viewport()->setCursor(Qt::PointingHandCursor);

  txtOwned = new QLineEdit(canvas);
  txtOwned->setObjectName("txtOwned");
  txtOwned->setReadOnly(true);
  txtOwned->setFocusPolicy(Qt::NoFocus);
  txtOwned->setFont(small);
  txtOwned->setGeometry(R(layout::kTxtOwned));
  txtOwned->setStyleSheet(panel + "color: rgb(0, 255, 255);");

  auto makeList = [&](const char* name, const layout::Rect& r) {
    auto* l = new QListWidget(canvas);
    l->setObjectName(name);
    l->setFont(small);
    l->setGeometry(R(r));
    l->setStyleSheet("QListWidget {" + panel + "} QListWidget::item:selected { background: rgb(40, 70, 130); }");
    l->setFocusPolicy(Qt::NoFocus);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
  };
  lstOwned = makeList("lstOwned", layout::kLstOwned);
  // Rows and header line up in a fixed-width face: the rows right-align
  // their ship counts with blanks.
  const QFont fixed("DejaVu Sans Mono", 7);
  txtOwned->setFont(fixed);
  lstOwned->setFont(fixed);
  lstOwned->setItemDelegate(new TabbedRows(lstOwned, fixed));
  lstTravel = makeList("lstTravel", layout::kLstTravel);

  lstInfo = new QListWidget(canvas);
  lstInfo->setObjectName("lstInfo");
  lstInfo->setFont(small);
  lstInfo->setStyleSheet("QListWidget {" + panel + "color: white; }");
  lstInfo->setFocusPolicy(Qt::NoFocus);
  lstInfo->hide();

  txtChat = new QPlainTextEdit(canvas);
  txtChat->setObjectName("txtChat");
  txtChat->setReadOnly(true);
  txtChat->setFont(small);
  txtChat->setGeometry(R(layout::kTxtChat));
  txtChat->setStyleSheet("QPlainTextEdit {" + panel + "}");
  txtChat->setTabStopDistance(QFontMetrics(small).horizontalAdvance(' ') * 4);
  txtChat->setFocusPolicy(Qt::NoFocus);

  txtMessage = new QLineEdit(canvas);
  txtMessage->setObjectName("txtMessage");
  txtMessage->setGeometry(R(layout::kTxtMessage));
  txtMessage->setStyleSheet(panel + "color: white;");

  lblPlanet = new QLabel(canvas);
  lblPlanet->setObjectName("lblPlanet");
  lblPlanet->setFont(QFont("DejaVu Sans", 9));
  lblPlanet->setStyleSheet(
      "background: rgba(8, 12, 30, 235); color: white; border: 1px solid rgb(90, 110, 160); padding: 3px 6px;");
  lblPlanet->hide();

  for (int s = 0; s < kSeats; ++s) {
    auto* l = new QLabel(canvas);
    l->setObjectName(QString("lblStatus%1").arg(s));
    l->setGeometry(R(layout::StatusLine(s)));
    l->setFont(small);
    lblStatus[s] = l;
  }
  for (int i = 0; i < 30; ++i) {
    auto* l = new QLabel(canvas);
    l->setObjectName(QString("lblName%1").arg(i));
    l->setFont(small);
    l->setStyleSheet("color: white; background: transparent;");
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->hide();
    lblName[i] = l;
  }
  FleetLabel(0);

  auto indicator = [&](const char* name, const char* file, const layout::Rect& r) {
    auto* l = new QLabel(canvas);
    l->setObjectName(name);
    l->setGeometry(R(r));
    l->setPixmap(LoadPixmap(file));
    l->setScaledContents(true);
    l->hide();
    return l;
  };
  ImgBomb = indicator("ImgBomb", "bomb.png", layout::kImgBomb);
  ImgDouble = indicator("ImgDouble", "fuel.png", layout::kImgDouble);
  ImgCrystal = indicator("ImgCrystal", "crystal.png", layout::kImgCrystal);
  ImgBomb->setToolTip("Bombs stored on your worlds");
  ImgDouble->setToolTip("Double Speed Fuel: fleets from that world travel twice as fast");
  ImgCrystal->setToolTip("Information Crystal: you see every value of unowned worlds");
  LblBomb = new QLabel(canvas);
  LblBomb->setObjectName("LblBomb");
  LblBomb->setGeometry(R(layout::kLblBomb));
  LblBomb->setStyleSheet("color: white;");
  LblBomb->hide();

  for (const layout::Button& b : layout::kButtons) {
    auto* button = new ImageButton(b.name, b.number, ImageButton::Released::Background, true, canvas);
    button->setGeometry(R(b.rect));
    buttons.push_back(button);
    if (std::string(b.name) == "ImgSend") ImgSend = button;
    static const std::pair<const char*, const char*> kTips[] = {
        {"ImgLabels", "Show or hide the names of the worlds"},
        {"ImgTravel", "Show your fleets and their paths; again to hide them"},
        {"ImgDone", "End your turn (or double-click the map)"},
        {"ImgHelp", "Quick help"},
        {"ImgStatus", "The standing of every player"},
        {"ImgQuit", "Leave the game"},
        {"ImgSend", "Send the chat line (Enter)"}};
    for (const auto& [name, tip] : kTips)
      if (std::string(b.name) == name) button->setToolTip(tip);
  }

  battle = new BattleFrames(canvas);
  proximity = new ProximityWindow(window);
  handOver = new HandOverScreen(canvas);

  tmrTurn = new QTimer(window);
  tmrTurn->setObjectName("tmrTurn");
  tmrTurn->setSingleShot(true);
  tmrMessage = new QTimer(window);
  tmrMessage->setObjectName("tmrMessage");
  tmrMessage->setSingleShot(true);

  QMenuBar* bar = window->menuBar();
  auto item = [](QMenu* menu, const char* name, const QString& caption, QChar key,
                 QKeySequence shortcut = QKeySequence()) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(name);
    a->setProperty("mnemonic", key);
    a->setShortcut(shortcut);
    SetCaption(a, caption);
    return a;
  };

  mnuFile = bar->addMenu("&File");
  mnuFile->setObjectName("mnuFile");
  mnuFileNew = item(mnuFile, "mnuFileNew", "New Game", 'N', QKeySequence::New);
  mnuFileLoad = item(mnuFile, "mnuFileLoad", "Load Game...", 'L', QKeySequence::Open);
  mnuFileSave = item(mnuFile, "mnuFileSave", "Save Game...", 'S', QKeySequence::Save);
  mnuFile->addSeparator();
  mnuFileAutoSave = item(mnuFile, "mnuFileAutoSave", "AutoSave Off", 'A');
  mnuFileAutoSave->setCheckable(true);
  mnuFile->addSeparator();
  mnuFileExit = item(mnuFile, "mnuFileExit", "Exit", 'x', QKeySequence(Qt::CTRL | Qt::Key_Q));

  mnuCommand = bar->addMenu("&Command");
  mnuCommand->setObjectName("mnuCommand");
  com[kAll] = item(mnuCommand, "mnuComSendAll", "", '1');
  com[k75] = item(mnuCommand, "mnuComSend75", "", '7');
  com[k50] = item(mnuCommand, "mnuComSend50", "", '5');
  com[k25] = item(mnuCommand, "mnuComSend25", "", '2');
  com[k10] = item(mnuCommand, "mnuComSend10", "", '0');
  com[kLine9] = mnuCommand->addSeparator();
  com[kLine9]->setObjectName("mnuline9");
  com[kScout] = item(mnuCommand, "mnuComSendScout", "", 'S');
  com[kLine2] = mnuCommand->addSeparator();
  com[kLine2]->setObjectName("mnuLine2");
  com[kCalc] = item(mnuCommand, "mnuComCalc", "Calculate Travel Distance Between Worlds", 'C');
  com[kLine7] = mnuCommand->addSeparator();
  com[kLine7]->setObjectName("mnuline7");
  com[kBomb] = item(mnuCommand, "mnuComSendBomb", "Send A Bomb To World", 'B');
  com[kProx] = item(mnuCommand, "mnuComSendProx", "Set A Proximity Bomb On World", 'P');
  com[kPulse] = item(mnuCommand, "mnuComSendPulse", "Set A Pulse Bomb On World", 'u');
  ResetCommandCaptions();

  mnuInfo = bar->addMenu("&Information");
  mnuInfo->setObjectName("mnuInfo");
  mnuInfoFleets = item(mnuInfo, "mnuInfoFleets", "Show Position of Traveling Fleets", 'F');
  mnuInfoLabels = item(mnuInfo, "mnuInfoLabels", "Show World Labels", 'L');
  mnuInfoStatus = item(mnuInfo, "mnuInfoStatus", "Show Status of Solar System", 'S');
  mnuInfo->addSeparator();
  mnuInfoHigh = item(mnuInfo, "mnuInfoHigh", "Show HighScores", 'H');

  mnuOptions = bar->addMenu("&Options");
  mnuOptions->setObjectName("mnuOptions");
  mnuOptionsTurn = item(mnuOptions, "mnuOptionsTurn", "Turn Timer Off", 'T');
  mnuOptionsSpeed = item(mnuOptions, "mnuOptionsSpeed", "Turn Speed Game On", 'G');
  mnuOptions->addSeparator();
  // Indicators of the game's own settings: a click changes nothing.
  mnuOptionsShield = item(mnuOptions, "mnuOptionsShield", "Ships Travel with Shields", 'h');
  mnuOptionsShield->setCheckable(true);
  mnuOptionsTruce = item(mnuOptions, "mnuOptionsTruce", "No Battle Truce", 'B');
  mnuOptionsTruce->setCheckable(true);
  mnuOptions->addSeparator();
  // Between two humans' turns at this machine, a screen hides each one's
  // plans from the other.
  mnuOptionsHandOver = item(mnuOptions, "mnuOptionsHandOver", "Hand-Over Screen Between Players", 'O');
  mnuOptionsHandOver->setCheckable(true);
  mnuOptionsHandOver->setChecked(true);

  mnuHelp = bar->addMenu("&Help");
  mnuHelp->setObjectName("mnuHelp");
  mnuHelpValkoran = item(mnuHelp, "mnuHelpValkoran", "Valkoran Help", 'H', QKeySequence::HelpContents);
  mnuHelp->addSeparator();
  mnuHelpWeb = item(mnuHelp, "mnuHelpWeb", "Valkoran on the Web", 'W');
  mnuHelpUpgrade = item(mnuHelp, "mnuHelpUpgrade", "Check for Upgrades", 'U');
  mnuHelpBug = item(mnuHelp, "mnuHelpBug", "Report a Bug", 'R');
  mnuHelp->addSeparator();
  mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", "About Valkoran", 'A');
}

void SetCaption(QAction* item, const QString& caption) {
  QString text = caption;
  text.replace('&', "&&");
  const QChar key = item->property("mnemonic").toChar();
  if (!key.isNull()) {
    qsizetype at = text.indexOf(key, 0, Qt::CaseSensitive);
    if (at < 0) at = text.indexOf(key, 0, Qt::CaseInsensitive);
    if (at >= 0) text.insert(at, '&');
  }
  item->setText(text);
}

QString PlainCaption(const QAction* item) {
  QString out;
  const QString text = item->text();
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

void GalaxyControls::PopUpCommandMenu(const CommandMenu& menu, QPoint at) {
  const bool pulse = menu.pulseOnly;
  SetCaption(com[kAll], Q(menu.all));
  SetCaption(com[k75], Q(menu.p75));
  SetCaption(com[k50], Q(menu.p50));
  SetCaption(com[k25], Q(menu.p25));
  SetCaption(com[k10], Q(menu.p10));
  SetCaption(com[kScout], Q(menu.scout));
  com[kAll]->setVisible(!pulse && menu.showAll);
  com[k75]->setVisible(!pulse && menu.show75);
  com[k50]->setVisible(!pulse && menu.show50);
  com[k25]->setVisible(!pulse && menu.show25);
  com[k10]->setVisible(!pulse && menu.show10);
  com[kLine9]->setVisible(!pulse && menu.showLine9);
  com[kScout]->setVisible(!pulse && menu.showScout);
  com[kLine2]->setVisible(!pulse && menu.showLine2);
  com[kCalc]->setVisible(!pulse);
  com[kLine7]->setVisible(!pulse && menu.showLine7);
  com[kBomb]->setVisible(!pulse && menu.showBomb);
  com[kProx]->setVisible(menu.showProx);
  com[kPulse]->setVisible(pulse && menu.showPulse);
  // The menu opens at the pointer but stays over the game's window, not
  // beside it, when the world is near the window's right or lower edge.
  const QSize size = mnuCommand->sizeHint();
  const QRect area(canvas->mapToGlobal(QPoint(0, 0)), canvas->size());
  if (at.x() + size.width() > area.right()) at.setX(std::max(area.left(), area.right() - size.width()));
  if (at.y() + size.height() > area.bottom()) at.setY(std::max(area.top(), area.bottom() - size.height()));
  mnuCommand->popup(at);
}

void GalaxyControls::ResetCommandCaptions() {
  SetCaption(com[kAll], "Send 100% of Ships Between Worlds");
  SetCaption(com[k75], "Send 75% of Ships Between Worlds");
  SetCaption(com[k50], "Send 50% of Ships Between Worlds");
  SetCaption(com[k25], "Send 25% of Ships Between Worlds");
  SetCaption(com[k10], "Send 10% of Ships Between Worlds");
  SetCaption(com[kScout], "Send A Scout Ship Between Worlds");
}

QLabel* GalaxyControls::FleetLabel(int index) {
  while (static_cast<int>(lblShips.size()) <= index) {
    auto* l = new QLabel(canvas);
    l->setObjectName(QString("lblShips%1").arg(lblShips.size()));
    l->setFont(QFont("DejaVu Sans", 7));
    l->setStyleSheet("color: white; background: transparent;");
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->hide();
    lblShips.push_back(l);
  }
  return lblShips[index];
}

}  // namespace valkoran::view
