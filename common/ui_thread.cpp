#include "common/ui_thread.h"

#include <atomic>

namespace win {

namespace {

std::atomic<UiThreadRunner> runner{nullptr};

}  // namespace

bool runOnUiThread(const std::function<void()>& fn) {
    if (UiThreadRunner run = runner) return run(fn);
    fn();
    return true;
}

void setUiThreadRunner(UiThreadRunner r) {
    runner = r;
}

}  // namespace win
