// Mendora.exe as the user meets it: started as a process of its own and
// driven through its window from outside, as another program would.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_files.h"
#include "shell/driver/window_driver.h"

using testing_support::ScopedAppPathsEntry;
using testing_support::ScopedRegistryValue;
using testing_support::ScopedTestFolder;
using namespace window_driver;

namespace {

const char kMendoraKey[] = "SOFTWARE\\Brisklane Technologies\\Mendora\\";
const DWORD kAlreadyRunning = static_cast<DWORD>(-1);

// The program is built one folder above this test program.
std::string programPath() {
    return testing_support::ownProgramFolder() + "..\\Mendora.exe";
}

class MendoraProcess {
public:
    explicit MendoraProcess(const std::string& arguments) {
        std::string commandLine = "\"" + programPath() + "\"";
        if (!arguments.empty()) commandLine += " " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_);
    }
    ~MendoraProcess() {
        if (!started_) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }

    HWND mainWindow() const { return waitForMainWindow(id(), 60); }
    HWND messageBox() const { return waitForMessageBox(id(), 30); }

    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD exitCode(int seconds) const {
        WaitForSingleObject(info_.hProcess, static_cast<DWORD>(seconds) * 1000);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION info_ = {};
    bool started_ = false;
};

class MendoraProgram : public ::testing::Test {
protected:
    // The backup folders go into an install folder of the test's own; this
    // test program alone starts Mendora, so it may use Mendora's own entry.
    MendoraProgram()
        : appPath("Mendora.exe", install.path()),
          processId(HKEY_LOCAL_MACHINE, kMendoraKey, "id") {}

    // Ends the program the way the user does: the close button's request,
    // answered Yes.
    void closeAndExpectCleanEnd(MendoraProcess& mendora, HWND window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        HWND box = mendora.messageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(messageText(box), "Close Mendora?");
        EXPECT_EQ(windowText(box), "Mendora");
        answer(box, IDYES);
        EXPECT_EQ(mendora.exitCode(60), 0u);
        // Released Settings wrote the (empty) backup index.
        EXPECT_TRUE(testing_support::fileExists(install.path() + "bak\\index.vsi"));
    }

    ScopedTestFolder install;
    ScopedAppPathsEntry appPath;
    ScopedRegistryValue processId;
};

TEST_F(MendoraProgram, OneCopyRecordsItsIdDragsByTheHeaderAndClosesOnYes) {
    MendoraProcess mendora("");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(windowText(window), "Mendora");
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);

    DWORD recorded = 0;
    ASSERT_TRUE(processId.readNumber(recorded));
    EXPECT_EQ(recorded, mendora.id());

    // A second copy ends at once, silently, and leaves the first one's id.
    MendoraProcess second("");
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.exitCode(30), kAlreadyRunning);
    ASSERT_TRUE(processId.readNumber(recorded));
    EXPECT_EQ(recorded, mendora.id());

    auto hitTest = [&](int x, int y) {
        POINT p = {x, y};
        ClientToScreen(window, &p);
        return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hitTest(250, 90), HTCAPTION);
    EXPECT_EQ(hitTest(10, 128), HTCAPTION);
    EXPECT_NE(hitTest(700, 100), HTCAPTION);
    EXPECT_NE(hitTest(250, 130), HTCAPTION);
    EXPECT_NE(hitTest(400, 300), HTCAPTION);

    // No to the close request keeps the program.
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND box = mendora.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box), "Close Mendora?");
    answer(box, IDNO);
    EXPECT_TRUE(waitUntil([&] { return visibleWindows(mendora.id(), "#32770").empty(); }, 30));
    EXPECT_EQ(mendora.exitCode(1), STILL_ACTIVE);
    EXPECT_TRUE(IsWindowVisible(window));

    closeAndExpectCleanEnd(mendora, window);
}

struct WindowSearch {
    std::string caption;
    DWORD except;
    DWORD found;
};

BOOL CALLBACK findCaptionedWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->except && IsWindowVisible(hwnd) && windowText(hwnd) == search->caption)
        search->found = pid;
    return TRUE;
}

