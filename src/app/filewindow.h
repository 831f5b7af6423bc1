// The save window (frmSaveGame) and the load window (frmLoadGame): a folder
// list Dir1, the folder's saved games in File1, the name box Text1, and two
// picture buttons (save or load, and cancel). The window only picks the
// file; the application reads or writes it and closes the window when that
// worked, so a failure leaves the window open for another choice.
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace valkoran::view {
class ImageButton;
}

namespace valkoran::app {

class FileWindow : public QWidget {
  Q_OBJECT
 public:
  enum class Mode { Save, Load };
  FileWindow(Mode mode, QWidget* parent = nullptr);

  Mode mode() const { return mode_; }
  // Shows the window on `folder`'s games; the name box is emptied when
  // `clearName` (the load window always, the AutoSave reminder too).
  void Open(const QString& folder, bool clearName);
  QString folder() const { return folder_; }
  void SetFolder(const QString& folder);
  // The button's action: nothing for an empty name; ".gam" added when
  // missing (and shown); then chosen() with the full path.
  void Act();
  void Cancel();

  QListWidget* Dir1() const { return dir1_; }
  QListWidget* File1() const { return file1_; }
  QLineEdit* Text1() const { return text1_; }

  // The name as typed, with ".gam" added when it does not end so.
  static QString Completed(const QString& name);

 signals:
  void chosen(const QString& path);
  void cancelled();

 protected:
  void keyPressEvent(class QKeyEvent* e) override;
  void closeEvent(class QCloseEvent* e) override;
  void showEvent(class QShowEvent* e) override;

 private:
  void FillFolders();
  void FillFiles();
  void Dir1_Activated(QListWidgetItem* item);

  Mode mode_;
  QString folder_;
  QLabel* lblFolder_ = nullptr;
  QListWidget* dir1_ = nullptr;
  QListWidget* file1_ = nullptr;
  QLineEdit* text1_ = nullptr;
  view::ImageButton* act_ = nullptr;
  view::ImageButton* cancel_ = nullptr;
};

}  // namespace valkoran::app
