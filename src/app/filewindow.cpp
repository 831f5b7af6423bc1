#include "app/filewindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "app/look.h"
#include "view/fixedwindow.h"
#include "view/imagebutton.h"

namespace valkoran::app {

namespace {
constexpr int kWidth = 440, kHeight = 340;
const QString kParent = QStringLiteral("..");
}  // namespace

QString FileWindow::Completed(const QString& name) {
  return name.endsWith(QLatin1String(".gam"), Qt::CaseInsensitive) ? name : name + QLatin1String(".gam");
}

FileWindow::FileWindow(Mode mode, QWidget* parent) : QWidget(parent, Qt::Dialog), mode_(mode) {
  const bool save = mode == Mode::Save;
  setObjectName(save ? QStringLiteral("frmSaveGame") : QStringLiteral("frmLoadGame"));
  setWindowTitle(save ? QStringLiteral("Save Game") : QStringLiteral("Load Game"));
  // The game waits while a file is chosen: nothing moves behind the window.
  setWindowModality(Qt::ApplicationModal);
  view::FixWindowSize(this, kWidth, kHeight);
  Dress(this);

  Caption(QStringLiteral("Folders:"), this, 16, 10, 200, 20);
  lblFolder_ = Caption(QString(), this, 16, 30, kWidth - 32, 20);
  lblFolder_->setObjectName(QStringLiteral("lblFolder"));
  lblFolder_->setStyleSheet(QStringLiteral("color: rgb(255, 224, 192);"));
  dir1_ = new QListWidget(this);
  dir1_->setObjectName(QStringLiteral("Dir1"));
  dir1_->setGeometry(16, 54, 196, 196);
  Caption(QStringLiteral("Saved Games:"), this, 228, 10, 196, 20);
  file1_ = new QListWidget(this);
  file1_->setObjectName(QStringLiteral("File1"));
  file1_->setGeometry(228, 54, 196, 196);
  Caption(QStringLiteral("File Name:"), this, 16, 258, 80, 26);
  text1_ = new QLineEdit(this);
  text1_->setObjectName(QStringLiteral("Text1"));
  text1_->setGeometry(96, 258, 328, 26);

  act_ = new view::ImageButton(save ? QStringLiteral("ImgSave") : QStringLiteral("ImgLoad"), save ? 16 : 17,
                               view::ImageButton::Released::Picture, false, this);
  act_->setGeometry(kWidth - 16 - 110 - 12 - 110, 296, 110, 30);
  act_->setToolTip(save ? QStringLiteral("Save the game (Enter)") : QStringLiteral("Load the game (Enter)"));
  cancel_ = new view::ImageButton(QStringLiteral("ImgCancel"), 19, view::ImageButton::Released::Picture, false,
                                  this);
  cancel_->setGeometry(kWidth - 16 - 110, 296, 110, 30);
  cancel_->setToolTip(QStringLiteral("Close this window (Escape)"));

  connect(act_, &view::ImageButton::clicked, this, &FileWindow::Act);
  connect(cancel_, &view::ImageButton::clicked, this, &FileWindow::Cancel);
  connect(text1_, &QLineEdit::returnPressed, this, &FileWindow::Act);
  connect(dir1_, &QListWidget::itemActivated, this, &FileWindow::Dir1_Activated);
  connect(file1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { text1_->setText(item->text()); });
  connect(file1_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (item && file1_->hasFocus()) text1_->setText(item->text());
  });
  connect(file1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    text1_->setText(item->text());
    Act();
  });
}

void FileWindow::Open(const QString& folder, bool clearName) {
  if (clearName || mode_ == Mode::Load) text1_->clear();
  SetFolder(folder);
  show();
  raise();
  activateWindow();
  text1_->setFocus();
}

void FileWindow::SetFolder(const QString& folder) {
  folder_ = QDir(folder).absolutePath();
  lblFolder_->setText(QDir::toNativeSeparators(folder_));
  lblFolder_->setToolTip(lblFolder_->text());
  FillFolders();
  FillFiles();
}

void FileWindow::FillFolders() {
  dir1_->clear();
  QDir here(folder_);
  if (!here.isRoot()) dir1_->addItem(kParent);
  for (const QString& name : here.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
    dir1_->addItem(name);
}

void FileWindow::FillFiles() {
  file1_->clear();
  QDir here(folder_);
  here.setNameFilters({QStringLiteral("*.gam")});
  file1_->addItems(here.entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase));
}

void FileWindow::Dir1_Activated(QListWidgetItem* item) {
  if (!item) return;
  QDir here(folder_);
  if (item->text() == kParent ? here.cdUp() : here.cd(item->text())) SetFolder(here.absolutePath());
}

void FileWindow::Act() {
  const QString typed = text1_->text();
  if (typed.isEmpty()) return;
  const QString name = Completed(typed);
  if (name != typed) text1_->setText(name);
  emit chosen(QDir(folder_).filePath(name));
}

void FileWindow::Cancel() {
  hide();
  emit cancelled();
}

void FileWindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    Cancel();
    return;
  }
  QWidget::keyPressEvent(e);
}

void FileWindow::closeEvent(QCloseEvent* e) {
  // The title bar's close is the cancel button.
  e->accept();
  emit cancelled();
}

void FileWindow::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Games saved meanwhile, here or by another program, are listed.
  FillFiles();
}

}  // namespace valkoran::app
