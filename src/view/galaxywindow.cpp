#include "view/galaxywindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QRandomGenerator>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

#include "game/numbers.h"
#include "game/orders.h"
#include "net/console.h"
#include "view/assets.h"
#include "view/battlepanel.h"
#include "view/cues.h"
#include "view/galaxycanvas.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"
#include "view/proximitywindow.h"

namespace valkoran::view {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// CR LF line ends as the game writes them, as Qt shows them.
QString Lines(const std::string& s) { return Q(s).replace("\r\n", "\n"); }

QRect R(const layout::Rect& r) { return QRect(r.x, r.y, r.w, r.h); }

enum CommandItem {
  kAll, k75, k50, k25, k10, kLine9, kScout, kLine2, kLine7, kBomb, kProx, kPulse, kCalc,
};

const QColor kBlack(0, 0, 0);

}  // namespace

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

// Marks the window busy while a handler or an engine routine runs; when the
// outermost one ends, a computer seat's pending turn end is started from the
// event loop.
class GalaxyWindow::Scope {
 public:
  explicit Scope(GalaxyWindow& w) : w_(w) { ++w_.depth_; }
  ~Scope() {
    if (--w_.depth_ > 0) return;
    if (w_.game_.TurnEndPending()) QTimer::singleShot(0, &w_, [w = &w_] { w->RunPendingTurnEnd(); });
    w_.ShowIndicators();
  }

 private:
  GalaxyWindow& w_;
};

// While the engine is busy or waiting, pointer and list input to the game's
// windows is dropped, so no routine is entered while another runs; keys still
// reach the chat line.
class GalaxyWindow::InputGuard : public QObject {
 public:
  explicit InputGuard(GalaxyWindow& w) : QObject(&w), w_(w) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Shortcut:
        break;
      default:
        return false;
    }
    if (!w_.Busy()) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    QWidget* top = widget->window();
    if (top != &w_ && top != w_.proximity_) return false;
    const bool key = e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease;
    if (key && widget == w_.txtMessage_) return false;
    return true;
  }

 private:
  GalaxyWindow& w_;
};

GalaxyWindow::GalaxyWindow(Game& game, QWidget* parent) : QMainWindow(parent), game_(game) {
  setObjectName("frmGalaxy");
  setWindowTitle("Valkoran");
  // Whatever the screen adds around the fixed view stays deep space.
  setStyleSheet("QMainWindow { background: rgb(4, 6, 16); }");
  showMessage = [this](const QString& title, const QString& text) {
    QMessageBox::information(this, title, text);
  };
  askYesNo = [this](const QString& title, const QString& text) {
    return QMessageBox::question(this, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  };
  BuildControls();
  BuildMenus();
  qApp->installEventFilter(new InputGuard(*this));
  game_.SetPresenter(this);
}

GalaxyWindow::~GalaxyWindow() {
  game_.SetPresenter(nullptr);
  delete battle_;
}

bool GalaxyWindow::Busy() const { return depth_ > 0 || pauses_ > 0 || game_.BusyFlag != 0; }

QColor GalaxyWindow::PlayerColour(int owner) const {
  if (owner < 0 || owner >= kPlayerSlots) return Qt::white;
  const auto v = static_cast<long long>(game_.state.PlayerColor[owner]);
  return QColor(static_cast<int>(v & 255), static_cast<int>((v >> 8) & 255), static_cast<int>((v >> 16) & 255));
}

// ---- Building the window --------------------------------------------------------

void GalaxyWindow::BuildControls() {
  canvas_ = new GalaxyCanvas(this);
  setCentralWidget(canvas_);
  canvas_->onPress = [this](Qt::MouseButton b, int x, int y) { Form_MouseDown(b, x, y); };
  canvas_->onMove = [this](int x, int y) { Form_MouseMove(x, y); };
  canvas_->onDoubleClick = [this] { Form_DblClick(); };

  QFont small("DejaVu Sans", 8);
  const QString panel =
      "background: rgba(6, 10, 24, 215); color: rgb(215, 225, 240); border: 1px solid rgb(50, 65, 95);";

  txtGame_ = new QLineEdit(canvas_);
  txtGame_->setObjectName("txtGame");
  txtGame_->setReadOnly(true);
  txtGame_->setFocusPolicy(Qt::NoFocus);
  txtGame_->setGeometry(R(layout::kTxtGame));
  txtGame_->setStyleSheet(panel + "color: rgb(255, 230, 140);");

  txtMove_ = new QPlainTextEdit(canvas_);
  txtMove_->setObjectName("txtMove");
  txtMove_->setReadOnly(true);
  txtMove_->setFont(small);
  txtMove_->setGeometry(R(layout::kTxtMove));
  txtMove_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtMove_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  txtMove_->setStyleSheet("QPlainTextEdit {" + panel + "}");
  txtMove_->viewport()->installEventFilter(this);
  txtMove_->viewport()->setCursor(Qt::PointingHandCursor);

  txtOwned_ = new QLineEdit(canvas_);
  txtOwned_->setObjectName("txtOwned");
  txtOwned_->setReadOnly(true);
  txtOwned_->setFocusPolicy(Qt::NoFocus);
  txtOwned_->setFont(small);
  txtOwned_->setGeometry(R(layout::kTxtOwned));
  txtOwned_->setStyleSheet(panel + "color: rgb(0, 255, 255);");

  auto makeList = [&](const char* name, const layout::Rect& r) {
    auto* l = new QListWidget(canvas_);
    l->setObjectName(name);
    l->setFont(small);
    l->setGeometry(R(r));
    l->setStyleSheet("QListWidget {" + panel + "} QListWidget::item:selected { background: rgb(40, 70, 130); }");
    l->setFocusPolicy(Qt::NoFocus);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return l;
  };
  lstOwned_ = makeList("lstOwned", layout::kLstOwned);
  // Rows and header line up in a fixed-width face: the rows right-align
  // their ship counts with blanks.
  const QFont fixed("DejaVu Sans Mono", 7);
  txtOwned_->setFont(fixed);
  lstOwned_->setFont(fixed);
  lstOwned_->setItemDelegate(new TabbedRows(lstOwned_, fixed));
  lstTravel_ = makeList("lstTravel", layout::kLstTravel);
  connect(lstOwned_, &QListWidget::itemClicked, this, [this] { lstOwned_Click(); });
  connect(lstOwned_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { lstOwned_DblClick(lstOwned_->row(item)); });
  connect(lstTravel_, &QListWidget::itemClicked, this, [this] { lstTravel_Click(); });

  lstInfo_ = new QListWidget(canvas_);
  lstInfo_->setObjectName("lstInfo");
  lstInfo_->setFont(small);
  lstInfo_->setStyleSheet("QListWidget {" + panel + "color: white; }");
  lstInfo_->setFocusPolicy(Qt::NoFocus);
  lstInfo_->hide();
  connect(lstInfo_, &QListWidget::itemClicked, this, [this] { lstInfo_Click(); });

  txtChat_ = new QPlainTextEdit(canvas_);
  txtChat_->setObjectName("txtChat");
  txtChat_->setReadOnly(true);
  txtChat_->setFont(small);
  txtChat_->setGeometry(R(layout::kTxtChat));
  txtChat_->setStyleSheet("QPlainTextEdit {" + panel + "}");
  txtChat_->setTabStopDistance(QFontMetrics(small).horizontalAdvance(' ') * 4);
  txtChat_->setFocusPolicy(Qt::NoFocus);

  txtMessage_ = new QLineEdit(canvas_);
  txtMessage_->setObjectName("txtMessage");
  txtMessage_->setGeometry(R(layout::kTxtMessage));
  txtMessage_->setStyleSheet(panel + "color: white;");
  txtMessage_->installEventFilter(this);
  // "*" ends network messages: it never stays in the line, typed or pasted.
  connect(txtMessage_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!text.contains('*')) return;
    const int cursor = txtMessage_->cursorPosition();
    const int before = static_cast<int>(text.left(cursor).count('*'));
    QString clean = text;
    clean.remove('*');
    txtMessage_->setText(clean);
    txtMessage_->setCursorPosition(cursor - before);
  });

  lblPlanet_ = new QLabel(canvas_);
  lblPlanet_->setObjectName("lblPlanet");
  lblPlanet_->setFont(QFont("DejaVu Sans", 9));
  lblPlanet_->setStyleSheet("background: rgba(8, 12, 30, 235); color: white; border: 1px solid rgb(90, 110, 160);");
  lblPlanet_->hide();

  for (int s = 0; s < kSeats; ++s) {
    auto* l = new QLabel(canvas_);
    l->setObjectName(QString("lblStatus%1").arg(s));
    l->setGeometry(R(layout::StatusLine(s)));
    l->setFont(small);
    lblStatus_[s] = l;
  }
  for (int i = 0; i < 30; ++i) {
    auto* l = new QLabel(canvas_);
    l->setObjectName(QString("lblName%1").arg(i));
    l->setFont(small);
    l->setStyleSheet("color: white; background: transparent;");
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->hide();
    lblName_[i] = l;
  }
  FleetLabel(0);

  auto indicator = [&](const char* name, const char* file, const layout::Rect& r) {
    auto* l = new QLabel(canvas_);
    l->setObjectName(name);
    l->setGeometry(R(r));
    l->setPixmap(LoadPixmap(file));
    l->setScaledContents(true);
    l->hide();
    return l;
  };
  ImgBomb_ = indicator("ImgBomb", "bomb.png", layout::kImgBomb);
  ImgDouble_ = indicator("ImgDouble", "fuel.png", layout::kImgDouble);
  ImgCrystal_ = indicator("ImgCrystal", "crystal.png", layout::kImgCrystal);
  ImgBomb_->setToolTip("Bombs stored on your worlds");
  ImgDouble_->setToolTip("Double Speed Fuel: fleets from that world travel twice as fast");
  ImgCrystal_->setToolTip("Information Crystal: you see every value of unowned worlds");
  LblBomb_ = new QLabel(canvas_);
  LblBomb_->setObjectName("LblBomb");
  LblBomb_->setGeometry(R(layout::kLblBomb));
  LblBomb_->setStyleSheet("color: white;");
  LblBomb_->hide();

  for (const layout::Button& b : layout::kButtons) {
    auto* button = new ImageButton(b.name, b.number, ImageButton::Released::Background, true, canvas_);
    button->setGeometry(R(b.rect));
    buttons_.push_back(button);
    const std::string name = b.name;
    connect(button, &ImageButton::clicked, this, [this, name] {
      if (name == "ImgLabels") ImgLabels_Click();
      else if (name == "ImgTravel") ImgTravel_Click();
      else if (name == "ImgDone") ImgDone_Click();
      else if (name == "ImgHelp") ImgHelp_Click();
      else if (name == "ImgStatus") ImgStatus_Click();
      else if (name == "ImgQuit") ImgQuit_Click();
      else if (name == "ImgSend") ImgSend_Click();
    });
    if (name == "ImgSend") ImgSend_ = button;
  }

  battle_ = new BattleFrames(canvas_);
  proximity_ = new ProximityWindow(this);
  connect(proximity_, &ProximityWindow::thresholdSet, this, [this](int t) { ImgSet_Click(t); });
  connect(proximity_, &ProximityWindow::closedWithoutBomb, this, [this] { ImgSet_Click(0); });

  tmrTurn_ = new QTimer(this);
  tmrTurn_->setObjectName("tmrTurn");
  tmrTurn_->setSingleShot(true);
  connect(tmrTurn_, &QTimer::timeout, this, [this] { tmrTurn_Timer(); });
  tmrMessage_ = new QTimer(this);
  tmrMessage_->setObjectName("tmrMessage");
  tmrMessage_->setSingleShot(true);
  connect(tmrMessage_, &QTimer::timeout, this, [this] { tmrMessage_Timer(); });
}

void GalaxyWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto item = [this](QMenu* menu, const char* name, const QString& caption, std::function<void()> action) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return a;
  };

  mnuFile_ = bar->addMenu("&File");
  mnuFile_->setObjectName("mnuFile");
  item(mnuFile_, "mnuFileNew", "&New Game", [this] { mnuFileNew_Click(); });
  // The save window arrives with saving and loading; until then the
  // reminder has nothing to open.
  mnuFileAutoSave_ = item(mnuFile_, "mnuFileAutoSave", "AutoSave Off", [] {});
  mnuFileAutoSave_->setCheckable(true);
  mnuFileAutoSave_->setEnabled(false);
  mnuFile_->addSeparator();
  item(mnuFile_, "mnuFileExit", "&Exit", [] { QApplication::exit(0); });

  mnuCommand_ = bar->addMenu("&Command");
  mnuCommand_->setObjectName("mnuCommand");
  com_[kAll] = item(mnuCommand_, "mnuComSendAll", "Send 100% of Ships Between Worlds", [this] { mnuComSendAll_Click(); });
  com_[k75] = item(mnuCommand_, "mnuComSend75", "Send 75% of Ships Between Worlds", [this] { mnuComSend75_Click(); });
  com_[k50] = item(mnuCommand_, "mnuComSend50", "Send 50% of Ships Between Worlds", [this] { mnuComSend50_Click(); });
  com_[k25] = item(mnuCommand_, "mnuComSend25", "Send 25% of Ships Between Worlds", [this] { mnuComSend25_Click(); });
  com_[k10] = item(mnuCommand_, "mnuComSend10", "Send 10% of Ships Between Worlds", [this] { mnuComSend10_Click(); });
  com_[kLine9] = mnuCommand_->addSeparator();
  com_[kLine9]->setObjectName("mnuline9");
  com_[kScout] = item(mnuCommand_, "mnuComSendScout", "Send A Scout Ship Between Worlds", [this] { mnuComSendScout_Click(); });
  com_[kLine2] = mnuCommand_->addSeparator();
  com_[kLine2]->setObjectName("mnuLine2");
  com_[kCalc] = item(mnuCommand_, "mnuComCalc", "Calculate Travel Distance Between Worlds", [this] { mnuComCalc_Click(); });
  com_[kLine7] = mnuCommand_->addSeparator();
  com_[kLine7]->setObjectName("mnuline7");
  com_[kBomb] = item(mnuCommand_, "mnuComSendBomb", "Send A Bomb To World", [this] { mnuComSendBomb_Click(); });
  com_[kProx] = item(mnuCommand_, "mnuComSendProx", "Set A Proximity Bomb On World", [this] { mnuComSendProx_Click(); });
  com_[kPulse] = item(mnuCommand_, "mnuComSendPulse", "Set A Pulse Bomb On World", [this] { mnuComSendPulse_Click(); });
  for (QAction* a : com_) connect(a, &QAction::triggered, this, [this] { commandChosen_ = true; });
  // A menu closed without a choice drops the pending order.
  connect(mnuCommand_, &QMenu::aboutToHide, this, [this] {
    QTimer::singleShot(0, this, [this] {
      if (commandChosen_ || game_.SelectedFrom == -1 || Busy()) return;
      Scope busy(*this);
      game_.SelectedFrom = game_.SelectedTo = -1;
      GalaxyDraw();
    });
  });

  mnuInfo_ = bar->addMenu("&Information");
  mnuInfo_->setObjectName("mnuInfo");
  item(mnuInfo_, "mnuInfoFleets", "Show Position of Traveling Fleets", [this] { mnuInfoFleets_Click(); });
  item(mnuInfo_, "mnuInfoLabels", "Show World Labels", [this] { ImgLabels_Click(); });
  item(mnuInfo_, "mnuInfoStatus", "Show Status of Solar System", [this] { ImgStatus_Click(); });

  mnuOptions_ = bar->addMenu("&Options");
  mnuOptions_->setObjectName("mnuOptions");
  mnuOptionsTurn_ = item(mnuOptions_, "mnuOptionsTurn", "Turn Timer Off", [this] {
    Scope busy(*this);
    game_.mnuOptionsTurn_Click();
    mnuOptionsTurn_->setText(game_.TurnTimerOn ? "Turn Timer Off" : "Turn Timer On");
  });
  mnuOptionsSpeed_ = item(mnuOptions_, "mnuOptionsSpeed", "Turn Speed Game On", [this] {
    Scope busy(*this);
    game_.mnuOptionsSpeed_Click();
    mnuOptionsSpeed_->setText(game_.state.SpeedGame ? "Turn Speed Game Off" : "Turn Speed Game On");
  });
  mnuOptions_->addSeparator();
  // Indicators of the game's own settings: a click changes nothing.
  mnuOptionsShield_ = item(mnuOptions_, "mnuOptionsShield", "Ships Travel with Shields", [this] {
    mnuOptionsShield_->setChecked(game_.state.ShieldOption);
  });
  mnuOptionsShield_->setCheckable(true);
  mnuOptionsTruce_ = item(mnuOptions_, "mnuOptionsTruce", "No Battle Truce", [this] {
    mnuOptionsTruce_->setChecked(game_.state.TruceTurn > 0);
  });
  mnuOptionsTruce_->setCheckable(true);

  mnuHelp_ = bar->addMenu("&Help");
  mnuHelp_->setObjectName("mnuHelp");
  item(mnuHelp_, "mnuHelpValkoran", "Valkoran &Help", [this] { ImgHelp_Click(); });
}

