#include "app/setupwindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QValidator>
#include <QHostInfo>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QIntValidator>
#include <algorithm>
#include <initializer_list>

#include "app/look.h"
#include "game/numbers.h"
#include "view/assets.h"
#include "view/cues.h"
#include "view/fixedwindow.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"

namespace valkoran::app {

namespace {

const QColor kOpenSeat(Qt::white);

// A counter beside a number box: the arrow pointing up, the wheel turned
// up and the Up key count up, and the highest value sits at the top.
class CounterBar final : public QScrollBar {
 public:
  explicit CounterBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    setInvertedAppearance(true);
    setInvertedControls(true);
    // A click on it leaves the keyboard where it was (a name being typed).
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const auto part = style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, e->position().toPoint(), this);
    if (e->button() == Qt::LeftButton && (part == QStyle::SC_ScrollBarSubLine || part == QStyle::SC_ScrollBarAddLine)) {
      const auto step = part == QStyle::SC_ScrollBarSubLine ? SliderSingleStepAdd : SliderSingleStepSub;
      triggerAction(step);
      setRepeatAction(step);
      e->accept();
      return;
    }
    QScrollBar::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    setRepeatAction(SliderNoAction);
    QScrollBar::mouseReleaseEvent(e);
  }
};

// A count's box takes typing as well as the counter beside it: a whole
// number in the counter's range moves the counter (whose rules may move it
// on, and whose change writes the box); Up, Down and the wheel step it; and
// a box left half-typed shows the counter's value again. Anything else
// typed stays until then, and the start's check names what is wrong.
class CountBox final : public QObject {
 public:
  CountBox(QLineEdit* box, QScrollBar* bar) : QObject(box), box_(box), bar_(bar) {
    box->setReadOnly(false);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setMaxLength(3);
    box->installEventFilter(this);
    QObject::connect(box, &QLineEdit::textEdited, this, [this](const QString& text) {
      bool whole = false;
      const int value = text.trimmed().toInt(&whole);
      if (whole && value >= bar_->minimum() && value <= bar_->maximum()) bar_->setValue(value);
    });
    QObject::connect(box, &QLineEdit::returnPressed, this, [this] { ShowBar(); });
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::FocusOut:
        ShowBar();
        break;
      case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key != Qt::Key_Up && key != Qt::Key_Down) break;
        Step(key == Qt::Key_Up ? 1 : -1);
        return true;
      }
      case QEvent::Wheel: {
        const int delta = static_cast<QWheelEvent*>(e)->angleDelta().y();
        if (delta == 0) break;
        Step(delta > 0 ? 1 : -1);
        return true;
      }
      default:
        break;
    }
    return false;
  }

 private:
  void ShowBar() { box_->setText(QString::fromStdString(Str(bar_->value()))); }
  void Step(int direction) {
    bar_->setValue(bar_->value() + direction * bar_->singleStep());
    ShowBar();
  }

  QLineEdit* box_;
  QScrollBar* bar_;
};

// The name boxes run every change through this, so a "*" or a line break is
// dropped however it arrives: typed, pasted, dropped or set by the program.
class NameValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    CleanName(input, pos);
    return Acceptable;
  }
};

int Utf8Length(char32_t c) {
  if (c < 0x80) return 1;
  if (c < 0x800) return 2;
  if (c < 0x10000) return 3;
  return 4;
}

void SetBase(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) p.setColor(group, QPalette::Base, colour);
  w->setPalette(p);
}

QLineEdit* Box(const QString& name, QWidget* parent, int x, int y, int w, int h) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setGeometry(x, y, w, h);
  return box;
}

}  // namespace

bool CleanName(QString& text, int& cursor) {
  QString kept;
  kept.reserve(text.size());
  int bytes = 0;
  int newCursor = cursor;
  bool changed = false;
  for (int i = 0; i < text.size();) {
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const int units = pair ? 2 : 1;
    const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
    const bool dropped = c == u'*' || c < 0x20 || c == 0x7F;
    const bool full = !dropped && bytes + Utf8Length(c) > kMaxNameBytes;
    if (dropped || full) {
      changed = true;
      // Characters cut before the cursor pull it back with them.
      if (i < cursor) newCursor -= std::min(units, cursor - i);
      if (full) {
        newCursor = std::min<int>(newCursor, kept.size());
        break;
      }
    } else {
      kept.append(text.mid(i, units));
      bytes += Utf8Length(c);
    }
    i += units;
  }
  if (!changed) return false;
  text = kept;
  cursor = std::clamp<int>(newCursor, 0, kept.size());
  return true;
}

