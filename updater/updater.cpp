#include "updater/updater.h"

#include <windows.h>

#include <string>

#include "updater/fetchkit/fetchkit.h"
#include "updater/update_query.h"

namespace updater {

namespace {

// Idle: the library was shut down meanwhile (the window closed while a
// message was served), so the transfer is gone.
bool transferGoesOn(int phase) {
    return phase != FetchkitEnded && phase != FetchkitIdle;
}

struct QueryParameters {
    std::string base;
    std::string app;
    std::string ver;
    std::string file;
    std::string build;
    bool initialised = false;
};

QueryParameters& parameters() {
    static QueryParameters p;
    return p;
}

std::wstring wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

std::string ansi(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return out;
}

std::string addressFor(QueryMode mode) {
    const QueryParameters& p = parameters();
    return queryAddress(p.base, mode, p.app, p.ver, p.file, p.build);
}

// The share of `part` in `whole`, as a whole percentage rounded down.
int percentOf(double part, double whole) {
    return static_cast<int>(part / whole * 100);
}

}  // namespace

int initializeUpdater(UpdaterHandle* /*handle*/, const std::string& baseAddress,
                      const std::string& app, const std::string& ver, const std::string& file,
                      const std::string& build) {
    QueryParameters& p = parameters();
    p.base = baseAddress;
    p.app = app;
    p.ver = ver;
    p.file = file;
    p.build = build;
    for (const std::string* text : {&p.base, &p.app, &p.ver, &p.file, &p.build})
        if (text->empty()) return -1;
    Initialize();
    p.initialised = true;
    return 0;
}

int queryUpdate(UpdaterHandle* handle, UpdateView& window) {
    if (transfersCancelled(handle)) return 0;
    if (!parameters().initialised) return -1;
    const std::wstring address = wide(addressFor(QueryMode::Check));
    Reset();
    window.trace("About to schedule");
    int scheduled = 0;
    try {
        scheduled = ScheduleURL(address.c_str(), 0, L"", L"");
    } catch (...) {
        window.trace("Exception");
        throw;
    }
    window.trace("Done Scheduling");
    if (scheduled != 0) {
        window.trace("SetErr - Download Error");
        return 0;
    }
    int phase = 0;
    do {
        window.trace("Busy");
        phase = GetPhase();
        Sleep(10);
        window.processMessages();
    } while (transferGoesOn(phase));
    // What the answer says is not looked at: any answer means an update.
    return GetDataLen() != 0 && !transfersCancelled(handle) ? 1 : 0;
}

std::string queryFileList(UpdaterHandle* handle, UpdateView& window) {
    if (transfersCancelled(handle)) return std::string();
    if (!parameters().initialised) return "-1";
    const std::wstring address = wide(addressFor(QueryMode::List));
    Reset();
    if (ScheduleURL(address.c_str(), 0, L"", L"") != 0) return std::string();
    int phase = 0;
    do {
        phase = GetPhase();
        window.processMessages();
        Sleep(1);
    } while (transferGoesOn(phase));
    if (GetDataLen() == 0 || transfersCancelled(handle)) return std::string();
    const wchar_t* data = nullptr;
    GetData(&data);
    return ansi(data);
}

int downloadFile(UpdaterHandle* handle, UpdateView& window, const std::string& address,
                 const std::string& localPath, unsigned long long announcedSize) {
    if (transfersCancelled(handle)) return 0;
    window.setItemProgress(0);
    if (!parameters().initialised) return -1;
    const std::wstring from = wide(address);
    const std::wstring to = wide(localPath);
    Reset();
    if (ScheduleURL(from.c_str(), 0, L"", to.c_str()) != 0) return 0;
    unsigned total = 0;
    unsigned shown = static_cast<unsigned>(-1);  // nothing yet
    int phase = 0;
    bool tooLarge = false;
    do {
        // The phase first: the pass that sees the end shows the final count.
        phase = GetPhase();
        if (total == 0) total = GetTotalDownloadBytes();
        const unsigned received = GetReadBytes();
        if (announcedSize != 0 && (total > announcedSize || received > announcedSize)) {
            tooLarge = true;
            break;
        }
        // Only news is shown: a slow transfer is polled many times a byte.
        if (total != 0 && received != shown) {
            window.setStatus(" : " + std::to_string(received) + " bytes read");
            window.setItemProgress(percentOf(received, total));
            shown = received;
        }
        window.processMessages();
        Sleep(1);
    } while (transferGoesOn(phase));
    window.setItemProgress(100);
    if (tooLarge) {
        // The transfer may have put the whole file in place since the count
        // was read: whatever is at the target now is not what was announced.
        Reset();
        DeleteFileA(localPath.c_str());
        return 0;
    }
    return GetReadBytes() != 0 && !transfersCancelled(handle) ? 1 : 0;
}

void cancelTransfers(UpdaterHandle* handle) {
    if (handle) handle->cancelled = true;
    Reset();
}

bool transfersCancelled(const UpdaterHandle* handle) {
    return handle && handle->cancelled;
}

void terminateDownloads() {
    Terminate();
}

}  // namespace updater
