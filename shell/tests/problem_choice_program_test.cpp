// The user decides what is repaired, through the real Mendora.exe: a problem
// unticked in the problem report stays, one kept for good is never listed
// again (in the window or by /scan) until it is removed from Kept Items, a
// damaged list keeps nothing and says so, and each problem says why it was
// found. The problems are old files planted in the temporary folder that
// Mendora inherits from this test program (Drive Cleaner's).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "shell/driver/mendora_driver.h"

using namespace testing_support;
using namespace window_driver;
using namespace mendora_driver;

namespace {

const int kDriveCleaner = 1;

std::string inJson(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// The UTC date of the file's last access, as the reasons give it.
std::string lastAccessDate(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    SYSTEMTIME date = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastAccessTime, &date))
        return "?";
    char text[16];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u", date.wYear, date.wMonth, date.wDay);
    return text;
}

HTREEITEM selectedNode(HWND tree) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool isTicked(HWND tree, HTREEITEM node) {
    const LRESULT state =
        SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_STATEIMAGEMASK);
    return ((state & TVIS_STATEIMAGEMASK) >> 12) == 2;
}

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

class ProblemChoice : public ::testing::Test {
protected:
    ProblemChoice()
        : appPath("Mendora.exe", install.path()), processId(win::kSuiteKey, win::kProcessIdValue) {}

    std::string program() const { return ownProgramFolder() + "..\\Mendora.exe"; }
    // /scan of Drive Cleaner; its exit code, the report in `json`.
    DWORD scan(std::string& json) {
        ProgramProcess mendora(program(), "/scan /categories:drive /report:\"" + report + "\"");
        EXPECT_TRUE(mendora.started());
        const DWORD code = mendora.exitCode(300);
        json = readFile(report);
        return code;
    }
    std::string plant(const std::string& name) {
        writeOldFile(temp.path() + name);
        return temp.path() + name;
    }
    void closeMendora(ProgramProcess& mendora, HWND window) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        HWND box = waitForMessageBox(mendora.id(), 30);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(messageText(box), "Close Mendora?");
        answer(box, IDYES);
        EXPECT_EQ(mendora.exitCode(60), 0u);
    }
    HWND startWindow(ProgramProcess& mendora) {
        EXPECT_TRUE(mendora.started());
        HWND window = waitForMainWindow(mendora.id(), 60);
        if (window && activeWindowOf(window) != window) SetForegroundWindow(window);
        return window;
    }

    ScopedTestFolder install;
    ScopedAppPathsEntry appPath;
    ScopedSuiteValue processId;
    ScopedTestFolder temp;
    ScopedTestFolder reports;
    const std::string report = reports.path() + "report.json";
    const std::string keptList = install.path() + "kept-items.txt";
};

