// The About window (frmAbout) and the help window: what the game is, who
// made it, and how to play it.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace valkoran::app {

class AboutWindow : public QWidget {
  Q_OBJECT
 public:
  explicit AboutWindow(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(class QKeyEvent* e) override;
};

// The help page (Valkoran.html, found as the pictures are) in a browser of
// its own, opened on its contents.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  void Open();
  QTextBrowser* browser() const { return browser_; }

 protected:
  void keyPressEvent(class QKeyEvent* e) override;

 private:
  QTextBrowser* browser_ = nullptr;
};

// The family of the first of `wanted` this machine has, else `fallback`.
QString FontFamily(const QStringList& wanted, const QString& fallback);

}  // namespace valkoran::app
