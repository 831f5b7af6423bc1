// The high-score window (frmHighScores): the ten best results in eight
// label arrays lbl1..lbl8 (rating, name, turns, worlds, production, mean
// class, ships, date), a new result drawn in the highlight colour.
#pragma once

#include <QColor>
#include <QWidget>
#include <array>

#include "store/highscore.h"

class QLabel;

namespace valkoran::view {
class ImageButton;
}

namespace valkoran::app {

inline const QColor kHighScoreNormal(255, 224, 192);
inline const QColor kHighScoreHighlight(0, 255, 255);

class HighScoreWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HighScoreWindow(QWidget* parent = nullptr);

  // Fills the labels from `table` (an empty row shows nothing), row
  // `highlighted` (-1 none) in the highlight colour, and shows the window.
  void Show(const HighScoreTable& table, int highlighted);
  // Label `row` of column `column` (0..7), the array lbl<column + 1>.
  QLabel* Cell(int column, int row) const { return cells_[column][row]; }

 protected:
  void keyPressEvent(class QKeyEvent* e) override;

 private:
  std::array<std::array<QLabel*, kHighScoreRows>, kHighScoreColumns> cells_{};
  view::ImageButton* ok_ = nullptr;
};

}  // namespace valkoran::app
