// The two battle frames on the main window: the attacker's (fraFrom) on the
// left, the defender's (fraTo) on the right. Each shows the side's name and
// six figures under fixed captions while a battle runs, and stays grey and
// empty between battles.
#pragma once

#include <QColor>
#include <array>

class QGroupBox;
class QLabel;
class QWidget;

namespace valkoran {
struct BattlePanel;
}
namespace valkoran::layout {
struct Rect;
}

namespace valkoran::view {

class BattleFrames {
 public:
  // The frames become children of `parent` (the main window's drawing area)
  // at their places of the layout table, grey and empty.
  explicit BattleFrames(QWidget* parent);
  BattleFrames(const BattleFrames&) = delete;
  BattleFrames& operator=(const BattleFrames&) = delete;

  // Fills or clears both frames and repaints them on the spot: a battle is
  // shown shot by shot from inside one event, so a deferred update would
  // only ever show its end.
  void Show(const BattlePanel& panel, const std::array<QColor, 5>& playerColours);

  QGroupBox* fraFrom() const { return from_.frame; }
  QGroupBox* fraTo() const { return to_.frame; }

 private:
  struct Side {
    QGroupBox* frame = nullptr;
    QLabel* name = nullptr;
    std::array<QLabel*, 6> captions{};  // class, started, shield, shots, ships, accuracy
    std::array<QLabel*, 6> values{};
  };
  static Side Build(QWidget* parent, const layout::Rect& rect, const char* frameName, const char* nameLabel,
                    const std::array<const char*, 6>& captionNames,
                    const std::array<const char*, 6>& valueNames);

  Side from_, to_;
};

}  // namespace valkoran::view
