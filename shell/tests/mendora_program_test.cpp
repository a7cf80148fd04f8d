// Mendora.exe as the user meets it: started as a process of its own and
// driven through its window from outside, as another program would.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "common/win_handles.h"
#include "shell/driver/mendora_driver.h"
#include "sysinfo/window/sysinfo_resources.h"

using testing_support::ScopedAppPathsEntry;
using testing_support::ScopedTestFolder;
using namespace mendora_driver;
using namespace window_driver;

namespace {

const DWORD kAlreadyRunning = static_cast<DWORD>(-1);

// The program is built one folder above this test program.
std::string programPath() {
    return testing_support::ownProgramFolder() + "..\\Mendora.exe";
}

class MendoraProcess : public testing_support::ProgramProcess {
public:
    explicit MendoraProcess(const std::string& arguments)
        : ProgramProcess(programPath(), arguments) {}

    HWND mainWindow() const { return waitForMainWindow(id(), 60); }
    HWND messageBox() const { return waitForMessageBox(id(), 30); }
};

class MendoraProgram : public ::testing::Test {
protected:
    // The backup folders go into an install folder of the test's own; this
    // test program alone starts Mendora, so it may use Mendora's own entry.
    MendoraProgram()
        : appPath("Mendora.exe", install.path()), processId(win::kSuiteKey, win::kProcessIdValue) {}

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
    testing_support::ScopedSuiteValue processId;
};

// The icon groups of one program that came from two resource scripts once
// named the same images, and the linker kept only one set.
std::set<WORD> iconImages(HMODULE program, LPCSTR group) {
    std::set<WORD> images;
    HRSRC found = FindResourceA(program, group, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!found) return images;
    const auto* bytes =
        static_cast<const unsigned char*>(LockResource(LoadResource(program, found)));
    const DWORD size = SizeofResource(program, found);
    if (!bytes || size < 6) return images;
    const WORD count = static_cast<WORD>(bytes[4] | bytes[5] << 8);
    // Each entry is 14 bytes; its image number is the last two.
    for (WORD i = 0; i < count && 6u + 14u * (i + 1u) <= size; ++i) {
        const unsigned char* entry = bytes + 6 + 14 * i;
        images.insert(static_cast<WORD>(entry[12] | entry[13] << 8));
    }
    return images;
}

TEST(MendoraIcons, EachIconHasImagesOfItsOwn) {
    win::Module program(LoadLibraryExA(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program);
    const std::set<WORD> main = iconImages(program.get(), "MAINICON");
    const std::set<WORD> devices =
        iconImages(program.get(), MAKEINTRESOURCEA(SYSINFO_DEVICES_ICON));
    EXPECT_FALSE(main.empty());
    EXPECT_FALSE(devices.empty());
    for (WORD image : devices) {
        EXPECT_EQ(main.count(image), 0u) << image;
        EXPECT_TRUE(FindResourceA(program.get(), MAKEINTRESOURCEA(image), MAKEINTRESOURCEA(3)))
            << image;  // RT_ICON
    }
}

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
    EXPECT_TRUE(pollUntil([&] { return visibleWindows(mendora.id(), "#32770").empty(); }, 30));
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

// The process, other than `except`, that shows a visible window with this
// caption; 0 when there is none.
DWORD processOfWindow(const std::string& caption, DWORD except) {
    WindowSearch search{caption, except, 0};
    EnumWindows(findCaptionedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The support chat and update buttons start the suite's other programs from
// the install folder, not from wherever Mendora was started.
TEST_F(MendoraProgram, TheChatAndUpdateButtonsStartTheirProgramsFromTheInstallFolder) {
    const std::string built = testing_support::ownProgramFolder() + "..\\..\\";
    const struct {
        POINT button;
        const char* builtProgram;
        const char* program;
        const char* caption;
    } buttons[] = {
        {{62 + 195 / 2, 305 + 64 / 2}, "chat\\client\\Parleclient.exe", "Parleclient.exe", "Login"},
        {{544 + 89 / 2, 80 + 36 / 2},
         "updater\\window\\MendoraUpdater.exe",
         "MendoraUpdater.exe",
         "Mendora Updater"},
    };
    for (const auto& b : buttons)
        ASSERT_TRUE(CopyFileA((built + b.builtProgram).c_str(),
                              (install.path() + b.program).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((built + "updater\\window\\fetchkit.dll").c_str(),
                          (install.path() + "fetchkit.dll").c_str(), FALSE));
    ProgramsInFolderEnder leftovers(install.path());
    MendoraProcess mendora("");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);

    for (const auto& b : buttons) {
        SCOPED_TRACE(b.program);
        clickAt(window, b.button.x, b.button.y);
        DWORD started = 0;
        ASSERT_TRUE(pollUntil(
            [&] { return (started = processOfWindow(b.caption, mendora.id())) != 0; }, 60));
        const std::string program = programFileOf(started);
        EXPECT_EQ(lstrcmpiA(program.c_str(), (install.path() + b.program).c_str()), 0) << program;
        endProcess(started);
    }
    closeAndExpectCleanEnd(mendora, window);
}

TEST_F(MendoraProgram, TheInformationButtonOpensWindowsInformationAndItsDeviceWindow) {
    MendoraProcess mendora("");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);

    clickAt(window, kWindowsInformation.x, kWindowsInformation.y);
    HWND information = waitForWindow(mendora.id(), "Windows Information", 60);
    ASSERT_NE(information, nullptr);
    // Modal: the main window waits.
    EXPECT_FALSE(IsWindowEnabled(window));
    HWND list = childOfClass(information, WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    EXPECT_GT(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 20);

    ASSERT_TRUE(chooseMenuItem(information, kAdvancedSystemInfo));
    HWND devices = waitForWindow(mendora.id(), "System Information", 60);
    ASSERT_NE(devices, nullptr);
    HWND classes = childOfClass(devices, "ListBox", 0);
    HWND members = childOfClass(devices, "ListBox", 1);
    ASSERT_NE(classes, nullptr);
    ASSERT_NE(members, nullptr);
    ASSERT_TRUE(pollUntil([&] { return SendMessageA(classes, LB_GETCOUNT, 0, 0) > 0; }, 30));
    selectListLine(classes, 0);
    EXPECT_TRUE(pollUntil(
        [&] {
            char first[200] = {};
            SendMessageA(members, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
            return SendMessageA(members, LB_GETCOUNT, 0, 0) > 0 &&
                   std::string(first) != "Waiting for Device to be chosen...";
        },
        30));

    PostMessageA(devices, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(devices); }, 30));
    PostMessageA(information, WM_CLOSE, 0, 0);
    ASSERT_TRUE(pollUntil([&] { return IsWindowEnabled(window) != FALSE; }, 30));
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
        pollUntil([&] { return visibleChildWithText(window, isRunningCaption) != nullptr; }, 120));
    HWND headline = nullptr;
    ASSERT_TRUE(pollUntil(
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
    ASSERT_TRUE(pollUntil(
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

// The picture button at a place of the main window given for 96 DPI.
HWND buttonAt(HWND window, POINT p) {
    return controlAt(window, scaledForScreen(p.x), scaledForScreen(p.y));
}

bool isCategoryTicked(HWND list, int item) {
    const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

// The whole way without a mouse, with the main window on top of the others
// ("-source=vs"): Esc leaves the choice of categories as it was, the keys
// choose Drive Cleaner alone, start the scan, open the problem report above
// the main window and close it (the main window is active again), repair,
// answer the message and close Mendora.
TEST_F(MendoraProgram, KeysAloneChooseScanReportRepairAndClose) {
    // In this test program's own temporary folder, which Mendora inherits:
    // Drive Cleaner finds the file, and a repair removes nothing of others.
    ScopedTestFolder temp;
    const std::string forgotten = temp.path() + "forgotten.tmp";
    testing_support::writeOldFile(forgotten);
    // The repair engine of the install folder makes the repair.
    ASSERT_TRUE(testing_support::copyRepairEngine(install.path()));
    MendoraProcess mendora("-source=vs");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora.mainWindow();
    ASSERT_NE(window, nullptr);
    if (activeWindowOf(window) != window) SetForegroundWindow(window);
    auto focusIs = [&](HWND control) {
        return waitForFocus(
                   window, [&](HWND f) { return f == control; }, 30) != nullptr;
    };
    HWND startScan = buttonAt(window, kStartScan);
    HWND optimize = buttonAt(window, kOptimize);
    ASSERT_TRUE(focusIs(startScan));
    HWND categories = childOfClass(window, "ListBox");
    ASSERT_EQ(SendMessageA(categories, LB_GETCOUNT, 0, 0), 8);

    // Tab reaches Optimize, Enter opens the dialog over the main window.
    pressKey(VK_TAB);
    ASSERT_TRUE(focusIs(optimize));
    pressKey(VK_RETURN);
    HWND choice = waitForWindowWhere(
        mendora.id(), [&](HWND w) { return w != window && windowText(w) == "Mendora"; }, 30);
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(GetWindow(choice, GW_OWNER), window);
    EXPECT_TRUE(isAbove(choice, window));
    HWND list = childOfClass(choice, "SysListView32");
    ASSERT_TRUE(focusIs(list));
    // A change, then Esc: the dialog closes and hands nothing over.
    pressKey(VK_HOME);
    pressKey(VK_SPACE);
    ASSERT_TRUE(pollUntil([&] { return !isCategoryTicked(list, 0); }, 10));
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(choice); }, 10));
    EXPECT_EQ(SendMessageA(categories, LB_GETCOUNT, 0, 0), 8);

    // Back on Optimize: Drive Cleaner alone, ticked by Space, Enter for OK.
    ASSERT_TRUE(focusIs(optimize));
    pressKey(VK_RETURN);
    ASSERT_TRUE(pollUntil([&] { return IsWindowVisible(choice) != FALSE; }, 30));
    ASSERT_TRUE(focusIs(list));
    pressKey(VK_HOME);
    const int driveCleaner = 1;
    for (int item = 0; item < 8; ++item) {
        if (isCategoryTicked(list, item) != (item == driveCleaner)) pressKey(VK_SPACE);
        ASSERT_TRUE(
            pollUntil([&] { return isCategoryTicked(list, item) == (item == driveCleaner); }, 10))
            << item;
        pressKey(VK_DOWN);
    }
    pressKey(VK_RETURN);
    ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(choice); }, 10));
    EXPECT_TRUE(pollUntil([&] { return SendMessageA(categories, LB_GETCOUNT, 0, 0) == 1; }, 10));

    // Shift+Tab goes back to Start Scan; Enter scans; the results panel
    // takes the keyboard on Make Repairs.
    ASSERT_TRUE(focusIs(optimize));
    pressChord(VK_SHIFT, VK_TAB);
    ASSERT_TRUE(focusIs(startScan));
    pressKey(VK_RETURN);
    ASSERT_TRUE(pollUntil([&] { return visibleChildWithText(window, isResultHeadline); }, 300));
    EXPECT_EQ(windowText(visibleChildWithText(window, isResultHeadline)), "1 Possible Problems");
    HWND makeRepairs = buttonAt(window, kMakeRepairs);
    ASSERT_TRUE(focusIs(makeRepairs));

    // The problem report opens above the main window, which stays on top of
    // other windows; after Esc the main window is active again.
    pressKey(VK_TAB);
    ASSERT_TRUE(focusIs(buttonAt(window, kProblemReport)));
    pressKey(VK_RETURN);
    HWND report = waitForWindow(mendora.id(), "Detected Problems Report", 30);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(GetWindow(report, GW_OWNER), window);
    EXPECT_TRUE(isAbove(report, window));
    EXPECT_EQ(GetForegroundWindow(), report);
    pressKey(VK_ESCAPE);
    ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(report); }, 10));
    EXPECT_TRUE(pollUntil([&] { return GetForegroundWindow() == window; }, 10));
    EXPECT_EQ(activeWindowOf(window), window);

    // Make Repairs by Enter; the message is answered by Enter too.
    pressChord(VK_SHIFT, VK_TAB);
    ASSERT_TRUE(focusIs(makeRepairs));
    pressKey(VK_RETURN);
    HWND box = mendora.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box).rfind("Congratulations!", 0), 0u) << messageText(box);
    EXPECT_EQ(GetWindow(box, GW_OWNER), window);
    pressKey(VK_RETURN);
    EXPECT_TRUE(pollUntil([&] { return !testing_support::fileExists(forgotten); }, 30));

    // Back on the welcome panel: Shift+Tab from Start Scan comes round to
    // the close button; Enter asks, and Enter answers Yes.
    ASSERT_TRUE(focusIs(startScan));
    pressChord(VK_SHIFT, VK_TAB);
    pressKey(VK_RETURN);
    box = mendora.messageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box), "Close Mendora?");
    pressKey(VK_RETURN);
    EXPECT_EQ(mendora.exitCode(60), 0u);
}

}  // namespace