bool GalaxyWindow::FormSetup() {
  QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  setWindowState(Qt::WindowNoState);
  move(area.topLeft());
  resize(area.width(), static_cast<int>(area.height() * 0.96));
  // The drawing area is the window's inner width: a screen that cannot hold
  // the fixed view ends the program.
  if (area.width() - (frameGeometry().width() - geometry().width()) <= layout::kMinimumAreaWidth) {
    showMessage("Valkoran",
                "Please Run At 1024 x 768 Or Higher Screen Resolution!\nRight-Click On Desktop, Then Select "
                "Properties, Then Settings");
    return false;
  }
  g_ = MainGeometry();
  canvas_->LoadPictures();
  game_.SelectedFrom = game_.SelectedTo = -1;
  return true;
}

// ---- Starting games ------------------------------------------------------------------

void GalaxyWindow::StartNewGame(const GameSetup& setup) {
  Scope busy(*this);
  NewGame(game_, setup);
  mnuOptionsTruce_->setText("No Battle Truce");
  mnuOptionsTruce_->setChecked(false);
  if (game_.state.TruceTurn > 0 && setup.truceChecked && setup.truceText != "0") {
    mnuOptionsTruce_->setText("Battle Truce Until Turn #" + Q(setup.truceText));
    mnuOptionsTruce_->setChecked(true);
  }
  txtMove_->clear();
  txtGame_->clear();
  txtMessage_->clear();
  txtChat_->clear();
  game_.GameIsOver = false;
  Console();
  mnuOptionsShield_->setChecked(game_.state.ShieldOption);
  for (int s = 0; s < kSeats; ++s)
    game_.SetStatus(s, game_.state.PlayerName[s].empty() ? "" : game_.state.PlayerName[s] + kTakingTurn);
  mnuOptionsSpeed_->setText("Turn Speed Game On");
  GalaxyDraw();
  Notice("Initiating Turn #" + Format(static_cast<double>(CurrentTurn(game_.state)), "0") + " " +
         game_.state.PlayerName[game_.state.CurrentPlayer] + "!");
  show();
  game_.GameCheck();
  Console();
  Caption(game_.CaptionText());
}

void GalaxyWindow::OpenLoadedGame() {
  Scope busy(*this);
  txtChat_->clear();
  txtMessage_->clear();
  mnuOptionsShield_->setChecked(game_.state.ShieldOption);
  mnuOptionsTruce_->setChecked(game_.state.TruceTurn > 0);
  mnuOptionsTruce_->setText(game_.state.TruceTurn > 0
                                ? "Battle Truce Until Turn #" + Q(Format(static_cast<double>(game_.state.TruceTurn), "0"))
                                : QString("No Battle Truce"));
  mnuOptionsSpeed_->setText(game_.state.SpeedGame ? "Turn Speed Game Off" : "Turn Speed Game On");
  show();
  game_.StartLoadedGame();
  for (int s = 0; s < kSeats; ++s)
    if (game_.StatusLine[s].empty() && !game_.state.PlayerName[s].empty())
      game_.SetStatus(s, game_.state.PlayerName[s] + kTakingTurn);
}

void GalaxyWindow::RunPendingTurnEnd() {
  if (!game_.TurnEndPending()) return;
  if (depth_ > 0 || pauses_ > 0) {
    QTimer::singleShot(10, this, [this] { RunPendingTurnEnd(); });
    return;
  }
  Scope busy(*this);
  game_.RunPendingTurnEnd();
}

// ---- Drawing --------------------------------------------------------------------------

Point GalaxyWindow::WorldPixel(int world) const { return WorldPoint(game_.state, g_, world); }

void GalaxyWindow::DrawWorlds(bool currentWidth) {
  const GameState& s = game_.state;
  for (int i = 0; i < s.WorldCount; ++i) {
    const Point p = WorldPixel(i);
    canvas_->WorldSprite(i, p.x, p.y);
    const int owner = s.WorldOwner[i];
    if (owner == 0) continue;
    const int width = currentWidth && owner == s.CurrentPlayer + 1 ? 2 : 1;
    const QColor colour = PlayerColour(owner);
    canvas_->Circle(p.x, p.y, 12, colour, width);
    if (i >= kHomeRing && i < kHomeRing + kSeats && !s.PlayerName[i - kHomeRing].empty()) {
      canvas_->Circle(p.x, p.y, 14, Qt::white, width);
      canvas_->Circle(p.x, p.y, 17, colour, width);
    }
  }
}

void GalaxyWindow::DrawBombMarker(double x, double y, QColor colour) {
  canvas_->Circle(x, y, 3, colour, 1, false, 1, kBlack);
  for (int dx : {-2, 2})
    for (int dy : {-2, 2}) canvas_->Circle(x + dx, y + dy, 3, colour, 1, false, 1, kBlack);
}

void GalaxyWindow::DrawFleetMarker(double x, double y, float ships, QColor colour) {
  if (ships >= 9999) {
    DrawBombMarker(x, y, colour);
    return;
  }
  canvas_->Circle(x, y, 3, colour, 1, false, 1, kBlack);
  if (ships >= 100) canvas_->Circle(x + 3, y - 3, 3, colour, 1, false, 1, kBlack);
  if (ships >= 500) canvas_->Circle(x - 3, y - 3, 3, colour, 1, false, 1, kBlack);
}

Point GalaxyWindow::DrawFleetPath(const GameState& s, int fleet, QColor colour, QColor targetColour, double kFrom,
                                  double kTo) {
  Point first{}, last{};
  int step = 0;
  for (double k = kFrom; k >= kTo; k -= 1, ++step) {
    const Point p = ModelToScreen(g_, FleetModelPoint(s, g_, fleet, k, k));
    if (step == 0) {
      first = p;
    } else {
      canvas_->Line(last.x, last.y, p.x, p.y, colour, 1);
      // Every few frames a dot in the target owner's colour: where it is going.
      if (step % 8 == 0) canvas_->Line(p.x, p.y + 1, p.x + 1, p.y + 1, targetColour, 1);
    }
    last = p;
  }
  return first;
}

