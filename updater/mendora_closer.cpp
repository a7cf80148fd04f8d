#include "updater/mendora_closer.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "common/suite_windows.h"
#include "common/win_handles.h"

namespace updater {

namespace {

// How long each thread of Mendora has to answer a message, and the process
// to end once it agreed (the end of a scan waits for the scan's threads).
const UINT kAnswerMs = 5000;
const DWORD kEndMs = 15000;
const DWORD kForceMs = 5000;

// The Restart Manager's mark on the end-session messages: the program is to
// end so that its files can be replaced; the session goes on. Not in the
// Windows XP headers the suite builds with.
const LPARAM kCloseApp = 0x00000001;  // ENDSESSION_CLOSEAPP
// Reads the program file of a process of either bitness; Vista and later.
const DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION

bool recordedProcessId(DWORD& id) {
    win::SuiteRecordKey suite(win::kSuiteKey);
    DWORD type = 0;
    DWORD size = sizeof id;
    return suite.readRaw(&id, type, size, win::kProcessIdValue) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof id && id != 0;
}

// While the handle is open the id cannot pass to another process, so every
// later step acts on the process that was looked at.
win::KernelHandle openProcess(DWORD id) {
    const DWORD access = SYNCHRONIZE | PROCESS_TERMINATE;
    win::KernelHandle process(OpenProcess(access | kQueryLimitedInformation, FALSE, id));
    if (!process)
        process.reset(OpenProcess(access | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    return process;
}

std::string programFileOf(HANDLE process) {
    using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
    static const auto queryImageName = reinterpret_cast<QueryImageName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA")));
    char path[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (queryImageName && queryImageName(process, 0, path, &size)) return std::string(path, size);
    const DWORD n = GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
    return std::string(path, n);
}

bool fileIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    // Reading attributes needs no share with the loader's hold on a program.
    win::FileHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
    return file && GetFileInformationByHandle(file.get(), &info);
}

// One file by the volume and the file's index on it, whatever names, long or
// short, lead to it.
bool sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION x = {};
    BY_HANDLE_FILE_INFORMATION y = {};
    return fileIdentity(a, x) && fileIdentity(b, y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
           x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

struct ProcessWindows {
    DWORD processId = 0;
    std::vector<HWND> windows;  // Mendora's main window first, when found
    bool mainFound = false;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<ProcessWindows*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId != found->processId) return TRUE;
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (!found->mainFound && lstrcmpiA(name, win::kMendoraMainWindowClass) == 0) {
        found->windows.insert(found->windows.begin(), hwnd);
        found->mainFound = true;
    } else {
        found->windows.push_back(hwnd);
    }
    return TRUE;
}

// The end-of-session messages to every window of the process, as Windows
// sends them. A thread that does not answer within the time is busy or hung:
// it is not waited for again.
class SessionEnd {
public:
    explicit SessionEnd(std::vector<HWND> windows) : windows_(std::move(windows)) {}

    // False when a window said no.
    bool query() { return sendToAll(windows_.begin(), windows_.end(), WM_QUERYENDSESSION, 0); }
    void cancel() { sendToAll(windows_.begin(), windows_.end(), WM_ENDSESSION, FALSE); }
    // The main window last: its answer closes Mendora and ends its threads.
    void end() { sendToAll(windows_.rbegin(), windows_.rend(), WM_ENDSESSION, TRUE); }

private:
    template <typename It>
    bool sendToAll(It first, It last, UINT message, WPARAM wParam) {
        bool agreed = true;
        for (It it = first; it != last; ++it) {
            const DWORD thread = GetWindowThreadProcessId(*it, nullptr);
            if (std::find(silent_.begin(), silent_.end(), thread) != silent_.end()) continue;
            DWORD_PTR answer = TRUE;
            if (!SendMessageTimeoutA(*it, message, wParam, kCloseApp, SMTO_ABORTIFHUNG, kAnswerMs,
                                     &answer)) {
                // A window that is gone meanwhile says nothing of its thread.
                if (IsWindow(*it)) silent_.push_back(thread);
                continue;
            }
            agreed = agreed && answer != FALSE;
        }
        return agreed;
    }

    std::vector<HWND> windows_;
    std::vector<DWORD> silent_;
};

}  // namespace

MendoraClosed closeRunningMendora(const std::string& installFolder) {
    DWORD id = 0;
    if (!recordedProcessId(id)) return MendoraClosed::NotRunning;
    win::KernelHandle process = openProcess(id);
    if (!process || WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0)
        return MendoraClosed::NotRunning;
    const bool installed =
        sameFile(programFileOf(process.get()), installFolder + win::kMendoraEntry);

    ProcessWindows found;
    found.processId = id;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&found));
    // Another program under a stale id: neither its windows nor the process
    // are Mendora's, so nothing is sent and nothing is ended.
    if (!found.mainFound && !installed) return MendoraClosed::NotRunning;

    if (found.mainFound) {
        // Every window is asked, as at the end of a session: during a repair
        // the main window's thread is busy, and the working window answers.
        SessionEnd request(std::move(found.windows));
        if (!request.query()) {
            request.cancel();
            return MendoraClosed::Busy;
        }
        request.end();
    }
    // Without its main window Mendora is starting or ending: it gets the
    // same time.
    if (WaitForSingleObject(process.get(), kEndMs) == WAIT_OBJECT_0) return MendoraClosed::Ended;
    if (!installed) return MendoraClosed::StillRunning;
    if (TerminateProcess(process.get(), 1) &&
        WaitForSingleObject(process.get(), kForceMs) == WAIT_OBJECT_0)
        return MendoraClosed::Terminated;
    return MendoraClosed::StillRunning;
}

}  // namespace updater
