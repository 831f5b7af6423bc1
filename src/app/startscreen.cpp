#include "app/startscreen.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QTimer>

#include "app/look.h"
#include "view/cues.h"
#include "view/fixedwindow.h"
#include "view/imagebutton.h"

namespace valkoran::app {

namespace {
constexpr int kWidth = 560, kHeight = 400;
constexpr int kButtonWidth = 130, kButtonHeight = 36;
}  // namespace

StartScreen::StartScreen(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Valkoran"));
  view::FixWindowSize(this, kWidth, kHeight);
  Dress(this);

  auto* title = new QLabel(QStringLiteral("Valkoran"), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  title->setAlignment(Qt::AlignCenter);
  title->setStyleSheet(QStringLiteral("color: rgb(255, 214, 120); font: bold 34pt 'DejaVu Sans';"));
  title->setGeometry(0, 48, kWidth, 60);
  auto* subtitle = new QLabel(QStringLiteral("A Game of Solar System Domination"), this);
  subtitle->setAlignment(Qt::AlignCenter);
  subtitle->setStyleSheet(QStringLiteral("color: rgb(200, 210, 235); font: 12pt 'DejaVu Sans';"));
  subtitle->setGeometry(0, 110, kWidth, 24);

  auto button = [this](const char* name, int number, int x, int y, const QString& tip) {
    auto* b = new view::ImageButton(QString::fromLatin1(name), number, view::ImageButton::Released::Picture, false,
                                    this);
    b->setGeometry(x, y, kButtonWidth, kButtonHeight);
    b->setToolTip(tip);
    return b;
  };
  const int gap = 20, row = 200;
  const int left = (kWidth - 3 * kButtonWidth - 2 * gap) / 2;
  start_ = button("ImgStart", 8, left, row, QStringLiteral("Set up a new game (Ctrl+N)"));
  load_ = button("ImgLoad", 9, left + kButtonWidth + gap, row, QStringLiteral("Load a saved game (Ctrl+O)"));
  help_ = button("ImgHelp", 10, left + 2 * (kButtonWidth + gap), row, QStringLiteral("How to play (F1)"));
  continue_ = button("ImgContinue", 11, left + kButtonWidth + gap, row + kButtonHeight + 18,
                     QStringLiteral("Go on with the game that was running when Valkoran was closed (Ctrl+R)"));
  continue_->hide();

  auto* notice = new QLabel(QStringLiteral("Run at 1024 x 768 or Higher Resolution"), this);
  notice->setObjectName(QStringLiteral("lblResolution"));
  notice->setAlignment(Qt::AlignCenter);
  notice->setStyleSheet(QStringLiteral("color: rgb(160, 170, 200); font: 9pt 'DejaVu Sans';"));
  notice->setGeometry(0, kHeight - 40, kWidth, 20);

  connect(start_, &view::ImageButton::clicked, this, &StartScreen::startClicked);
  connect(load_, &view::ImageButton::clicked, this, &StartScreen::loadClicked);
  connect(help_, &view::ImageButton::clicked, this, &StartScreen::helpClicked);
  connect(continue_, &view::ImageButton::clicked, this, &StartScreen::continueClicked);

  // The keys of the buttons; Continue's only while it is offered.
  auto key = [this](const char* name, QKeySequence sequence, void (StartScreen::*signal)()) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(sequence);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, signal);
    return action;
  };
  key("actStart", QKeySequence::New, &StartScreen::startClicked);
  key("actLoad", QKeySequence::Open, &StartScreen::loadClicked);
  key("actHelp", QKeySequence::HelpContents, &StartScreen::helpClicked);
  QAction* resume = key("actContinue", QKeySequence(Qt::CTRL | Qt::Key_R), &StartScreen::continueClicked);
  resume->setEnabled(false);
}

void StartScreen::SetContinue(bool canContinue) {
  continue_->setVisible(canContinue);
  if (auto* resume = findChild<QAction*>(QStringLiteral("actContinue"))) resume->setEnabled(canContinue);
}

void StartScreen::Open(bool canContinue) {
  SetContinue(canContinue);
  show();
  raise();
  activateWindow();
  QTimer::singleShot(0, this, [] { view::Cues().Play("gamestart.wav"); });
}

void StartScreen::closeEvent(QCloseEvent* e) {
  e->accept();
  emit closed();
}

}  // namespace valkoran::app
