// The chat line at the bottom left: txtMessage takes a line, ImgSend (or
// Enter) posts it to txtChat, and tmrMessage holds the next post back for
// two seconds.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "view/galaxycontrols.h"

namespace valkoran::view {

class ChatPanel : public QObject {
 public:
  // `speaker` names the player who writes: the current seat.
  // `sendChat`, when it holds a function, takes the line to the other
  // machines instead of showing it here.
  ChatPanel(GalaxyControls& controls, std::function<std::string()> speaker,
            const std::function<void(const std::string&)>* sendChat, QObject* parent);

  void ImgSend_Click();
  void tmrMessage_Timer();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  GalaxyControls& c_;
  std::function<std::string()> speaker_;
  const std::function<void(const std::string&)>* sendChat_;
};

}  // namespace valkoran::view
