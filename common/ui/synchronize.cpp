#include "common/ui/synchronize.h"

#include <windows.h>

#include <atomic>
#include <exception>

#include "common/thread.h"
#include "common/ui/application.h"

namespace ui {

namespace {

const char kDispatcherClass[] = "MendoraDispatcher";
const UINT kRunSynchronous = WM_APP + 1;
const UINT kRunPosted = WM_APP + 2;

std::atomic<HWND> dispatcher{nullptr};

struct SyncRequest {
    const std::function<void()>* fn;
    std::exception_ptr error;
    bool ran = false;
};

LRESULT CALLBACK dispatcherProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kRunSynchronous) {
        auto* request = reinterpret_cast<SyncRequest*>(lParam);
        try {
            (*request->fn)();
        } catch (...) {
            request->error = std::current_exception();
        }
        request->ran = true;
        return 1;
    }
    if (msg == kRunPosted) {
        auto* fn = reinterpret_cast<std::function<void()>*>(lParam);
        win::guarded(*fn);
        delete fn;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

bool synchronize(const std::function<void()>& fn) {
    if (Application::isUiThread()) {
        fn();
        return true;
    }
    const HWND target = dispatcher;
    if (!target) return false;
    SyncRequest request{&fn, nullptr};
    SendMessageA(target, kRunSynchronous, 0, reinterpret_cast<LPARAM>(&request));
    if (request.error) std::rethrow_exception(request.error);
    return request.ran;
}

bool post(std::function<void()> fn) {
    const HWND target = dispatcher;
    if (!target) return false;
    auto* heapFn = new std::function<void()>(std::move(fn));
    if (PostMessageA(target, kRunPosted, 0, reinterpret_cast<LPARAM>(heapFn))) return true;
    delete heapFn;
    return false;
}

namespace detail {

bool createDispatcher() {
    if (dispatcher) return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = dispatcherProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kDispatcherClass;
    RegisterClassA(&wc);
    dispatcher = CreateWindowExA(0, kDispatcherClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
    return dispatcher != nullptr;
}

void destroyDispatcher() {
    const HWND hwnd = dispatcher.exchange(nullptr);
    if (!hwnd) return;
    // Posted procedures that never ran are freed, not run.
    MSG msg;
    while (PeekMessageA(&msg, hwnd, kRunPosted, kRunPosted, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(msg.lParam);
    DestroyWindow(hwnd);
}

}  // namespace detail

}  // namespace ui
