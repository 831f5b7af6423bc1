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
  ChatPanel(GalaxyControls& controls, std::function<std::string()> speaker, QObject* parent);

  void ImgSend_Click();
  void tmrMessage_Timer();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  GalaxyControls& c_;
  std::function<std::string()> speaker_;
};

}  // namespace valkoran::view
