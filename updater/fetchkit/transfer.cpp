#include "updater/fetchkit/transfer.h"

#include <algorithm>
#include <chrono>

#include "common/win_handles.h"
#include "updater/fetchkit/fetchkit.h"

namespace fetchkit {

namespace {

// The most a transfer may hold: an answer kept in memory is a few lines.
const size_t kMemoryLimit = 1u << 20;
const unsigned long long kFileLimit = 512ull << 20;
const DWORD kChunk = 64 * 1024;
const size_t kWriteSize = 1024 * 1024;
const std::chrono::milliseconds kWatchInterval(250);

// A connection the server reset or dropped: what a request sent on a
// connection the server had just closed ends with. Wine (8.0) reports a
// time-out as ERROR_INTERNET_CONNECTION_ABORTED as well.
bool isReset(DWORD error) {
    switch (error) {
        case ERROR_INTERNET_CONNECTION_RESET:
        case ERROR_INTERNET_CONNECTION_ABORTED:
        case WSAECONNRESET:
        case WSAECONNABORTED:
            return true;
        default:
            return false;
    }
}

// WinINet keeps a connection for reuse whenever the answer did not say
// "Connection: close", whatever the request asked; Wine's (8.0) then reuses
// it even after the server closed it, and the request sent on it fails.
// Dropping the idle connections of the process before each try makes every
// try open a connection of its own.
void forgetPooledConnections() {
    InternetSetOptionW(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
}

}  // namespace

Transfer::Transfer(std::wstring address, std::wstring target)
    : address_(std::move(address)),
      target_(std::move(target)),
      pace_(target_.empty() ? kMemoryLimits : kFileLimits, GetTickCount()),
      phase_(FetchkitConnecting) {}

void Transfer::start(HINTERNET session) {
    session_ = session;
    worker_ = std::thread([this] { run(); });
    watchdog_ = std::thread([this] { watch(); });
}

void Transfer::stop() {
    {
        std::lock_guard<std::mutex> lock(watchLock_);
        done_ = true;
    }
    wake_.notify_all();
    end();
    if (worker_.joinable()) worker_.join();
    if (watchdog_.joinable()) watchdog_.join();
}

int Transfer::dataLength() const {
    return phase_ == FetchkitEnded ? dataLength_ : 0;
}

const wchar_t* Transfer::text() const {
    return phase_ == FetchkitEnded ? text_.c_str() : L"";
}

void Transfer::run() {
    bool succeeded = false;
    try {
        Outcome outcome = attempt();
        if (outcome == Outcome::ResetBeforeData && !ended_) {
            {
                std::lock_guard<std::mutex> lock(watchLock_);
                pace_.startTry(GetTickCount());
            }
            outcome = attempt();
        }
        succeeded = outcome == Outcome::Received;
    } catch (...) {
    }
    finish(succeeded);
}

void Transfer::watch() {
    std::unique_lock<std::mutex> lock(watchLock_);
    while (!wake_.wait_for(lock, kWatchInterval, [this] { return done_; })) {
        if (!pace_.acceptable(GetTickCount(), read_)) {
            lock.unlock();
            end();
            return;
        }
    }
}

Transfer::Outcome Transfer::attempt() {
    closeHandles();
    total_ = 0;
    read_ = 0;
    readError_ = 0;
    phase_ = FetchkitConnecting;

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
    if (!InternetCrackUrlW(address_.c_str(), 0, 0, &parts)) return Outcome::Failed;
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    INTERNET_PORT port = parts.nPort;
    if (port == 0) port = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;

    forgetPooledConnections();
    // Each step's handle is kept where end() can close it: on Windows that
    // ends a call blocked on it at once; Wine (8.0) lets the call run on until
    // the server sends or the socket's time-out.
    HINTERNET connection =
        InternetConnectW(session_, host, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
    if (!keep(connection_, connection)) return Outcome::Failed;
    // Certificate problems fail the request: no SECURITY_FLAG_IGNORE_* is
    // ever set, and INTERNET_FLAG_NO_UI leaves no one to ask.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    const std::wstring object = std::wstring(path) + extra;
    HINTERNET request =
        HttpOpenRequestW(connection, L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0);
    if (!keep(request_, request)) return Outcome::Failed;
    DWORD timeout = kSocketTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
        InternetSetOptionW(request, option, &timeout, sizeof timeout);
    // Asks the server to close the connection after its answer; WinINet may
    // still keep it (see forgetPooledConnections).
    static const wchar_t headers[] = L"Connection: close\r\n";
    waitStart_ = GetTickCount();
    if (!HttpSendRequestW(request, headers, static_cast<DWORD>(-1), nullptr, 0))
        return droppedQuickly(GetLastError());

    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr))
        return Outcome::Failed;
    // No status line at all: Wine (8.0) reports about half of the connections
    // dropped before the answer this way, rather than as an error of the send.
    if (status == 0) return droppedQuickly(ERROR_INTERNET_CONNECTION_RESET);
    if (status != 200) return Outcome::Failed;
    DWORD length = 0;
    size = sizeof length;
    if (HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size,
                       nullptr)) {
        if (length > (target_.empty() ? kMemoryLimit : kFileLimit)) return Outcome::Failed;
        total_ = length;
    }
    phase_ = FetchkitReceiving;
    if (target_.empty() ? receiveIntoMemory(request) : receiveIntoFile(request))
        return Outcome::Received;
    return read_ == 0 ? droppedQuickly(readError_) : Outcome::Failed;
}

