#pragma once

#include <QEvent>
#include <QObject>

#include "keyer/keyer_messages.h"
#include "platform/qt/keyer_message_event.h"

namespace vantrel::ui::rig {

// Counts the status notifications a window takes from its queue, as its event filter.
class StatusCounter final : public QObject {
 public:
  long handled = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == platform::KeyerMessageEvent::Kind() &&
        static_cast<platform::KeyerMessageEvent*>(event)->message() == WM_KEYER_STATUS) {
      ++handled;
    }
    return false;
  }
};

}  // namespace vantrel::ui::rig
