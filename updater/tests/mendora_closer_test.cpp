// The updater's end of a running Mendora: Mendora.exe started from an install
// folder of the test's own and met in the middle of a scan, hung, or gone
// with its id taken by another program.
#include "updater/mendora_closer.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>

#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "shell/driver/mendora_driver.h"

using testing_support::ProgramProcess;
using testing_support::ScopedTestFolder;
using updater::MendoraClosed;
using namespace window_driver;

namespace {

std::string shortPath(const std::string& path) {
    char name[MAX_PATH + 1] = {};
    const DWORD n = GetShortPathNameA(path.c_str(), name, sizeof name);
    return n > 0 && n < sizeof name ? std::string(name, n) : path;
}

// Ends its process with 3 on a close or an end-session message.
LRESULT CALLBACK endOnRequest(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE || message == WM_QUERYENDSESSION || message == WM_ENDSESSION)
        ExitProcess(3);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A program that is not Mendora, with a window called "Mendora".
CHILD_SCENARIO(notMendora) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = endOnRequest;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "NotMendora";
    RegisterClassA(&windowClass);
    CreateWindowA("NotMendora", "Mendora", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                  nullptr, nullptr, nullptr, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
}

class MendoraCloser : public ::testing::Test {
protected:
    MendoraCloser()
        : appPath("Mendora.exe", install.path()), processId(win::kSuiteKey, win::kProcessIdValue) {
        CopyFileA((testing_support::ownProgramFolder() + "..\\..\\shell\\Mendora.exe").c_str(),
                  (install.path() + "Mendora.exe").c_str(), FALSE);
    }

    ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry appPath;
    testing_support::ScopedSuiteValue processId;
    ProgramsInFolderEnder leftovers{install.path()};
};

TEST_F(MendoraCloser, AScanningMendoraStopsItsScanAndEndsWithoutAQuestion) {
    ProgramProcess mendora(install.path() + "Mendora.exe");
    HWND window = mendora_driver::waitForMainWindow(mendora.id(), 60);
    ASSERT_NE(window, nullptr);
    clickAt(window, mendora_driver::kStartScan.x, mendora_driver::kStartScan.y);
    ASSERT_TRUE(pollUntil(
        [&] { return visibleChildWithText(window, mendora_driver::isRunningCaption) != nullptr; },
        120));

    EXPECT_EQ(updater::closeRunningMendora(install.path()), MendoraClosed::Ended);
    // Its own end: a forced one gives 1.
    EXPECT_EQ(mendora.exitCode(0), 0u);
}

TEST_F(MendoraCloser, AHungMendoraIsEndedByForceWhateverTheFolderIsCalled) {
    ProgramProcess mendora(install.path() + "Mendora.exe");
    ASSERT_NE(mendora_driver::waitForMainWindow(mendora.id(), 60), nullptr);
    win::KernelHandle threads(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(threads.get(), &entry); more;
         more = Thread32Next(threads.get(), &entry)) {
        win::KernelHandle thread(entry.th32OwnerProcessID == mendora.id()
                                     ? OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)
                                     : nullptr);
        if (thread) SuspendThread(thread.get());
    }

    // Named by its short form, the folder holds the same Mendora.exe.
    ASSERT_NE(shortPath(install.path()), install.path());
    EXPECT_EQ(updater::closeRunningMendora(shortPath(install.path())), MendoraClosed::Terminated);
    EXPECT_EQ(mendora.exitCode(0), 1u);
}

// The id Mendora recorded now names another program, this one from another
// folder's Mendora.exe: nothing is sent to it and it is not ended.
TEST_F(MendoraCloser, AnotherProgramUnderAStaleIdIsLeftAlone) {
    ScopedTestFolder elsewhere;
    ASSERT_TRUE(
        CopyFileA((testing_support::ownProgramFolder() + testing_support::ownProgramName()).c_str(),
                  (elsewhere.path() + "Mendora.exe").c_str(), FALSE));
    ProgramsInFolderEnder otherLeftovers(elsewhere.path());
    ProgramProcess other(elsewhere.path() + "Mendora.exe", "--child=notMendora");
    ASSERT_NE(waitForWindow(other.id(), "Mendora", 60), nullptr);
    const DWORD staleId = other.id();
    processId.set(REG_DWORD, std::string(reinterpret_cast<const char*>(&staleId), sizeof staleId));

    EXPECT_EQ(updater::closeRunningMendora(install.path()), MendoraClosed::NotRunning);
    EXPECT_EQ(other.exitCode(1), STILL_ACTIVE);
}

}  // namespace