SetupWindow::SetupWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmMulti"));
  setWindowTitle(QStringLiteral("Valkoran - New Game"));
  view::FixWindowSize(this, layout::kSetupWidth, layout::kSetupHeight);
  Dress(this);
  auto* title = new QLabel(QStringLiteral("Valkoran"), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  title->setStyleSheet(QStringLiteral("color: rgb(255, 214, 120); font: bold 20pt 'DejaVu Sans';"));
  title->setGeometry(16, 404, 200, 32);
  auto* subtitle = new QLabel(QStringLiteral("A Game of Solar System Domination"), this);
  subtitle->setStyleSheet(QStringLiteral("color: rgb(200, 210, 235); font: 8pt 'DejaVu Sans';"));
  subtitle->setGeometry(16, 436, 210, 16);

  // Seats: caption, name, computer player, status.
  auto* validator = new NameValidator(this);
  for (int s = 0; s < kSeats; ++s) {
    const int y = 20 + 34 * s;
    caption_[s] = Caption(QStringLiteral("Player %1:").arg(s + 1), this, 16, y, 66, 24);
    txtPL_[s] = Box(QStringLiteral("txtPL%1").arg(s), this, 84, y, 164, 24);
    txtPL_[s]->setProperty("index", s);
    txtPL_[s]->setMaxLength(kMaxNameBytes);  // a character is at least one byte
    txtPL_[s]->setValidator(validator);
    check_[s] = new QCheckBox(QStringLiteral("Computer Player"), this);
    check_[s]->setObjectName(QStringLiteral("Check%1").arg(s + 1));
    check_[s]->setGeometry(258, y, 130, 24);
    lblStatus_[s] = Caption(QString(), this, 392, y, 124, 24);
    lblStatus_[s]->setObjectName(QStringLiteral("lblStatus%1").arg(s));
    lblStatus_[s]->setProperty("index", s);
    connect(check_[s], &QCheckBox::clicked, this, [this, s] { Check_Click(s); });
    connect(txtPL_[s], &QLineEdit::textChanged, this, [this, s] { txtPL_Change(s); });
  }

  // The size of the solar system.
  Caption(QStringLiteral("Number of Worlds in Solar System:"), this, 16, 170, 250, 28);
  txtPlanets_ = Box(QStringLiteral("txtPlanets"), this, 270, 170, 44, 28);
  txtPlanets_->setAlignment(Qt::AlignCenter);
  vScroll1_ = new CounterBar(this);
  vScroll1_->setObjectName(QStringLiteral("VScroll1"));
  vScroll1_->setGeometry(316, 166, 18, 36);
  vScroll1_->setRange(kMinWorlds, kWorlds);
  vScroll1_->setPageStep(1);
  new CountBox(txtPlanets_, vScroll1_);


  chkShield_ = new QCheckBox(QStringLiteral("Ships Travel with Shields for Battles"), this);
  chkShield_->setObjectName(QStringLiteral("chkShield"));
  chkShield_->setGeometry(16, 212, 400, 24);

  // The Battle Truce: its label is the check box's caption.
  chkTruce_ = new QCheckBox(this);
  chkTruce_->setObjectName(QStringLiteral("chkTruce"));
  chkTruce_->setGeometry(16, 246, 22, 28);
  label13_ = Caption(QStringLiteral("Player Battle Truce Until Turn:"), this, 40, 246, 226, 28);
  label13_->setObjectName(QStringLiteral("Label13"));
  chkTruce_->setAccessibleName(label13_->text());
  txtTruce_ = Box(QStringLiteral("txtTruce"), this, 270, 246, 44, 28);
  txtTruce_->setAlignment(Qt::AlignCenter);
  txtTruce_->setText(QStringLiteral("10"));
  vScroll2_ = new CounterBar(this);
  vScroll2_->setObjectName(QStringLiteral("VScroll2"));
  vScroll2_->setGeometry(316, 242, 18, 36);
  vScroll2_->setRange(10, 50);
  vScroll2_->setPageStep(5);
  new CountBox(txtTruce_, vScroll2_);

  // Online play; the controls wait, disabled, for the network.
  chkOnline_ = new QCheckBox(QStringLiteral("Online Multiplayer Game"), this);
  chkOnline_->setObjectName(QStringLiteral("chkOnline"));
  chkOnline_->setGeometry(16, 298, 300, 24);
  const char* roles[2] = {"Server", "Client"};
  for (int i = 0; i < 2; ++i) {
    optServerClient_[i] = new QRadioButton(QString::fromLatin1(roles[i]), this);
    optServerClient_[i]->setObjectName(QStringLiteral("OptServerClient%1").arg(i));
    optServerClient_[i]->setProperty("index", i);
    optServerClient_[i]->setGeometry(40 + 100 * i, 328, 90, 24);
  }
  ipCaption_ = Caption(QStringLiteral("Server Address:"), this, 40, 362, 120, 26);
  txtIP_ = Box(QStringLiteral("txtIP"), this, 160, 362, 200, 26);
  txtIP_->setToolTip(QStringLiteral("The server's name or address, \"host\" or \"host:port\""));
  portCaption_ = Caption(QStringLiteral("Port:"), this, 370, 362, 40, 26);
  txtPort_ = Box(QStringLiteral("txtPort"), this, 410, 362, 64, 26);
  txtPort_->setValidator(new QIntValidator(1, 65535, txtPort_));
  txtPort_->setText(QStringLiteral("330"));
  txtPort_->setToolTip(QStringLiteral("Ports below 1024 need administrator rights on most systems"));
  imgConnect_ = new view::ImageButton(QStringLiteral("imgConnect"), 13, view::ImageButton::Released::Picture,
                                      false, this);
  const auto& c = layout::kSetupConnect;
  imgConnect_->setGeometry(c.x, c.y, c.w, c.h);
  for (QWidget* w : std::initializer_list<QWidget*>{optServerClient_[0], optServerClient_[1], ipCaption_, txtIP_,
                                                    portCaption_, txtPort_, imgConnect_})
    w->setEnabled(false);
  connect(chkOnline_, &QCheckBox::clicked, this, &SetupWindow::chkOnline_Click);
  for (int i = 0; i < 2; ++i)
    connect(optServerClient_[i], &QRadioButton::clicked, this, [this, i] { OptServerClient_Click(i); });
  connect(imgConnect_, &view::ImageButton::clicked, this, &SetupWindow::imgConnect_Click);

  imgStart_ = new view::ImageButton(QStringLiteral("imgStart"), 12, view::ImageButton::Released::Picture, false,
                                    this);
  const auto& st = layout::kSetupStart;
  imgStart_->setGeometry(st.x, st.y, st.w, st.h);

  connect(vScroll1_, &QScrollBar::valueChanged, this, &SetupWindow::VScroll1_Change);
  connect(vScroll2_, &QScrollBar::valueChanged, this, &SetupWindow::VScroll2_Change);
  connect(chkShield_, &QCheckBox::clicked, this, &SetupWindow::chkShield_Click);
  connect(chkTruce_, &QCheckBox::clicked, this, &SetupWindow::chkTruce_Click);
  connect(imgStart_, &view::ImageButton::clicked, this, &SetupWindow::imgStart_Click);

  vScroll1_->setValue(kWorlds);
  vScroll2_->setValue(10);
  EnableTruce(false);
}

