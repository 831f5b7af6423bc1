#include "view/battlepanel.h"

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>

#include "game/numbers.h"
#include "game/presenter.h"
#include "view/logic/layout.h"

namespace valkoran::view {

namespace {

const QColor kCaptionCyan(0, 255, 255);
const QColor kIdleGrey(128, 128, 128);

const char* const kCaptionTexts[6] = {"Class:",     "Ships Started:", "Shield %:",
                                      "Shots Left:", "Ships Left:",    "Accuracy:"};

// Inside the 270 x 110 frame: the title on the top edge, the name under it,
// then six rows of caption and value.
constexpr int kNameTop = 15, kNameHeight = 15;
constexpr int kRowTop = 30, kRowHeight = 13;
constexpr int kCaptionLeft = 10, kCaptionWidth = 92;
constexpr int kValueLeft = 104;

void SetColour(QLabel* label, const QColor& colour) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QFont& font) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return label;
}

QColor ColourOf(const std::array<QColor, 5>& colours, int owner) {
  return owner >= 0 && owner < static_cast<int>(colours.size()) ? colours[static_cast<size_t>(owner)] : colours[0];
}

}  // namespace

BattleFrames::Side BattleFrames::Build(QWidget* parent, const layout::Rect& r, const char* frameName,
                                       const char* nameLabel, const std::array<const char*, 6>& captionNames,
                                       const std::array<const char*, 6>& valueNames) {
  Side side;
  side.frame = new QGroupBox(QStringLiteral("Fleet Captain"), parent);
  side.frame->setObjectName(QString::fromLatin1(frameName));
  side.frame->setGeometry(r.x, r.y, r.w, r.h);
  // Deep blue glass over the starfield; the view shows through.
  side.frame->setStyleSheet(QStringLiteral(
                                "QGroupBox#%1 { background-color: rgba(6, 12, 34, 190);"
                                " border: 1px solid rgba(90, 150, 210, 150); border-radius: 5px;"
                                " margin-top: 0px; }"
                                "QGroupBox#%1::title { subcontrol-origin: border; subcontrol-position: top left;"
                                " left: 8px; top: 1px; padding: 0px 2px; color: rgb(120, 160, 200); }")
                                .arg(QLatin1String(frameName)));
  QFont small = side.frame->font();
  small.setPointSizeF(8);
  side.frame->setFont(small);
  QFont bold = small;
  bold.setBold(true);

  side.name = MakeLabel(side.frame, nameLabel, bold);
  side.name->setGeometry(kCaptionLeft, kNameTop, r.w - 2 * kCaptionLeft, kNameHeight);
  for (size_t i = 0; i < 6; ++i) {
    const int y = kRowTop + static_cast<int>(i) * kRowHeight;
    side.captions[i] = MakeLabel(side.frame, captionNames[i], small);
    side.captions[i]->setText(QString::fromLatin1(kCaptionTexts[i]));
    side.captions[i]->setGeometry(kCaptionLeft, y, kCaptionWidth, kRowHeight);
    side.values[i] = MakeLabel(side.frame, valueNames[i], small);
    side.values[i]->setGeometry(kValueLeft, y, r.w - kValueLeft - kCaptionLeft, kRowHeight);
  }
  return side;
}

BattleFrames::BattleFrames(QWidget* parent)
    : from_(Build(parent, layout::kFraFrom, "fraFrom", "Label1", {"Label7", "Label3", "Label8", "Label5", "Label4", "Label6"},
                  {"lblFromClass", "lblFromOrig", "lblFromShield", "lblFromShot", "lblFromCurr", "lblFromAccu"})),
      to_(Build(parent, layout::kFraTo, "fraTo", "Label2", {"Label10", "Label9", "Label11", "Label12", "Label13", "Label14"},
                {"lblToClass", "lblToOrig", "lblToShield", "lblToShot", "lblToCurr", "lblToAccu"})) {
  Show(BattlePanel{}, {Qt::white, Qt::white, Qt::white, Qt::white, Qt::white});
}

void BattleFrames::Show(const BattlePanel& panel, const std::array<QColor, 5>& playerColours) {
  auto fill = [&](Side& side, const BattleSideValues& v, int owner) {
    if (!panel.active) {
      SetColour(side.name, kIdleGrey);
      side.name->clear();
      for (QLabel* caption : side.captions) SetColour(caption, kIdleGrey);
      for (QLabel* value : side.values) value->clear();
      return;
    }
    const QColor colour = ColourOf(playerColours, owner);
    SetColour(side.name, colour);
    side.name->setText(QString::fromStdString(v.name));
    for (QLabel* caption : side.captions) SetColour(caption, kCaptionCyan);
    const float figures[6] = {v.shipClass, v.started, v.shield, v.shots, v.ships, v.accuracy};
    for (size_t i = 0; i < 6; ++i) {
      SetColour(side.values[i], colour);
      side.values[i]->setText(QString::fromStdString(Str(figures[i])));
    }
  };
  fill(from_, panel.from, panel.attacker);
  fill(to_, panel.to, panel.defender);
  from_.frame->repaint();
  to_.frame->repaint();
}

}  // namespace valkoran::view
