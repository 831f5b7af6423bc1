#include "view/proximitywindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollBar>
#include <cmath>
#include <string_view>

#include "game/numbers.h"
#include "view/fixedwindow.h"
#include "view/imagebutton.h"
#include "view/logic/layout.h"

namespace valkoran::view {

namespace {

constexpr int kWidth = layout::kProximityWidth, kHeight = layout::kProximityHeight;
// The box and its arrows line up with the set button below them.
constexpr int kLeft = layout::kProximitySet.x;

// What the leading number of a text looks like, read the way Val reads it:
// blanks skipped, a sign, digits with at most one point. Val gives 0 both for
// "no number" and for a number it cannot hold, and only the shape tells
// which.
struct LeadingNumber {
  bool blank = true;         // nothing but blanks
  bool present = false;      // at least one digit before anything else
  bool nonzeroDigit = false; // so a 0 from Val means out of range
};

LeadingNumber Inspect(std::string_view s) {
  LeadingNumber n;
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  n.blank = i == s.size();
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] == '.' && !point) {
      point = true;
    } else if (s[i] >= '0' && s[i] <= '9') {
      n.present = true;
      if (s[i] != '0') n.nonzeroDigit = true;
    } else {
      break;
    }
  }
  return n;
}

// Small steps that grow with the number, so big thresholds are reached
// without a hundred clicks.
int SmallStep(int value) { return value >= 500 ? 10 : value >= 100 ? 5 : 1; }

}  // namespace

ProximityWindow::ProximityWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
  setObjectName(QStringLiteral("frmProximity"));
  setWindowTitle(QStringLiteral("Proximity Bomb"));
  setWindowModality(Qt::NonModal);
  FixWindowSize(this, kWidth, kHeight);
  // Night colours, as the main window's panels.
  setStyleSheet(QStringLiteral("QWidget#frmProximity { background: rgb(11, 16, 36); }"
                               "QLabel { color: rgb(220, 228, 244); }"));

  caption_ = new QLabel(QStringLiteral("Ship Threshold of Bomb"), this);
  caption_->setObjectName(QStringLiteral("lblThreshold"));
  caption_->setAlignment(Qt::AlignCenter);
  caption_->setGeometry(0, 8, kWidth, 20);

  text1_ = new QLineEdit(this);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setGeometry(kLeft, 42, 88, 24);

  vscroll1_ = new QScrollBar(Qt::Vertical, this);
  vscroll1_->setObjectName(QStringLiteral("VScroll1"));
  vscroll1_->setRange(0, kMaxThreshold);
  vscroll1_->setGeometry(kLeft + 90, 36, 20, 36);
  vscroll1_->setSingleStep(SmallStep(0));
  connect(vscroll1_, &QScrollBar::valueChanged, this, &ProximityWindow::VScroll1_Change);

  imgSet_ = new ImageButton(QStringLiteral("ImgSet"), 18, ImageButton::Released::Picture, false, this);
  const layout::Rect& r = layout::kProximitySet;
  imgSet_->setGeometry(r.x, r.y, r.w, r.h);
  connect(imgSet_, &ImageButton::clicked, this, &ProximityWindow::ImgSet_Click);
}

void ProximityWindow::Open(float sourceShips) {
  // A world may hold more ships than a threshold can take: offer the most.
  float shown = sourceShips;
  if (std::isnan(shown) || shown < 0) shown = 0;
  if (shown > kMaxThreshold) shown = kMaxThreshold;
  vscroll1_->setValue(static_cast<int>(RoundHalfEvenClamped(shown, 0, kMaxThreshold)));
  // Moving the bar wrote its whole number into the box; the box shows the
  // count itself, fraction and all.
  text1_->setText(QString::fromStdString(Str(shown)));
  vscroll1_->setSingleStep(SmallStep(vscroll1_->value()));
  show();
  raise();
  activateWindow();
}

void ProximityWindow::VScroll1_Change(int value) {
  text1_->setText(QString::fromStdString(Str(value)));
  vscroll1_->setSingleStep(SmallStep(value));
}

void ProximityWindow::ImgSet_Click() {
  const std::string text = text1_->text().toStdString();
  const LeadingNumber shape = Inspect(text);
  const double t = Val(text);
  const bool outOfRange = !shape.blank && (!shape.present || (shape.nonzeroDigit && t == 0) || t < 0 ||
                                           t > kMaxThreshold || (t > 0 && RoundHalfEvenUnchecked(t) < 1));
  if (outOfRange) {
    // The box keeps what was typed, so the player can put it right.
    Refuse(QStringLiteral("The Ship Threshold Must Be From 1 To 9998 Ships!"));
    return;
  }
  hide();
  if (t > 0)
    emit thresholdSet(static_cast<int>(RoundHalfEvenUnchecked(t)));
  else
    emit closedWithoutBomb();
}

void ProximityWindow::closeEvent(QCloseEvent* e) {
  if (isVisible()) emit closedWithoutBomb();
  QWidget::closeEvent(e);
}

void ProximityWindow::Refuse(const QString& text) {
  QMessageBox::warning(this, QStringLiteral("Valkoran"), text);
}

}  // namespace valkoran::view