GameSetup SetupWindow::Setup() const {
  GameSetup setup;
  for (int s = 0; s < kSeats; ++s) setup.names[s] = txtPL_[s]->text().toStdString();
  setup.worlds = static_cast<int>(Val(txtPlanets_->text().toStdString()));
  setup.truceChecked = chkTruce_->isChecked();
  setup.truceText = txtTruce_->text().toStdString();
  setup.shields = chkShield_->isChecked();
  return setup;
}

bool SetupWindow::ShieldOption() const { return chkShield_->isChecked(); }

void SetupWindow::SetShieldOption(bool on) { chkShield_->setChecked(on); }

void SetupWindow::closeEvent(QCloseEvent* e) {
  e->accept();
  emit closed();
}

void SetupWindow::ResetForNewGame() {
  chkShield_->setChecked(false);
  chkTruce_->setChecked(false);
  for (int s = 0; s < kSeats; ++s) {
    txtPL_[s]->clear();
    check_[s]->setChecked(false);
  }
  show();
  raise();
  activateWindow();
  txtPL_[0]->setFocus();
}

void SetupWindow::Check_Click(int seat) {
  const bool computer = check_[seat]->isChecked();
  if (computer) {
    txtPL_[seat]->setText(QStringLiteral("ENEMY%1").arg(seat));
  } else {
    txtPL_[seat]->clear();
    lblStatus_[seat]->clear();
  }
  if (seat == 1) {
    EnableTruce(computer);
    if (!computer) lblStatus_[1]->hide();
  }
}

void SetupWindow::txtPL_Change(int) { EnableTruce(!txtPL_[1]->text().isEmpty()); }

void SetupWindow::VScroll1_Change(int value) {
  // A filled seat keeps its home world (world 8 + seat): the count goes back
  // up to the first one that still holds it.
  for (int s = kSeats - 1; s >= 1; --s) {
    if (value < kMinWorlds + s && !txtPL_[s]->text().isEmpty()) {
      vScroll1_->setValue(kMinWorlds + s);
      return;
    }
  }
  txtPlanets_->setText(QString::fromStdString(Str(value)));
  for (int s = 1; s < kSeats; ++s) ShowSeat(s, value >= kMinWorlds + s);
}

void SetupWindow::VScroll2_Change(int value) {
  if (chkTruce_->isChecked()) txtTruce_->setText(QString::fromStdString(Str(value)));
}

