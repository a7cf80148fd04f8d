// Fetchkit on WinINet: the exports, over one transfer at a time (transfer.h).
#include "updater/fetchkit/fetchkit.h"

#include <windows.h>

#include <wininet.h>

#include <memory>
#include <mutex>

#include "updater/fetchkit/internet_handle.h"
#include "updater/fetchkit/pace.h"
#include "updater/fetchkit/transfer.h"

namespace {

// The library's state: every export takes the lock.
std::mutex libraryLock;
fetchkit::InternetHandle session;
std::unique_ptr<fetchkit::Transfer> current;

bool openSession() {
    if (session) return true;
    session.reset(
        InternetOpenW(L"Fetchkit/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return false;
    DWORD timeout = fetchkit::kSocketTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_DATA_SEND_TIMEOUT})
        InternetSetOptionW(session.get(), option, &timeout, sizeof timeout);
    return true;
}

bool isSupportedAddress(const wchar_t* address) {
    if (!address || !*address) return false;
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    return InternetCrackUrlW(address, 0, 0, &parts) &&
           (parts.nScheme == INTERNET_SCHEME_HTTP || parts.nScheme == INTERNET_SCHEME_HTTPS) &&
           parts.dwHostNameLength > 0;
}

// Runs an export's body; nothing escapes the library.
template <typename F>
auto guardedCall(F body, decltype(body()) failed) noexcept -> decltype(body()) {
    try {
        std::lock_guard<std::mutex> lock(libraryLock);
        return body();
    } catch (...) {
        return failed;
    }
}

}  // namespace

extern "C" {

FETCHKIT_API int __stdcall Initialize(void) {
    return guardedCall([] { return openSession() ? 0 : 1; }, 1);
}

FETCHKIT_API int __stdcall Reset(void) {
    return guardedCall(
        [] {
            current.reset();
            return 0;
        },
        1);
}

FETCHKIT_API int __stdcall ScheduleURL(const wchar_t* address, int /*flags*/,
                                       const wchar_t* /*reserved*/, const wchar_t* target) {
    return guardedCall(
        [&] {
            current.reset();
            if (!isSupportedAddress(address) || !openSession()) return 1;
            current = std::make_unique<fetchkit::Transfer>(address, target ? target : L"");
            current->start(session.get());
            return 0;
        },
        1);
}

FETCHKIT_API int __stdcall GetPhase(void) {
    return guardedCall([] { return current ? current->phase() : int(FetchkitIdle); },
                       int(FetchkitEnded));
}

FETCHKIT_API int __stdcall GetDataLen(void) {
    return guardedCall([] { return current ? current->dataLength() : 0; }, 0);
}

FETCHKIT_API int __stdcall GetData(const wchar_t** data) {
    return guardedCall(
        [&] {
            if (data) *data = current ? current->text() : L"";
            return 0;
        },
        1);
}

FETCHKIT_API unsigned __stdcall GetTotalDownloadBytes(void) {
    return guardedCall([] { return current ? current->total() : 0u; }, 0u);
}

FETCHKIT_API unsigned __stdcall GetReadBytes(void) {
    return guardedCall([] { return current ? current->read() : 0u; }, 0u);
}

FETCHKIT_API int __stdcall Terminate(void) {
    return guardedCall(
        [] {
            current.reset();
            session.reset();
            return 0;
        },
        1);
}

}  // extern "C"
