// Fetchkit on WinINet: one transfer at a time on a thread of its own.
#define FETCHKIT_BUILDING
#include "updater/fetchkit/fetchkit.h"

#include <windows.h>

#include <wininet.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/win_handles.h"
#include "updater/fetchkit/internet_handle.h"

namespace {

// A server that sends nothing for this long ends the transfer.
const DWORD kTimeoutMs = 10000;
// The most a transfer may hold: an answer kept in memory is a few lines.
const size_t kMemoryLimit = 1u << 20;
const unsigned long long kFileLimit = 512ull << 20;
const DWORD kChunk = 64 * 1024;

class Transfer {
public:
    Transfer(std::wstring address, std::wstring target)
        : address_(std::move(address)), target_(std::move(target)) {}
    ~Transfer() { stop(); }

    void start(HINTERNET session) {
        session_ = session;
        lastProgress_ = GetTickCount();
        thread_ = std::thread([this] { run(); });
    }

    // Ends the transfer (closing its request unblocks a waiting read) and
    // waits for its thread.
    void stop() {
        cancelled_ = true;
        closeRequest();
        if (thread_.joinable()) thread_.join();
    }

    int phase() {
        // A server that stopped sending: its request is closed, which ends
        // the read the thread waits in, should the socket's own time-out not.
        // The last progress is read before the clock: read after it, a chunk
        // that arrived in between made the difference wrap round to days.
        const DWORD last = lastProgress_;
        if (phase_ != FetchkitEnded && GetTickCount() - last > kTimeoutMs + 2000) {
            cancelled_ = true;
            closeRequest();
        }
        return phase_;
    }
    int dataLength() const { return phase_ == FetchkitEnded ? dataLength_ : 0; }
    const wchar_t* text() const { return text_.c_str(); }
    unsigned total() const { return total_; }
    unsigned read() const { return read_; }

private:
    void closeRequest() {
        std::lock_guard<std::mutex> lock(requestLock_);
        request_.reset();
        connection_.reset();
    }

    void run() {
        try {
            if (receive()) {
                succeeded_ = true;
            }
        } catch (...) {
        }
        finish();
    }

