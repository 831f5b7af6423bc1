#include "app/aboutwindow.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/look.h"
#include "view/assets.h"
#include "view/fixedwindow.h"
#include "view/imagebutton.h"

namespace valkoran::app {

QString FontFamily(const QStringList& wanted, const QString& fallback) {
  const QStringList families = QFontDatabase::families();
  for (const QString& name : wanted)
    if (families.contains(name, Qt::CaseInsensitive)) return name;
  return fallback;
}

namespace {
constexpr int kAboutWidth = 420, kAboutHeight = 300;

bool CloseKey(const QKeyEvent* e) { return e->key() == Qt::Key_Escape; }
}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Dialog) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About Valkoran"));
  view::FixWindowSize(this, kAboutWidth, kAboutHeight);
  Dress(this);
  // The title's and the credits' faces when the machine has them; a wide,
  // bold sans otherwise.
  QFont titleFont(FontFamily({QStringLiteral("Nasalization")}, QStringLiteral("DejaVu Sans")), 30, QFont::Bold);
  titleFont.setLetterSpacing(QFont::PercentageSpacing, 112);
  QFont creditFont(FontFamily({QStringLiteral("Venus Rising")}, QStringLiteral("DejaVu Sans")), 9);

  auto* title = new QLabel(QStringLiteral("valkoran"), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  title->setFont(titleFont);
  title->setAlignment(Qt::AlignCenter);
  title->setStyleSheet(QStringLiteral("color: rgb(255, 214, 120);"));
  title->setGeometry(0, 22, kAboutWidth, 56);
  auto* version = new QLabel(QStringLiteral("Version 1.00"), this);
  version->setObjectName(QStringLiteral("lblVersion"));
  version->setFont(creditFont);
  version->setAlignment(Qt::AlignCenter);
  version->setGeometry(0, 80, kAboutWidth, 20);
  auto* credits = new QLabel(this);
  credits->setObjectName(QStringLiteral("lblCredits"));
  credits->setFont(creditFont);
  credits->setAlignment(Qt::AlignCenter);
  credits->setWordWrap(true);
  credits->setText(QStringLiteral(
      "A Game of Solar System Domination\n\n"
      "Design, programming, pictures and sounds:\nthe Valkoran developers\n\n"
      "For one to four players at one machine or over a network"));
  credits->setGeometry(20, 112, kAboutWidth - 40, 120);

  auto* ok = new view::ImageButton(QStringLiteral("ImgOk"), 20, view::ImageButton::Released::Picture, false, this);
  ok->setGeometry((kAboutWidth - 110) / 2, kAboutHeight - 50, 110, 30);
  ok->setToolTip(QStringLiteral("Close (Escape)"));
  connect(ok, &view::ImageButton::clicked, this, &QWidget::hide);
}

void AboutWindow::keyPressEvent(QKeyEvent* e) {
  if (CloseKey(e) || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    hide();
    return;
  }
  QWidget::keyPressEvent(e);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Valkoran Help"));
  resize(760, 640);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("txtHelp"));
  browser_->setOpenExternalLinks(true);
  auto* box = new QVBoxLayout(this);
  box->setContentsMargins(0, 0, 0, 0);
  box->addWidget(browser_);
}

void HelpWindow::Open() {
  const QString page = view::FindDataFile(QStringLiteral("Valkoran.html"));
  if (page.isEmpty()) {
    browser_->setHtml(QStringLiteral(
        "<h2>Valkoran Help</h2><p>The help page (Valkoran.html) was not found beside the program "
        "or in its data folder.</p>"));
  } else {
    browser_->setSearchPaths({QFileInfo(page).absolutePath()});
    // Read afresh each time, and opened at its top, on the contents.
    const QUrl url = QUrl::fromLocalFile(page);
    if (browser_->source() == url)
      browser_->reload();
    else
      browser_->setSource(url);
  }
  browser_->verticalScrollBar()->setValue(0);
  show();
  raise();
  activateWindow();
  browser_->setFocus();
}

void HelpWindow::keyPressEvent(QKeyEvent* e) {
  if (CloseKey(e)) {
    hide();
    return;
  }
  QWidget::keyPressEvent(e);
}

}  // namespace valkoran::app
