// Mendora.exe at 150%: ctest runs this program in a prefix of its own at
// 144 DPI (tools/run-at-dpi.sh). Mendora declares itself aware of the DPI, so
// Windows no longer stretches its window: it lays itself out one and a half
// times as large, as it looks at 96 DPI.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_files.h"
#include "common/win_handles.h"
#include "shell/driver/mendora_driver.h"

using namespace window_driver;

namespace {

const int kDpi = 144;

// The window's client coordinates of a child window.
RECT clientRectOf(HWND window, HWND child) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

struct StaticSearch {
    HWND found;
};

BOOL CALLBACK findSkinPicture(HWND hwnd, LPARAM param) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0 ||
        (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
        return TRUE;
    reinterpret_cast<StaticSearch*>(param)->found = hwnd;
    return FALSE;
}

}  // namespace

TEST(MendoraAtHighDpi, TheSkinnedWindowItsButtonsAndItsDraggableHeaderGrowByHalf) {
    // This process sees the screen in its pixels, as Mendora does.
    {
        win::WindowDc screen(nullptr);
        ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), kDpi)
            << "ctest runs this program at 144 DPI";
    }
    testing_support::ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry appPath("Mendora.exe", install.path());
    testing_support::ScopedRegistryValue processId(HKEY_LOCAL_MACHINE, win::kSuiteKey,
                                                   win::kProcessIdValue);
    testing_support::ProgramProcess mendora(testing_support::ownProgramFolder() + "..\\Mendora.exe",
                                            "");
    ASSERT_TRUE(mendora.started());
    HWND window = mendora_driver::waitForMainWindow(mendora.id(), 60);
    // Found by its client area: 730 by 595 at 96 DPI, 1095 by 893 pixels here.
    ASSERT_NE(window, nullptr) << "no window of 1095 by 893 pixels";

    // The skin's picture, 733 by 553 at 96 DPI, is stretched with the window.
    StaticSearch search{nullptr};
    EnumChildWindows(window, findSkinPicture, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.found, nullptr);
    const RECT picture = {0, 0, 1100, 830};
    EXPECT_TRUE(sameRect(clientRectOf(window, search.found), picture))
        << text(clientRectOf(window, search.found));

    // Start Scan: at (16, 248) in the welcome panel at (288, 152), 177 by 49
    // at 96 DPI; its far edges are scaled, as the panel's are.
    HWND startScan = controlAt(window, 460, 610);
    const RECT expected = {456, 600, 722, 674};
    EXPECT_TRUE(sameRect(clientRectOf(window, startScan), expected))
        << text(clientRectOf(window, startScan));

    // The header drags the window where it did at 96 DPI, scaled.
    auto hitTest = [&](int x, int y) {
        POINT p = {x, y};
        ClientToScreen(window, &p);
        return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hitTest(375, 135), HTCAPTION);  // (250, 90) at 96 DPI
    EXPECT_EQ(hitTest(15, 192), HTCAPTION);   // (10, 128)
    EXPECT_NE(hitTest(375, 195), HTCAPTION);  // (250, 130)
    EXPECT_NE(hitTest(600, 450), HTCAPTION);  // (400, 300)

    // The button answers a click where the driver's 96-DPI place for it lies.
    clickAt(window, mendora_driver::kStartScan.x, mendora_driver::kStartScan.y);
    EXPECT_TRUE(pollUntil(
        [&] {
            HWND caption = visibleChildWithText(window, [](const std::string& t) {
                return t == "Scanning..." || mendora_driver::isRunningCaption(t) ||
                       mendora_driver::isResultHeadline(t);
            });
            return caption != nullptr;
        },
        60));

    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND box = waitForMessageBox(mendora.id(), 30);
    ASSERT_NE(box, nullptr);
    answer(box, IDYES);
    EXPECT_EQ(mendora.exitCode(120), 0u);
}
