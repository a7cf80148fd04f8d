#include "common/tests/support/waiting.h"

#include <windows.h>

#include "common/thread.h"

namespace testing_support {

bool waitUntil(const std::function<bool()>& condition, int seconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= static_cast<DWORD>(seconds) * 1000) return condition();
        win::pauseServingSentMessages(5);
    }
    return true;
}

}  // namespace testing_support