void GalaxyWindow::GalaxyDraw() {
  DrawGalaxy();
  if (radar_.alerts > 0) Notice(RadarNotice(radar_.alerts));
  txtMessage_->setFocus();
  canvas_->update();
  PumpEvents();
}

void GalaxyWindow::DrawGalaxy() {
  GameState& s = game_.state;
  canvas_->Clear();
  for (QLabel* l : lblShips_) l->hide();
  txtOwned_->show();
  lstOwned_->show();
  lstTravel_->show();
  radar_ = ScanRadar(s, g_, game_.SelectedFrom, game_.BusyFlag != 0);
  {
  GalaxyCanvas::Batch batch(*canvas_);
  canvas_->Rings(g_);
  canvas_->Sun(g_);
  for (int i = 0; i < s.WorldCount; ++i) lblName_[i]->hide();
  DrawWorlds(true);
  LabelCounter = 0;
  const int me = s.CurrentPlayer + 1;
  const double aspect = g_.scaleY / g_.scaleX;
  if (game_.SelectedFrom == -1 && !game_.BusyFlag) {
    for (int f = 0; f < kFleets; ++f) {
      if (s.FleetFrom[f] == 0 || s.FleetOwner[f] != me) continue;
      const int t = s.FleetTo[f] - 1;
      const Point p = WorldPixel(t);
      const QColor mark = s.WorldOwner[t] != s.FleetOwner[f] ? QColor(255, 0, 0) : QColor(0, 255, 0);
      canvas_->Circle(p.x, p.y, 3, mark);
      canvas_->Circle(p.x, p.y, 2, kBlack);
      canvas_->Circle(p.x, p.y, 1, mark);
    }
  }
  // The radar's range around a watched home: drawn once, however many
  // contacts it has (drawing it again would set the same pixels).
  std::array<bool, kSeats> ranged{};
  auto range = [&](int home) {
    if (ranged[home - kHomeRing]) return;
    ranged[home - kHomeRing] = true;
    const Point p = WorldPixel(home);
    canvas_->Circle(p.x, p.y, 80 * g_.scaleX, PlayerColour(me), 1, true, aspect);
  };
  for (const RadarContact& c : radar_.contacts) {
    if (c.fleet < 0) continue;
    const int f = c.fleet;
    range(c.home);
    const QColor colour = PlayerColour(s.FleetOwner[f]);
    const double k = FleetFrame(s, f);
    const Point now = FleetModelPointNow(s, g_, f);
    Point last = ModelToScreen(g_, now);
    for (int j = 1; j <= 10; ++j) {
      const Point p = ModelToScreen(g_, FleetModelPoint(s, g_, f, k - 1.3 * j, k));
      canvas_->Line(last.x, last.y, p.x, p.y, colour);
      last = p;
    }
    const Point px = ModelToScreen(g_, now);
    DrawFleetMarker(px.x, px.y, s.FleetShips[f], colour);
    if (s.FleetShips[f] > 0 && s.FleetShips[f] < 9999) {
      radarLabel_ = true;
      ShowLabels(f, now.x, now.y);
      radarLabel_ = false;
    }
  }
  // Proximity bombs: one's own always, a foreign one only when the radar saw it.
  std::array<bool, kBombs> seen{};
  for (const RadarContact& c : radar_.contacts)
    if (c.bomb >= 0) {
      seen[c.bomb] = true;
      range(c.home);
    }
  for (int b = 0; b < kBombs; ++b) {
    const int owner = s.BombOwner[b];
    if (owner <= 0 || (owner != me && !seen[b])) continue;
    const int w = static_cast<int>(RoundHalfEvenClamped(s.BombWorld[b], 0, kWorlds - 1));
    int n = 0;
    for (int e = 0; e < b; ++e)
      if (s.BombOwner[e] == owner && RoundHalfEvenClamped(s.BombWorld[e], 0, kWorlds - 1) == w) ++n;
    static constexpr int kOffsets[4][2] = {{-20, 0}, {20, 0}, {0, 20}, {0, -20}};
    const double ox = n < 4 ? kOffsets[n][0] : 0, oy = n < 4 ? kOffsets[n][1] : 0;
    const Point p = WorldPixel(w);
    const QColor colour = PlayerColour(owner);
    canvas_->Circle(p.x, p.y, 20 * g_.scaleX, colour, 1, true, aspect);
    DrawBombMarker(p.x + ox * g_.scaleX, p.y + oy * g_.scaleY, colour);
  }
  }
}

void GalaxyWindow::DrawPlain(bool currentWidth) {
  canvas_->Clear();
  GalaxyCanvas::Batch batch(*canvas_);
  canvas_->Rings(g_);
  canvas_->Sun(g_);
  DrawWorlds(currentWidth);
}

void GalaxyWindow::CleanGalaxy() {
  DrawPlain(true);
  canvas_->update();
}

void GalaxyWindow::RotationFrame() {
  HideOverlays();
  // Frames show every ring alike: the current player's are not widened.
  DrawPlain(false);
  canvas_->repaint();
}

void GalaxyWindow::HideWorldLabels() {
  for (QLabel* l : lblName_) l->hide();
}

void GalaxyWindow::HideOverlays() {
  lblPlanet_->hide();
  for (QLabel* l : lblShips_) l->hide();
  ImgBomb_->hide();
  ImgDouble_->hide();
  ImgCrystal_->hide();
  LblBomb_->hide();
  HideWorldLabels();
  proximity_->hide();
}

QLabel* GalaxyWindow::FleetLabel(int index) {
  while (static_cast<int>(lblShips_.size()) <= index) {
    auto* l = new QLabel(canvas_);
    l->setObjectName(QString("lblShips%1").arg(lblShips_.size()));
    l->setFont(QFont("DejaVu Sans", 7));
    l->setStyleSheet("color: white; background: transparent;");
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->hide();
    lblShips_.push_back(l);
  }
  return lblShips_[index];
}

void GalaxyWindow::ShowLabels(int fleet, double x, double y) {
  QLabel* l = FleetLabel(LabelCounter);
  // Only a foreign fleet the radar found is labelled by its ships alone: the
  // player's own fleets keep their turns to arrival whatever the radar saw.
  l->setText(Q(FleetLabelCaption(game_.state, fleet, radarLabel_)));
  l->adjustSize();
  const double px = g_.centerX + (x - g_.centerX) * g_.scaleX;
  const double py = g_.centerY + (y - g_.centerY) * g_.scaleY;
  const int top = y > g_.centerY ? RoundPixel(py - l->height() - 5) : RoundPixel(py + l->height() - 5);
  l->move(RoundPixel(px - l->width() / 2.0), top);
  l->show();
  l->raise();
  ++LabelCounter;
}

void GalaxyWindow::ShowFleetPositions(int which) {
  GameState& s = game_.state;
  LabelCounter = 0;
  if (which < 0 && game_.FleetsShown) {
    GalaxyDraw();
    game_.FleetsShown = kFalse;
    return;
  }
  if (which >= 0) game_.FleetsShown = kFalse;
  GalaxyDraw();
  const int first = which < 0 ? 0 : which - 1, last = which < 0 ? kFleets - 1 : which - 1;
  const int me = s.CurrentPlayer + 1;
  {
  GalaxyCanvas::Batch batch(*canvas_);
  for (int f = first; f <= last; ++f) {
    if (f < 0 || f >= kFleets || s.FleetFrom[f] == 0 || s.FleetOwner[f] != me) continue;
    const Point model = FleetModelPointNow(s, g_, f);
    const Point p = ModelToScreen(g_, model);
    const QColor colour = PlayerColour(me);
    canvas_->Circle(p.x, p.y, 4, colour, 1, false, 1, colour);
    ShowLabels(f, model.x, model.y);
    const double D = s.FleetDistance[f], R = s.FleetRemaining[f];
    DrawFleetPath(s, f, colour, PlayerColour(s.WorldOwner[s.FleetTo[f] - 1]), std::floor(D * 520),
                  std::floor((D - R) * 520));
    DrawFleetMarker(p.x, p.y, s.FleetShips[f], colour);
  }
  }
  if (which < 0) game_.FleetsShown = kTrue;
  canvas_->update();
  PumpEvents();
}

