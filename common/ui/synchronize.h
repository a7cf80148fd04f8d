// The one road from other threads to the user-interface thread.
#pragma once

#include <functional>

namespace ui {

// Runs fn on the user-interface thread and waits until it has run. Called on
// the user-interface thread itself, runs fn at once. An exception thrown by fn
// is thrown again in the calling thread. False when fn could not be handed
// over (the application was never initialised or is shut down).
bool synchronize(const std::function<void()>& fn);

// Queues fn to run on the user-interface thread and returns at once. Queued
// procedures that never ran are dropped at shutdown.
bool post(std::function<void()> fn);

namespace detail {
// Made by Application::initialize on the user-interface thread.
bool createDispatcher();
void destroyDispatcher();
}  // namespace detail

}  // namespace ui
