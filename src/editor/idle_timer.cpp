#include "editor/idle_timer.h"

#include <utility>

namespace tollwen {

void FireWhenIdle(QTimer& timer, int intervalMs, std::function<bool()> busy,
                  std::function<void()> fire) {
  timer.setSingleShot(true);
  timer.setInterval(intervalMs);
  QObject::connect(&timer, &QTimer::timeout, &timer,
                   [&timer, busy = std::move(busy), fire = std::move(fire)] {
                     if (busy()) {
                       timer.start();
                       return;
                     }
                     fire();
                   });
}

}  // namespace tollwen
