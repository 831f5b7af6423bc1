#include "view/chatpanel.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "view/imagebutton.h"

namespace valkoran::view {

ChatPanel::ChatPanel(GalaxyControls& controls, std::function<std::string()> speaker,
                     const std::function<void(const std::string&)>* sendChat, QObject* parent)
    : QObject(parent), c_(controls), speaker_(std::move(speaker)), sendChat_(sendChat) {
  c_.txtMessage->installEventFilter(this);
  // "*" ends network messages: it never stays in the line, typed or pasted.
  connect(c_.txtMessage, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!text.contains('*')) return;
    QLineEdit* line = c_.txtMessage;
    const int cursor = line->cursorPosition();
    const int before = static_cast<int>(text.left(cursor).count('*'));
    QString clean = text;
    clean.remove('*');
    line->setText(clean);
    line->setCursorPosition(cursor - before);
  });
  connect(c_.tmrMessage, &QTimer::timeout, this, [this] { tmrMessage_Timer(); });
}

void ChatPanel::ImgSend_Click() {
  if (!c_.ImgSend->isEnabled()) return;
  const QString text = c_.txtMessage->text();
  if (text.isEmpty()) return;
  const std::string line = ChatLine(speaker_(), WithoutStars(text.toStdString()));
  if (sendChat_ && *sendChat_) {
    (*sendChat_)(line);
  } else {
    c_.txtChat->appendPlainText(Lines(line));
    c_.txtChat->moveCursor(QTextCursor::End);
  }
  c_.txtMessage->clear();
  c_.ImgSend->setEnabled(false);
  c_.tmrMessage->start(2000);
}

void ChatPanel::tmrMessage_Timer() {
  c_.ImgSend->setEnabled(true);
  c_.txtMessage->setFocus();
}

bool ChatPanel::eventFilter(QObject* watched, QEvent* e) {
  if (watched == c_.txtMessage && e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (c_.ImgSend->isEnabled()) ImgSend_Click();
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace valkoran::view
