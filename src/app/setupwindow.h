// The setup window (frmMulti): seats, computer players, the size of the solar
// system, the Battle Truce and the shield option, and the online controls.
// It only collects the choices; the application builds the game from Setup()
// when startRequested() fires.
#pragma once

#include <QWidget>
#include <array>

#include "game/newgame.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
#include <QtGlobal>

namespace valkoran::view {
class ImageButton;
}

namespace valkoran::app {

class SetupWindow : public QWidget {
  Q_OBJECT
 public:
  explicit SetupWindow(QWidget* parent = nullptr);

  // What the controls hold, for ValidateSetup and NewGame.
  GameSetup Setup() const;
  // The shield option lives in chkShield for the whole run.
  bool ShieldOption() const;
  // A loaded game's shield option, so the window shows what the game plays.
  void SetShieldOption(bool on);
  // A new local game: options and seats cleared, the window shown with the
  // first name box focused.
  void ResetForNewGame();

  // Online play: whether it is chosen, this machine's role, the server's
  // address as typed ("host" or "host:port") and the port.
  bool Online() const;
  bool ServerRole() const;
  QString Host() const;
  quint16 Port() const;
  // A seat's name box and status label as the network fills them.
  void ShowSeat(int seat, const QString& name, const QString& status);
  // The start button, shown once a client is there to play with.
  void ShowStart(bool shown);

  QLineEdit* txtPL(int seat) const { return txtPL_[seat]; }
  QCheckBox* Check(int seat) const { return check_[seat]; }
  QLabel* lblStatus(int seat) const { return lblStatus_[seat]; }

 signals:
  void startRequested();
  // imgConnect, its entries checked: start the chosen role.
  void connectRequested();
  // Closed by the player (not hidden by the program).
  void closed();

 protected:
  void closeEvent(class QCloseEvent* e) override;

 public slots:
  void Check_Click(int seat);
  void txtPL_Change(int seat);
  void VScroll1_Change(int value);
  void VScroll2_Change(int value);
  void chkShield_Click();
  void chkTruce_Click();
  void imgStart_Click();
  void chkOnline_Click();
  void OptServerClient_Click(int role);
  void imgConnect_Click();

 private:
  void EnableTruce(bool enable);
  void ShowSeat(int seat, bool enabled);

  std::array<QLineEdit*, kSeats> txtPL_{};
  std::array<QCheckBox*, kSeats> check_{};
  std::array<QLabel*, kSeats> lblStatus_{};
  std::array<QLabel*, kSeats> caption_{};
  QLineEdit* txtPlanets_ = nullptr;
  QScrollBar* vScroll1_ = nullptr;
  QCheckBox* chkTruce_ = nullptr;
  QLabel* label13_ = nullptr;
  QLineEdit* txtTruce_ = nullptr;
  QScrollBar* vScroll2_ = nullptr;
  QCheckBox* chkShield_ = nullptr;
  QCheckBox* chkOnline_ = nullptr;
  QRadioButton* optServerClient_[2] = {};
  QLineEdit* txtIP_ = nullptr;
  QLineEdit* txtPort_ = nullptr;
  QLabel* ipCaption_ = nullptr;
  QLabel* portCaption_ = nullptr;
  view::ImageButton* imgStart_ = nullptr;
  view::ImageButton* imgConnect_ = nullptr;
};

// Longest name a seat takes, in UTF-8 bytes: what a saved game holds.
inline constexpr int kMaxNameBytes = 255;

// What a name box keeps of an edit: no "*" (it ends every network message),
// no line breaks or other control characters, at most kMaxNameBytes bytes
// without splitting a character. `cursor` follows the characters it stood
// after. Returns true when something was taken out.
bool CleanName(QString& text, int& cursor);

}  // namespace valkoran::app