// ---- Presenter: panels and texts -------------------------------------------------------

void GalaxyWindow::Console() {
  const ConsolePanel panel = BuildConsole(game_.state, game_.BusyFlag != 0);
  txtOwned_->setText(Q(panel.header));
  txtOwned_->setCursorPosition(0);
  // Each row keeps its world index or fleet slot as item data.
  auto fill = [](QListWidget* list, const std::vector<ConsoleRow>& rows) {
    list->clear();
    for (const ConsoleRow& row : rows) {
      auto* item = new QListWidgetItem(Q(row.text));
      item->setData(Qt::UserRole, row.data);
      list->addItem(item);
    }
    list->setCurrentRow(-1);
  };
  fill(lstOwned_, panel.worlds);
  fill(lstTravel_, panel.fleets);
  // The seat whose turn it is stands out among the status lines.
  for (int s = 0; s < kSeats; ++s) {
    QFont f = lblStatus_[s]->font();
    f.setBold(s == game_.state.CurrentPlayer);
    lblStatus_[s]->setFont(f);
  }
  SetIndicators(panel);
}

void GalaxyWindow::SetIndicators(const ConsolePanel& panel) {
  ImgBomb_->setVisible(panel.bombs >= 1);
  LblBomb_->setVisible(panel.bombs >= 1);
  LblBomb_->setText(QString::number(panel.bombs));
  ImgDouble_->setVisible(panel.doubleShown);
  ImgCrystal_->setVisible(panel.crystalShown);
}

void GalaxyWindow::ShowIndicators() {
  // A turn starts with its panel built while the turn end still counts as
  // busy, which hides the indicators; once the engine is done they show
  // what the player holds.
  if (game_.BusyFlag || g_.centerX == 0 || !isVisible()) return;
  SetIndicators(BuildConsole(game_.state, false));
}

void GalaxyWindow::ShowPanels(bool shown) {
  txtOwned_->setVisible(shown);
  lstOwned_->setVisible(shown);
  lstTravel_->setVisible(shown);
}

void GalaxyWindow::EnableMenus(bool enabled) {
  for (QMenu* m : {mnuFile_, mnuInfo_, mnuOptions_, mnuHelp_}) m->setEnabled(enabled);
}

void GalaxyWindow::TravelShow() {
  if (!game_.state.PlayerName[1].empty() && !game_.state.NetworkGame) ShowPanels(false);
  txtMove_->moveCursor(QTextCursor::End);
  txtMove_->repaint();
  battle_->fraFrom()->repaint();
  battle_->fraTo()->repaint();
  ImgBomb_->hide();
  LblBomb_->hide();
  ImgDouble_->hide();
  ImgCrystal_->hide();
  PumpEvents();
}

void GalaxyWindow::TravelHide() {}

void GalaxyWindow::Notice(const std::string& text) {
  txtGame_->setText(Q(text));
  txtGame_->setCursorPosition(0);
  txtGame_->repaint();
}