void SetupWindow::chkShield_Click() { view::Cues().Play("click1.wav"); }

void SetupWindow::chkTruce_Click() {
  // The scroll bar may have moved while the truce was off: show what it says
  // now, so the text and the bar agree on the turn.
  const int turn = vScroll2_->value();
  if (chkTruce_->isChecked() && Val(txtTruce_->text().toStdString()) != turn)
    txtTruce_->setText(QString::fromStdString(Str(turn)));
  view::Cues().Play("click1.wav");
}

void SetupWindow::imgStart_Click() {
  auto refuse = [this](const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Valkoran"), text, QMessageBox::Ok, this);
    box.exec();
  };
  if (txtPL_[0]->text().isEmpty()) {
    refuse(QStringLiteral("You Must Enter Your Name First!"));
    return;
  }
  if (auto why = ValidateSetup(Setup())) {
    refuse(QString::fromStdString(*why));
    return;
  }
  emit startRequested();
}

bool SetupWindow::Online() const { return chkOnline_->isChecked(); }
bool SetupWindow::ServerRole() const { return optServerClient_[0]->isChecked(); }
QString SetupWindow::Host() const { return txtIP_->text().trimmed(); }
quint16 SetupWindow::Port() const {
  const int port = txtPort_->text().toInt();
  return static_cast<quint16>(port >= 1 && port <= 65535 ? port : 330);
}

void SetupWindow::ShowSeat(int seat, const QString& name, const QString& status) {
  if (seat < 0 || seat >= kSeats) return;
  if (seat > 0 || !ServerRole()) txtPL_[seat]->setText(name);
  lblStatus_[seat]->setText(status);
  lblStatus_[seat]->show();
}

void SetupWindow::ShowStart(bool shown) {
  imgStart_->setVisible(shown);
  imgStart_->setEnabled(shown);
}

void SetupWindow::chkOnline_Click() {
  view::Cues().Play("click1.wav");
  const bool online = chkOnline_->isChecked();
  if (online) {
    // The other seats are the clients': they fill as machines join.
    for (int s = 1; s < kSeats; ++s) {
      txtPL_[s]->clear();
      check_[s]->setChecked(false);
    }
  }
  for (int s = 1; s < kSeats; ++s) {
    txtPL_[s]->setReadOnly(online);
    check_[s]->setEnabled(!online && txtPL_[s]->isEnabled());
  }
  EnableTruce(online);
  for (QWidget* w : std::initializer_list<QWidget*>{optServerClient_[0], optServerClient_[1]}) w->setEnabled(online);
  const bool role = optServerClient_[0]->isChecked() || optServerClient_[1]->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{ipCaption_, txtIP_, portCaption_, txtPort_, imgConnect_})
    w->setEnabled(online && role);
  ShowStart(!online);
}

void SetupWindow::OptServerClient_Click(int role) {
  view::Cues().Play("click1.wav");
  const bool server = role == 0;
  txtIP_->setReadOnly(server);
  if (server) {
    txtIP_->setText(QHostInfo::localHostName());
  } else if (txtIP_->text() == QHostInfo::localHostName()) {
    txtIP_->clear();
  }
  SetBase(txtIP_, server ? kGreyedBox : kOpenSeat);
  imgConnect_->SetNumber(server ? 14 : 13);
  for (QWidget* w : std::initializer_list<QWidget*>{ipCaption_, txtIP_, portCaption_, txtPort_, imgConnect_})
    w->setEnabled(true);
}

void SetupWindow::imgConnect_Click() {
  auto refuse = [this](const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Valkoran"), text, QMessageBox::Ok, this);
    box.exec();
  };
  if (!ServerRole() && txtIP_->text().trimmed().isEmpty()) {
    refuse(QStringLiteral("You Must Enter The IP Address Of A Server!"));
    return;
  }
  if (txtPL_[0]->text().isEmpty()) {
    refuse(QStringLiteral("You Must Enter Your Name First!"));
    return;
  }
  emit connectRequested();
}

void SetupWindow::EnableTruce(bool enable) {
  for (QWidget* w : std::initializer_list<QWidget*>{chkTruce_, label13_, txtTruce_, vScroll2_}) w->setEnabled(enable);
  // A truce the player can no longer switch off must not stay on.
  if (!enable) chkTruce_->setChecked(false);
}

void SetupWindow::ShowSeat(int seat, bool enabled) {
  if (!enabled) {
    txtPL_[seat]->clear();
    check_[seat]->setChecked(false);
  }
  txtPL_[seat]->setEnabled(enabled);
  SetBase(txtPL_[seat], enabled ? kOpenSeat : kGreyedBox);
  check_[seat]->setEnabled(enabled);
  caption_[seat]->setEnabled(enabled);
}

}  // namespace valkoran::app
