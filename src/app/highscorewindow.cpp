#include "app/highscorewindow.h"

#include <QKeyEvent>
#include <QLabel>

#include "app/look.h"
#include "view/fixedwindow.h"
#include "view/imagebutton.h"

namespace valkoran::app {

namespace {
// Column captions, left edges and widths.
struct Column {
  const char* caption;
  int x, w;
  Qt::Alignment align;
};
constexpr Column kColumns[kHighScoreColumns] = {
    {"rating:", 16, 60, Qt::AlignRight}, {"name:", 92, 170, Qt::AlignLeft},  {"turns:", 268, 50, Qt::AlignRight},
    {"plan:", 324, 44, Qt::AlignRight},  {"prod:", 374, 54, Qt::AlignRight}, {"class:", 434, 50, Qt::AlignRight},
    {"ships:", 490, 70, Qt::AlignRight}, {"date:", 576, 100, Qt::AlignLeft}};
constexpr int kWidth = 692, kTop = 56, kRowHeight = 24;

void Colour(QLabel* label, const QColor& colour) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
}
}  // namespace

HighScoreWindow::HighScoreWindow(QWidget* parent) : QWidget(parent, Qt::Dialog) {
  setObjectName(QStringLiteral("frmHighScores"));
  setWindowTitle(QStringLiteral("Valkoran HighScores"));
  const int height = kTop + 22 + kHighScoreRows * kRowHeight + 56;
  view::FixWindowSize(this, kWidth, height);
  Dress(this);

  auto* title = Caption(QStringLiteral("HighScores"), this, 16, 8, 300, 30);
  title->setStyleSheet(QStringLiteral("color: rgb(255, 214, 120); font: bold 16pt 'DejaVu Sans';"));
  QFont cellFont(QStringLiteral("DejaVu Sans"), 9);
  QFont headFont(cellFont);
  headFont.setItalic(true);
  for (int c = 0; c < kHighScoreColumns; ++c) {
    const Column& col = kColumns[c];
    auto* head = Caption(QString::fromLatin1(col.caption), this, col.x, kTop, col.w, 20);
    head->setAlignment(col.align | Qt::AlignVCenter);
    head->setFont(headFont);
    for (int r = 0; r < kHighScoreRows; ++r) {
      QLabel* cell = Caption(QString(), this, col.x, kTop + 22 + r * kRowHeight, col.w, kRowHeight);
      cell->setObjectName(QStringLiteral("lbl%1_%2").arg(c + 1).arg(r));
      cell->setProperty("index", r);
      cell->setAlignment(col.align | Qt::AlignVCenter);
      cell->setFont(cellFont);
      Colour(cell, kHighScoreNormal);
      cells_[c][r] = cell;
    }
  }
  ok_ = new view::ImageButton(QStringLiteral("ImgOk"), 20, view::ImageButton::Released::Picture, false, this);
  ok_->setGeometry(kWidth - 16 - 110, height - 44, 110, 30);
  ok_->setToolTip(QStringLiteral("Close (Escape)"));
  connect(ok_, &view::ImageButton::clicked, this, &QWidget::hide);
}

void HighScoreWindow::Show(const HighScoreTable& table, int highlighted) {
  for (int r = 0; r < kHighScoreRows; ++r) {
    const bool empty = HighScoreRowEmpty(table[r]);
    for (int c = 0; c < kHighScoreColumns; ++c) {
      cells_[c][r]->setText(empty ? QString() : QString::fromStdString(table[r][c]));
      Colour(cells_[c][r], r == highlighted ? kHighScoreHighlight : kHighScoreNormal);
    }
  }
  show();
  raise();
  activateWindow();
  repaint();
}

void HighScoreWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    hide();
    return;
  }
  QWidget::keyPressEvent(e);
}

}  // namespace valkoran::app