TEST_F(ProblemChoice, UntickedAndKeptProblemsStayEachSaysWhyAndADamagedListKeepsNothing) {
    ASSERT_TRUE(testing_support::copyRepairEngine(install.path()));
    const std::string unticked = plant("unticked.tmp"), repaired = plant("repaired.tmp"),
                      kept = plant("kept.tmp");
    const std::string why = "Found because last used on " + lastAccessDate(kept) + ", not today.";

    {
        ProgramProcess mendora(program(), "-source=vs");
        HWND window = startWindow(mendora);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(chooseOnlyCategory(mendora.id(), window, kDriveCleaner));
        clickAt(window, kStartScan.x, kStartScan.y);
        ASSERT_TRUE(pollUntil([&] { return visibleChildWithText(window, isResultHeadline); }, 300));
        EXPECT_EQ(windowText(visibleChildWithText(window, isResultHeadline)),
                  "3 Possible Problems");
        EXPECT_NE(visibleChildWithText(window,
                                       [](const std::string& t) {
                                           return t ==
                                                  "Files found take 9 bytes: Drive "
                                                  "Cleaner 9 bytes.";
                                       }),
                  nullptr);

        // The report: each problem's full path and reason below the tree.
        clickAt(window, kProblemReport.x, kProblemReport.y);
        HWND report = waitForWindow(mendora.id(), "Detected Problems Report", 30);
        ASSERT_NE(report, nullptr);
        HWND tree = childOfClass(report, "SysTreeView32");
        ASSERT_NE(waitForFocus(
                      window, [&](HWND f) { return f == tree; }, 30),
                  nullptr);
        const auto reasonFor = [&](const std::string& path) {
            return [&, path](const std::string& t) { return t == path + "\r\n" + why; };
        };
        std::map<std::string, int> row;
        for (int i = 1; i <= 3; ++i) {
            pressKey(VK_DOWN);
            for (const std::string& path : {unticked, repaired, kept})
                if (pollUntil([&] { return visibleChildWithText(report, reasonFor(path)); }, 2))
                    row[path] = i;
        }
        ASSERT_EQ(row.size(), 3u) << "every problem says where it is and why";

        // Unticked by the space bar.
        pressKey(VK_HOME);
        for (int i = 0; i < row[unticked]; ++i) pressKey(VK_DOWN);
        ASSERT_TRUE(
            pollUntil([&] { return visibleChildWithText(report, reasonFor(unticked)); }, 10));
        pressKey(VK_SPACE);
        EXPECT_TRUE(pollUntil([&] { return !isTicked(tree, selectedNode(tree)); }, 10));

        // Kept for good from Always Keep's menu: the problem itself.
        pressKey(VK_HOME);
        for (int i = 0; i < row[kept]; ++i) pressKey(VK_DOWN);
        ASSERT_TRUE(pollUntil([&] { return visibleChildWithText(report, reasonFor(kept)); }, 10));
        pressKey(VK_TAB);
        pressKey(VK_RETURN);
        ASSERT_TRUE(pollUntil([&] { return !visibleWindows(mendora.id(), "#32768").empty(); }, 10))
            << "the menu opens";
        pressKey(VK_DOWN);
        pressKey(VK_RETURN);
        ASSERT_TRUE(
            pollUntil([&] { return readFile(keptList).find(kept) != std::string::npos; }, 10));
        EXPECT_TRUE(pollUntil([&] { return !visibleChildWithText(report, reasonFor(kept)); }, 10));
        EXPECT_TRUE(isTicked(
            tree, reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0))));
        pressKey(VK_ESCAPE);
        ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(report); }, 10));
        EXPECT_TRUE(pollUntil(
            [&] {
                return visibleChildWithText(window, [](const std::string& t) {
                    return startsWith(t,
                                      "1 of 3 problems chosen for repair. Files found take 9 "
                                      "bytes");
                });
            },
            10));

        // Make Repairs repairs and counts the one left chosen.
        clickAt(window, kMakeRepairs.x, kMakeRepairs.y);
        HWND box = waitForMessageBox(mendora.id(), 60);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(messageText(box),
                  "Congratulations!\n\nThere were 1 problems fixed on your system!");
        answer(box, IDOK);
        ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(box); }, 10));
        EXPECT_FALSE(fileExists(repaired));
        EXPECT_TRUE(fileExists(unticked));
        EXPECT_TRUE(fileExists(kept));
        closeMendora(mendora, window);
    }

    // The next scan, from a script: the kept file is not listed, the other
    // says why it is.
    std::string json;
    EXPECT_EQ(scan(json), 1u);
    EXPECT_NE(json.find("\"path\": \"" + inJson(unticked) + "\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"reason\": \"last used on " + lastAccessDate(unticked) + ", not today\""),
              std::string::npos)
        << json;
    EXPECT_EQ(json.find("kept.tmp"), std::string::npos) << json;
    EXPECT_NE(json.find("\"bytes\": 3"), std::string::npos) << json;

    // Removed from Kept Items on the main window: scans list it again.
    const std::string storedList = readFile(keptList);
    {
        ProgramProcess mendora(program(), "-source=vs");
        HWND window = startWindow(mendora);
        ASSERT_NE(window, nullptr);
        clickAt(window, kKeptItems.x, kKeptItems.y);
        HWND dialog = waitForWindow(mendora.id(), "Kept Items", 30);
        ASSERT_NE(dialog, nullptr);
        HWND list = childOfClass(dialog, "SysListView32");
        ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 1);
        ASSERT_NE(waitForFocus(
                      window, [&](HWND f) { return f == list; }, 30),
                  nullptr);
        pressKey(VK_TAB);
        pressKey(VK_RETURN);  // Remove
        EXPECT_TRUE(pollUntil([&] { return SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == 0; }, 10));
        pressKey(VK_ESCAPE);
        ASSERT_TRUE(pollUntil([&] { return !IsWindowVisible(dialog); }, 10));
        closeMendora(mendora, window);
    }
    EXPECT_EQ(readFile(keptList).find(kept), std::string::npos);
    EXPECT_EQ(scan(json), 1u);
    EXPECT_NE(json.find("\"path\": \"" + inJson(kept) + "\""), std::string::npos) << json;

    // The list that kept it, changed by one byte: it keeps nothing, and the
    // scan says so.
    std::string damaged = storedList;
    damaged[damaged.find("kept.tmp")] = 'K';
    writeFile(keptList, damaged);
    EXPECT_EQ(scan(json), 1u);
    EXPECT_NE(json.find("\"path\": \"" + inJson(kept) + "\""), std::string::npos) << json;
    EXPECT_NE(json.find("is damaged and could not be read"), std::string::npos) << json;
}

}  // namespace
