#pragma once

#include <QTimer>
#include <functional>

namespace tollwen {

// Makes `timer` a single-shot timer of `intervalMs` that runs `fire` when it runs out, though
// never while `busy` holds (a command runs or the user is painting: the level may be half-way
// through a change); then it waits another interval, as often as needed.
void FireWhenIdle(QTimer& timer, int intervalMs, std::function<bool()> busy,
                  std::function<void()> fire);

}  // namespace tollwen