// The program file of the process that shows a visible window with this
// caption, other than `except`; empty when there is none.
std::string programOfWindow(const std::string& caption, DWORD except, DWORD& processId) {
    WindowSearch search{caption, except, 0};
    EnumWindows(findCaptionedWindow, reinterpret_cast<LPARAM>(&search));
    processId = search.found;
    if (!search.found) return std::string();
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, search.found);
    char path[MAX_PATH + 1] = {};
    if (process) {
        GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
        CloseHandle(process);
    }
    return path;
}

TEST_F(MendoraProgram, TheSupportChatButtonStartsParleclientFromTheInstallFolder) {
    const std::string parleclient = install.path() + "Parleclient.exe";
    ASSERT_TRUE(CopyFileA(
        (testing_support::ownProgramFolder() + "..\\..\\chat\\client\\Parleclient.exe").c_str(),
        parleclient.c_str(), FALSE));
    MendoraProcess mendora("");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);

    clickAt(window, 62 + 195 / 2, 305 + 64 / 2);  // Support chat
    DWORD chatProcess = 0;
    std::string program;
    ASSERT_TRUE(waitUntil(
        [&] { return !(program = programOfWindow("Login", mendora.id(), chatProcess)).empty(); },
        60));
    EXPECT_EQ(lstrcmpiA(program.c_str(), parleclient.c_str()), 0) << program;
    HANDLE chat = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, chatProcess);
    ASSERT_NE(chat, nullptr);
    TerminateProcess(chat, 0);
    WaitForSingleObject(chat, 10000);
    CloseHandle(chat);
    closeAndExpectCleanEnd(mendora, window);
}

TEST_F(MendoraProgram, OnlyTheExactSwitchKeepsTheWindowOnTop) {
    struct Case {
        const char* arguments;
        bool onTop;
    } cases[] = {{"-source=vs", true}, {"-source=vs ", false}, {"-SOURCE=vs", false}};
    for (const Case& c : cases) {
        MendoraProcess mendora(c.arguments);
        ASSERT_TRUE(mendora.started());
        HWND window = mendora.mainWindow();
        ASSERT_NE(window, nullptr) << c.arguments;
        EXPECT_EQ((GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, c.onTop)
            << "[" << c.arguments << "]";
        closeAndExpectCleanEnd(mendora, window);
    }
}

TEST_F(MendoraProgram, ScanRunsThroughTheWindowToTheResults) {
    // Mendora inherits this program's temporary folder: an unused file there
    // is a problem its Drive Cleaner must find.
    ScopedTestFolder temp;
    testing_support::writeOldFile(temp.path() + "forgotten.tmp");
    MendoraProcess mendora("");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);

    clickAt(window, kStartScan.x, kStartScan.y);
    // The scanning panel names each scanner as it runs.
    EXPECT_TRUE(
        waitUntil([&] { return visibleChildWithText(window, isRunningCaption) != nullptr; }, 120));
    HWND headline = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] { return (headline = visibleChildWithText(window, isResultHeadline)) != nullptr; },
        600));
    const std::string text = windowText(headline);
    EXPECT_NE(text, "No Problems Detected");
    EXPECT_GE(std::strtoul(text.c_str(), nullptr, 10), 1ul) << text;
    closeAndExpectCleanEnd(mendora, window);
}

TEST_F(MendoraProgram, CloseDuringAScanAsksToAbortAndEndsTheScan) {
    MendoraProcess mendora("");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);

    clickAt(window, kStartScan.x, kStartScan.y);
    // Drive Cleaner walks every fixed drive: it runs long enough for the
    // request to come while it is scanning.
    ASSERT_TRUE(waitUntil(
        [&] {
            return visibleChildWithText(window, [](const std::string& t) {
                       return t == "Running Drive Cleaner Scanner";
                   }) != nullptr;
        },
        120));
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND box = mendora.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box), "Abort scan and close Mendora?");
    answer(box, IDYES);
    // The close waits for the scan monitor's end, then the program ends
    // normally.
    EXPECT_EQ(mendora.exitCode(120), 0u);
}

}  // namespace