void GalaxyWindow::ShowPopup(const QString& text, bool centred, int x, int y) {
  lblPlanet_->setText(text);
  lblPlanet_->setAlignment(centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
  lblPlanet_->adjustSize();
  const QSize size = lblPlanet_->size();
  if (centred) {
    lblPlanet_->move((canvas_->width() - size.width()) / 2, (layout::kLowerPanelTop - size.height()) / 2);
  } else {
    if (x + size.width() > canvas_->width()) x -= size.width();
    if (y + size.height() > canvas_->height()) y -= size.height();
    lblPlanet_->move(std::max(0, x), std::max(0, y));
  }
  lblPlanet_->show();
  lblPlanet_->raise();
  lblPlanet_->repaint();
}

void GalaxyWindow::Banner(const std::string& text) {
  if (text.empty()) {
    lblPlanet_->hide();
    return;
  }
  lblPlanet_->setFont(QFont("DejaVu Sans", 12, QFont::Bold));
  ShowPopup(Lines(text), true);
  lblPlanet_->setFont(QFont("DejaVu Sans", 9));
}

void GalaxyWindow::MessageBox(const std::string& text) {
  if (text.empty()) {
    txtMove_->clear();
    return;
  }
  txtMove_->setPlainText(Lines(text));
  txtMove_->moveCursor(QTextCursor::End);
  txtMove_->show();
  txtMove_->repaint();
}

void GalaxyWindow::ShowGameLog(const std::string& text) {
  std::string shown = text;
  // The box ends with the newest line in view: drop the last line end so
  // the caret rests on that line rather than below it.
  if (shown.size() >= 2 && shown.compare(shown.size() - 2, 2, "\r\n") == 0) shown.resize(shown.size() - 2);
  txtMove_->setPlainText(Lines(shown));
  txtMove_->moveCursor(QTextCursor::End);
  txtMove_->show();
  txtMove_->repaint();
}

void GalaxyWindow::Status(int seat, const std::string& text) {
  if (seat < 0 || seat >= kSeats) return;
  lblStatus_[seat]->setText(Q(text));
  const int owner = seat + 1;
  lblStatus_[seat]->setStyleSheet(QString("color: %1; background: transparent;").arg(PlayerColour(owner).name()));
}

void GalaxyWindow::Caption(const std::string& text) { setWindowTitle(Q(text)); }

void GalaxyWindow::StatusReport(const std::string& text) { ShowPopup(Lines(text), true); }

void GalaxyWindow::Cue(const char* wave) { Cues().Play(wave); }

void GalaxyWindow::WaitMs(int ms) {
  ++pauses_;
  const int scaled = static_cast<int>(ms * pauseScale);
  if (scaled <= 0) {
    QCoreApplication::processEvents();
  } else {
    QEventLoop loop;
    QTimer::singleShot(scaled, &loop, &QEventLoop::quit);
    loop.exec();
  }
  --pauses_;
}

void GalaxyWindow::Pause(int ms) {
  canvas_->repaint();
  WaitMs(ms);
}

void GalaxyWindow::PumpEvents() { QCoreApplication::processEvents(); }

// ---- Presenter: animations and marks ---------------------------------------------------

void GalaxyWindow::Arrival(int world, int owner, float ships) {
  const Point p = WorldPixel(world);
  const QColor colour = PlayerColour(owner);
  for (int r = 14; r <= 20; r += 3) canvas_->Circle(p.x, p.y, r, colour, 1);
  QLabel* l = FleetLabel(0);
  l->setText(ships >= 9999 ? QString("Bomb") : Q(StrTrim(ships)));
  l->adjustSize();
  l->move(RoundPixel(p.x - l->width() / 2.0), RoundPixel(p.y - 22 - l->height()));
  l->show();
  l->raise();
  canvas_->repaint();
}

void GalaxyWindow::WorldRing(int world, int owner, int radius, bool growing) {
  const Point p = WorldPixel(world);
  canvas_->Circle(p.x, p.y, radius, PlayerColour(owner), 3);
  canvas_->Circle(p.x, p.y, growing ? radius - 2 : radius + 2, kBlack, 3);
  canvas_->repaint();
}

void GalaxyWindow::WorldMark(Mark mark, int world, int owner, int count) {
  const QColor colour = PlayerColour(owner);
  const double aspect = g_.scaleY / g_.scaleX;
  switch (mark) {
    case Mark::AttackMarkers: {
      const Point p = WorldPixel(world);
      for (int i = 0; i < count && i < 3; ++i) canvas_->Circle(p.x - 16, p.y - 6 + 6 * i, 3, colour);
      break;
    }
    case Mark::BombCluster: {
      const Point p = WorldPixel(world);
      DrawBombMarker(p.x, p.y, colour);
      break;
    }
    case Mark::WonRing: {
      const Point p = WorldPixel(world);
      canvas_->Circle(p.x, p.y, 15, colour, 3);
      break;
    }
    case Mark::ProximityRange: {
      const Point p = WorldPixel(world);
      const double rx = 20 * g_.scaleX;
      canvas_->Circle(p.x, p.y, rx, colour, 1, true, aspect);
      for (int i = 0; i < count && i < 4; ++i) canvas_->Circle(p.x - rx, p.y - 9 + 6 * i, 3, colour);
      break;
    }
    case Mark::PulseMark: {
      // `world` is the fleet slot caught by the pulse.
      const int f = world;
      if (f < 0 || f >= kFleets || game_.state.FleetFrom[f] == 0) break;
      const Point model = FleetModelPointNow(game_.state, g_, f);
      const Point p = ModelToScreen(g_, model);
      DrawFleetMarker(p.x, p.y, count >= 4 ? 9999.0f : count == 3 ? 500.0f : count == 2 ? 100.0f : 1.0f, colour);
      const float ships = game_.state.FleetShips[f];
      if (ships >= 1 && ships <= 9998) ShowLabels(f, model.x, model.y);
      break;
    }
  }
  canvas_->repaint();
}

void GalaxyWindow::StrengthBar(float attacker, float defender, int attackerOwner, int defenderOwner) {
  using namespace layout;
  const double a = attacker, d = defender, sum = a + d;
  const double split = sum > 0 ? kBarLeft + (kBarRight - kBarLeft) * a / sum : kBarLeft;
  canvas_->FillBox(kBarLeft, kBarTop, RoundPixel(split), kBarBottom, PlayerColour(attackerOwner));
  const double from = sum > 0 ? kBarRight - (kBarRight - kBarLeft) * d / sum : kBarRight;
  canvas_->FillBox(kBarRight, kBarTop, RoundPixel(from), kBarBottom, PlayerColour(defenderOwner));
  canvas_->Line(split, kBarTop, split, kBarBottom, kBlack, 3);
  for (int i = 0; i <= 40; ++i) {
    const double x = kBarLeft + i * (kBarRight - kBarLeft) / 40.0;
    canvas_->Line(x, kBarTop, x, kBarBottom, kBlack, 2);
  }
  canvas_->update();
}

void GalaxyWindow::PulseRing(int world, int owner, int step) {
  const Point p = WorldPixel(world);
  canvas_->Circle(p.x, p.y, (20 + step) * g_.scaleX, PlayerColour(owner), 3, true, g_.scaleY / g_.scaleX);
  LabelCounter = 0;
  canvas_->repaint();
}

void GalaxyWindow::BattlePanelChanged(const BattlePanel& panel) {
  std::array<QColor, 5> colours;
  for (int i = 0; i < 5; ++i) colours[i] = PlayerColour(i);
  if (panel.active) {
    txtMove_->hide();
    lblPlanet_->hide();
  }
  battle_->Show(panel, colours);
}

void GalaxyWindow::TurnTimer(bool armed) {
  if (armed)
    tmrTurn_->start(60000);
  else
    tmrTurn_->stop();
}

void GalaxyWindow::GameOver() {
  tmrTurn_->stop();
  QTimer::singleShot(0, this, [this] { emit gameOver(); });
}

void GalaxyWindow::TurnEndPending() {
  QTimer::singleShot(0, this, [this] { RunPendingTurnEnd(); });
}

// ---- Pointer ----------------------------------------------------------------------------

void GalaxyWindow::Form_MouseDown(Qt::MouseButton button, int x, int y) {
  if (Busy() || g_.centerX == 0) return;
  Scope busy(*this);
  GameState& s = game_.state;
  const int me = s.CurrentPlayer + 1;
  game_.LeftClickArmed = button == Qt::LeftButton ? kTrue : kFalse;
  if (txtMove_->height() > 30) txtMove_Click();
  lstInfo_->hide();
  lblPlanet_->hide();
  mnuCommand_->hide();
  for (int i = 0; i < s.WorldCount; ++i) lblName_[i]->hide();
  game_.FleetsShown = kFalse;

  if (game_.SelectedFrom != -1) {
    // The second click: the target, then the command menu.
    const int j = WorldAt(s, g_, x, y);
    if (j < 0) return;
    game_.SelectedTo = static_cast<int16_t>(j);
    const Point p = WorldPixel(j);
    canvas_->Circle(p.x, p.y, 12, PlayerColour(s.WorldOwner[j]), 2);
    canvas_->repaint();
    if (auto truce = TruceNotice(game_, j)) {
      ShowPopup(Q(*truce), true);
      WaitMs(3000);
      lblPlanet_->hide();
      game_.SelectedFrom = game_.SelectedTo = -1;
      GalaxyDraw();
      return;
    }
    const CommandMenu menu = BuildCommandMenu(game_, game_.SelectedFrom, j, radar_.pulseMenu);
    const bool pulse = menu.pulseOnly;
    com_[kAll]->setText(Q(menu.all));
    com_[k75]->setText(Q(menu.p75));
    com_[k50]->setText(Q(menu.p50));
    com_[k25]->setText(Q(menu.p25));
    com_[k10]->setText(Q(menu.p10));
    com_[kScout]->setText(Q(menu.scout));
    com_[kAll]->setVisible(!pulse && menu.showAll);
    com_[k75]->setVisible(!pulse && menu.show75);
    com_[k50]->setVisible(!pulse && menu.show50);
    com_[k25]->setVisible(!pulse && menu.show25);
    com_[k10]->setVisible(!pulse && menu.show10);
    com_[kLine9]->setVisible(!pulse && menu.showLine9);
    com_[kScout]->setVisible(!pulse && menu.showScout);
    com_[kLine2]->setVisible(!pulse && menu.showLine2);
    com_[kCalc]->setVisible(!pulse);
    com_[kLine7]->setVisible(!pulse && menu.showLine7);
    com_[kBomb]->setVisible(!pulse && menu.showBomb);
    com_[kProx]->setVisible(menu.showProx);
    com_[kPulse]->setVisible(pulse && menu.showPulse);
    commandChosen_ = false;
    mnuCommand_->popup(canvas_->mapToGlobal(QPoint(x, y)));
    return;
  }

  if (button == Qt::LeftButton && SunAt(g_, x, y)) {
    ImgStatus_Click();
    return;
  }
  const int i = WorldAt(s, g_, x, y);
  if (button == Qt::LeftButton && i >= 0) {
    const bool own = s.WorldOwner[i] == me;
    if (own && game_.TurnLock) return;
    if (own && (s.WorldShips[i] > 0 || s.WorldBombs[i] > 0)) {
      CleanGalaxy();
      const Point p = WorldPixel(i);
      canvas_->Circle(p.x, p.y, 12, PlayerColour(me), 2);
      canvas_->repaint();
      game_.SelectedFrom = static_cast<int16_t>(i);
      for (int r = 0; r < lstOwned_->count(); ++r)
        if (lstOwned_->item(r)->data(Qt::UserRole).toInt() == i) lstOwned_->setCurrentRow(r);
    } else if (own) {
      ShowPopup(Q(NoShipsText()), true);
      WaitMs(1000);
      lblPlanet_->hide();
    } else {
      GalaxyDraw();
      const std::string text = WorldPopupText(s, i);
      if (!text.empty()) ShowPopup(Lines(text), false, x + 14, y + 14);
    }
    return;
  }
  if (button == Qt::RightButton && i >= 0) {
    lstInfo_->clear();
    const std::vector<std::string> lines = WorldInfoLines(s, i);
    for (size_t n = 0; n < lines.size(); ++n) {
      auto* item = new QListWidgetItem(Q(lines[n]));
      if (n == 0) item->setData(Qt::UserRole, i + 1);
      lstInfo_->addItem(item);
    }
    const int w = lstInfo_->sizeHintForColumn(0) + 12;
    const int h = lstInfo_->sizeHintForRow(0) * lstInfo_->count() + 6;
    int left = x + 14, top = y + 14;
    if (left + w > canvas_->width()) left = x - 14 - w;
    if (top + h > canvas_->height()) top = y - 14 - h;
    lstInfo_->setGeometry(left, std::max(0, top), w, h);
    lstInfo_->show();
    lstInfo_->raise();
    return;
  }
  if (button == Qt::RightButton) {
    GalaxyDraw();
    QStringList help;
    for (const std::string& line : QuickHelpLines()) help << Q(line);
    ShowPopup(help.join('\n'), false, x, y);
    return;
  }
  if (button == Qt::MiddleButton && i >= 0 && s.WorldOwner[i] == me && !game_.TurnLock) {
    GalaxyDraw();
    QStringList heading;
    for (const std::string& line : TravelHeadingLines()) heading << Q(line);
    ShowPopup(heading.join('\n'), true);
    lblPlanet_->move(RoundPixel(g_.centerX - lblPlanet_->width() / 2.0),
                     RoundPixel(g_.centerY - lblPlanet_->height() / 2.0));
    const std::vector<std::string> turns = TravelTurnCaptions(game_, i);
    for (int j = 0; j < s.WorldCount && j < static_cast<int>(turns.size()); ++j) {
      QLabel* l = lblName_[j];
      l->setFont(QFont("DejaVu Sans", 8, QFont::Bold));
      l->setText(Q(turns[j]));
      l->adjustSize();
      const Point p = WorldPixel(j);
      l->move(RoundPixel(p.x - l->width() - 18), RoundPixel(p.y - 7));
      l->show();
    }
    canvas_->repaint();
  }
}

void GalaxyWindow::Form_MouseMove(int x, int y) {
  if (Busy() || g_.centerX == 0) return;
  GameState& s = game_.state;
  if (!NearAWorld(s, g_, x, y)) {
    if (lstInfo_->isVisible()) {
      lstInfo_->hide();
      lstInfo_->clear();
    }
    lblPlanet_->hide();
    if (game_.SelectedFrom > -1 && game_.SelectedTo == -1 && !mnuCommand_->isVisible() &&
        y < layout::kLowerPanelTop) {
      const int i = game_.SelectedFrom;
      CleanGalaxy();
      const Point p = WorldPixel(i);
      const QColor colour = PlayerColour(s.WorldOwner[i]);
      canvas_->Circle(p.x, p.y, 12, colour, 2);
      if (i >= kHomeRing && i < kHomeRing + kSeats) {
        canvas_->Circle(p.x, p.y, 14, Qt::white, 2);
        canvas_->Circle(p.x, p.y, 17, colour, 2);
      }
      canvas_->Line(p.x, p.y, x, y, colour);
      canvas_->repaint();
    }
  }
  if (!game_.TurnLock && s.TurnMinutesLeft > 1 && TipDue(tips_.generateDouble())) {
    Notice(GameTip(s, tips_.generateDouble(), tips_.generateDouble()));
    Cue("gameinfo.wav");
  }
}

void GalaxyWindow::Form_DblClick() {
  if (Busy()) return;
  Scope busy(*this);
  game_.Form_DblClick();
}

void GalaxyWindow::ImgDone_Click() {
  if (Busy()) return;
  {
    Scope busy(*this);
    game_.ImgDone_Click();
  }
  txtMessage_->setFocus();
}

void GalaxyWindow::ImgLabels_Click() {
  if (Busy()) return;
  Scope busy(*this);
  const GameState& s = game_.state;
  if (lblName_[0]->isVisible()) {
    for (int i = 0; i < s.WorldCount; ++i) lblName_[i]->hide();
    GalaxyDraw();
  } else {
    for (QLabel* l : lblShips_) l->hide();
    GalaxyDraw();
    for (int i = 0; i < s.WorldCount; ++i) {
      QLabel* l = lblName_[i];
      const bool home = i >= kHomeRing && i < kHomeRing + kSeats && !s.PlayerName[i - kHomeRing].empty();
      QFont f("DejaVu Sans", 8, QFont::Bold);
      f.setItalic(home);
      l->setFont(f);
      l->setText(Q(s.WorldName[i]));
      l->adjustSize();
      const Point p = WorldPixel(i);
      l->move(RoundPixel(p.x - l->width() - 18), RoundPixel(p.y - 7));
      l->show();
    }
  }
  PumpEvents();
  game_.FleetsShown = kFalse;
  txtMessage_->setFocus();
}

void GalaxyWindow::ImgTravel_Click() {
  if (Busy()) return;
  Scope busy(*this);
  ShowFleetPositions(-1);
}

void GalaxyWindow::mnuInfoFleets_Click() {
  if (Busy()) return;
  Scope busy(*this);
  // Every fleet of the current player, as the button shows them, but never
  // the button's second press that hides them.
  game_.FleetsShown = kFalse;
  ShowFleetPositions(-1);
}

void GalaxyWindow::ImgStatus_Click() {
  ShowPopup(Lines(StatusReportText(game_.state, game_.StatusLine)), true);
  txtMessage_->setFocus();
}

void GalaxyWindow::ImgHelp_Click() {
  // The help window comes with the application's other windows; until then
  // the button shows the quick help of the view.
  QStringList help;
  for (const std::string& line : QuickHelpLines()) help << Q(line);
  ShowPopup(help.join('\n'), true);
  txtMessage_->setFocus();
}

void GalaxyWindow::ImgQuit_Click() {
  if (askYesNo("Valkoran", "Are You Sure You Want To Quit?")) QApplication::exit(0);
}

void GalaxyWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || game_.state.NetworkGame) return;
  // A minimised window stops the turn's clock; restored, the clock goes on
  // if it was running (it is not started for a turn that never armed it).
  if (isMinimized()) {
    timerHeld_ = tmrTurn_->isActive() ? tmrTurn_->remainingTime() : -1;
    tmrTurn_->stop();
  } else if (timerHeld_ >= 0) {
    tmrTurn_->start(timerHeld_);
    timerHeld_ = -1;
  }
}

void GalaxyWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  QApplication::exit(0);
}

void GalaxyWindow::ShowChatLine(const QString& line) {
  txtChat_->appendPlainText(line);
  txtChat_->moveCursor(QTextCursor::End);
}

void GalaxyWindow::ImgSend_Click() {
  if (!ImgSend_->isEnabled()) return;
  const QString text = txtMessage_->text();
  if (text.isEmpty()) return;
  const std::string& name = game_.state.PlayerName[game_.state.CurrentPlayer];
  ShowChatLine(Lines(ChatLine(name, WithoutStars(text.toStdString()))));
  txtMessage_->clear();
  ImgSend_->setEnabled(false);
  tmrMessage_->start(2000);
}

void GalaxyWindow::tmrMessage_Timer() {
  ImgSend_->setEnabled(true);
  txtMessage_->setFocus();
}

void GalaxyWindow::tmrTurn_Timer() {
  if (Busy()) {
    // The minute ends while a routine runs: count it as soon as it is over.
    tmrTurn_->start(250);
    return;
  }
  Scope busy(*this);
  game_.tmrTurn_Timer();
}

void GalaxyWindow::lstOwned_Click() {
  if (Busy()) return;
  QListWidgetItem* item = lstOwned_->currentItem();
  if (item && game_.SelectedFrom == -1) {
    Scope busy(*this);
    GalaxyDraw();
    const int w = item->data(Qt::UserRole).toInt();
    const Point p = WorldPixel(w);
    canvas_->Circle(p.x, p.y, 14, PlayerColour(game_.state.WorldOwner[w]), 2);
    canvas_->update();
  }
  txtMessage_->setFocus();
}