    bool receive() {
        // The address's parts; the path keeps its query.
        wchar_t host[256] = {}, path[4096] = {}, extra[4096] = {};
        URL_COMPONENTSW parts = {};
        parts.dwStructSize = sizeof parts;
        parts.lpszHostName = host;
        parts.dwHostNameLength = sizeof host / sizeof host[0];
        parts.lpszUrlPath = path;
        parts.dwUrlPathLength = sizeof path / sizeof path[0];
        parts.lpszExtraInfo = extra;
        parts.dwExtraInfoLength = sizeof extra / sizeof extra[0];
        if (!InternetCrackUrlW(address_.c_str(), 0, 0, &parts)) return false;
        const std::wstring object = std::wstring(path) + extra;

        // Each step's handle is kept where stop() can close it, which ends a
        // step that waits for a server that does not answer.
        HINTERNET connection = InternetConnectW(session_, host, parts.nPort, nullptr, nullptr,
                                                INTERNET_SERVICE_HTTP, 0, 0);
        if (!keep(connection_, connection)) return false;
        const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                            INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                            INTERNET_FLAG_NO_COOKIES;
        HINTERNET request = HttpOpenRequestW(connection, L"GET", object.c_str(), nullptr, nullptr,
                                             nullptr, flags, 0);
        if (!keep(request_, request)) return false;
        DWORD timeout = kTimeoutMs;
        for (DWORD option : {INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
            InternetSetOptionW(request, option, &timeout, sizeof timeout);
        // One connection per transfer: nothing a transfer leaves unread can
        // confuse the next.
        static const wchar_t headers[] = L"Connection: close\r\n";
        if (!HttpSendRequestW(request, headers, static_cast<DWORD>(-1), nullptr, 0)) return false;
        DWORD status = 0, size = sizeof status;
        if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                            &size, nullptr) ||
            status != 200)
            return false;
        DWORD length = 0;
        size = sizeof length;
        if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length,
                           &size, nullptr))
            total_ = length;
        phase_ = FetchkitReceiving;
        lastProgress_ = GetTickCount();
        return target_.empty() ? receiveIntoMemory() : receiveIntoFile();
    }

    // Keeps a handle where stop() finds it; false when there is none or the
    // transfer was stopped meanwhile (the handle is then closed).
    bool keep(fetchkit::InternetHandle& slot, HINTERNET handle) {
        fetchkit::InternetHandle owned(handle);
        std::lock_guard<std::mutex> lock(requestLock_);
        if (!owned || cancelled_) return false;
        slot = std::move(owned);
        return true;
    }

    // One read of the request; false when it failed or was cancelled.
    bool readChunk(std::vector<char>& buffer, DWORD& got) {
        std::unique_lock<std::mutex> lock(requestLock_);
        const HINTERNET request = request_.get();
        lock.unlock();
        if (!request || cancelled_) return false;
        got = 0;
        if (!InternetReadFile(request, buffer.data(), kChunk, &got)) return false;
        lastProgress_ = GetTickCount();
        return !cancelled_;
    }

    bool receiveIntoMemory() {
        std::vector<char> buffer(kChunk);
        std::string data;
        for (;;) {
            DWORD got = 0;
            if (!readChunk(buffer, got)) return false;
            if (got == 0) break;
            if (data.size() + got > kMemoryLimit) return false;
            data.append(buffer.data(), got);
            read_ = static_cast<unsigned>(data.size());
        }
        const int wide =
            MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), nullptr, 0);
        text_.assign(static_cast<size_t>(wide), L'\0');
        if (wide > 0)
            MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), &text_[0],
                                wide);
        dataLength_ = static_cast<int>(data.size());
        return true;
    }

    bool receiveIntoFile() {
        const std::wstring partial = target_ + L".part";
        bool complete = false;
        {
            win::FileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file) return false;
            std::vector<char> buffer(kChunk);
            unsigned long long received = 0;
            for (;;) {
                DWORD got = 0;
                if (!readChunk(buffer, got)) break;
                if (got == 0) {
                    complete = received > 0 && FlushFileBuffers(file.get());
                    break;
                }
                received += got;
                DWORD written = 0;
                if (received > kFileLimit ||
                    !WriteFile(file.get(), buffer.data(), got, &written, nullptr) || written != got)
                    break;
                read_ = static_cast<unsigned>(received);
            }
        }
        if (complete && MoveFileExW(partial.c_str(), target_.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DeleteFileW(partial.c_str());
        return false;
    }

    void finish() {
        closeRequest();
        if (!succeeded_) {
            dataLength_ = 0;
            text_.clear();
            read_ = 0;
        }
        phase_ = FetchkitEnded;
    }

    const std::wstring address_;
    const std::wstring target_;
    HINTERNET session_ = nullptr;
    std::mutex requestLock_;
    fetchkit::InternetHandle connection_;
    fetchkit::InternetHandle request_;
    std::thread thread_;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> phase_{FetchkitConnecting};
    std::atomic<DWORD> lastProgress_{0};
    std::atomic<unsigned> total_{0};
    std::atomic<unsigned> read_{0};
    bool succeeded_ = false;
    int dataLength_ = 0;
    std::wstring text_;
};

// The library's state: every export takes the lock.
std::mutex libraryLock;
fetchkit::InternetHandle session;
std::unique_ptr<Transfer> current;

bool openSession() {
    if (session) return true;
    session.reset(
        InternetOpenW(L"Fetchkit/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return false;
    DWORD timeout = kTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_DATA_SEND_TIMEOUT})
        InternetSetOptionW(session.get(), option, &timeout, sizeof timeout);
    return true;
}

bool isHttpAddress(const wchar_t* address) {
    if (!address || !*address) return false;
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    return InternetCrackUrlW(address, 0, 0, &parts) && parts.nScheme == INTERNET_SCHEME_HTTP &&
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
            if (!isHttpAddress(address) || !openSession()) return 1;
            current = std::make_unique<Transfer>(address, target ? target : L"");
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
