// Bounded waits for what another thread or process makes true.
#pragma once

#include <functional>

namespace testing_support {

// Waits until the condition holds or the time is up, serving the messages
// other threads send to this one meanwhile, so that a wait on the
// user-interface thread lets the threads it waits for reach it. Returns the
// condition's last value.
bool waitUntil(const std::function<bool()>& condition, int seconds = 30);

}  // namespace testing_support