void GalaxyWindow::lstOwned_DblClick(int row) {
  if (Busy() || row < 0) return;
  GameState& s = game_.state;
  int n = -1;
  for (int w = 0; w < s.WorldCount; ++w) {
    if (s.WorldOwner[w] != s.CurrentPlayer + 1) continue;
    if (++n != row) continue;
    if (!MayToggleShield(game_, w)) return;
    Scope busy(*this);
    s.WorldShieldOn[w] = s.WorldShieldOn[w] ? 0 : 1;
    Console();
    if (game_.IsNetworkClient() && game_.serverConnected) game_.relay().SendShield(s, w);
    return;
  }
}

void GalaxyWindow::lstTravel_Click() {
  if (!Busy()) {
    QListWidgetItem* item = lstTravel_->currentItem();
    if (item && item->text() != "None") {
      Scope busy(*this);
      ShowFleetPositions(item->data(Qt::UserRole).toInt() + 1);
    }
  }
  txtMessage_->setFocus();
}

void GalaxyWindow::lstInfo_Click() {
  if (Busy() || lstInfo_->count() == 0) return;
  GameState& s = game_.state;
  const int w = lstInfo_->item(0)->data(Qt::UserRole).toInt() - 1;
  if (w < 0 || w >= s.WorldCount || !MayToggleShield(game_, w)) return;
  Scope busy(*this);
  s.WorldShieldOn[w] = s.WorldShieldOn[w] ? 0 : 1;
  Console();
  for (int r = 0; r < lstInfo_->count(); ++r) {
    QListWidgetItem* item = lstInfo_->item(r);
    if (item->text().startsWith(" Shield: ")) item->setText(s.WorldShieldOn[w] ? " Shield: On" : " Shield: Off");
  }
  if (game_.IsNetworkClient() && game_.serverConnected) game_.relay().SendShield(s, w);
}

void GalaxyWindow::txtMove_Click() {
  QRect r = txtMove_->geometry();
  if (r.height() < layout::kTxtMoveTall) {
    txtGame_->hide();
    txtMove_->setGeometry(r.x(), r.y() - layout::kTxtMoveRise, r.width(), layout::kTxtMoveTall);
    txtMove_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  } else {
    txtMove_->setGeometry(r.x(), r.y() + layout::kTxtMoveRise, r.width(), layout::kTxtMove.h);
    txtMove_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtGame_->show();
  }
  txtMove_->raise();
  txtMove_->moveCursor(QTextCursor::End);
  txtMove_->ensureCursorVisible();
  txtMove_->repaint();
}

bool GalaxyWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == txtMove_->viewport() && e->type() == QEvent::MouseButtonPress) {
    txtMove_Click();
    return true;
  }
  if (watched == txtMessage_ && e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (ImgSend_->isEnabled()) ImgSend_Click();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, e);
}

// ---- Commands ----------------------------------------------------------------------------

void GalaxyWindow::mnuComSendAll_Click() { mnuComSend(kOrderAll); }
void GalaxyWindow::mnuComSend75_Click() { mnuComSend(kOrder75); }
void GalaxyWindow::mnuComSend50_Click() { mnuComSend(kOrder50); }
void GalaxyWindow::mnuComSend25_Click() { mnuComSend(kOrder25); }
void GalaxyWindow::mnuComSend10_Click() { mnuComSend(kOrder10); }
void GalaxyWindow::mnuComSendScout_Click() { mnuComSend(kOrderScout); }
void GalaxyWindow::mnuComSendBomb_Click() { mnuComSend(kOrderBomb); }

void GalaxyWindow::mnuComSend(int16_t amount) {
  if (game_.SelectedFrom <= -1 || Busy()) return;
  Scope busy(*this);
  game_.Sendships(amount);
}

void GalaxyWindow::mnuComCalc_Click() {
  if (game_.SelectedFrom <= -1 || game_.SelectedTo <= -1 || Busy()) return;
  Scope busy(*this);
  GameState& s = game_.state;
  const int from = game_.SelectedFrom, to = game_.SelectedTo;
  game_.DistCalc(static_cast<int16_t>(from), static_cast<int16_t>(to), game_.CalcDistance, game_.CalcCourse, 0.1f);
  GalaxyDraw();
  // The predicted path: the rule of a traveling fleet, for a fleet that has
  // not left yet, drawn through a scratch fleet slot of a copy of the state.
  GameState trial = s;
  const int slot = 0;
  trial.FleetFrom[slot] = static_cast<uint8_t>(from + 1);
  trial.FleetTo[slot] = static_cast<uint8_t>(to + 1);
  trial.FleetDistance[slot] = game_.CalcDistance;
  trial.FleetRemaining[slot] = game_.CalcDistance;
  trial.FleetCourse[slot] = game_.CalcCourse;
  const QColor mine = PlayerColour(s.CurrentPlayer + 1);
  const Point arrival =
      DrawFleetPath(trial, slot, mine, mine, std::floor(static_cast<double>(game_.CalcDistance) * 520), 0);
  canvas_->Circle(arrival.x, arrival.y, 12, PlayerColour(s.WorldOwner[to]));
  canvas_->Circle(arrival.x, arrival.y, 4, mine, 1, false, 1, mine);
  ShowPopup(Lines(TravelDistanceText(game_.CalcDistance)), true);
  canvas_->repaint();
  WaitMs(3000);
  lblPlanet_->hide();
  GalaxyDraw();
}

void GalaxyWindow::mnuComSendProx_Click() {
  if (game_.SelectedFrom < 0 || Busy()) return;
  Scope busy(*this);
  game_.ProximityFrom = game_.SelectedFrom;
  game_.ProximityTo = game_.SelectedTo;
  game_.SelectedFrom = game_.SelectedTo = -1;
  GalaxyDraw();
  proximity_->Open(game_.state.WorldShips[game_.ProximityFrom]);
  // Over the middle of the view, near where the player is looking.
  const QPoint centre = canvas_->mapToGlobal(QPoint(canvas_->width() / 2, layout::kLowerPanelTop / 2));
  proximity_->move(centre - QPoint(proximity_->width() / 2, proximity_->height() / 2));
}

void GalaxyWindow::ImgSet_Click(int threshold) {
  if (Busy()) return;
  Scope busy(*this);
  if (game_.ProximityFrom >= 0 && threshold > 0) {
    if (auto refusal = RefuseOrder(game_, game_.ProximityFrom, game_.ProximityTo, kOrderProximityBase + threshold)) {
      showMessage("Valkoran", Q(refusal->text));
    } else {
      game_.SelectedFrom = game_.ProximityFrom;
      game_.SelectedTo = game_.ProximityTo;
      game_.Sendships(static_cast<int16_t>(kOrderProximityBase + threshold));
    }
  }
  game_.SelectedFrom = game_.SelectedTo = game_.ProximityFrom = game_.ProximityTo = -1;
  GalaxyDraw();
  PumpEvents();
}

void GalaxyWindow::mnuComSendPulse_Click() {
  if (game_.SelectedFrom < 0 || Busy()) return;
  Scope busy(*this);
  game_.mnuComSendPulse_Click();
}

void GalaxyWindow::mnuFileNew_Click() {
  if (Busy()) return;
  if (!askYesNo("Start New Game", "You will lose all existing game data, do you want to proceed?")) return;
  tmrTurn_->stop();
  DataSet(game_.state);
  game_.state.TruceTurn = 0;
  hide();
  emit newGameRequested();
}

}  // namespace valkoran::view
