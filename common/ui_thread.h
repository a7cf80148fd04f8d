// The one road from other threads to the user-interface thread, as the layers
// below the user-interface library see it. That library lays the road when
// it starts (its synchronize call); until then, and in a process without
// windows, the work runs on the calling thread.
#pragma once

#include <functional>

namespace win {

// Runs fn on the user-interface thread and returns once it has run there.
// Exceptions thrown by fn reach the caller. False when fn could not be
// handed over because the user-interface thread has shut down.
bool runOnUiThread(const std::function<void()>& fn);

using UiThreadRunner = bool (*)(const std::function<void()>& fn);
// Installed by the user-interface library; an empty runner removes the road.
void setUiThreadRunner(UiThreadRunner runner);

}  // namespace win