// A reset that ends a long wait is the time-out of a silent server, which a
// second try would only wait for again.
Transfer::Outcome Transfer::droppedQuickly(DWORD error) const {
    return isReset(error) && GetTickCount() - waitStart_ < kSocketTimeoutMs / 2
               ? Outcome::ResetBeforeData
               : Outcome::Failed;
}

bool Transfer::keep(InternetHandle& slot, HINTERNET handle) {
    InternetHandle owned(handle);
    std::lock_guard<std::mutex> lock(handleLock_);
    if (!owned || ended_) return false;
    slot = std::move(owned);
    return true;
}

// Reads what has arrived, waiting for at least a byte: a read of a whole
// chunk would wait for the chunk, however slowly it comes, and a transfer
// that is ended must be seen to be ended when the next byte comes.
bool Transfer::readChunk(HINTERNET request, std::vector<char>& buffer, DWORD& got) {
    got = 0;
    DWORD available = 0;
    if (ended_) return false;
    waitStart_ = GetTickCount();
    if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
        readError_ = GetLastError();
        return false;
    }
    if (available == 0) return !ended_;
    // Something is there: take all that has arrived, without waiting for
    // more (a read of the count reported alone would take a few kilobytes a
    // call on a fast link).
    INTERNET_BUFFERSW part = {};
    part.dwStructSize = sizeof part;
    part.lpvBuffer = buffer.data();
    part.dwBufferLength = kChunk;
    if (InternetReadFileExW(request, &part, IRF_NO_WAIT, 0) && part.dwBufferLength != 0) {
        got = part.dwBufferLength;
        return !ended_;
    }
    // Where reading without waiting is not offered, the count reported is
    // there to read.
    if (!InternetReadFile(request, buffer.data(), std::min<DWORD>(available, kChunk), &got)) {
        readError_ = GetLastError();
        return false;
    }
    return !ended_;
}

// The end of the data is the end of the answer only when it is as long as
// announced: a connection closed early ends the data too.
bool Transfer::receiveIntoMemory(HINTERNET request) {
    std::vector<char> buffer(kChunk);
    std::string data;
    for (;;) {
        DWORD got = 0;
        if (!readChunk(request, buffer, got)) return false;
        if (got == 0) break;
        if (data.size() + got > kMemoryLimit) return false;
        data.append(buffer.data(), got);
        read_ = static_cast<unsigned>(data.size());
    }
    if (total_ != 0 && data.size() != total_) return false;
    const int wide =
        MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), nullptr, 0);
    text_.assign(static_cast<size_t>(wide), L'\0');
    if (wide > 0)
        MultiByteToWideChar(CP_ACP, 0, data.data(), static_cast<int>(data.size()), &text_[0], wide);
    dataLength_ = static_cast<int>(data.size());
    return true;
}

bool Transfer::receiveIntoFile(HINTERNET request) {
    const std::wstring partial = target_ + L".part";
    bool complete = false;
    {
        win::FileHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        // Reads bring what has arrived, often a few kilobytes: the file is
        // written in larger pieces.
        std::vector<char> buffer(kChunk);
        std::string pending;
        const auto writePending = [&] {
            DWORD written = 0;
            const bool ok = pending.empty() ||
                            (WriteFile(file.get(), pending.data(),
                                       static_cast<DWORD>(pending.size()), &written, nullptr) &&
                             written == pending.size());
            pending.clear();
            return ok;
        };
        unsigned long long received = 0;
        for (;;) {
            DWORD got = 0;
            if (!readChunk(request, buffer, got)) break;
            if (got == 0) {
                complete = received > 0 && (total_ == 0 || received == total_) && writePending() &&
                           FlushFileBuffers(file.get());
                break;
            }
            received += got;
            if (received > kFileLimit) break;
            pending.append(buffer.data(), got);
            if (pending.size() >= kWriteSize && !writePending()) break;
            read_ = static_cast<unsigned>(received);
        }
    }
    if (complete && MoveFileExW(partial.c_str(), target_.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(partial.c_str());
    return false;
}

void Transfer::end() {
    ended_ = true;
    closeHandles();
}

void Transfer::closeHandles() {
    std::lock_guard<std::mutex> lock(handleLock_);
    request_.reset();
    connection_.reset();
}

void Transfer::finish(bool succeeded) {
    closeHandles();
    if (!succeeded) {
        dataLength_ = 0;
        text_.clear();
        read_ = 0;
    }
    {
        std::lock_guard<std::mutex> lock(watchLock_);
        done_ = true;
    }
    wake_.notify_all();
    phase_ = FetchkitEnded;
}

}  // namespace fetchkit
